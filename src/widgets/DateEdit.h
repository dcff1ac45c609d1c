#pragma once

#include <QDate>
#include <QLineEdit>

class QCalendarWidget;
class QToolButton;

/// A date field: day, month and four-digit year typed through a mask (blanks where nothing is typed), in the
/// order and with the separator of the system's short date format, with a drop-down month calendar.
///
/// Its value is a day count (see DayCount), time of day included:
/// - setValue() keeps the time of day and shows the date part;
/// - each change the user makes to the text sets the value at once: a complete text gives its date at
///   midnight (a complete text that is no date gives the previous value's date at midnight), a text with a
///   blank gives the zero date;
/// - a day picked in the calendar, or its today button, gives that day at midnight;
/// - Up / keypad plus and Down / keypad minus move one day keeping the time (from now when the value is the
///   zero date); T gives today at midnight;
/// - when the focus leaves for another control, a partly typed year is completed from the current year and
///   the text is read as a date; one that is no date shows "Invalid date" and takes the focus back.
class DateEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit DateEdit(QWidget* parent = nullptr);

    double value() const { return m_value; }
    /// Sets the value and shows its date part.
    void setValue(double dayCount);

    /// The text as shown, blanks included (QLineEdit::text() drops the blanks of a masked text).
    QString dateText() const { return displayText(); }
    /// True while any day, month or year position is not typed.
    bool hasBlank() const;

    /// The drop-down calendar (created on first use); exposed so that tests can pick a day in it.
    QCalendarWidget* calendar();
    bool isCalendarShown() const;

public Q_SLOTS:
    void showCalendar();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Format
    {
        QString pattern; // for QDate::toString / fromString, e.g. "dd/MM/yyyy"
        QString mask;    // for setInputMask, e.g. "99/99/9999; "
        int yearPosition = 6;
    };
    static Format systemFormat();

    void applyUserEdit();
    void checkOnLeaving();
    void setDateAtMidnight(QDate date);
    void moveByDays(int days);
    void pickFromCalendar(QDate date);
    bool isAllBlank() const;

    Format m_format;
    double m_value = 0.0;
    bool m_checking = false;
    QToolButton* m_dropDownButton = nullptr;
    QWidget* m_popup = nullptr;
    QCalendarWidget* m_calendar = nullptr;
};
