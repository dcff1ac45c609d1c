#pragma once

#include <QString>
#include <QStringList>

/// The structure that serves the browser's prefix searches from an index.
///
/// For each row, Attest_Search_Terms holds, for the certificate number and for the owner, the folded
/// text's prefixes of 1 to prefixLevels characters and, when the text is longer, the whole folded text.
/// Its key is (kind, term, id), so the newest rows of a short prefix are read straight off the key in
/// descending id order, however many rows match. A longer prefix first walks, newest first, a bounded
/// number of the entries of its first prefixLevels characters, which carry the whole text (`whole`) to
/// test against the prefix; only when that window holds too few matches does it read the range of the
/// whole texts that start with it (all its matches, which a long prefix then has few of).
/// Triggers written with built-in SQL functions only keep it in step with every write to the table,
/// by this program or by any other tool (the sqlcipher shell included).
///
/// The triggers fold a text through a scratch table, one row per text, empty between statements.
/// Folding turns ASCII and the Latin accented letters (U+00E0 to U+017F) to upper case, so that "é"
/// finds "É". The letter pairs are baked into existing databases' triggers: never change them.
namespace SearchIndex {

inline constexpr auto tableName = "Attest_Search_Terms";
inline constexpr auto scratchTableName = "Attest_Search_Scratch";
inline constexpr int prefixLevels = 5;
/// How many entries of a long prefix's first characters are tested before its whole-text range is read.
inline constexpr int longPrefixWindow = 4000;

enum class Kind { Number = 1, Owner = 2 };

/// The text as the index stores it: the same mapping as the triggers'.
QString fold(const QString& text);
/// The index entries of a folded text: its prefixes of 1 to prefixLevels characters, then the text itself
/// when it is longer.
QStringList terms(const QString& folded);
/// The first text after every text that starts with prefix (prefix with its last character raised);
/// empty when there is none.
QString prefixEnd(const QString& prefix);
/// Number of characters as the database counts them (code points).
int characterCount(const QString& text);

/// The statement that creates the index's table, as the database keeps it (without the semicolon).
QString tableDefinition();
/// The statements that create the tables and the triggers (no data).
QString definition();

} // namespace SearchIndex
