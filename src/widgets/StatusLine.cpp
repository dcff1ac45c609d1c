#include "StatusLine.h"

#include "widgets/OneShotTimer.h"

StatusLine::StatusLine(QWidget* parent, int hideAfterMs) : QLabel(parent), m_timer(new OneShotTimer(hideAfterMs, this))
{
    hide();
    connect(m_timer, &OneShotTimer::ticked, this, &StatusLine::hideMessage);
}

void StatusLine::showMessage(const QString& text, const QColor& colour)
{
    setText(text);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, colour);
    setPalette(colours);
    adjustSize();
    show();
    m_timer->enable();
}

void StatusLine::hideMessage()
{
    hide();
    m_timer->disable();
}
