#include "RecordStore.h"

#include "Schema.h"
#include "SearchIndex.h"
#include "Sqlite.h"
#include "Statement.h"

#include <QDir>
#include <QStringList>

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

// The statements that read a page. Every form walks an index in descending id order or reads a
// bounded range of it, so none reads the whole table.
enum class PageForm {
    All,        // every row, by the table's key
    Prefix,     // a prefix of up to prefixLevels characters: its entries, newest first
    LongWindow, // a longer prefix, tested on a window of its first characters' newest entries
    LongRange,  // a longer prefix: every whole text that starts with it
};

QList<PageForm> pageForms(RecordStore::Search search, const QString& folded)
{
    if (search == RecordStore::Search::All || folded.isEmpty())
        return {PageForm::All};
    if (SearchIndex::characterCount(folded) <= SearchIndex::prefixLevels)
        return {PageForm::Prefix};
    return {PageForm::LongWindow, PageForm::LongRange};
}

bool preparePage(sqlite3* db, Statement& s, PageForm form, RecordStore::Search search, const QString& folded,
                 qint32 beforeId, int limit, const QString& lead, DbError* error)
{
    const qint64 before = beforeId > 0 ? beforeId : std::numeric_limits<qint64>::max();
    if (form == PageForm::All) {
        return s.prepare(db, lead + selectColumns + QStringLiteral("WHERE id < :before ORDER BY id DESC LIMIT :limit"),
                         error) &&
               s.bindInteger(":before", before, error) && s.bindInteger(":limit", limit, error);
    }
    const auto kind = static_cast<int>(search == RecordStore::Search::NumberPrefix ? SearchIndex::Kind::Number
                                                                                   : SearchIndex::Kind::Owner);
    const QString columns =
        QStringLiteral("SELECT a.id, a.Appart, a.Vehicle_Immatricul, a.Marque, a.Type, a.N_Serie, a.Marque_Reservoir, "
                       "a.N_Reservoir, a.Epreuve, a.Capacity, a.Cincere, a.Date_Start_Valid ");
    const QString terms = QLatin1String(SearchIndex::tableName);
    if (form == PageForm::Prefix) {
        return s.prepare(db,
                         lead + columns +
                             QStringLiteral("FROM %1 AS s CROSS JOIN Attest_Install_Garantie AS a ON a.id = s.id "
                                            "WHERE s.kind = :kind AND s.term = :term AND s.id < :before "
                                            "ORDER BY s.id DESC LIMIT :limit")
                                 .arg(terms),
                         error) &&
               s.bindInteger(":kind", kind, error) && s.bindText(":term", folded, error) &&
               s.bindInteger(":before", before, error) && s.bindInteger(":limit", limit, error);
    }
    const QString end = SearchIndex::prefixEnd(folded);
    QString ids;
    if (form == PageForm::LongWindow) {
        ids = QStringLiteral("SELECT id FROM (SELECT id, whole FROM %1 WHERE kind = :kind AND term = :head "
                             "AND id < :before ORDER BY id DESC LIMIT :window) "
                             "WHERE whole >= :start %2ORDER BY id DESC LIMIT :limit")
                  .arg(terms, end.isEmpty() ? QString() : QStringLiteral("AND whole < :end "));
    } else {
        ids = QStringLiteral("SELECT id FROM %1 WHERE kind = :kind AND term >= :start %2"
                             "AND id < :before ORDER BY id DESC LIMIT :limit")
                  .arg(terms, end.isEmpty() ? QString() : QStringLiteral("AND term < :end "));
    }
    const QList<uint> codePoints = folded.toUcs4();
    const QString head =
        QString::fromUcs4(reinterpret_cast<const char32_t*>(codePoints.constData()), SearchIndex::prefixLevels);
    return s.prepare(db,
                     lead + columns +
                         QStringLiteral("FROM (%1) AS s CROSS JOIN Attest_Install_Garantie AS a ON a.id = s.id "
                                        "ORDER BY s.id DESC")
                             .arg(ids),
                     error) &&
           s.bindInteger(":kind", kind, error) && s.bindText(":start", folded, error) &&
           (end.isEmpty() || s.bindText(":end", end, error)) && s.bindInteger(":before", before, error) &&
           s.bindInteger(":limit", limit, error) &&
           (form != PageForm::LongWindow ||
            (s.bindText(":head", head, error) && s.bindInteger(":window", SearchIndex::longPrefixWindow, error)));
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
    // The program never changes the database's structure: a missing or outdated search index is reported
    // by the searches (the other statements do not need it) and built by the companion tool.
    if (!Schema::searchIndexIsCurrent(m_connection, &m_searchIndexCurrent, error)) {
        m_connection.close();
        return false;
    }
    return true;
}

bool RecordStore::ensureSearchIndexCurrent(DbError* error)
{
    if (!m_searchIndexCurrent && !Schema::searchIndexIsCurrent(m_connection, &m_searchIndexCurrent, error))
        return false;
    if (!m_searchIndexCurrent) {
        *error = {SQLITE_ERROR, QStringLiteral("The search index of %1 is missing or out of date; build it with "
                                               "\"gpl-attest-db index %1\" while the program is closed")
                                    .arg(m_fileName)};
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
           s.prepare(
               m_connection.handle(),
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
                    selectColumns + QStringLiteral("WHERE id = (SELECT max(id) FROM Attest_Install_Garantie)"),
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
    if (!(ensureOpen(error) && s.prepare(m_connection.handle(),
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
    rows->clear();
    if (!ensureOpen(error) || (search != Search::All && !ensureSearchIndexCurrent(error)))
        return false;
    const QString folded = SearchIndex::fold(prefix);
    for (const PageForm form : pageForms(search, folded)) {
        Statement s;
        if (!preparePage(m_connection.handle(), s, form, search, folded, beforeId, limit, {}, error) ||
            !readRows(s, rows, error))
            return false;
        // A full window page is the newest matches; otherwise the next form reads them all.
        if (rows->size() >= limit)
            break;
    }
    return true;
}

bool RecordStore::explainPage(Search search, const QString& prefix, QStringList* plan, DbError* error)
{
    plan->clear();
    if (!ensureOpen(error))
        return false;
    const QString folded = SearchIndex::fold(prefix);
    for (const PageForm form : pageForms(search, folded)) {
        Statement s;
        if (!preparePage(m_connection.handle(), s, form, search, folded, 0, 60, QStringLiteral("EXPLAIN QUERY PLAN "),
                         error))
            return false;
        for (bool more = true; more;) {
            switch (s.step(error)) {
            case Statement::Step::Row:
                plan->append(s.text(s.columnIndex("detail")));
                break;
            case Statement::Step::Done:
                more = false;
                break;
            case Statement::Step::Error:
                return false;
            }
        }
    }
    return true;
}
