#pragma once

#include <QObject>
#include <QTimer>

/// A timer that fires once per start and is driven by enable/disable: enable() starts a full interval
/// only when the timer is stopped; enabling a running timer leaves its countdown as it is.
class OneShotTimer : public QObject
{
    Q_OBJECT
public:
    explicit OneShotTimer(int intervalMs, QObject* parent = nullptr);

    void enable();
    void disable();
    bool isRunning() const { return m_timer.isActive(); }

    int interval() const { return m_timer.interval(); }
    /// Takes effect at the next start; a running countdown is not changed.
    void setInterval(int intervalMs);
    /// Milliseconds left before the tick; -1 when stopped.
    int remainingTime() const { return m_timer.remainingTime(); }

Q_SIGNALS:
    /// The interval elapsed; the timer is stopped again when this is emitted.
    void ticked();

private:
    QTimer m_timer;
    int m_interval;
};
