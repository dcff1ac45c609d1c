#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QString>

class QFrame;
class QLabel;
class QToolButton;
class QWidget;

/// Helpers for the windows' fixed-pixel layouts: every control gets its system name as object name and
/// its place in its parent's client coordinates.
namespace FixedLayout {

/// The desktop background colour of the classic system palette, used by the 1-pixel rules.
QColor desktopColour();

/// Names and places a control; returns it for chaining.
template <typename W> W* place(W* widget, const char* name, int x, int y, int w, int h)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

/// A label that sizes itself to its text from its left edge, at least w × h (h <= 0: the text's height).
/// Its font may draw a few pixels wider than the one the layout was drawn with: it never cuts its text.
QLabel* label(QWidget* parent, const char* name, int x, int y, int w, int h, const QString& text,
              const QFont& font = {});
/// A raised panel filled with a background colour.
QFrame* panel(QWidget* parent, const char* name, int x, int y, int w, int h, const QColor& background);
/// A 1-pixel horizontal rule.
QFrame* rule(QWidget* parent, const char* name, int x, int y, int w, const QColor& colour);
/// A button that takes no focus (clicking it leaves a date field's check for later) with the hand cursor;
/// text only, picture only, or both.
QToolButton* button(QWidget* parent, const char* name, int x, int y, int w, int h, const QString& text,
                    const QIcon& icon = {});
/// Sets the colour of a widget's text (labels and buttons).
void setTextColour(QWidget* widget, const QColor& colour);
/// Fills a widget with a background colour and sets its text colour; on a flat button the face keeps
/// that colour under the mouse, so a white caption stays readable.
void setColours(QWidget* widget, const QColor& background, const QColor& text);

} // namespace FixedLayout
