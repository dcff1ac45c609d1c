#include "MaintenanceFixture.h"

#include "TestDatabase.h"

bool insertRecords(RecordStore& store, const QList<AttestationRecord>& records, DbError* error)
{
    if (!store.open(error) || !store.connection().exec(QStringLiteral("BEGIN"), error))
        return false;
    for (const AttestationRecord& r : records) {
        if (!store.insertRecord(r, error)) {
            DbError ignored;
            (void)store.connection().exec(QStringLiteral("ROLLBACK"), &ignored);
            return false;
        }
    }
    return store.connection().exec(QStringLiteral("COMMIT"), error);
}
