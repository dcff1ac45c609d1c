#include "RecordStore.h"

#include "Schema.h"
#include "Sqlite.h"
#include "Statement.h"

#include <QDir>

#include <limits>
#include <stdexcept>

namespace {

const QString selectColumns = QStringLiteral(
    "SELECT id, Appart, Vehicle_Immatricul, Marque, Type, N_Serie, Marque_Reservoir, N_Reservoir, Epreuve, "
    "Capacity, Cincere, Date_Start_Valid FROM Attest_Install_Garantie ");

AttestationRecord readRecord(const Statement& s)
{
    AttestationRecord r;
    r.id = static_cast<qint32>(s.integer(0));
    r.appart = s.text(1);
    r.vehicleImmatricul = s.text(2);
    r.marque = s.text(3);
    r.type = s.text(4);
    r.nSerie = s.text(5);
    r.marqueReservoir = s.text(6);
    r.nReservoir = s.text(7);
    r.epreuve = s.text(8);
    r.capacity = s.text(9);
    r.cincere = s.text(10);
    r.dateStartValid = s.real(11);
    return r;
}

bool bindValues(Statement& s, const AttestationRecord& r, DbError* error)
{
    return s.bindText(":x1", r.appart, error) && s.bindText(":x2", r.vehicleImmatricul, error) &&
           s.bindText(":x3", r.marque, error) && s.bindText(":x4", r.type, error) &&
           s.bindText(":x5", r.nSerie, error) && s.bindText(":x6", r.marqueReservoir, error) &&
           s.bindText(":x7", r.nReservoir, error) && s.bindText(":x8", r.epreuve, error) &&
           s.bindText(":x9", r.capacity, error) && s.bindText(":x10", r.cincere, error) &&
           s.bindReal(":x11", r.dateStartValid, error);
}

bool readRows(Statement& s, QList<AttestationRecord>* rows, DbError* error)
{
    rows->clear();
    for (;;) {
        switch (s.step(error)) {
        case Statement::Step::Row:
            rows->append(readRecord(s));
            break;
        case Statement::Step::Done:
            return true;
        case Statement::Step::Error:
            rows->clear();
            return false;
        }
    }
}

// Case-insensitive literal prefix test, Unicode-aware (SQLite's own LIKE folds ASCII only).
void prefixMatch(sqlite3_context* context, int, sqlite3_value** argv)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const auto* prefix = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    if (!text || !prefix) {
        sqlite3_result_int(context, prefix && !*prefix ? 1 : 0);
        return;
    }
    const QString value = QString::fromUtf8(text, sqlite3_value_bytes(argv[0]));
    const QString start = QString::fromUtf8(prefix, sqlite3_value_bytes(argv[1]));
    sqlite3_result_int(context, value.startsWith(start, Qt::CaseInsensitive) ? 1 : 0);
}

} // namespace

RecordStore::RecordStore(QString fileName) : m_fileName(std::move(fileName))
{
    // Without a working engine no window can do anything: start-up reports it and stops.
    if (sqlite3_initialize() != SQLITE_OK)
        throw std::runtime_error("the database engine cannot be initialised");
}

QString RecordStore::defaultFileName()
{
    return QStringLiteral("gpl_database.mdb");
}

QByteArray RecordStore::password()
{
    return QByteArrayLiteral("mupo64859383");
}

bool RecordStore::open(DbError* error)
{
    const QString path = QDir::current().absoluteFilePath(m_fileName);
    if (!m_connection.open(path, password(), Connection::OpenMode::ExistingOnly, error))
        return false;
    if (sqlite3_create_function_v2(m_connection.handle(), "gpl_starts_with", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                   nullptr, &prefixMatch, nullptr, nullptr, nullptr) != SQLITE_OK) {
        *error = Connection::lastError(m_connection.handle());
        m_connection.close();
        return false;
    }
    return true;
}

bool RecordStore::ensureOpen(DbError* error)
{
    return m_connection.isOpen() || open(error);
}

bool RecordStore::insertRecord(const AttestationRecord& record, DbError* error)
{
    Statement s;
    return ensureOpen(error) &&
           s.prepare(m_connection.handle(),
                     QStringLiteral("INSERT INTO Attest_Install_Garantie (Appart, Vehicle_Immatricul, Marque, Type, "
                                    "N_Serie, Marque_Reservoir, N_Reservoir, Epreuve, Capacity, Cincere, "
                                    "Date_Start_Valid) VALUES (:x1, :x2, :x3, :x4, :x5, :x6, :x7, :x8, :x9, :x10, :x11)"),
                     error) &&
           bindValues(s, record, error) && s.execute(error);
}

bool RecordStore::updateRecord(const AttestationRecord& record, int* changedRows, DbError* error)
{
    *changedRows = 0;
    Statement s;
    if (!(ensureOpen(error) &&
          s.prepare(m_connection.handle(),
                    QStringLiteral("UPDATE Attest_Install_Garantie SET Appart = :x1, Vehicle_Immatricul = :x2, "
                                   "Marque = :x3, Type = :x4, N_Serie = :x5, Marque_Reservoir = :x6, "
                                   "N_Reservoir = :x7, Epreuve = :x8, Capacity = :x9, Cincere = :x10, "
                                   "Date_Start_Valid = :x11 WHERE id = :ID"),
                    error) &&
          bindValues(s, record, error) && s.bindInteger(":ID", record.id, error) && s.execute(error)))
        return false;
    *changedRows = sqlite3_changes(m_connection.handle());
    return true;
}

bool RecordStore::deleteRecord(const QString& idText, DbError* error)
{
    Statement s;
    return ensureOpen(error) &&
           s.prepare(m_connection.handle(), QStringLiteral("DELETE FROM Attest_Install_Garantie WHERE id = :ID"),
                     error) &&
           s.bindText(":ID", idText, error) && s.execute(error);
}

bool RecordStore::selectLastRecord(std::optional<AttestationRecord>* record, DbError* error)
{
    record->reset();
    QList<AttestationRecord> rows;
    Statement s;
    if (!(ensureOpen(error) &&
          s.prepare(m_connection.handle(),
                    selectColumns +
                        QStringLiteral("WHERE id = (SELECT max(id) FROM Attest_Install_Garantie)"),
                    error) &&
          readRows(s, &rows, error)))
        return false;
    if (!rows.isEmpty())
        *record = rows.first();
    return true;
}

bool RecordStore::selectLastNumber(QString* number, DbError* error)
{
    number->clear();
    Statement s;
    if (!(ensureOpen(error) &&
          s.prepare(m_connection.handle(),
                    QStringLiteral("SELECT Cincere AS NE FROM Attest_Install_Garantie "
                                   "WHERE id = (SELECT max(id) FROM Attest_Install_Garantie)"),
                    error)))
        return false;
    switch (s.step(error)) {
    case Statement::Step::Row:
        *number = s.text(s.columnIndex("NE"));
        return true;
    case Statement::Step::Done:
        return true;
    case Statement::Step::Error:
        return false;
    }
    return false;
}

bool RecordStore::selectByNumber(const QString& number, QList<AttestationRecord>* rows, DbError* error)
{
    Statement s;
    return ensureOpen(error) &&
           s.prepare(m_connection.handle(), selectColumns + QStringLiteral("WHERE Cincere = :NE"), error) &&
           s.bindText(":NE", number, error) && readRows(s, rows, error);
}

bool RecordStore::fetchPage(Search search, const QString& prefix, qint32 beforeId, int limit,
                            QList<AttestationRecord>* rows, DbError* error)
{
    QString where = QStringLiteral("WHERE id < :before ");
    if (search == Search::NumberPrefix)
        where += QStringLiteral("AND gpl_starts_with(Cincere, :prefix) ");
    else if (search == Search::OwnerPrefix)
        where += QStringLiteral("AND gpl_starts_with(Appart, :prefix) ");
    Statement s;
    return ensureOpen(error) &&
           s.prepare(m_connection.handle(), selectColumns + where + QStringLiteral("ORDER BY id DESC LIMIT :limit"),
                     error) &&
           s.bindInteger(":before", beforeId > 0 ? beforeId : std::numeric_limits<qint32>::max(), error) &&
           (search == Search::All || s.bindText(":prefix", prefix, error)) &&
           s.bindInteger(":limit", limit, error) && readRows(s, rows, error);
}
