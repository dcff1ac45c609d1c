#include "TestEnvironment.h"
#include "store/DayCount.h"

class TestDayCount : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void knownValues_data();
    void knownValues();
    void roundTripToTheMillisecond_data();
    void roundTripToTheMillisecond();
};

void TestDayCount::knownValues_data()
{
    QTest::addColumn<QDateTime>("dateTime");
    QTest::addColumn<double>("days");
    QTest::newRow("epoch") << QDateTime(QDate(1899, 12, 30), QTime(0, 0)) << 0.0;
    QTest::newRow("1 Jan 1900") << QDateTime(QDate(1900, 1, 1), QTime(0, 0)) << 2.0;
    QTest::newRow("noon") << QDateTime(QDate(1899, 12, 31), QTime(12, 0)) << 1.5;
    QTest::newRow("15 Jan 2020") << QDateTime(QDate(2020, 1, 15), QTime(0, 0)) << 43845.0;
    QTest::newRow("6 am 15 Jan 2020") << QDateTime(QDate(2020, 1, 15), QTime(6, 0)) << 43845.25;
    QTest::newRow("before the epoch keeps its time forward") << QDateTime(QDate(1899, 12, 29), QTime(6, 0)) << -1.25;
}

void TestDayCount::knownValues()
{
    QFETCH(QDateTime, dateTime);
    QFETCH(double, days);
    QCOMPARE(DayCount::fromDateTime(dateTime), days);
    QCOMPARE(DayCount::toDateTime(days), dateTime);
}

void TestDayCount::roundTripToTheMillisecond_data()
{
    QTest::addColumn<QDateTime>("dateTime");
    QTest::newRow("last millisecond of a day") << QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59, 999));
    QTest::newRow("odd milliseconds") << QDateTime(QDate(2020, 2, 29), QTime(9, 30, 15, 251));
    QTest::newRow("first millisecond") << QDateTime(QDate(1999, 1, 1), QTime(0, 0, 0, 1));
    QTest::newRow("far future") << QDateTime(QDate(9999, 12, 31), QTime(13, 14, 15, 16));
}

void TestDayCount::roundTripToTheMillisecond()
{
    QFETCH(QDateTime, dateTime);
    const double days = DayCount::fromDateTime(dateTime);
    QCOMPARE(DayCount::toDateTime(days), dateTime);
    QCOMPARE(DayCount::hasTimeOfDay(days), dateTime.time() != QTime(0, 0));
}

GPL_TEST_MAIN(TestDayCount)
#include "TestDayCount.moc"
