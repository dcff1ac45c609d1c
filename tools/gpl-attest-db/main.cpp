// gpl-attest-db: creates the attestation database and writes certificates without a window.
#include "certificate/Certificate.h"
#include "certificate/PdfWriter.h"
#include "certificate/PreparedDocument.h"
#include "store/RecordStore.h"
#include "store/Schema.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QGuiApplication>
#include <QStringList>
#include <QTextStream>
#include <cstring>
#include <memory>

namespace {

int usage()
{
    QTextStream(stderr) << "usage: gpl-attest-db init [FILE]\n"
                           "       gpl-attest-db certificate NUMBER FILE.pdf\n";
    return 2;
}

int init(const QStringList& args)
{
    if (args.size() > 1)
        return usage();
    const QString path = args.isEmpty() ? RecordStore::defaultFileName() : args.first();
    DbError error;
    if (!Schema::createDatabaseFile(path, RecordStore::password(), &error)) {
        QTextStream(stderr) << "gpl-attest-db: " << error.message << '\n';
        return 1;
    }
    QTextStream(stdout) << "created " << path << '\n';
    return 0;
}

int certificate(const QStringList& args)
{
    if (args.size() != 2)
        return usage();
    RecordStore store;
    CertificateRecord record;
    DbError error;
    if (!Certificate::openRecord(store, args.at(0), &record, &error)) {
        QTextStream(stderr) << "gpl-attest-db: " << error.message << '\n';
        return 1;
    }
    QString errorText;
    if (!PdfWriter::writeFile(args.at(1), PreparedDocument(record).pageSource(), PdfExportOptions(),
                              QDateTime::currentDateTime(), &errorText)) {
        QTextStream(stderr) << "gpl-attest-db: " << args.at(1) << ": " << errorText << '\n';
        return 1;
    }
    return 0;
}

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char* argv[])
{
    // Certificates need fonts and a paint system but never a window: without a display, draw offscreen.
    const bool drawsPages = argc > 1 && std::strcmp(argv[1], "certificate") == 0;
    if (drawsPages && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !hasDisplay())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app;
    if (drawsPages)
        app = std::make_unique<QGuiApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    if (command == QLatin1String("init"))
        return init(args);
    if (command == QLatin1String("certificate"))
        return certificate(args);
    return usage();
}
