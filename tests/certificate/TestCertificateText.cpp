#include "TestDatabase.h"
#include "TestEnvironment.h"
#include "certificate/CertificateTemplate.h"
#include "certificate/CertificateText.h"
#include "store/DayCount.h"

#include <QtTest>

Q_DECLARE_METATYPE(CertificateRecord)

namespace {

CertificateRecord recordStarting(QDate date, QTime time = QTime(0, 0))
{
    AttestationRecord record = TestDatabase::sampleRecord(7);
    record.dateStartValid = DayCount::fromDateTime(QDateTime(date, time));
    return record;
}

} // namespace

class TestCertificateText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void objectText_data();
    void objectText();
    void expansion_data();
    void expansion();
    void everyExpressionOfThePagesComputes();
};

void TestCertificateText::objectText_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("object");
    QTest::addColumn<CertificateRecord>("record");
    QTest::addColumn<QString>("expected");

    const CertificateRecord midnight = recordStarting(QDate(2020, 1, 15));
    const CertificateRecord morning = recordStarting(QDate(2020, 1, 15), QTime(9, 30, 15));
    const CertificateRecord in2021 = recordStarting(QDate(2021, 1, 15));
    const CertificateRecord none;

    // Page 1: the three dates in the default date-time text.
    QTest::newRow("issue date") << 0 << "Memo28" << midnight << "15/01/2020";
    QTest::newRow("start bound") << 0 << "AttestDate_Start_Valid" << midnight << "15/01/2020";
    QTest::newRow("end +30") << 0 << "Memo18" << midnight << "14/02/2020";
    QTest::newRow("issue date with time") << 0 << "Memo28" << morning << "15/01/2020 09:30:15";
    QTest::newRow("start bound with time") << 0 << "AttestDate_Start_Valid" << morning << "15/01/2020 09:30:15";
    QTest::newRow("end +30 keeps the time") << 0 << "Memo18" << morning << "14/02/2020 09:30:15";
    QTest::newRow("bound text") << 0 << "AttestAppart" << midnight << "OWNER 7";
    QTest::newRow("no row: issue date") << 0 << "Memo28" << none << "0";
    QTest::newRow("no row: end") << 0 << "Memo18" << none << "30";
    QTest::newRow("no row: bound date") << 0 << "AttestDate_Start_Valid" << none << "";
    QTest::newRow("no row: bound text") << 0 << "AttestAppart" << none << "";
    QTest::newRow("static text unchanged") << 0 << "Memo14" << midnight << "Durizura Le, ";

    // Page 2: dd/mm/yyyy, never a time; +364 across leap years.
    QTest::newRow("guarantee start") << 1 << "Memo38" << morning << "15/01/2020";
    QTest::newRow("guarantee end, leap 2020") << 1 << "Memo39" << morning << "13/01/2021";
    QTest::newRow("guarantee end, 2021") << 1 << "Memo39" << in2021 << "14/01/2022";
    QTest::newRow("no row: guarantee start") << 1 << "Memo38" << none << "30/12/1899";
    QTest::newRow("no row: guarantee end") << 1 << "Memo39" << none << "29/12/1900";
    QTest::newRow("tank values joined") << 1 << "Memo27" << midnight << "TOMASETTO - T7 - 60 L - 01/2020";
    QTest::newRow("no row: tank separators") << 1 << "Memo27" << none << " -  -  - ";
    QTest::newRow("free serial") << 1 << "AttestN_Serie1" << midnight << "VF100000000000007";
    QTest::newRow("no row: free serial") << 1 << "AttestN_Serie1" << none << "";
}

void TestCertificateText::objectText()
{
    QFETCH(int, page);
    QFETCH(QString, object);
    QFETCH(CertificateRecord, record);
    QFETCH(QString, expected);
    const CertificateTemplate::PageObject* found = CertificateTemplate::findObject(page, object);
    QVERIFY(found);
    QCOMPARE(CertificateText::objectText(*found, record), expected);
}

void TestCertificateText::expansion_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("dayMonthYear");
    QTest::addColumn<QString>("expected");

    QTest::newRow("column in a sentence") << "Owner: [Attest.\"Appart\"]." << false << "Owner: OWNER 7.";
    QTest::newRow("two expressions") << "[Attest.\"Marque\"]/[Attest.\"Type\"]" << false << "RENAULT/CLIO";
    QTest::newRow("bracket inside quotes") << "[\"a]b\"]" << false << "a]b";
    QTest::newRow("nested brackets count") << "x[\"[1]\"]y" << false << "x[1]y";
    QTest::newRow("sum of numbers") << "[1+2]" << false << "3";
    QTest::newRow("number as a date") << "[<Attest.\"Date_Start_Valid\">+0]" << true << "15/01/2020";
    QTest::newRow("leap day") << "[<Attest.\"Date_Start_Valid\">+45]" << true << "29/02/2020";
    QTest::newRow("unclosed bracket kept") << "a [Attest.\"Appart\"" << false << "a [Attest.\"Appart\"";
    QTest::newRow("unknown column kept") << "[Attest.\"Nope\"]" << false << "[Attest.\"Nope\"]";
    QTest::newRow("inserted text not rescanned") << "[\"[1+1]\"]" << false << "[1+1]";
}

void TestCertificateText::expansion()
{
    QFETCH(QString, text);
    QFETCH(bool, dayMonthYear);
    QFETCH(QString, expected);
    QCOMPARE(CertificateText::expand(text, recordStarting(QDate(2020, 1, 15)), dayMonthYear), expected);
}

void TestCertificateText::everyExpressionOfThePagesComputes()
{
    // A template expression that failed to compute would print its own source text.
    for (int page = 0; page < 2; ++page) {
        for (const CertificateTemplate::PageObject& object : CertificateTemplate::pageObjects(page)) {
            for (const CertificateRecord& record : {CertificateRecord(), recordStarting(QDate(2020, 1, 15))}) {
                const QString text = CertificateText::objectText(object, record);
                QVERIFY2(!text.contains(QLatin1String("Attest.")),
                         qPrintable(object.name + QLatin1String(": ") + text));
            }
        }
    }
}

GPL_TEST_MAIN(TestCertificateText)
#include "TestCertificateText.moc"
