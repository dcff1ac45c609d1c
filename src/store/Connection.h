#pragma once

#include "DbError.h"

#include <QByteArray>
#include <QString>

struct sqlite3;

/// An open, keyed SQLCipher connection. Opened in rollback-journal mode with full sync so that a crash
/// between statements loses nothing, and with a busy timeout so that a short lock held by another
/// process delays a statement instead of failing it.
class Connection
{
public:
    enum class OpenMode { ExistingOnly, CreateNew };
    static constexpr int busyTimeoutMs = 5000;

    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    /// Opens and keys the file, then reads it once so that a wrong key or a file that is not a
    /// database fails here, with the engine's message.
    [[nodiscard]] bool open(const QString& path, const QByteArray& key, OpenMode mode, DbError* error);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    sqlite3* handle() const { return m_db; }

    /// Runs statements without parameters.
    [[nodiscard]] bool exec(const QString& sql, DbError* error);

    static DbError lastError(sqlite3* db);

private:
    sqlite3* m_db = nullptr;
};
