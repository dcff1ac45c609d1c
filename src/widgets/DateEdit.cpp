#include "DateEdit.h"

#include "store/DayCount.h"

#include <QLocale>

DateEdit::DateEdit(QWidget* parent) : QLineEdit(parent)
{
    setMaxLength(10);
}

void DateEdit::setValue(double dayCount)
{
    m_value = dayCount;
    setText(QLocale::system().toString(DayCount::toDateTime(dayCount).date(), QStringLiteral("dd/MM/yyyy")));
}
