#include "TestDatabase.h"
#include "TestEnvironment.h"
#include "store/Connection.h"
#include "store/DayCount.h"
#include "store/RecordStore.h"
#include "store/Schema.h"
#include "store/Sqlite.h"
#include "store/Statement.h"

#include <QFile>
#include <QThread>

#include <thread>

namespace {

int rowCount(RecordStore& store)
{
    Statement s;
    DbError error;
    if (!s.prepare(store.connection().handle(), QStringLiteral("SELECT count(*) FROM Attest_Install_Garantie"),
                   &error) ||
        s.step(&error) != Statement::Step::Row)
        return -1;
    return static_cast<int>(s.integer(0));
}

QString pragma(RecordStore& store, const char* name)
{
    Statement s;
    DbError error;
    if (!s.prepare(store.connection().handle(), QStringLiteral("PRAGMA %1").arg(QLatin1String(name)), &error) ||
        s.step(&error) != Statement::Step::Row)
        return QString();
    return s.text(0);
}

} // namespace

class TestRecordStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void insertedRecordReadsBackExactly();
    void lastRecordAndNumberOnEmptyAndFilledTable();
    void sameNumberTwiceFindsBothInOrder();
    void tooLongTextIsRefusedAndNothingWritten_data();
    void tooLongTextIsRefusedAndNothingWritten();
    void updateAndDeleteOfMissingIdChangeNothing();
    void updateAndDeleteOfExistingRow();
    void deletedIdIsNeverReused();
    void openFailuresCarryTheEnginesMessage_data();
    void openFailuresCarryTheEnginesMessage();
    void failedOpenIsRetriedByTheNextStatement();
    void connectionIsDurableAndKeyed();
    void shortLockDelaysAndLongLockFailsCleanly();
};

void TestRecordStore::insertedRecordReadsBackExactly()
{
    TestDatabase db;
    QVERIFY(db.isValid());
    RecordStore store;
    DbError error;
    QVERIFY2(store.open(&error), qPrintable(error.message));

    AttestationRecord record = TestDatabase::sampleRecord(17);
    record.appart = QStringLiteral("  ÉLODIE D'ARC  "); // untrimmed, accented, apostrophe
    record.epreuve = QStringLiteral("mixed Case 03/2019");
    record.marque = QStringLiteral("مرسيدس");
    QVERIFY2(store.insertRecord(record, &error), qPrintable(error.message));

    QList<AttestationRecord> rows;
    QVERIFY2(store.selectByNumber(record.cincere, &rows, &error), qPrintable(error.message));
    QCOMPARE(rows.size(), 1);
    QVERIFY(rows[0].id > 0);
    record.id = rows[0].id;
    QCOMPARE(rows[0], record);
    // The date comes back to the millisecond.
    QCOMPARE(DayCount::toDateTime(rows[0].dateStartValid), QDateTime(QDate(2020, 1, 15), QTime(9, 30, 15, 250)));

    // Equality, not prefix: the sequence number alone finds nothing.
    QVERIFY2(store.selectByNumber(QStringLiteral("17"), &rows, &error), qPrintable(error.message));
    QVERIFY(rows.isEmpty());
}

void TestRecordStore::lastRecordAndNumberOnEmptyAndFilledTable()
{
    TestDatabase db;
    RecordStore store;
    DbError error;
    std::optional<AttestationRecord> last;
    QString number = QStringLiteral("stale");
    QVERIFY2(store.selectLastRecord(&last, &error), qPrintable(error.message));
    QVERIFY(!last.has_value());
    QVERIFY2(store.selectLastNumber(&number, &error), qPrintable(error.message));
    QVERIFY(number.isEmpty());

    for (int n : {5, 3, 9})
        QVERIFY2(store.insertRecord(TestDatabase::sampleRecord(n), &error), qPrintable(error.message));
    QVERIFY2(store.selectLastRecord(&last, &error), qPrintable(error.message));
    QVERIFY(last.has_value());
    QCOMPARE(last->cincere, QStringLiteral("9-2020")); // newest = greatest id, not greatest number
    QCOMPARE(last->appart, QStringLiteral("OWNER 9"));
    QVERIFY2(store.selectLastNumber(&number, &error), qPrintable(error.message));
    QCOMPARE(number, QStringLiteral("9-2020"));
}

void TestRecordStore::sameNumberTwiceFindsBothInOrder()
{
    TestDatabase db;
    RecordStore store;
    DbError error;
    AttestationRecord first = TestDatabase::sampleRecord(1);
    AttestationRecord second = TestDatabase::sampleRecord(2);
    second.cincere = first.cincere;
    QVERIFY2(store.insertRecord(first, &error), qPrintable(error.message));
    QVERIFY2(store.insertRecord(second, &error), qPrintable(error.message));
    QList<AttestationRecord> rows;
    QVERIFY2(store.selectByNumber(first.cincere, &rows, &error), qPrintable(error.message));
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].appart, first.appart);
    QCOMPARE(rows[1].appart, second.appart);
}

void TestRecordStore::tooLongTextIsRefusedAndNothingWritten_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("constraintName");
    const char* names[] = {"Appart",           "Vehicle_Immatricul", "Marque",  "Type",     "N_Serie",
                           "Marque_Reservoir", "N_Reservoir",        "Epreuve", "Capacity", "Cincere"};
    for (int i = 0; i < 10; ++i)
        QTest::newRow(names[i]) << i << QString::fromLatin1(names[i]);
}

void TestRecordStore::tooLongTextIsRefusedAndNothingWritten()
{
    QFETCH(int, column);
    QFETCH(QString, constraintName);
    TestDatabase db;
    RecordStore store;
    DbError error;
    AttestationRecord existing = TestDatabase::sampleRecord(1);
    QVERIFY2(store.insertRecord(existing, &error), qPrintable(error.message));

    AttestationRecord record = TestDatabase::sampleRecord(2);
    QString* fields[] = {
        &record.appart,          &record.vehicleImmatricul, &record.marque,  &record.type,     &record.nSerie,
        &record.marqueReservoir, &record.nReservoir,        &record.epreuve, &record.capacity, &record.cincere};
    *fields[column] = QString(255, QChar(0x00C9)); // 255 letters (510 UTF-8 bytes) still fit
    QVERIFY2(store.insertRecord(record, &error), qPrintable(error.message));
    QCOMPARE(rowCount(store), 2);

    *fields[column] = QString(256, QLatin1Char('A'));
    QVERIFY(!store.insertRecord(record, &error));
    QCOMPARE(error.code & 0xff, SQLITE_CONSTRAINT);
    QVERIFY2(error.message.contains(constraintName + QStringLiteral(" longer than 255 characters")),
             qPrintable(error.message));
    QCOMPARE(rowCount(store), 2);

    // The same refusal on update, leaving the stored row as it was.
    int changed = -1;
    record.id = 1;
    QVERIFY(!store.updateRecord(record, &changed, &error));
    QCOMPARE(error.code & 0xff, SQLITE_CONSTRAINT);
    QList<AttestationRecord> rows;
    QVERIFY2(store.selectByNumber(existing.cincere, &rows, &error), qPrintable(error.message));
    QCOMPARE(rows.size(), 1);
    existing.id = 1;
    QCOMPARE(rows[0], existing);
}

void TestRecordStore::updateAndDeleteOfMissingIdChangeNothing()
{
    TestDatabase db;
    RecordStore store;
    DbError error;
    const AttestationRecord original = TestDatabase::sampleRecord(1);
    QVERIFY2(store.insertRecord(original, &error), qPrintable(error.message));

    AttestationRecord ghost = TestDatabase::sampleRecord(2);
    ghost.id = 999;
    int changed = -1;
    QVERIFY2(store.updateRecord(ghost, &changed, &error), qPrintable(error.message));
    QCOMPARE(changed, 0);
    QVERIFY2(store.deleteRecord(QStringLiteral("999"), &error), qPrintable(error.message));

    std::optional<AttestationRecord> last;
    QVERIFY2(store.selectLastRecord(&last, &error), qPrintable(error.message));
    QVERIFY(last.has_value());
    AttestationRecord expected = original;
    expected.id = last->id;
    QCOMPARE(*last, expected);
    QCOMPARE(rowCount(store), 1);
}

void TestRecordStore::updateAndDeleteOfExistingRow()
{
    TestDatabase db;
    RecordStore store;
    DbError error;
    QVERIFY2(store.insertRecord(TestDatabase::sampleRecord(1), &error), qPrintable(error.message));
    QVERIFY2(store.insertRecord(TestDatabase::sampleRecord(2), &error), qPrintable(error.message));

    AttestationRecord changedRecord = TestDatabase::sampleRecord(3);
    changedRecord.id = 1;
    changedRecord.dateStartValid = DayCount::fromDate(QDate(2021, 1, 15));
    int changed = 0;
    QVERIFY2(store.updateRecord(changedRecord, &changed, &error), qPrintable(error.message));
    QCOMPARE(changed, 1);
    QList<AttestationRecord> rows;
    QVERIFY2(store.selectByNumber(changedRecord.cincere, &rows, &error), qPrintable(error.message));
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0], changedRecord);

    // The id arrives as the text of a hidden field.
    QVERIFY2(store.deleteRecord(QStringLiteral("1"), &error), qPrintable(error.message));
    QVERIFY2(store.selectByNumber(changedRecord.cincere, &rows, &error), qPrintable(error.message));
    QVERIFY(rows.isEmpty());
    QCOMPARE(rowCount(store), 1);
}

void TestRecordStore::deletedIdIsNeverReused()
{
    TestDatabase db;
    RecordStore store;
    DbError error;
    QVERIFY2(store.insertRecord(TestDatabase::sampleRecord(1), &error), qPrintable(error.message));
    QVERIFY2(store.insertRecord(TestDatabase::sampleRecord(2), &error), qPrintable(error.message));
    QVERIFY2(store.deleteRecord(QStringLiteral("2"), &error), qPrintable(error.message));
    QVERIFY2(store.insertRecord(TestDatabase::sampleRecord(3), &error), qPrintable(error.message));
    std::optional<AttestationRecord> last;
    QVERIFY2(store.selectLastRecord(&last, &error), qPrintable(error.message));
    QCOMPARE(last->id, 3);
}

void TestRecordStore::openFailuresCarryTheEnginesMessage_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing file") << "missing"
                                  << "unable to open database file";
    QTest::newRow("wrong password") << "wrong key"
                                    << "file is encrypted or is not a database";
    QTest::newRow("not a database") << "garbage"
                                    << "file is encrypted or is not a database";
}

void TestRecordStore::openFailuresCarryTheEnginesMessage()
{
    QFETCH(QString, situation);
    QFETCH(QString, message);
    TestDatabase db(TestDatabase::Content::NoDatabase);
    QVERIFY(db.isValid());
    if (situation == QLatin1String("wrong key")) {
        DbError error;
        QVERIFY2(Schema::createDatabaseFile(db.path(), QByteArrayLiteral("another password"), &error),
                 qPrintable(error.message));
    } else if (situation == QLatin1String("garbage")) {
        QFile file(db.path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
    }
    const QByteArray before = QFile::exists(db.path()) ? [&] {
        QFile f(db.path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }()
                                                        : QByteArray();

    RecordStore store;
    DbError error;
    QVERIFY(!store.open(&error));
    QCOMPARE(error.message, message);
    QVERIFY(!store.isOpen());
    // Every statement reports the same failure and writes nothing.
    QVERIFY(!store.insertRecord(TestDatabase::sampleRecord(1), &error));
    QCOMPARE(error.message, message);
    if (!before.isEmpty()) {
        QFile after(db.path());
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), before);
    } else {
        QVERIFY(!QFile::exists(db.path())); // the program never creates the database
    }
}

void TestRecordStore::failedOpenIsRetriedByTheNextStatement()
{
    TestDatabase db(TestDatabase::Content::NoDatabase);
    RecordStore store;
    DbError error;
    QVERIFY(!store.open(&error));
    QVERIFY2(Schema::createDatabaseFile(db.path(), RecordStore::password(), &error), qPrintable(error.message));
    QVERIFY2(store.insertRecord(TestDatabase::sampleRecord(4), &error), qPrintable(error.message));
    QVERIFY(store.isOpen());
    QString number;
    QVERIFY2(store.selectLastNumber(&number, &error), qPrintable(error.message));
    QCOMPARE(number, QStringLiteral("4-2020"));
}

void TestRecordStore::connectionIsDurableAndKeyed()
{
    TestDatabase db;
    RecordStore store;
    DbError error;
    QVERIFY2(store.open(&error), qPrintable(error.message));
    QCOMPARE(pragma(store, "journal_mode"), QStringLiteral("delete"));
    QCOMPARE(pragma(store, "synchronous"), QStringLiteral("2")); // FULL

    // The file on disk is not readable as plain SQLite.
    QFile file(db.path());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(!file.read(16).startsWith("SQLite format 3"));

    Connection unkeyed;
    QVERIFY(!unkeyed.open(db.path(), QByteArray(), Connection::OpenMode::ExistingOnly, &error));
}

void TestRecordStore::shortLockDelaysAndLongLockFailsCleanly()
{
    TestDatabase db;
    RecordStore store;
    DbError error;
    QVERIFY2(store.insertRecord(TestDatabase::sampleRecord(1), &error), qPrintable(error.message));

    // Another program holds a write lock for a moment: our insert waits for it instead of failing.
    Connection other;
    QVERIFY2(other.open(db.path(), RecordStore::password(), Connection::OpenMode::ExistingOnly, &error),
             qPrintable(error.message));
    QVERIFY2(other.exec(QStringLiteral("BEGIN EXCLUSIVE"), &error), qPrintable(error.message));
    std::thread release([&other] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        DbError ignored;
        (void)other.exec(QStringLiteral("COMMIT"), &ignored);
    });
    const bool delayedInsert = store.insertRecord(TestDatabase::sampleRecord(2), &error);
    release.join();
    QVERIFY2(delayedInsert, qPrintable(error.message));

    // A lock held past the busy timeout fails with the engine's message and loses nothing.
    QVERIFY2(other.exec(QStringLiteral("BEGIN EXCLUSIVE"), &error), qPrintable(error.message));
    QVERIFY(!store.insertRecord(TestDatabase::sampleRecord(3), &error));
    QCOMPARE(error.message, QStringLiteral("database is locked"));
    QVERIFY2(other.exec(QStringLiteral("COMMIT"), &error), qPrintable(error.message));
    QCOMPARE(rowCount(store), 2);
}

GPL_TEST_MAIN(TestRecordStore)
#include "TestRecordStore.moc"
