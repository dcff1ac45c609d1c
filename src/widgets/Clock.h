#pragma once

#include <QDateTime>

#include <functional>

/// The current local date and time, replaceable so that tests fix the clock.
namespace Clock {
QDateTime now();
/// Test seam: while set, now() returns what the function gives; an empty function restores the system clock.
void setSource(std::function<QDateTime()> source);
} // namespace Clock
