#pragma once

#include "DbError.h"

#include <QByteArray>
#include <QString>

struct sqlite3;
struct sqlite3_stmt;

/// One prepared statement; finalized when it goes out of scope. Values are always bound by parameter
/// name (":x1"), never pasted into the text.
class Statement
{
public:
    enum class Step { Row, Done, Error };

    Statement() = default;
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    [[nodiscard]] bool prepare(sqlite3* db, const QString& sql, DbError* error);
    [[nodiscard]] bool bindText(const char* name, const QString& value, DbError* error);
    [[nodiscard]] bool bindReal(const char* name, double value, DbError* error);
    [[nodiscard]] bool bindInteger(const char* name, qint64 value, DbError* error);
    [[nodiscard]] bool bindNull(const char* name, DbError* error);
    /// Runs one step; on Error the error is filled from the connection.
    Step step(DbError* error);
    /// Steps to the end, for statements that return no rows.
    [[nodiscard]] bool execute(DbError* error);
    /// Makes the statement ready to run again; the values bound stay until bound anew.
    void reset();

    /// Column access on the current row, by index or by (case-insensitive) name; -1 when absent.
    int columnIndex(const char* name) const;
    QString text(int column) const;
    double real(int column) const;
    qint64 integer(int column) const;
    bool isNull(int column) const;

private:
    [[nodiscard]] bool parameterIndex(const char* name, int* index, DbError* error);
    [[nodiscard]] bool checkBind(int rc, DbError* error);

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_stmt = nullptr;
};
