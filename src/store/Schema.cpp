#include "Schema.h"

#include "Connection.h"

#include <QFileInfo>
#include <QStringList>
#include <QTemporaryFile>

namespace Schema {

QString definition()
{
    static const char* const textColumns[] = {
        "Appart",           "Vehicle_Immatricul", "Marque",  "Type",     "N_Serie",
        "Marque_Reservoir", "N_Reservoir",        "Epreuve", "Capacity", "Cincere"};
    QStringList columns;
    // AUTOINCREMENT: a deleted id is never handed out again.
    columns << QStringLiteral("id INTEGER PRIMARY KEY AUTOINCREMENT");
    for (const char* name : textColumns) {
        // The named constraint makes the refusal say which column was too long.
        columns << QStringLiteral("%1 TEXT CONSTRAINT \"%1 longer than %2 characters\" CHECK (length(%1) <= %2)")
                       .arg(QLatin1String(name))
                       .arg(maxTextLength);
    }
    columns << QStringLiteral("Date_Start_Valid REAL");
    return QStringLiteral("CREATE TABLE %1 (\n  %2\n);\n")
        .arg(QLatin1String(tableName), columns.join(QStringLiteral(",\n  ")));
}

bool create(Connection& connection, DbError* error)
{
    if (connection.exec(QStringLiteral("BEGIN IMMEDIATE;") + definition() + QStringLiteral("COMMIT;"), error))
        return true;
    DbError ignored; // the first error is the one worth reporting
    (void)connection.exec(QStringLiteral("ROLLBACK;"), &ignored);
    return false;
}

bool createDatabaseFile(const QString& path, const QByteArray& key, DbError* error)
{
    const QFileInfo target(path);
    if (target.exists()) {
        *error = {0, QStringLiteral("%1 already exists; it is left as it is").arg(path)};
        return false;
    }
    QTemporaryFile temporary(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                             QStringLiteral(".XXXXXX"));
    if (!temporary.open()) {
        *error = {0, QStringLiteral("cannot write in %1: %2").arg(target.absolutePath(), temporary.errorString())};
        return false;
    }
    temporary.close();
    {
        Connection connection;
        if (!connection.open(temporary.fileName(), key, Connection::OpenMode::CreateNew, error) ||
            !create(connection, error))
            return false;
    }
    // QFile::rename never replaces an existing file, so a file created meanwhile is not overwritten.
    if (!temporary.rename(target.absoluteFilePath())) {
        *error = {0, QStringLiteral("cannot create %1: %2").arg(path, temporary.errorString())};
        return false;
    }
    temporary.setAutoRemove(false);
    return true;
}

} // namespace Schema
