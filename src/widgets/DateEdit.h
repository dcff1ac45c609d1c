#pragma once

#include <QLineEdit>

/// A date field: the date as text through a mask, with a drop-down calendar. Its value is a day count
/// (see DayCount), time of day included.
class DateEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit DateEdit(QWidget* parent = nullptr);

    double value() const { return m_value; }
    /// Sets the value and shows its date part.
    void setValue(double dayCount);

private:
    double m_value = 0.0;
};
