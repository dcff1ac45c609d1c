#include "FixedLayout.h"

#include <QFrame>
#include <QLabel>
#include <QPalette>
#include <QToolButton>

#include <algorithm>

namespace FixedLayout {

QColor desktopColour()
{
    return QColor(58, 110, 165);
}

QLabel* label(QWidget* parent, const char* name, int x, int y, int w, int h, const QString& text, const QFont& font)
{
    auto* result = place(new QLabel(text, parent), name, x, y, w, h);
    if (font != QFont())
        result->setFont(font);
    result->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const QSize hint = result->sizeHint();
    result->resize(std::max(w, hint.width()), h > 0 ? h : hint.height());
    return result;
}

QFrame* panel(QWidget* parent, const char* name, int x, int y, int w, int h, const QColor& background)
{
    auto* frame = place(new QFrame(parent), name, x, y, w, h);
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame->setAutoFillBackground(true);
    QPalette palette = frame->palette();
    palette.setColor(QPalette::Window, background);
    frame->setPalette(palette);
    return frame;
}

QFrame* rule(QWidget* parent, const char* name, int x, int y, int w, const QColor& colour)
{
    auto* line = place(new QFrame(parent), name, x, y, w, 1);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, colour);
    line->setPalette(palette);
    return line;
}

QToolButton* button(QWidget* parent, const char* name, int x, int y, int w, int h, const QString& text,
                    const QIcon& icon)
{
    auto* result = place(new QToolButton(parent), name, x, y, w, h);
    result->setText(text);
    result->setIcon(icon);
    result->setIconSize(QSize(20, 20));
    result->setToolButtonStyle(text.isEmpty()  ? Qt::ToolButtonIconOnly
                               : icon.isNull() ? Qt::ToolButtonTextOnly
                                               : Qt::ToolButtonTextBesideIcon);
    result->setCursor(Qt::PointingHandCursor);
    result->setFocusPolicy(Qt::NoFocus);
    return result;
}

void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    widget->setPalette(palette);
}

void setColours(QWidget* widget, const QColor& background, const QColor& text)
{
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::Button, background);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::ButtonText, text);
    widget->setPalette(palette);
}

} // namespace FixedLayout
