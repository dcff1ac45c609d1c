// gpl-attest-db: creates the attestation database and writes certificates without a window.
#include "store/RecordStore.h"
#include "store/Schema.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

namespace {

int usage()
{
    QTextStream(stderr) << "usage: gpl-attest-db init [FILE]\n";
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

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    if (command == QLatin1String("init"))
        return init(args);
    return usage();
}
