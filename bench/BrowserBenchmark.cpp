// Measures the records browser on a generated database of 1,000,000 records, next to the time the
// sqlcipher shell takes for the plain LIKE statement on the same file. Run by hand:
//   gpl-attest-bench [--rows N]
// The database is generated once and kept under the build directory.
#include "DatabaseGenerator.h"

#include "maintenance/RecordsBrowser.h"
#include "maintenance/RecordsModel.h"
#include "store/Connection.h"
#include "store/RecordStore.h"
#include "store/Schema.h"
#include "store/Statement.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace {

QTextStream out(stdout);

struct Probe
{
    RecordStore::Search search;
    QString prefix;
    QString kind; // what the prefix stands for in the mix
};

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

double maxOf(const std::vector<double>& values)
{
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

[[noreturn]] void fail(const QString& what, const DbError& error)
{
    QTextStream(stderr) << "gpl-attest-bench: " << what << ": " << error.message << '\n';
    std::exit(1);
}

QString likePattern(const QString& prefix)
{
    QString quoted = prefix;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + quoted + QStringLiteral("%'");
}

// The original statement, in the shell, every row fetched (to /dev/null); the shell's own timer, in ms.
double shellMs(const QString& file, const QString& statement)
{
    QProcess shell;
    shell.setProgram(QStringLiteral("sqlcipher"));
    shell.setArguments({file});
    shell.start();
    if (!shell.waitForStarted())
        return -1;
    const QString script = QStringLiteral("PRAGMA key = '%1';\n.output /dev/null\n.timer on\n%2;\n.quit\n")
                               .arg(QString::fromLatin1(RecordStore::password()), statement);
    shell.write(script.toUtf8());
    shell.closeWriteChannel();
    shell.waitForFinished(600000);
    const QString output = QString::fromUtf8(shell.readAllStandardOutput());
    double last = -1;
    const QRegularExpression timer(QStringLiteral("Run Time: real ([0-9.]+)"));
    for (auto it = timer.globalMatch(output); it.hasNext();)
        last = it.next().captured(1).toDouble() * 1000;
    return last;
}

qint64 memoryKb(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(static_cast<int>(qstrlen(field))).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// Waits for the list's next page in an event loop that sleeps between events (as the program's own
// loop does); the time since `clock` started, in ms, -1 on timeout.
double waitForPage(RecordsModel* model, const QElapsedTimer& clock)
{
    QEventLoop loop;
    bool arrived = false;
    const auto connection = QObject::connect(model, &RecordsModel::pageArrived, &loop, [&] {
        arrived = true;
        loop.quit();
    });
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(connection);
    return arrived ? static_cast<double>(clock.nsecsElapsed()) / 1e6 : -1;
}

qint64 count(RecordStore& store, RecordStore::Search search, const QString& prefix)
{
    qint64 total = 0;
    qint32 before = 0;
    QList<AttestationRecord> page;
    DbError error;
    do {
        if (!store.fetchPage(search, prefix, before, 5000, &page, &error))
            fail(QStringLiteral("count"), error);
        total += page.size();
        if (!page.isEmpty())
            before = page.last().id;
    } while (page.size() == 5000);
    return total;
}

struct WriteCost
{
    double insertMs, updateMs, deleteMs;
};

// Median time of single-statement writes as the program runs them (own transaction, full sync).
WriteCost measureWrites(const QString& file)
{
    RecordStore store(file);
    DbError error;
    if (!store.open(&error))
        fail(QStringLiteral("open ") + file, error);
    std::vector<double> inserts, updates, deletes;
    std::optional<AttestationRecord> last;
    for (int i = 0; i < 30; ++i) {
        AttestationRecord r;
        r.appart = QStringLiteral("BENCH ÉCRITURE %1").arg(i);
        r.vehicleImmatricul = QStringLiteral("12345 126 16");
        r.marque = r.type = r.nSerie = r.marqueReservoir = r.nReservoir = r.epreuve = r.capacity = QStringLiteral("X");
        r.cincere = QStringLiteral("%1-2027").arg(i + 1);
        QElapsedTimer clock;
        clock.start();
        if (!store.insertRecord(r, &error))
            fail(QStringLiteral("insert"), error);
        inserts.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        if (!store.selectLastRecord(&last, &error) || !last)
            fail(QStringLiteral("select"), error);
        AttestationRecord changed = *last;
        changed.appart = QStringLiteral("BENCH CORRIGÉ %1").arg(i);
        changed.cincere = QStringLiteral("%1-2028").arg(i + 1);
        int rows = 0;
        clock.restart();
        if (!store.updateRecord(changed, &rows, &error))
            fail(QStringLiteral("update"), error);
        updates.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        clock.restart();
        if (!store.deleteRecord(QString::number(changed.id), &error))
            fail(QStringLiteral("delete"), error);
        deletes.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    return {median(inserts), median(updates), median(deletes)};
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int rows = 1000000;
    const QStringList args = app.arguments();
    if (const qsizetype at = args.indexOf(QStringLiteral("--rows")); at >= 0 && at + 1 < args.size())
        rows = args.at(at + 1).toInt();

    const QString dataDir = QStringLiteral(GPL_BENCH_DATA_DIR) + QStringLiteral("/rows-%1").arg(rows);
    QDir().mkpath(dataDir);
    QDir::setCurrent(dataDir);
    const QString file = QDir(dataDir).filePath(RecordStore::defaultFileName());
    DbError error;
    if (!QFileInfo::exists(file)) {
        out << "generating " << rows << " records in " << file << " ..." << Qt::endl;
        QElapsedTimer clock;
        clock.start();
        if (!DatabaseGenerator::generate(file, rows, &error))
            fail(QStringLiteral("generate"), error);
        out << "generated in " << clock.elapsed() / 1000.0 << " s" << Qt::endl;
    }

    const auto number = RecordStore::Search::NumberPrefix;
    const auto owner = RecordStore::Search::OwnerPrefix;
    const std::vector<Probe> mix = {
        {number, "1", "number, frequent"},
        {number, "9", "number, frequent"},
        {number, "12", "number, frequent"},
        {number, "45", "number, frequent"},
        {number, "123", "number"},
        {number, "1234-", "number"},
        {number, "7123", "number, all old"},
        {number, "71234", "number, all old, rare"},
        {number, "0", "number, no match"},
        {number, "99999", "number, no match"},
        {owner, "B", "owner, frequent"},
        {owner, "be", "owner, frequent, lower case"},
        {owner, "BEN", "owner, frequent"},
        {owner, "BENAL", "owner, frequent"},
        {owner, "Z", "owner"},
        {owner, "ZE", "owner, all old"},
        {owner, "ZER", "owner, all old"},
        {owner, "ZERRO", "owner, all old"},
        {owner, "Q", "owner, rare"},
        {owner, "QU", "owner, rare"},
        {owner, "chér", "owner, rare, accented"},
        {owner, "X", "owner, no match"},
        {owner, "XQ", "owner, no match"},
        {owner, "ZZZZZ", "owner, no match"},
        {owner, "BENALI", "owner, 6 chars, frequent"},
        {owner, "BENALI M", "owner, 8 chars, frequent"},
        {owner, "mansouri k", "owner, 10 chars"},
        {owner, "BENALI ZZ", "owner, 9 chars, no match"},
        {owner, "ZERROUKI S", "owner, 10 chars, all old"},
    };

    // 1. A keystroke's first screen, at the store: the first page (as many rows as the list asks for).
    RecordStore store;
    if (!store.open(&error))
        fail(QStringLiteral("open"), error);
    out << "\n== First screen of newest-first rows (" << RecordsModel::firstPageSize
        << " rows), ms; shell: the LIKE statement, every row ==\n";
    out << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
               .arg(QStringLiteral("prefix"), -12)
               .arg(QStringLiteral("kind"), -28)
               .arg(QStringLiteral("matches"), 8)
               .arg(QStringLiteral("median"), 8)
               .arg(QStringLiteral("worst"), 8)
               .arg(QStringLiteral("shell"), 10);
    std::vector<double> medians, worsts;
    for (const Probe& probe : mix) {
        std::vector<double> times;
        QList<AttestationRecord> page;
        for (int i = 0; i < 9; ++i) {
            QElapsedTimer clock;
            clock.start();
            if (!store.fetchPage(probe.search, probe.prefix, 0, RecordsModel::firstPageSize, &page, &error))
                fail(QStringLiteral("fetch"), error);
            times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        }
        medians.push_back(median(times));
        worsts.push_back(maxOf(times));
        const QString column = probe.search == number ? QStringLiteral("Cincere") : QStringLiteral("Appart");
        const double shell = shellMs(file, QStringLiteral("select * from Attest_Install_Garantie where %1 Like%2 "
                                                          "ORDER BY id DESC")
                                               .arg(column, likePattern(probe.prefix)));
        out << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
                   .arg(QLatin1Char('"') + probe.prefix + QLatin1Char('"'), -12)
                   .arg(probe.kind, -28)
                   .arg(count(store, probe.search, probe.prefix), 8)
                   .arg(medians.back(), 8, 'f', 2)
                   .arg(worsts.back(), 8, 'f', 2)
                   .arg(shell, 10, 'f', 1)
            << Qt::flush;
    }
    out << "over the mix: median " << QString::number(median(medians), 'f', 2) << " ms, worst prefix "
        << QString::number(maxOf(worsts), 'f', 2) << " ms\n";
    out << "shell, BrowseAll (every row): "
        << QString::number(shellMs(file, QStringLiteral("SELECT * FROM Attest_Install_Garantie ORDER BY id DESC")), 'f',
                           1)
        << " ms\n"
        << Qt::flush;

    // 2. The same keystrokes in the real window: text typed in the search box to first rows in the grid.
    RecordsBrowser browser;
    browser.setStore(&store);
    auto* model = browser.model();
    auto* searchBox = browser.findChild<QLineEdit*>(QStringLiteral("Edit1"));
    auto* byOwner = browser.findChild<QRadioButton*>(QStringLiteral("RadioButton2"));
    auto* grid = browser.findChild<QTableView*>(QStringLiteral("DBGrid1"));
    browser.show();
    QElapsedTimer clock;
    clock.start();
    waitForPage(model, clock);
    std::vector<double> keystrokes;
    for (const Probe& probe : mix) {
        if (probe.search == owner)
            byOwner->setChecked(true);
        searchBox->clear();
        waitForPage(model, clock);
        for (int i = 0; i < 3; ++i) {
            clock.restart();
            searchBox->setText(probe.prefix);
            keystrokes.push_back(waitForPage(model, clock));
            searchBox->setText(probe.prefix + QLatin1Char('~')); // typed on, then erased
            waitForPage(model, clock);
        }
    }
    out << "\n== In the window: keystroke to first rows in the grid (thread hop included), ms ==\n"
        << "median " << QString::number(median(keystrokes), 'f', 2) << ", worst "
        << QString::number(maxOf(keystrokes), 'f', 2) << "\n"
        << Qt::flush;

    // 3. Scrolling to the end of a result of about 100,000 rows; the pause is the longest time the window's
    //    event loop did not run.
    const Probe scrolled{owner, QStringLiteral("MA"), {}};
    byOwner->setChecked(true);
    searchBox->setText(scrolled.prefix);
    clock.restart();
    waitForPage(model, clock);
    const qint64 expected = count(store, scrolled.search, scrolled.prefix);
    QElapsedTimer heartbeat;
    heartbeat.start();
    double longestPause = 0;
    QTimer beat;
    QObject::connect(&beat, &QTimer::timeout, [&] {
        longestPause = std::max(longestPause, static_cast<double>(heartbeat.nsecsElapsed()) / 1e6);
        heartbeat.restart();
    });
    beat.start(0);
    QElapsedTimer total;
    total.start();
    while (model->rowCount() < expected && total.elapsed() < 600000) {
        grid->scrollToBottom();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    beat.stop();
    out << "\n== Scrolling to the end of \"" << scrolled.prefix << "\" (" << model->rowCount() << " of " << expected
        << " rows) ==\n"
        << "total " << total.elapsed() << " ms, longest pause of the window " << QString::number(longestPause, 'f', 1)
        << " ms\n"
        << "shell, same statement, every row: "
        << QString::number(shellMs(file, QStringLiteral("select * from Attest_Install_Garantie where Appart Like"
                                                        "'MA%' ORDER BY id DESC")),
                           'f', 1)
        << " ms\n";
    out << "memory after the scroll: resident " << memoryKb("VmRSS:") / 1024 << " MB, peak "
        << memoryKb("VmHWM:") / 1024 << " MB\n"
        << Qt::flush;

    // 4. Opening the browser: shown to first rows of its list (empty search box: every record).
    searchBox->clear();
    waitForPage(model, clock);
    std::vector<double> openings;
    for (int i = 0; i < 7; ++i) {
        browser.hide();
        QCoreApplication::processEvents();
        clock.restart();
        browser.show();
        openings.push_back(waitForPage(model, clock));
    }
    out << "\n== Opening the browser to its first rows, ms ==\nmedian " << QString::number(median(openings), 'f', 2)
        << ", worst " << QString::number(maxOf(openings), 'f', 2) << "\n"
        << Qt::flush;
    browser.hide();

    // 5. What the search index costs: file size and write time, with and without it, on copies.
    const QString withIndex = QDir(dataDir).filePath(QStringLiteral("with-index.mdb"));
    const QString withoutIndex = QDir(dataDir).filePath(QStringLiteral("without-index.mdb"));
    QFile::remove(withIndex);
    QFile::remove(withoutIndex);
    if (!QFile::copy(file, withIndex) || !QFile::copy(file, withoutIndex)) {
        QTextStream(stderr) << "cannot copy the database\n";
        return 1;
    }
    {
        Connection plain;
        if (!plain.open(withoutIndex, RecordStore::password(), Connection::OpenMode::ExistingOnly, &error) ||
            !plain.exec(QStringLiteral("DROP TRIGGER Attest_Search_Insert; DROP TRIGGER Attest_Search_Delete; "
                                       "DROP TRIGGER Attest_Search_Update; DROP TABLE Attest_Search_Terms; "
                                       "DROP TABLE Attest_Search_Scratch; VACUUM;"),
                        &error))
            fail(QStringLiteral("drop the index"), error);
        Connection full;
        if (!full.open(withIndex, RecordStore::password(), Connection::OpenMode::ExistingOnly, &error) ||
            !full.exec(QStringLiteral("VACUUM;"), &error))
            fail(QStringLiteral("vacuum"), error);
    }
    const double mb = 1024.0 * 1024.0;
    out << "\n== Cost of the search index ==\n"
        << "file as generated: " << QString::number(QFileInfo(file).size() / mb, 'f', 1)
        << " MB; after VACUUM: " << QString::number(QFileInfo(withIndex).size() / mb, 'f', 1) << " MB with the index, "
        << QString::number(QFileInfo(withoutIndex).size() / mb, 'f', 1) << " MB without\n"
        << Qt::flush;
    // The plain copy has no index, so its store would build one at open: time it on a raw connection instead.
    const WriteCost indexed = measureWrites(withIndex);
    out << "writes with the index (median of 30, each its own transaction): insert "
        << QString::number(indexed.insertMs, 'f', 2) << " ms, update " << QString::number(indexed.updateMs, 'f', 2)
        << " ms, delete " << QString::number(indexed.deleteMs, 'f', 2) << " ms\n"
        << Qt::flush;
    {
        Connection plain;
        if (!plain.open(withoutIndex, RecordStore::password(), Connection::OpenMode::ExistingOnly, &error))
            fail(QStringLiteral("open"), error);
        std::vector<double> inserts, updates, deletes;
        for (int i = 0; i < 30; ++i) {
            QElapsedTimer c;
            c.start();
            if (!plain.exec(QStringLiteral("INSERT INTO Attest_Install_Garantie (Appart, Vehicle_Immatricul, Marque, "
                                           "Type, N_Serie, Marque_Reservoir, N_Reservoir, Epreuve, Capacity, Cincere, "
                                           "Date_Start_Valid) VALUES ('BENCH ÉCRITURE %1', '12345 126 16', 'X', 'X', "
                                           "'X', 'X', 'X', 'X', 'X', '%1-2027', 46000)")
                                .arg(i),
                            &error))
                fail(QStringLiteral("insert"), error);
            inserts.push_back(static_cast<double>(c.nsecsElapsed()) / 1e6);
            c.restart();
            if (!plain.exec(QStringLiteral("UPDATE Attest_Install_Garantie SET Appart = 'BENCH CORRIGÉ', Cincere = "
                                           "'%1-2028' WHERE id = (SELECT max(id) FROM Attest_Install_Garantie)")
                                .arg(i),
                            &error))
                fail(QStringLiteral("update"), error);
            updates.push_back(static_cast<double>(c.nsecsElapsed()) / 1e6);
            c.restart();
            if (!plain.exec(QStringLiteral("DELETE FROM Attest_Install_Garantie WHERE id = (SELECT max(id) FROM "
                                           "Attest_Install_Garantie)"),
                            &error))
                fail(QStringLiteral("delete"), error);
            deletes.push_back(static_cast<double>(c.nsecsElapsed()) / 1e6);
        }
        out << "writes without the index: insert " << QString::number(median(inserts), 'f', 2) << " ms, update "
            << QString::number(median(updates), 'f', 2) << " ms, delete " << QString::number(median(deletes), 'f', 2)
            << " ms\n";
    }
    // 6. A database made without the index gets it from "gpl-attest-db index": the one-off cost.
    {
        QElapsedTimer build;
        build.start();
        Connection upgraded;
        if (!upgraded.open(withoutIndex, RecordStore::password(), Connection::OpenMode::ExistingOnly, &error) ||
            !Schema::ensureSearchIndex(upgraded, &error))
            fail(QStringLiteral("build the index"), error);
        out << "building the index of a database made without it (gpl-attest-db index): " << build.elapsed() << " ms\n";
    }
    QFile::remove(withIndex);
    QFile::remove(withoutIndex);
    return 0;
}
