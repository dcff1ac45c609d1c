#include "MaintenanceFixture.h"

#include "maintenance/RecordEditor.h"
#include "maintenance/RecordsBrowser.h"

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

void createMaintenanceWindows(RecordStore* store, std::unique_ptr<RecordsBrowser>* browser,
                              std::unique_ptr<RecordEditor>* editor)
{
    *browser = std::make_unique<RecordsBrowser>();
    *editor = std::make_unique<RecordEditor>(browser->get());
    (*browser)->setStore(store);
    (*browser)->setEditor(editor->get());
    (*editor)->setStore(store);
    (*editor)->setBrowser(browser->get());
}
