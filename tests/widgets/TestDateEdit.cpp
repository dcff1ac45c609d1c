#include "TestEnvironment.h"

#include "store/DayCount.h"
#include "widgets/Clock.h"
#include "widgets/DateEdit.h"
#include "widgets/MessageBoxes.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QDateTime fixedNow(QDate(2026, 3, 14), QTime(10, 30, 0));

// An invalid QDateTime in a table row stands for the zero date.
double dayCountOf(const QDateTime& dateTime)
{
    return dateTime.isValid() ? DayCount::fromDateTime(dateTime) : 0.0;
}

QDateTime at(int year, int month, int day, int hour = 0, int minute = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute));
}
} // namespace

class TestDateEdit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void showsValueAsDateInSystemOrder();
    void typing_data();
    void typing();
    void keys_data();
    void keys();
    void calendar_data();
    void calendar();

private:
    void clearText();

    QWidget* m_window = nullptr;
    DateEdit* m_date = nullptr;
    QLineEdit* m_next = nullptr;
    QStringList m_errors;
};

void TestDateEdit::initTestCase()
{
    Clock::setSource([] { return fixedNow; });
    MessageBoxes::setHandler([this](const MessageBoxes::Request& request) {
        m_errors << request.text;
        return QMessageBox::Ok;
    });
}

void TestDateEdit::cleanupTestCase()
{
    Clock::setSource({});
    MessageBoxes::setHandler({});
}

void TestDateEdit::init()
{
    m_window = new QWidget;
    auto* layout = new QVBoxLayout(m_window);
    m_date = new DateEdit(m_window);
    m_date->setObjectName(QStringLiteral("sDateEdit1"));
    m_next = new QLineEdit(m_window);
    layout->addWidget(m_date);
    layout->addWidget(m_next);
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    m_date->setValue(DayCount::fromDateTime(fixedNow));
    m_date->setFocus();
    QVERIFY(m_date->hasFocus());
    m_errors.clear();
}

void TestDateEdit::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

void TestDateEdit::clearText()
{
    m_date->selectAll();
    QTest::keyClick(m_date, Qt::Key_Backspace);
    QTest::keyClick(m_date, Qt::Key_Home);
}

void TestDateEdit::showsValueAsDateInSystemOrder()
{
    // Day first with slashes in French; the time of day stays in the value, not in the text.
    QCOMPARE(m_date->dateText(), QStringLiteral("14/03/2026"));
    QCOMPARE(m_date->value(), DayCount::fromDateTime(fixedNow));
    QVERIFY(!m_date->hasBlank());
    clearText();
    QCOMPARE(m_date->dateText(), QStringLiteral("  /  /    "));
    QVERIFY(m_date->hasBlank());
    QTest::keyClicks(m_date, QStringLiteral("1403202"));
    QVERIFY(m_date->hasBlank());
}

void TestDateEdit::typing_data()
{
    QTest::addColumn<bool>("clearFirst");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QDateTime>("whileTyping");
    QTest::addColumn<QString>("textAfterLeaving");
    QTest::addColumn<QDateTime>("afterLeaving");
    QTest::addColumn<bool>("invalid");

    const QDateTime zero;
    QTest::newRow("complete date") << true << 0 << "05012025" << at(2025, 1, 5) << "05/01/2025" << at(2025, 1, 5)
                                   << false;
    QTest::newRow("leap day") << true << 0 << "29022024" << at(2024, 2, 29) << "29/02/2024" << at(2024, 2, 29) << false;
    QTest::newRow("no year: current year") << true << 0 << "0501" << zero << "05/01/2026" << at(2026, 1, 5) << false;
    QTest::newRow("one year digit: current year")
        << true << 0 << "05012" << zero << "05/01/2026" << at(2026, 1, 5) << false;
    QTest::newRow("year 20 becomes 2020") << true << 0 << "050120" << zero << "05/01/2020" << at(2020, 1, 5) << false;
    QTest::newRow("three year digits: first two kept")
        << true << 0 << "0501199" << zero << "05/01/2019" << at(2019, 1, 5) << false;
    QTest::newRow("all blank left unchanged") << true << 0 << "" << zero << "  /  /    " << zero << false;
    QTest::newRow("month blank") << true << 0 << "05" << zero << "05/  /2026" << zero << true;
    QTest::newRow("no such day typed in full") << true << 0 << "31022026" << zero << "31/02/2026" << zero << true;
    // Overtyping one digit of a complete date: the previous value's date at midnight while typing.
    QTest::newRow("no such day by overtyping")
        << false << 0 << "3" << at(2026, 3, 14) << "34/03/2026" << at(2026, 3, 14) << true;
    QTest::newRow("month overtyped") << false << 4 << "1" << at(2026, 1, 14) << "14/01/2026" << at(2026, 1, 14)
                                     << false;
}

void TestDateEdit::typing()
{
    QFETCH(bool, clearFirst);
    QFETCH(int, cursor);
    QFETCH(QString, keys);
    QFETCH(QDateTime, whileTyping);
    QFETCH(QString, textAfterLeaving);
    QFETCH(QDateTime, afterLeaving);
    QFETCH(bool, invalid);

    if (clearFirst)
        clearText();
    else
        m_date->setCursorPosition(cursor);
    QTest::keyClicks(m_date, keys);
    QCOMPARE(m_date->value(), dayCountOf(whileTyping));

    QTest::keyClick(m_date, Qt::Key_Tab);
    QCOMPARE(m_date->dateText(), textAfterLeaving);
    QCOMPARE(m_date->value(), dayCountOf(afterLeaving));
    if (invalid) {
        QCOMPARE(m_errors, QStringList{QStringLiteral("Invalid date.")});
        QVERIFY2(m_date->hasFocus(), "the focus goes back to the date field");
    } else {
        QCOMPARE(m_errors, QStringList{});
        QVERIFY(m_next->hasFocus());
    }
}

void TestDateEdit::keys_data()
{
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QDateTime>("expected");

    const int none = Qt::NoModifier;
    const int keypad = Qt::KeypadModifier;
    QTest::newRow("Up keeps the time") << fixedNow << int(Qt::Key_Up) << none << at(2026, 3, 15, 10, 30);
    QTest::newRow("Down keeps the time") << fixedNow << int(Qt::Key_Down) << none << at(2026, 3, 13, 10, 30);
    QTest::newRow("keypad plus") << fixedNow << int(Qt::Key_Plus) << keypad << at(2026, 3, 15, 10, 30);
    QTest::newRow("keypad minus") << fixedNow << int(Qt::Key_Minus) << keypad << at(2026, 3, 13, 10, 30);
    QTest::newRow("Up over a month end") << at(2026, 3, 31, 8) << int(Qt::Key_Up) << none << at(2026, 4, 1, 8);
    QTest::newRow("Down over a year start") << at(2026, 1, 1) << int(Qt::Key_Down) << none << at(2025, 12, 31);
    QTest::newRow("Up from the zero date starts now")
        << QDateTime() << int(Qt::Key_Up) << none << at(2026, 3, 15, 10, 30);
    QTest::newRow("Down from the zero date starts now")
        << QDateTime() << int(Qt::Key_Down) << none << at(2026, 3, 13, 10, 30);
    QTest::newRow("t gives today at midnight") << at(2020, 6, 1, 15) << int(Qt::Key_T) << none << at(2026, 3, 14);
    QTest::newRow("T gives today at midnight")
        << at(2020, 6, 1, 15) << int(Qt::Key_T) << int(Qt::ShiftModifier) << at(2026, 3, 14);
}

void TestDateEdit::keys()
{
    QFETCH(QDateTime, start);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QDateTime, expected);

    m_date->setValue(dayCountOf(start));
    QTest::keyClick(m_date, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(m_date->value(), dayCountOf(expected));
    QCOMPARE(m_date->dateText(), expected.date().toString(QStringLiteral("dd/MM/yyyy")));
}

void TestDateEdit::calendar_data()
{
    QTest::addColumn<QString>("typedFirst");
    QTest::addColumn<bool>("byButton");
    QTest::addColumn<bool>("today");
    QTest::addColumn<QDateTime>("expected");

    QTest::newRow("Alt+Down, day picked") << QString() << false << false << at(2026, 3, 20);
    QTest::newRow("drop-down button, today") << QString() << true << true << at(2026, 3, 14);
    // Opening the calendar is not leaving the field: a partly typed date raises no error.
    QTest::newRow("opened on a partly typed date") << QStringLiteral("05") << false << false << at(2026, 3, 20);
}

void TestDateEdit::calendar()
{
    QFETCH(QString, typedFirst);
    QFETCH(bool, byButton);
    QFETCH(bool, today);
    QFETCH(QDateTime, expected);

    m_date->setValue(dayCountOf(at(2020, 6, 1, 15)));
    if (!typedFirst.isEmpty()) {
        clearText();
        QTest::keyClicks(m_date, typedFirst);
    }
    if (byButton)
        QTest::mouseClick(m_date->findChild<QToolButton*>(QStringLiteral("DropDownButton")), Qt::LeftButton);
    else
        QTest::keyClick(m_date, Qt::Key_Down, Qt::AltModifier);
    QVERIFY(m_date->isCalendarShown());
    QCOMPARE(m_errors, QStringList{});

    QCalendarWidget* monthView = m_date->calendar();
    if (today) {
        auto* todayButton = monthView->parentWidget()->findChild<QPushButton*>(QStringLiteral("TodayButton"));
        QVERIFY(todayButton);
        QTest::mouseClick(todayButton, Qt::LeftButton);
    } else {
        monthView->setSelectedDate(expected.date());
        auto* days = monthView->findChild<QAbstractItemView*>(QStringLiteral("qt_calendar_calendarview"));
        QVERIFY(days);
        QTest::keyClick(days, Qt::Key_Return);
    }
    QVERIFY(!m_date->isCalendarShown());
    QCOMPARE(m_date->value(), DayCount::fromDateTime(expected));
    QCOMPARE(m_date->dateText(), expected.date().toString(QStringLiteral("dd/MM/yyyy")));
    QCOMPARE(m_errors, QStringList{});
}

GPL_TEST_MAIN(TestDateEdit)
#include "TestDateEdit.moc"
