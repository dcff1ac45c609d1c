// gpl-attest: records LPG installation attestations and prints their certificates.
#include "app/Application.h"
#include "entry/EntryWindow.h"

#include <QApplication>
#include <QMessageBox>

#include <exception>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    std::unique_ptr<Application> objects;
    try {
        objects = std::make_unique<Application>();
    } catch (const std::exception& failure) {
        QMessageBox::critical(nullptr, QStringLiteral("Application Error"),
                              QStringLiteral("Exception %1: %2")
                                  .arg(QLatin1String(typeid(failure).name()), QString::fromLocal8Bit(failure.what())));
        return 1;
    }
    objects->entryWindow().show();
    return app.exec();
}
