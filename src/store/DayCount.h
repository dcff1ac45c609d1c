#pragma once

#include <QDateTime>

/// Dates are exchanged as a day count since 30 December 1899 00:00 (local time, no time zone), with the
/// time of day as the fraction. For negative counts the fraction is still the time of day after the date.
namespace DayCount {

/// The zero date-time: 30 December 1899 at midnight.
QDate epoch();
/// Exact to the millisecond: fromDateTime(toDateTime(x)) == x for any value written by fromDateTime.
double fromDateTime(const QDateTime& dateTime);
QDateTime toDateTime(double days);
double fromDate(QDate date);
/// True when the value carries a time of day other than midnight (to the millisecond).
bool hasTimeOfDay(double days);

} // namespace DayCount
