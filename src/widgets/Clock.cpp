#include "Clock.h"

namespace {
std::function<QDateTime()>& source()
{
    static std::function<QDateTime()> instance;
    return instance;
}
} // namespace

namespace Clock {

QDateTime now()
{
    return source() ? source()() : QDateTime::currentDateTime();
}

void setSource(std::function<QDateTime()> newSource)
{
    source() = std::move(newSource);
}

} // namespace Clock
