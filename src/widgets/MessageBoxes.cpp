#include "MessageBoxes.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFileInfo>

namespace {
MessageBoxes::Handler& handler()
{
    static MessageBoxes::Handler instance;
    return instance;
}
} // namespace

void MessageBoxes::setHandler(Handler newHandler)
{
    handler() = std::move(newHandler);
}

QString MessageBoxes::programTitle(const QString& programFilePath)
{
    QString name = QFileInfo(programFilePath).fileName();
    name = name.left(name.indexOf(QLatin1Char('.')) < 0 ? name.size() : name.indexOf(QLatin1Char('.')));
    return name.left(1) + name.mid(1).toLower();
}

QString MessageBoxes::errorText(const QString& message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

void MessageBoxes::showError(QWidget* parent, const QString& message)
{
    run(parent, {QMessageBox::Critical, programTitle(QCoreApplication::applicationFilePath()), errorText(message),
                 QMessageBox::Ok, QMessageBox::Ok});
}

QMessageBox::StandardButton MessageBoxes::askWarning(QWidget* parent, const QString& title, const QString& text,
                                                     QMessageBox::StandardButtons buttons,
                                                     QMessageBox::StandardButton defaultButton)
{
    return run(parent, {QMessageBox::Warning, title, text, buttons, defaultButton});
}

QMessageBox::StandardButton MessageBoxes::run(QWidget* parent, const Request& request)
{
    if (handler())
        return handler()(request);
    QMessageBox box(request.icon, request.title, request.text, request.buttons, parent);
    box.setDefaultButton(request.defaultButton);
    // Our own captions with access keys, whatever the toolkit's translation.
    if (auto* yes = box.button(QMessageBox::Yes))
        yes->setText(QStringLiteral("&Yes"));
    if (auto* no = box.button(QMessageBox::No))
        no->setText(QStringLiteral("&No"));
    box.exec();
    auto* clicked = box.clickedButton();
    return clicked ? box.standardButton(clicked) : QMessageBox::NoButton;
}
