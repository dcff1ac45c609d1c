#include "TestDatabase.h"

#include "store/DayCount.h"
#include "store/RecordStore.h"
#include "store/Schema.h"

TestDatabase::TestDatabase(Content content) : m_previous(QDir::currentPath())
{
    m_valid = m_dir.isValid() && QDir::setCurrent(m_dir.path());
    if (m_valid && content == Content::Empty) {
        DbError error;
        m_valid = Schema::createDatabaseFile(path(), RecordStore::password(), &error);
        if (!m_valid)
            qWarning("cannot create the test database: %s", qPrintable(error.message));
    }
}

TestDatabase::~TestDatabase()
{
    QDir::setCurrent(m_previous);
}

QString TestDatabase::path() const
{
    return m_dir.filePath(RecordStore::defaultFileName());
}

AttestationRecord TestDatabase::sampleRecord(int n)
{
    AttestationRecord r;
    r.appart = QStringLiteral("OWNER %1").arg(n);
    r.vehicleImmatricul = QStringLiteral("%1-116-16").arg(10000 + n);
    r.marque = QStringLiteral("RENAULT");
    r.type = QStringLiteral("CLIO");
    r.nSerie = QStringLiteral("VF1%1").arg(n, 14, 10, QLatin1Char('0'));
    r.marqueReservoir = QStringLiteral("TOMASETTO");
    r.nReservoir = QStringLiteral("T%1").arg(n);
    r.epreuve = QStringLiteral("01/2020");
    r.capacity = QStringLiteral("60 L");
    r.cincere = QStringLiteral("%1-2020").arg(n);
    r.dateStartValid = DayCount::fromDateTime(QDateTime(QDate(2020, 1, 15), QTime(9, 30, 15, 250)));
    return r;
}
