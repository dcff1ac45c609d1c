#include "TestEnvironment.h"

#include "widgets/OneShotTimer.h"
#include "widgets/StatusLine.h"

#include <QSignalSpy>

class TestStatusLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void timerEnableKeepsRunningCountdown();
    void messageShownThenHiddenAtTick();
    void secondMessageKeepsFirstCountdown();
};

void TestStatusLine::timerEnableKeepsRunningCountdown()
{
    OneShotTimer timer(10000);
    QVERIFY(!timer.isRunning());
    timer.enable();
    const int first = timer.remainingTime();
    QVERIFY(first > 9000);
    QTest::qWait(100);
    timer.enable();
    QVERIFY2(timer.remainingTime() <= first - 90, "enabling a running timer must not restart it");

    timer.disable();
    QVERIFY(!timer.isRunning());
    timer.enable();
    QVERIFY2(timer.remainingTime() > first - 50, "enabling a stopped timer starts a full interval");
}

void TestStatusLine::messageShownThenHiddenAtTick()
{
    QWidget form;
    StatusLine line(&form, 30);
    QVERIFY(line.isHidden());
    QSignalSpy ticks(line.timer(), &OneShotTimer::ticked);

    line.showMessage(QStringLiteral("Enregistré avec success"), QColor(0, 128, 0));
    QVERIFY(!line.isHidden());
    QCOMPARE(line.text(), QStringLiteral("Enregistré avec success"));
    QCOMPARE(line.palette().color(QPalette::WindowText), QColor(0, 128, 0));
    QVERIFY(line.width() > 0);

    QTRY_VERIFY(line.isHidden());
    QCOMPARE(ticks.size(), 1);
    QVERIFY(!line.timer()->isRunning());

    // The next message starts the stopped timer again.
    line.showMessage(QStringLiteral("Tous les champs doivent etre remplis"), QColor(255, 0, 0));
    QVERIFY(!line.isHidden());
    QVERIFY(line.timer()->isRunning());
    QTRY_VERIFY(line.isHidden());
}

void TestStatusLine::secondMessageKeepsFirstCountdown()
{
    QWidget form;
    StatusLine line(&form, 10000);
    line.showMessage(QStringLiteral("Tous les champs doivent etre remplis"), QColor(255, 0, 0));
    const int first = line.timer()->remainingTime();
    QTest::qWait(100);
    line.showMessage(QStringLiteral("Enregistré avec success"), QColor(0, 128, 0));
    QCOMPARE(line.text(), QStringLiteral("Enregistré avec success"));
    QCOMPARE(line.palette().color(QPalette::WindowText), QColor(0, 128, 0));
    QVERIFY2(line.timer()->remainingTime() <= first - 90, "the second message is hidden at the first tick");
}

GPL_TEST_MAIN(TestStatusLine)
#include "TestStatusLine.moc"
