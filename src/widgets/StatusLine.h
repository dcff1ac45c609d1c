#pragma once

#include <QLabel>

class OneShotTimer;

/// A status line below a form: one message at a time, in its colour, hidden at start and hidden again
/// when its timer ticks, `hideAfterMs` after the timer was started from the stopped state. A message shown
/// while the timer runs does not restart it, so it may stay for less than the full interval.
class StatusLine : public QLabel
{
    Q_OBJECT
public:
    explicit StatusLine(QWidget* parent = nullptr, int hideAfterMs = 3000);

    /// Sets the text, then the colour, then makes the line visible and enables the timer.
    void showMessage(const QString& text, const QColor& colour);

    /// The timer that hides the line; the window gives it its name.
    OneShotTimer* timer() const { return m_timer; }

private:
    void hideMessage();

    OneShotTimer* m_timer = nullptr;
};
