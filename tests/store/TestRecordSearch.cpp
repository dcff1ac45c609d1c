#include "TestDatabase.h"
#include "TestEnvironment.h"
#include "TestRecords.h"

#include "store/Connection.h"
#include "store/RecordStore.h"
#include "store/Schema.h"
#include "store/SearchIndex.h"
#include "store/Statement.h"

#include <QtTest>

namespace {

using Search = RecordStore::Search;

// A second connection that writes with plain SQL, as the sqlcipher shell or another tool would.
bool execOther(const QString& sql, DbError* error)
{
    Connection other;
    return other.open(QDir::current().absoluteFilePath(RecordStore::defaultFileName()), RecordStore::password(),
                      Connection::OpenMode::ExistingOnly, error) &&
           other.exec(sql, error);
}

// Every entry of the search index, in key order, as text.
QStringList indexEntries(RecordStore& store, DbError* error)
{
    Statement s;
    QStringList entries;
    if (!s.prepare(store.connection().handle(),
                   QStringLiteral("SELECT kind, term, id, whole FROM Attest_Search_Terms ORDER BY kind, term, id"),
                   error))
        return {QStringLiteral("error")};
    while (s.step(error) == Statement::Step::Row) {
        entries << QStringLiteral("%1|%2|%3|%4")
                       .arg(s.integer(0))
                       .arg(s.text(1))
                       .arg(s.integer(2))
                       .arg(s.isNull(3) ? QStringLiteral("null") : s.text(3));
    }
    return entries;
}

} // namespace

class TestRecordSearch : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void prefixSearch_data();
    void prefixSearch();
    void pagesFollowEachOther_data();
    void pagesFollowEachOther();
    void otherWritersKeepTheIndex();
    void indexBuiltForOlderDatabase();
    void longPrefixBeyondTheWindow();
    void foldMatchesTheTriggers();
    void servedByIndexes_data();
    void servedByIndexes();
};

void TestRecordSearch::prefixSearch_data()
{
    QTest::addColumn<int>("search");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QStringList>("expected");

    const auto number = static_cast<int>(Search::NumberPrefix);
    const auto owner = static_cast<int>(Search::OwnerPrefix);
    const QStringList all{"10-P", "9-U", "8-E", "7-D", "6-C", "5-B", "4-A", "12-2021", "1-2021", "11-2020"};
    QTest::newRow("empty number box lists every row") << number << QString() << all;
    QTest::newRow("empty owner box lists every row") << owner << QString() << all;
    QTest::newRow("number, one character") << number << "1" << QStringList{"10-P", "12-2021", "1-2021", "11-2020"};
    QTest::newRow("number, longer prefix") << number << "1-" << QStringList{"1-2021"};
    QTest::newRow("number, whole text beyond the levels") << number << "12-2021" << QStringList{"12-2021"};
    QTest::newRow("number, longer than any text") << number << "12-20211" << QStringList{};
    QTest::newRow("owner, lower case finds upper case") << owner << "ben" << QStringList{"1-2021", "11-2020"};
    QTest::newRow("owner, long prefix in lower case") << owner << "benali m" << QStringList{"1-2021"};
    QTest::newRow("owner, accented lower finds upper") << owner << "éc" << QStringList{"7-D", "6-C"};
    QTest::newRow("owner, accented upper finds lower") << owner << "ÉCOLE" << QStringList{"7-D", "6-C"};
    QTest::newRow("apostrophe is literal") << owner << "D'A" << QStringList{"4-A"};
    QTest::newRow("percent is literal") << owner << "50%" << QStringList{"5-B"};
    QTest::newRow("percent matches nothing else") << owner << "%" << QStringList{};
    QTest::newRow("underscore is literal") << owner << "A_" << QStringList{"8-E"};
    QTest::newRow("underscore matches no other letter") << owner << "AX" << QStringList{"9-U"};
    QTest::newRow("owner search ignores numbers") << owner << "1" << QStringList{};
    QTest::newRow("no match") << number << "XYZ" << QStringList{};
    QTest::newRow("last character at its highest")
        << owner << QString::fromUcs4(U"P\U0010FFFF", 2) << QStringList{"10-P"};
}

void TestRecordSearch::prefixSearch()
{
    QFETCH(int, search);
    QFETCH(QString, prefix);
    QFETCH(QStringList, expected);

    TestDatabase db;
    QVERIFY(db.isValid());
    RecordStore store;
    DbError error;
    const QList<AttestationRecord> rows{
        ownedRecord("BENALI AHMED", "11-2020"),
        ownedRecord("BENALI MOHAMED", "1-2021"),
        ownedRecord("SAIDI", "12-2021"),
        ownedRecord("D'ALEMBERT", "4-A"),
        ownedRecord("50% PARTS", "5-B"),
        ownedRecord(QStringLiteral("école"), "6-C"),
        ownedRecord(QStringLiteral("ÉCOLE NORMALE"), "7-D"),
        ownedRecord("A_B", "8-E"),
        ownedRecord("AXB", "9-U"),
        ownedRecord(QString::fromUcs4(U"P\U0010FFFF\U0010FFFF", 3), "10-P"),
    };
    for (const AttestationRecord& r : rows)
        QVERIFY2(store.insertRecord(r, &error), qPrintable(error.message));

    QList<AttestationRecord> found;
    QVERIFY2(store.fetchPage(static_cast<Search>(search), prefix, 0, 100, &found, &error), qPrintable(error.message));
    QCOMPARE(numbersOf(found), expected);
}

void TestRecordSearch::pagesFollowEachOther_data()
{
    QTest::addColumn<int>("search");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("all rows") << static_cast<int>(Search::All) << QString();
    QTest::newRow("short prefix") << static_cast<int>(Search::OwnerPrefix) << "own";
    QTest::newRow("long prefix") << static_cast<int>(Search::OwnerPrefix) << "owner 1";
}

// Keyset pages: each page starts below the last id of the one before; together they are the whole
// result, newest first, without a row twice.
void TestRecordSearch::pagesFollowEachOther()
{
    QFETCH(int, search);
    QFETCH(QString, prefix);

    TestDatabase db;
    QVERIFY(db.isValid());
    RecordStore store;
    DbError error;
    for (int n = 1; n <= 130; ++n) {
        AttestationRecord r = TestDatabase::sampleRecord(n);
        if (n % 3 == 0)
            r.appart = QStringLiteral("SOMEONE ELSE");
        QVERIFY2(store.insertRecord(r, &error), qPrintable(error.message));
    }
    QList<AttestationRecord> everything;
    QVERIFY2(store.fetchPage(static_cast<Search>(search), prefix, 0, 1000, &everything, &error),
             qPrintable(error.message));
    QVERIFY(everything.size() > 20);

    QList<AttestationRecord> paged;
    qint32 before = 0;
    for (;;) {
        QList<AttestationRecord> page;
        QVERIFY2(store.fetchPage(static_cast<Search>(search), prefix, before, 7, &page, &error),
                 qPrintable(error.message));
        QVERIFY(page.size() <= 7);
        if (page.isEmpty())
            break;
        paged += page;
        before = page.last().id;
    }
    QCOMPARE(paged, everything);
    for (qsizetype i = 1; i < paged.size(); ++i)
        QVERIFY(paged.at(i).id < paged.at(i - 1).id);
}

// Rows written by plain SQL on another connection are found, updated and forgotten like the program's own.
void TestRecordSearch::otherWritersKeepTheIndex()
{
    TestDatabase db;
    QVERIFY(db.isValid());
    RecordStore store;
    DbError error;
    QVERIFY2(store.open(&error), qPrintable(error.message));
    QVERIFY2(execOther(QStringLiteral("INSERT INTO Attest_Install_Garantie (Appart, Cincere) "
                                      "VALUES ('élise martin', '3-2022'), ('ÉLIAS', 'abc-2022');"),
                       &error),
             qPrintable(error.message));

    QList<AttestationRecord> found;
    QVERIFY2(store.fetchPage(Search::OwnerPrefix, QStringLiteral("ÉLISE M"), 0, 10, &found, &error),
             qPrintable(error.message));
    QCOMPARE(numbersOf(found), QStringList{"3-2022"});
    QVERIFY2(store.fetchPage(Search::NumberPrefix, QStringLiteral("ABC"), 0, 10, &found, &error),
             qPrintable(error.message));
    QCOMPARE(numbersOf(found), QStringList{"abc-2022"});

    QVERIFY2(execOther(QStringLiteral("UPDATE Attest_Install_Garantie SET Appart = 'NOUVEAU' WHERE Cincere = '3-2022'"),
                       &error),
             qPrintable(error.message));
    QVERIFY2(store.fetchPage(Search::OwnerPrefix, QStringLiteral("él"), 0, 10, &found, &error),
             qPrintable(error.message));
    QCOMPARE(numbersOf(found), QStringList{"abc-2022"});
    QVERIFY2(store.fetchPage(Search::OwnerPrefix, QStringLiteral("nouv"), 0, 10, &found, &error),
             qPrintable(error.message));
    QCOMPARE(numbersOf(found), QStringList{"3-2022"});

    AttestationRecord updated = found.first();
    updated.cincere = QStringLiteral("77-2022");
    int changed = 0;
    QVERIFY2(store.updateRecord(updated, &changed, &error), qPrintable(error.message));
    QVERIFY2(store.fetchPage(Search::NumberPrefix, QStringLiteral("3-"), 0, 10, &found, &error),
             qPrintable(error.message));
    QVERIFY(found.isEmpty());

    QVERIFY2(execOther(QStringLiteral("DELETE FROM Attest_Install_Garantie;"), &error), qPrintable(error.message));
    Statement count;
    QVERIFY2(
        count.prepare(store.connection().handle(), QStringLiteral("SELECT count(*) FROM Attest_Search_Terms"), &error),
        qPrintable(error.message));
    QCOMPARE(count.step(&error), Statement::Step::Row);
    QCOMPARE(count.integer(0), 0); // no entry outlives its row
}

void TestRecordSearch::indexBuiltForOlderDatabase()
{
    TestDatabase db;
    QVERIFY(db.isValid());
    DbError error;
    // A database whose index is of an older form (no whole texts), its triggers gone.
    QVERIFY2(execOther(QStringLiteral("DROP TRIGGER Attest_Search_Insert; DROP TRIGGER Attest_Search_Delete; "
                                      "DROP TRIGGER Attest_Search_Update; DROP TABLE Attest_Search_Terms; "
                                      "CREATE TABLE Attest_Search_Terms (kind, term, id, PRIMARY KEY (kind, term, id)) "
                                      "WITHOUT ROWID; "
                                      "INSERT INTO Attest_Install_Garantie (Appart, Cincere) VALUES "
                                      "('Émile', '1-2019'), ('ZORO', '2-2019'), ('ÉMILIE DURAND', '3-2019');"),
                       &error),
             qPrintable(error.message));

    RecordStore store;
    QList<AttestationRecord> found;
    // The program does not touch the structure: searches say what to do, the plain list still works.
    QVERIFY(!store.fetchPage(Search::OwnerPrefix, QStringLiteral("émil"), 0, 10, &found, &error));
    QVERIFY2(error.message.contains(QStringLiteral("gpl-attest-db index")), qPrintable(error.message));
    QVERIFY2(store.fetchPage(Search::All, QString(), 0, 10, &found, &error), qPrintable(error.message));
    QCOMPARE(found.size(), 3);
    {
        // What the companion tool's index command runs.
        Connection tool;
        QVERIFY2(tool.open(db.path(), RecordStore::password(), Connection::OpenMode::ExistingOnly, &error) &&
                     Schema::ensureSearchIndex(tool, &error),
                 qPrintable(error.message));
    }
    QVERIFY2(store.fetchPage(Search::OwnerPrefix, QStringLiteral("émil"), 0, 10, &found, &error),
             qPrintable(error.message));
    QCOMPARE(numbersOf(found), (QStringList{"3-2019", "1-2019"}));
    QVERIFY2(store.fetchPage(Search::OwnerPrefix, QStringLiteral("émilie d"), 0, 10, &found, &error),
             qPrintable(error.message));
    QCOMPARE(numbersOf(found), QStringList{"3-2019"});
    // The entries built here are those the triggers write.
    const QStringList built = indexEntries(store, &error);
    QVERIFY(built.size() > 10);
    QVERIFY2(execOther(
                 QStringLiteral("DELETE FROM Attest_Search_Terms; UPDATE Attest_Install_Garantie SET Appart = Appart;"),
                 &error),
             qPrintable(error.message));
    QCOMPARE(indexEntries(store, &error), built);
    // An index in its current form is left as it is by a second build (a planted entry survives).
    QVERIFY2(
        execOther(QStringLiteral("INSERT INTO Attest_Search_Terms (kind, term, id) VALUES (9, 'PLANTED', 1)"), &error),
        qPrintable(error.message));
    {
        Connection tool;
        QVERIFY2(tool.open(db.path(), RecordStore::password(), Connection::OpenMode::ExistingOnly, &error) &&
                     Schema::ensureSearchIndex(tool, &error),
                 qPrintable(error.message));
        QVERIFY(indexEntries(store, &error).contains(QStringLiteral("9|PLANTED|1|null")));
        QVERIFY2(execOther(QStringLiteral("DELETE FROM Attest_Search_Terms WHERE kind = 9"), &error),
                 qPrintable(error.message));
    }
    // ...and kept from then on.
    AttestationRecord added = ownedRecord(QStringLiteral("émilien"), "4-2019");
    QVERIFY2(store.insertRecord(added, &error), qPrintable(error.message));
    QVERIFY2(store.fetchPage(Search::OwnerPrefix, QStringLiteral("ÉMIL"), 0, 10, &found, &error),
             qPrintable(error.message));
    QCOMPARE(numbersOf(found), (QStringList{"4-2019", "3-2019", "1-2019"}));
}

// The program folds the typed prefix in C++, the triggers fold the stored texts in SQL: both must agree.
// A long prefix first tests the newest entries of its first characters; matches older than that window
// are still found, and a window that holds a full page answers alone.
void TestRecordSearch::longPrefixBeyondTheWindow()
{
    TestDatabase db;
    QVERIFY(db.isValid());
    RecordStore store;
    DbError error;
    QVERIFY2(store.insertRecord(ownedRecord("BENALI ZORO", "old-1"), &error), qPrintable(error.message));
    QVERIFY2(store.connection().exec(QStringLiteral("BEGIN"), &error), qPrintable(error.message));
    for (int n = 1; n <= SearchIndex::longPrefixWindow + 50; ++n)
        QVERIFY2(store.insertRecord(ownedRecord("BENALI AHMED", QString::number(n)), &error),
                 qPrintable(error.message));
    QVERIFY2(store.connection().exec(QStringLiteral("COMMIT"), &error), qPrintable(error.message));

    QList<AttestationRecord> found;
    QVERIFY2(store.fetchPage(Search::OwnerPrefix, QStringLiteral("benali z"), 0, 100, &found, &error),
             qPrintable(error.message));
    QCOMPARE(numbersOf(found), QStringList{"old-1"});
    QVERIFY2(store.fetchPage(Search::OwnerPrefix, QStringLiteral("benali a"), 0, 3, &found, &error),
             qPrintable(error.message));
    const QString newest = QString::number(SearchIndex::longPrefixWindow + 50);
    QCOMPARE(numbersOf(found).first(), newest);
    QCOMPARE(found.size(), 3);
}

void TestRecordSearch::foldMatchesTheTriggers()
{
    TestDatabase db;
    QVERIFY(db.isValid());
    QString sample = QStringLiteral("abcxyz ABC 019 'ß%_ Ωω Жж ﻻ ");
    for (char16_t c = 0xC0; c < 0x180; ++c)
        sample += QChar(c);
    DbError error;
    RecordStore store;
    QVERIFY2(store.insertRecord(ownedRecord(sample, "1"), &error), qPrintable(error.message));

    Statement s;
    QVERIFY2(s.prepare(store.connection().handle(),
                       QStringLiteral("SELECT term FROM Attest_Search_Terms WHERE kind = 2 ORDER BY length(term) DESC"),
                       &error),
             qPrintable(error.message));
    QCOMPARE(s.step(&error), Statement::Step::Row);
    QCOMPARE(s.text(0), SearchIndex::fold(sample));
    // The last prefix level carries the whole text, for long prefixes.
    Statement whole;
    QVERIFY2(whole.prepare(store.connection().handle(),
                           QStringLiteral("SELECT whole FROM Attest_Search_Terms WHERE kind = 2 AND length(term) = 5"),
                           &error),
             qPrintable(error.message));
    QCOMPARE(whole.step(&error), Statement::Step::Row);
    QCOMPARE(whole.text(0), SearchIndex::fold(sample));
    QVERIFY(SearchIndex::fold(sample).startsWith(QStringLiteral("ABCXYZ ABC 019 'ß%_ Ωω Жж ﻻ ÀÁÂÃÄÅÆÇÈÉ")));
    QVERIFY(SearchIndex::fold(sample).endsWith(QStringLiteral("ŽŽS")));
}

void TestRecordSearch::servedByIndexes_data()
{
    QTest::addColumn<int>("search");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<bool>("sortsMatches");
    QTest::newRow("all rows") << static_cast<int>(Search::All) << QString() << false;
    QTest::newRow("number, short prefix") << static_cast<int>(Search::NumberPrefix) << "12" << false;
    QTest::newRow("owner, short prefix") << static_cast<int>(Search::OwnerPrefix) << "ben" << false;
    QTest::newRow("owner, long prefix") << static_cast<int>(Search::OwnerPrefix) << "benali m" << true;
}

void TestRecordSearch::servedByIndexes()
{
    QFETCH(int, search);
    QFETCH(QString, prefix);
    QFETCH(bool, sortsMatches);

    TestDatabase db;
    QVERIFY(db.isValid());
    RecordStore store;
    DbError error;
    QStringList plan;
    QVERIFY2(store.explainPage(static_cast<Search>(search), prefix, &plan, &error), qPrintable(error.message));
    const QString text = plan.join(QLatin1Char('\n'));
    // Every table is reached through a key; none is read from end to end.
    QVERIFY2(!text.contains(QLatin1String("SCAN TABLE")), qPrintable(text));
    QVERIFY2(text.contains(QLatin1String("SEARCH TABLE")), qPrintable(text));
    if (search != static_cast<int>(Search::All))
        QVERIFY2(text.contains(QRegularExpression(QStringLiteral("Attest_Search_Terms.* USING PRIMARY KEY"))),
                 qPrintable(text));
    // A short prefix reads its newest rows in key order; only the long prefix's range is sorted.
    QCOMPARE(text.contains(QLatin1String("TEMP B-TREE")), sortsMatches);
}

GPL_TEST_MAIN(TestRecordSearch)
#include "TestRecordSearch.moc"
