// gpl-attest-db: creates the attestation database, builds its search index and writes certificates
// without a window.
#include "certificate/Certificate.h"
#include "certificate/PdfWriter.h"
#include "certificate/PreparedDocument.h"
#include "store/Connection.h"
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
                           "       gpl-attest-db index [FILE]\n"
                           "       gpl-attest-db certificate NUMBER FILE.pdf\n";
    return 2;
}

int fail(const QString& message)
{
    QTextStream(stderr) << "gpl-attest-db: " << message << '\n';
    return 1;
}

int init(const QStringList& args)
{
    if (args.size() > 1)
        return usage();
    const QString path = args.isEmpty() ? RecordStore::defaultFileName() : args.first();
    DbError error;
    if (!Schema::createDatabaseFile(path, RecordStore::password(), &error))
        return fail(error.message);
    QTextStream(stdout) << "created " << path << '\n';
    return 0;
}

// Builds the search index of a database made without it (or with an older form of it).
int index(const QStringList& args)
{
    if (args.size() > 1)
        return usage();
    const QString path = args.isEmpty() ? RecordStore::defaultFileName() : args.first();
    Connection connection;
    DbError error;
    if (!connection.open(path, RecordStore::password(), Connection::OpenMode::ExistingOnly, &error) ||
        !Schema::ensureSearchIndex(connection, &error))
        return fail(error.message);
    QTextStream(stdout) << "search index of " << path << " is current\n";
    return 0;
}

int certificate(const QStringList& args)
{
    if (args.size() != 2)
        return usage();
    RecordStore store;
    CertificateRecord record;
    DbError error;
    if (!Certificate::openRecord(store, args.at(0), &record, &error))
        return fail(error.message);
    QString errorText;
    if (!PdfWriter::writeFile(args.at(1), PreparedDocument(record).pageSource(), PdfExportOptions(),
                              QDateTime::currentDateTime(), &errorText))
        return fail(args.at(1) + QStringLiteral(": ") + errorText);
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
    if (command == QLatin1String("index"))
        return index(args);
    if (command == QLatin1String("certificate"))
        return certificate(args);
    return usage();
}
