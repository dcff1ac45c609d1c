#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

/// Every message box of the program goes through here, so that tests can answer them without a person.
class MessageBoxes
{
public:
    struct Request
    {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    };
    using Handler = std::function<QMessageBox::StandardButton(const Request&)>;

    /// The error box: the program's title, the message with a final "." added where it ends in a
    /// character that sorts after ".", an error icon and OK.
    static void showError(QWidget* parent, const QString& message);
    /// A warning with the given buttons; returns the button chosen (Escape or the close box: NoButton).
    static QMessageBox::StandardButton askWarning(QWidget* parent, const QString& title, const QString& text,
                                                  QMessageBox::StandardButtons buttons,
                                                  QMessageBox::StandardButton defaultButton);

    /// Title rule: the program file's name without folder, cut at its first ".", every character after
    /// the first in lower case.
    static QString programTitle(const QString& programFilePath);
    static QString errorText(const QString& message);

    /// Test seam: while set, boxes are not shown; the handler sees each request and gives the answer.
    static void setHandler(Handler handler);

private:
    static QMessageBox::StandardButton run(QWidget* parent, const Request& request);
};
