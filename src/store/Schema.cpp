#include "Schema.h"

#include "Connection.h"
#include "SearchIndex.h"
#include "Statement.h"

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
               .arg(QLatin1String(tableName), columns.join(QStringLiteral(",\n  "))) +
           SearchIndex::definition();
}

bool create(Connection& connection, DbError* error)
{
    if (connection.exec(QStringLiteral("BEGIN IMMEDIATE;") + definition() + QStringLiteral("COMMIT;"), error))
        return true;
    DbError ignored; // the first error is the one worth reporting
    (void)connection.exec(QStringLiteral("ROLLBACK;"), &ignored);
    return false;
}

namespace {

// The same entries as the triggers write, folded here (the store's tests hold both to the same result).
bool populateSearchIndex(Connection& connection, DbError* error)
{
    Statement rows;
    Statement insert;
    if (!rows.prepare(connection.handle(), QStringLiteral("SELECT id, Cincere, Appart FROM Attest_Install_Garantie"),
                      error) ||
        !insert.prepare(
            connection.handle(),
            QStringLiteral("INSERT OR IGNORE INTO %1 (kind, term, id, whole) VALUES (:kind, :term, :id, :whole)")
                .arg(QLatin1String(SearchIndex::tableName)),
            error))
        return false;
    for (;;) {
        switch (rows.step(error)) {
        case Statement::Step::Done:
            return true;
        case Statement::Step::Error:
            return false;
        case Statement::Step::Row:
            break;
        }
        const struct
        {
            SearchIndex::Kind kind;
            int column;
        } texts[] = {{SearchIndex::Kind::Number, 1}, {SearchIndex::Kind::Owner, 2}};
        for (const auto& text : texts) {
            if (rows.isNull(text.column))
                continue;
            const QString folded = SearchIndex::fold(rows.text(text.column));
            const QStringList terms = SearchIndex::terms(folded);
            for (qsizetype i = 0; i < terms.size(); ++i) {
                // The last prefix level of a longer text carries the whole text.
                const bool carriesWhole =
                    i == SearchIndex::prefixLevels - 1 && terms.size() > SearchIndex::prefixLevels;
                insert.reset();
                if (!insert.bindInteger(":kind", static_cast<int>(text.kind), error) ||
                    !insert.bindText(":term", terms.at(i), error) ||
                    !insert.bindInteger(":id", rows.integer(0), error) ||
                    !(carriesWhole ? insert.bindText(":whole", folded, error) : insert.bindNull(":whole", error)) ||
                    !insert.execute(error))
                    return false;
            }
        }
    }
}

} // namespace

bool searchIndexIsCurrent(Connection& connection, bool* current, DbError* error)
{
    Statement lookup;
    if (!lookup.prepare(connection.handle(),
                        QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = :name AND sql = :definition"),
                        error) ||
        !lookup.bindText(":name", QLatin1String(SearchIndex::tableName), error) ||
        // The table as this version writes it; an older form is rebuilt.
        !lookup.bindText(":definition", SearchIndex::tableDefinition(), error) ||
        lookup.step(error) != Statement::Step::Row)
        return false;
    *current = lookup.integer(0) > 0;
    return true;
}

bool ensureSearchIndex(Connection& connection, DbError* error)
{
    bool current = false;
    if (!searchIndexIsCurrent(connection, &current, error))
        return false;
    if (current)
        return true;
    // A database made before the search index existed, or with an older form of it: build it once, in
    // one transaction. Checked again under the write lock, in case another connection built it meanwhile;
    // leftovers of a half-removed or older index are dropped first.
    if (connection.exec(QStringLiteral("BEGIN IMMEDIATE;"), error) &&
        searchIndexIsCurrent(connection, &current, error) &&
        (current || (connection.exec(QStringLiteral("DROP TRIGGER IF EXISTS Attest_Search_Insert;"
                                                    "DROP TRIGGER IF EXISTS Attest_Search_Delete;"
                                                    "DROP TRIGGER IF EXISTS Attest_Search_Update;"
                                                    "DROP TABLE IF EXISTS %1;"
                                                    "DROP TABLE IF EXISTS %2;")
                                             .arg(QLatin1String(SearchIndex::scratchTableName),
                                                  QLatin1String(SearchIndex::tableName)) +
                                         SearchIndex::definition(),
                                     error) &&
                     populateSearchIndex(connection, error))) &&
        connection.exec(QStringLiteral("COMMIT;"), error))
        return true;
    DbError ignored;
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
