#include "DateEdit.h"

#include "store/DayCount.h"
#include "widgets/Clock.h"
#include "widgets/MessageBoxes.h"

#include <QCalendarWidget>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLocale>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int dropDownButtonWidth = 18;

// Characters with a meaning of their own in an input mask; a separator among them is escaped.
bool isMaskMetaCharacter(QChar c)
{
    return QStringLiteral("AaNnXx90Dd#HhBb><!{}[]\\;").contains(c);
}

} // namespace

DateEdit::DateEdit(QWidget* parent) : QLineEdit(parent), m_format(systemFormat())
{
    setInputMask(m_format.mask);
    setMaxLength(10);

    m_dropDownButton = new QToolButton(this);
    m_dropDownButton->setObjectName(QStringLiteral("DropDownButton"));
    m_dropDownButton->setArrowType(Qt::DownArrow);
    m_dropDownButton->setAutoRaise(true);
    m_dropDownButton->setFocusPolicy(Qt::NoFocus);
    m_dropDownButton->setCursor(Qt::ArrowCursor);
    setTextMargins(0, 0, dropDownButtonWidth, 0);
    connect(m_dropDownButton, &QToolButton::clicked, this, &DateEdit::showCalendar);

    connect(this, &QLineEdit::textEdited, this, &DateEdit::applyUserEdit);
}

DateEdit::Format DateEdit::systemFormat()
{
    // Only the order of day, month and year and the separator are taken from the system; the field always
    // shows two-digit days and months and a four-digit year.
    const QString shortFormat = QLocale::system().dateFormat(QLocale::ShortFormat);
    QString order;
    QChar separator;
    bool quoted = false;
    for (const QChar c : shortFormat) {
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
        } else if (quoted) {
            continue;
        } else if (c == QLatin1Char('d') || c == QLatin1Char('M') || c == QLatin1Char('y')) {
            if (!order.contains(c))
                order += c;
        } else if (separator.isNull() && !c.isLetterOrNumber() && !c.isSpace()) {
            separator = c;
        }
    }
    if (order.size() != 3)
        order = QStringLiteral("dMy");
    if (separator.isNull())
        separator = QLatin1Char('/');

    Format format;
    QString maskBody;
    for (const QChar part : order) {
        if (!format.pattern.isEmpty()) {
            format.pattern += separator;
            if (isMaskMetaCharacter(separator))
                maskBody += QLatin1Char('\\');
            maskBody += separator;
        }
        if (part == QLatin1Char('y')) {
            format.yearPosition = static_cast<int>(format.pattern.size());
            format.pattern += QStringLiteral("yyyy");
            maskBody += QStringLiteral("9999");
        } else {
            format.pattern += part == QLatin1Char('d') ? QStringLiteral("dd") : QStringLiteral("MM");
            maskBody += QStringLiteral("99");
        }
    }
    format.mask = maskBody + QStringLiteral("; ");
    return format;
}

void DateEdit::setValue(double dayCount)
{
    m_value = dayCount;
    setText(DayCount::toDateTime(dayCount).date().toString(m_format.pattern));
}

bool DateEdit::hasBlank() const
{
    const QString text = dateText();
    for (qsizetype i = 0; i < m_format.pattern.size(); ++i) {
        if (m_format.pattern.at(i).isLetter() && (i >= text.size() || !text.at(i).isDigit()))
            return true;
    }
    return false;
}

bool DateEdit::isAllBlank() const
{
    const QString text = dateText();
    for (qsizetype i = 0; i < m_format.pattern.size() && i < text.size(); ++i) {
        if (m_format.pattern.at(i).isLetter() && text.at(i).isDigit())
            return false;
    }
    return true;
}

void DateEdit::applyUserEdit()
{
    if (hasBlank()) {
        m_value = 0.0;
        return;
    }
    const QDate typed = QDate::fromString(dateText(), m_format.pattern);
    m_value = DayCount::fromDate(typed.isValid() ? typed : DayCount::toDateTime(m_value).date());
}

void DateEdit::setDateAtMidnight(QDate date)
{
    setValue(DayCount::fromDate(date));
}

void DateEdit::moveByDays(int days)
{
    const QDateTime start = m_value == 0.0 ? Clock::now() : DayCount::toDateTime(m_value);
    setValue(DayCount::fromDateTime(start.addDays(days)));
}

void DateEdit::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    const bool command = modifiers.testFlag(Qt::ControlModifier) || modifiers.testFlag(Qt::AltModifier);
    switch (event->key()) {
    case Qt::Key_Down:
        if (modifiers.testFlag(Qt::AltModifier))
            showCalendar();
        else
            moveByDays(-1);
        event->accept();
        return;
    case Qt::Key_Up:
        moveByDays(1);
        event->accept();
        return;
    case Qt::Key_Plus:
    case Qt::Key_Minus:
        if (keypad) {
            moveByDays(event->key() == Qt::Key_Plus ? 1 : -1);
            event->accept();
            return;
        }
        break;
    case Qt::Key_T:
        if (!command) {
            setDateAtMidnight(Clock::now().date());
            event->accept();
            return;
        }
        break;
    default:
        break;
    }
    QLineEdit::keyPressEvent(event);
}

void DateEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // Only a move to another control of the window is a leave: not the calendar opening, nor another
    // window (an error box among them) taking the activation.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    checkOnLeaving();
}

void DateEdit::checkOnLeaving()
{
    if (m_checking || isAllBlank())
        return;
    QString text = dateText();
    const QString currentYear = QStringLiteral("%1").arg(Clock::now().date().year(), 4, 10, QLatin1Char('0'));
    const int year = m_format.yearPosition;
    const auto blankAt = [&text, year](int offset) { return !text.at(year + offset).isDigit(); };
    if (blankAt(0) || blankAt(1))
        text.replace(year, 4, currentYear);
    else if (blankAt(2) || blankAt(3))
        text.replace(year, 4, currentYear.left(2) + text.mid(year, 2));
    if (text != dateText())
        setText(text);

    const QDate date = QDate::fromString(text, m_format.pattern);
    if (!date.isValid()) {
        m_checking = true; // the box and the focus coming back must not run this check again
        MessageBoxes::showError(this, QStringLiteral("Invalid date"));
        setFocus(Qt::OtherFocusReason);
        m_checking = false;
        return;
    }
    setDateAtMidnight(date);
}

void DateEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    m_dropDownButton->setGeometry(width() - dropDownButtonWidth - 2, 2, dropDownButtonWidth, height() - 4);
}

QCalendarWidget* DateEdit::calendar()
{
    if (!m_popup) {
        auto* popup = new QFrame(this, Qt::Popup);
        popup->setObjectName(QStringLiteral("CalendarPopup"));
        popup->setFrameStyle(QFrame::Box | QFrame::Plain);
        m_calendar = new QCalendarWidget(popup);
        m_calendar->setObjectName(QStringLiteral("Calendar"));
        m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        auto* todayButton = new QPushButton(QStringLiteral("Aujourd'hui"), popup);
        todayButton->setObjectName(QStringLiteral("TodayButton"));
        auto* layout = new QVBoxLayout(popup);
        layout->setContentsMargins(2, 2, 2, 2);
        layout->setSpacing(2);
        layout->addWidget(m_calendar);
        layout->addWidget(todayButton);
        connect(m_calendar, &QCalendarWidget::clicked, this, &DateEdit::pickFromCalendar);
        connect(m_calendar, &QCalendarWidget::activated, this, &DateEdit::pickFromCalendar);
        connect(todayButton, &QPushButton::clicked, this, [this] { pickFromCalendar(Clock::now().date()); });
        m_popup = popup;
    }
    return m_calendar;
}

bool DateEdit::isCalendarShown() const
{
    return m_popup && m_popup->isVisible();
}

void DateEdit::showCalendar()
{
    QCalendarWidget* monthView = calendar();
    monthView->setSelectedDate(m_value == 0.0 ? Clock::now().date() : DayCount::toDateTime(m_value).date());
    m_popup->adjustSize();
    m_popup->move(mapToGlobal(QPoint(0, height())));
    m_popup->show();
    monthView->setFocus(Qt::PopupFocusReason);
}

void DateEdit::pickFromCalendar(QDate date)
{
    m_popup->hide();
    setDateAtMidnight(date);
    setFocus(Qt::PopupFocusReason);
}
