#include "Connection.h"

#include "Sqlite.h"

Connection::~Connection()
{
    close();
}

DbError Connection::lastError(sqlite3* db)
{
    if (!db)
        return {SQLITE_MISUSE, QStringLiteral("database is not open")};
    return {sqlite3_extended_errcode(db), QString::fromUtf8(sqlite3_errmsg(db))};
}

bool Connection::open(const QString& path, const QByteArray& key, OpenMode mode, DbError* error)
{
    close();
    if (key.isEmpty()) { // an unkeyed database would be readable by anyone
        *error = {SQLITE_MISUSE, QStringLiteral("empty database key refused")};
        return false;
    }
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX;
    if (mode == OpenMode::CreateNew)
        flags |= SQLITE_OPEN_CREATE;
    const QByteArray fileName = path.toUtf8();
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(fileName.constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        *error = db ? lastError(db) : DbError{rc, QString::fromUtf8(sqlite3_errstr(rc))};
        sqlite3_close(db);
        return false;
    }
    m_db = db;
    sqlite3_extended_result_codes(m_db, 1);
    if (sqlite3_key(m_db, key.constData(), static_cast<int>(key.size())) != SQLITE_OK) {
        *error = lastError(m_db);
        close();
        return false;
    }
    sqlite3_busy_timeout(m_db, busyTimeoutMs);
    // Reading the schema is what detects a wrong key or a file that is not a database.
    if (!exec(QStringLiteral("SELECT count(*) FROM sqlite_master;"
                             "PRAGMA journal_mode = DELETE;"
                             "PRAGMA synchronous = FULL;"
                             "PRAGMA foreign_keys = ON;"),
              error)) {
        close();
        return false;
    }
    return true;
}

void Connection::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

bool Connection::exec(const QString& sql, DbError* error)
{
    if (!m_db) {
        *error = lastError(nullptr);
        return false;
    }
    char* message = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_exec(m_db, utf8.constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        *error = {sqlite3_extended_errcode(m_db),
                  message ? QString::fromUtf8(message) : QString::fromUtf8(sqlite3_errmsg(m_db))};
        sqlite3_free(message);
        return false;
    }
    return true;
}
