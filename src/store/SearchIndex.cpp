#include "SearchIndex.h"

#include <QList>

namespace SearchIndex {

namespace {

// Lower-case letters and their upper-case forms, position by position.
const QString lowerLetters =
    QStringLiteral("àáâãäåæçèéêëìíîïðñòóôõöøùúûüýþÿāăąćĉċčďđēĕėęěĝğġģĥħĩīĭįıĳĵķĺļľŀłńņňŋōŏőœŕŗřśŝşšţťŧũūŭůűųŵŷźżžſ");
const QString upperLetters =
    QStringLiteral("ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜÝÞŸĀĂĄĆĈĊČĎĐĒĔĖĘĚĜĞĠĢĤĦĨĪĬĮIĲĴĶĹĻĽĿŁŃŅŇŊŌŎŐŒŔŖŘŚŜŞŠŢŤŦŨŪŬŮŰŲŴŶŹŻŽS");

// The engine's parser accepts only a couple of dozen nested calls, so the letters are replaced by a
// chain of short updates of a one-row-per-text scratch table instead of one deep expression.
constexpr qsizetype lettersPerStep = 16;

QString levelsSelect()
{
    QStringList levels;
    for (int n = 1; n <= prefixLevels + 1; ++n)
        levels << QStringLiteral("SELECT %1 AS n").arg(n);
    return levels.join(QStringLiteral(" UNION ALL "));
}

// Leaves the folded texts of the row in the scratch table.
QString foldRow(const QString& row)
{
    QString sql =
        QStringLiteral("DELETE FROM %1;\n  INSERT INTO %1 (kind, folded) VALUES (%2, %3.Cincere), (%4, %3.Appart);")
            .arg(QLatin1String(scratchTableName), QString::number(static_cast<int>(Kind::Number)), row,
                 QString::number(static_cast<int>(Kind::Owner)));
    for (qsizetype first = 0; first < lowerLetters.size(); first += lettersPerStep) {
        QString expression = QStringLiteral("folded");
        for (qsizetype i = first; i < qMin(first + lettersPerStep, lowerLetters.size()); ++i) {
            expression = QStringLiteral("replace(%1,'%2','%3')")
                             .arg(expression, QString(lowerLetters.at(i)), QString(upperLetters.at(i)));
        }
        if (first == 0) // upper() of the engine without ICU changes ASCII letters only
            expression = QStringLiteral("upper(%1)").arg(expression);
        sql += QStringLiteral("\n  UPDATE %1 SET folded = %2;").arg(QLatin1String(scratchTableName), expression);
    }
    return sql;
}

// The terms of the folded texts: a prefix for each level up to the text's length, then the whole text
// when it is longer than the last level.
QString termsSelect(const QString& columnsBefore, const QString& columnsAfter)
{
    return QStringLiteral("SELECT %1CASE WHEN l.n <= %2 THEN substr(k.folded, 1, l.n) ELSE k.folded END%3 "
                          "FROM %4 AS k, (%5) AS l WHERE l.n <= length(k.folded)")
        .arg(columnsBefore, QString::number(prefixLevels), columnsAfter, QLatin1String(scratchTableName),
             levelsSelect());
}

QString insertTerms(const QString& row)
{
    // The last prefix level also carries the whole text when it is longer (see `whole`).
    const QString whole =
        QStringLiteral(", CASE WHEN l.n = %1 AND length(k.folded) > %1 THEN k.folded END").arg(prefixLevels);
    return foldRow(row) + QStringLiteral("\n  INSERT INTO %1 (kind, term, id, whole) ").arg(QLatin1String(tableName)) +
           termsSelect(QStringLiteral("k.kind, "), QStringLiteral(", ") + row + QStringLiteral(".id") + whole) +
           QStringLiteral(";\n  DELETE FROM %1;").arg(QLatin1String(scratchTableName));
}

// Every entry of the row carries its id; the term list is there so that the entries are reached
// through the key instead of by a scan.
QString deleteTerms(const QString& row)
{
    return foldRow(row) +
           QStringLiteral("\n  DELETE FROM %1 WHERE kind IN (%2, %3) AND term IN (%4) AND id = %5.id;")
               .arg(QLatin1String(tableName), QString::number(static_cast<int>(Kind::Number)),
                    QString::number(static_cast<int>(Kind::Owner)), termsSelect({}, {}), row) +
           QStringLiteral("\n  DELETE FROM %1;").arg(QLatin1String(scratchTableName));
}

} // namespace

QString fold(const QString& text)
{
    QString result = text;
    for (QChar& c : result) {
        const char16_t u = c.unicode();
        if (u >= u'a' && u <= u'z') {
            c = QChar(u - u'a' + u'A');
        } else if (u >= 0xE0) {
            const qsizetype at = lowerLetters.indexOf(c);
            if (at >= 0)
                c = upperLetters.at(at);
        }
    }
    return result;
}

QString prefixEnd(const QString& prefix)
{
    QList<uint> codePoints = prefix.toUcs4();
    while (!codePoints.isEmpty()) {
        uint last = codePoints.takeLast();
        if (last >= 0x10FFFF)
            continue; // no character above it: raise the one before
        ++last;
        if (last >= 0xD800 && last <= 0xDFFF)
            last = 0xE000; // surrogates are not characters
        codePoints.append(last);
        return QString::fromUcs4(reinterpret_cast<const char32_t*>(codePoints.constData()), codePoints.size());
    }
    return {};
}

int characterCount(const QString& text)
{
    return static_cast<int>(text.toUcs4().size());
}

QStringList terms(const QString& folded)
{
    const QList<uint> codePoints = folded.toUcs4();
    QStringList result;
    for (qsizetype n = 1; n <= qMin<qsizetype>(prefixLevels, codePoints.size()); ++n)
        result << QString::fromUcs4(reinterpret_cast<const char32_t*>(codePoints.constData()), n);
    if (codePoints.size() > prefixLevels)
        result << folded;
    return result;
}

QString tableDefinition()
{
    return QStringLiteral("CREATE TABLE %1 (\n  kind INTEGER NOT NULL,\n  term TEXT NOT NULL,\n  id INTEGER NOT NULL,\n"
                          "  whole TEXT,\n  PRIMARY KEY (kind, term, id)\n) WITHOUT ROWID")
        .arg(QLatin1String(tableName));
}

QString definition()
{
    return tableDefinition() +
           QStringLiteral(";\nCREATE TABLE %1 (kind INTEGER PRIMARY KEY, folded TEXT);\n")
               .arg(QLatin1String(scratchTableName)) +
           QStringLiteral("CREATE TRIGGER Attest_Search_Insert AFTER INSERT ON Attest_Install_Garantie BEGIN\n  ") +
           insertTerms(QStringLiteral("new")) + QStringLiteral("\nEND;\n") +
           QStringLiteral("CREATE TRIGGER Attest_Search_Delete AFTER DELETE ON Attest_Install_Garantie BEGIN\n  ") +
           deleteTerms(QStringLiteral("old")) + QStringLiteral("\nEND;\n") +
           QStringLiteral("CREATE TRIGGER Attest_Search_Update AFTER UPDATE OF id, Cincere, Appart ON "
                          "Attest_Install_Garantie BEGIN\n  ") +
           deleteTerms(QStringLiteral("old")) + QStringLiteral("\n  ") + insertTerms(QStringLiteral("new")) +
           QStringLiteral("\nEND;\n");
}

} // namespace SearchIndex
