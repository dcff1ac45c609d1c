#include "OneShotTimer.h"

OneShotTimer::OneShotTimer(int intervalMs, QObject* parent) : QObject(parent), m_interval(intervalMs)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer); // a coarse timer may fire several percent early or late
    m_timer.setInterval(intervalMs);
    connect(&m_timer, &QTimer::timeout, this, &OneShotTimer::ticked);
}

void OneShotTimer::enable()
{
    if (!m_timer.isActive())
        m_timer.start(m_interval);
}

void OneShotTimer::disable()
{
    m_timer.stop();
}

void OneShotTimer::setInterval(int intervalMs)
{
    m_interval = intervalMs;
}
