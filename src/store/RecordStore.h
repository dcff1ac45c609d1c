#pragma once

#include "AttestationRecord.h"
#include "Connection.h"
#include "DbError.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

/// Owns the one connection to the attestation database and runs every statement on it. Each method
/// first opens the connection if it is not open yet, so a failed start-up open is retried by the
/// next statement. Each write is a single statement, committed or not at all.
class RecordStore
{
public:
    enum class Search { All, NumberPrefix, OwnerPrefix };

    /// fileName is resolved against the working directory at each open.
    explicit RecordStore(QString fileName = defaultFileName());

    static QString defaultFileName();
    /// The fixed key of the database; never empty.
    static QByteArray password();

    [[nodiscard]] bool open(DbError* error);
    bool isOpen() const { return m_connection.isOpen(); }
    Connection& connection() { return m_connection; }

    /// InsertRecord: every column but id.
    [[nodiscard]] bool insertRecord(const AttestationRecord& record, DbError* error);
    /// UpdateRecord: the row whose id is record.id. changedRows tells whether the row still existed.
    [[nodiscard]] bool updateRecord(const AttestationRecord& record, int* changedRows, DbError* error);
    /// DeleteRecord: idText is the row's id as text, compared by the database as a number.
    [[nodiscard]] bool deleteRecord(const QString& idText, DbError* error);
    /// SelectLastRecord: the row with the greatest id; nullopt on an empty table.
    [[nodiscard]] bool selectLastRecord(std::optional<AttestationRecord>* record, DbError* error);
    /// SelectLastNumber: Cincere of the row with the greatest id; empty on an empty table.
    [[nodiscard]] bool selectLastNumber(QString* number, DbError* error);
    /// SelectByNumber: every row whose Cincere equals number exactly, in the database's order.
    [[nodiscard]] bool selectByNumber(const QString& number, QList<AttestationRecord>* rows, DbError* error);

    /// BrowseAll, SearchByNumberPrefix and SearchByOwnerPrefix, newest first, one page at a time:
    /// at most `limit` rows with an id below `beforeId` (0 = start from the newest). The prefix is
    /// literal (no wildcards, the value is bound) and matched without regard to the case of ASCII and
    /// Latin accented letters; an empty prefix lists every row. Served by the search index, so a page
    /// costs about the same whatever the table's size and however many rows match.
    [[nodiscard]] bool fetchPage(Search search, const QString& prefix, qint32 beforeId, int limit,
                                 QList<AttestationRecord>* rows, DbError* error);
    /// The engine's query plan of fetchPage's statement, one line per step, to check which index it uses.
    [[nodiscard]] bool explainPage(Search search, const QString& prefix, QStringList* plan, DbError* error);

    /// The database file name as given, before it is resolved against the working directory.
    QString fileName() const { return m_fileName; }

private:
    [[nodiscard]] bool ensureOpen(DbError* error);

    [[nodiscard]] bool ensureSearchIndexCurrent(DbError* error);

    QString m_fileName;
    Connection m_connection;
    bool m_searchIndexCurrent = false;
};
