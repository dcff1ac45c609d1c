#include "DayCount.h"

#include <cmath>

namespace {
constexpr qint64 msPerDay = 24LL * 60 * 60 * 1000;

qint64 msOfDay(double days)
{
    const double fraction = std::fabs(days - std::trunc(days));
    return std::llround(fraction * msPerDay);
}
} // namespace

namespace DayCount {

QDate epoch()
{
    return QDate(1899, 12, 30);
}

double fromDate(QDate date)
{
    return static_cast<double>(epoch().daysTo(date));
}

double fromDateTime(const QDateTime& dateTime)
{
    const double whole = fromDate(dateTime.date());
    const double fraction = static_cast<double>(dateTime.time().msecsSinceStartOfDay()) / msPerDay;
    // Before the epoch the date part is negative while the time still counts forward from that date.
    return whole >= 0 ? whole + fraction : whole - fraction;
}

QDateTime toDateTime(double days)
{
    qint64 whole = static_cast<qint64>(std::trunc(days));
    qint64 ms = msOfDay(days);
    if (ms >= msPerDay) { // rounding reached the next midnight
        ms -= msPerDay;
        whole += days >= 0 ? 1 : -1;
    }
    return QDateTime(epoch().addDays(whole), QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)));
}

bool hasTimeOfDay(double days)
{
    return toDateTime(days).time().msecsSinceStartOfDay() != 0;
}

} // namespace DayCount
