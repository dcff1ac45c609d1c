// gpl-attest: records LPG installation attestations and prints their certificates.
#include "app/Application.h"
#include "entry/EntryWindow.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdlib>
#include <cxxabi.h>
#include <exception>
#include <memory>

namespace {

QString errorName(const std::exception& failure)
{
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> name(
        abi::__cxa_demangle(typeid(failure).name(), nullptr, nullptr, &status), &std::free);
    return QString::fromLatin1(status == 0 && name ? name.get() : typeid(failure).name());
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    std::unique_ptr<Application> objects;
    try {
        objects = std::make_unique<Application>();
    } catch (const std::exception& failure) {
        // Nothing can run without the windows and the store: say what failed and stop.
        QMessageBox::critical(nullptr, QStringLiteral("Application Error"),
                              QStringLiteral("%1: %2").arg(errorName(failure), QString::fromLocal8Bit(failure.what())));
        return 1;
    }
    objects->entryWindow().show();
    return app.exec();
}
