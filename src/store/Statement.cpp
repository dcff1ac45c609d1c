#include "Statement.h"

#include "Connection.h"
#include "Sqlite.h"

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

bool Statement::prepare(sqlite3* db, const QString& sql, DbError* error)
{
    sqlite3_finalize(m_stmt);
    m_stmt = nullptr;
    m_db = db;
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db, utf8.constData(), static_cast<int>(utf8.size()), &m_stmt, nullptr) != SQLITE_OK) {
        *error = Connection::lastError(db);
        return false;
    }
    return true;
}

bool Statement::parameterIndex(const char* name, int* index, DbError* error)
{
    *index = sqlite3_bind_parameter_index(m_stmt, name);
    if (*index == 0) {
        *error = {SQLITE_RANGE, QStringLiteral("Parameter '%1' not found").arg(QString::fromUtf8(name))};
        return false;
    }
    return true;
}

bool Statement::checkBind(int rc, DbError* error)
{
    if (rc != SQLITE_OK) {
        *error = Connection::lastError(m_db);
        return false;
    }
    return true;
}

bool Statement::bindText(const char* name, const QString& value, DbError* error)
{
    int index = 0;
    if (!parameterIndex(name, &index, error))
        return false;
    const QByteArray utf8 = value.toUtf8();
    return checkBind(
        sqlite3_bind_text(m_stmt, index, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT), error);
}

bool Statement::bindReal(const char* name, double value, DbError* error)
{
    int index = 0;
    return parameterIndex(name, &index, error) && checkBind(sqlite3_bind_double(m_stmt, index, value), error);
}

bool Statement::bindInteger(const char* name, qint64 value, DbError* error)
{
    int index = 0;
    return parameterIndex(name, &index, error) && checkBind(sqlite3_bind_int64(m_stmt, index, value), error);
}

bool Statement::bindNull(const char* name, DbError* error)
{
    int index = 0;
    return parameterIndex(name, &index, error) && checkBind(sqlite3_bind_null(m_stmt, index), error);
}

Statement::Step Statement::step(DbError* error)
{
    switch (sqlite3_step(m_stmt)) {
    case SQLITE_ROW:
        return Step::Row;
    case SQLITE_DONE:
        return Step::Done;
    default:
        *error = Connection::lastError(m_db);
        // Reset so that a failed step leaves no half-run statement holding a lock.
        sqlite3_reset(m_stmt);
        return Step::Error;
    }
}

bool Statement::execute(DbError* error)
{
    Step result = Step::Row;
    while (result == Step::Row)
        result = step(error);
    return result == Step::Done;
}

int Statement::columnIndex(const char* name) const
{
    const int count = sqlite3_column_count(m_stmt);
    for (int i = 0; i < count; ++i) {
        if (sqlite3_stricmp(sqlite3_column_name(m_stmt, i), name) == 0)
            return i;
    }
    return -1;
}

QString Statement::text(int column) const
{
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return QString::fromUtf8(data, sqlite3_column_bytes(m_stmt, column));
}

double Statement::real(int column) const
{
    return sqlite3_column_double(m_stmt, column);
}

qint64 Statement::integer(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
}
