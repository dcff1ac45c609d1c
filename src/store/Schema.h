#pragma once

#include "DbError.h"

#include <QString>

class Connection;

/// The table definition, in one place. The program never creates or migrates a database; the
/// companion tool does, through create().
namespace Schema {

inline constexpr auto tableName = "Attest_Install_Garantie";
inline constexpr int maxTextLength = 255;

/// The statements that create the table and its indexes in an empty database, as one text.
QString definition();
/// Creates the table and its indexes in one transaction.
[[nodiscard]] bool create(Connection& connection, DbError* error);
/// Whether the search index and its triggers exist in the form this version writes.
[[nodiscard]] bool searchIndexIsCurrent(Connection& connection, bool* current, DbError* error);
/// Adds the search index with its triggers to a database whose table predates it (or replaces an older
/// form of it), filled from the rows already there, in one transaction; does nothing when it is current.
/// Run by the companion tool only: the program never changes the database's structure.
[[nodiscard]] bool ensureSearchIndex(Connection& connection, DbError* error);
/// Writes a new keyed database holding the empty table at path. Refuses an existing file; the file is
/// built under a temporary name beside it and appears only when complete.
[[nodiscard]] bool createDatabaseFile(const QString& path, const QByteArray& key, DbError* error);

} // namespace Schema
