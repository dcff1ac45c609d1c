// The finished PDF file: version, page size, document information, viewer preferences, fonts, compression,
// encryption, and writing it safely over an old file.
#include "PdfTestTools.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"
#include "certificate/PdfWriter.h"
#include "store/RecordStore.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#define POINTERHOLDER_TRANSITION 4
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <csignal>
#include <linux/capability.h>
#include <optional>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace PdfTestTools;

namespace {

const QDateTime exportTime(QDate(2026, 3, 7), QTime(14, 5, 9));

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// A string's raw bytes as stored in the file.
QByteArray rawString(QPDFObjectHandle object)
{
    const std::string value = object.getStringValue();
    return QByteArray(value.data(), static_cast<qsizetype>(value.size()));
}

QString utf8Value(QPDFObjectHandle object)
{
    return QString::fromStdString(object.getUTF8Value());
}

/// While alive, this thread cannot write where the permissions forbid it, even as root: the tests run as
/// root here, and root ignores a folder's permissions. Restores the capability at the end.
class FilePermissionsEnforced
{
public:
    FilePermissionsEnforced()
    {
        m_header.version = _LINUX_CAPABILITY_VERSION_3;
        if (syscall(SYS_capget, &m_header, m_saved) != 0)
            return;
        __user_cap_data_struct reduced[2] = {m_saved[0], m_saved[1]};
        reduced[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
        m_changed = syscall(SYS_capset, &m_header, reduced) == 0;
    }
    ~FilePermissionsEnforced()
    {
        if (m_changed)
            syscall(SYS_capset, &m_header, m_saved);
    }
    FilePermissionsEnforced(const FilePermissionsEnforced&) = delete;
    FilePermissionsEnforced& operator=(const FilePermissionsEnforced&) = delete;

private:
    __user_cap_header_struct m_header{};
    __user_cap_data_struct m_saved[2]{};
    bool m_changed = false;
};

} // namespace

class TestPdfWriter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();

    void defaultFile();
    void documentInformationFromOptions();
    void compression_data();
    void compression();
    void encryption_data();
    void encryption();
    void replacesExistingFile();
    void failureKeepsOldFile_data();
    void failureKeepsOldFile();
    void companionTool_data();
    void companionTool();

private:
    QString writeDefault(const PdfExportOptions& options = {});

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestPdfWriter::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_dir->setAutoRemove(qEnvironmentVariableIsEmpty("GPL_KEEP_PDF"));
    QVERIFY(m_dir->isValid());
}

QString TestPdfWriter::writeDefault(const PdfExportOptions& options)
{
    const QString path = m_dir->filePath(QStringLiteral("out.pdf"));
    QString error;
    const bool ok = PdfWriter::writeFile(path, wordPages(), options, exportTime, &error);
    if (!ok)
        qWarning("%s", qPrintable(error));
    return ok ? path : QString();
}

void TestPdfWriter::defaultFile()
{
    const QString path = writeDefault();
    QVERIFY(!path.isEmpty());
    QVERIFY(readFile(path).startsWith("%PDF-1.5"));

    const ToolResult check = runTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), path});
    QVERIFY2(check.exitCode == 0, qPrintable(check.output));
    QVERIFY2(check.output.contains(QStringLiteral("File is not encrypted")), qPrintable(check.output));

    QPDF pdf;
    pdf.processFile(path.toLocal8Bit().constData());
    QCOMPARE(QString::fromStdString(pdf.getPDFVersion()), QStringLiteral("1.5"));

    // A4 pages, 0.75 point per 96-dpi pixel.
    const std::vector<QPDFObjectHandle>& pages = pdf.getAllPages();
    QCOMPARE(pages.size(), size_t(2));
    for (QPDFObjectHandle page : pages) {
        const QPDFObjectHandle::Rectangle box = page.getKey("/MediaBox").getArrayAsRectangle();
        QVERIFY(qAbs(box.urx - box.llx - 595.3) < 0.5);
        QVERIFY(qAbs(box.ury - box.lly - 841.9) < 0.5);
    }

    // Document information: every text a UTF-16 string with its byte-order mark; dates in local time.
    QPDFObjectHandle info = pdf.getTrailer().getKey("/Info");
    const QList<QPair<const char*, QString>> texts = {{"/Author", QStringLiteral("FastReport")},
                                                      {"/Subject", QStringLiteral("FastReport PDF export")},
                                                      {"/Title", QString()},
                                                      {"/Keywords", QString()},
                                                      {"/Creator", QString()},
                                                      {"/Producer", QString()}};
    for (const auto& [key, expected] : texts) {
        QVERIFY2(info.getKey(key).isString(), key);
        QVERIFY2(rawString(info.getKey(key)).startsWith("\xFE\xFF"), key);
        QCOMPARE(utf8Value(info.getKey(key)), expected);
    }
    QCOMPARE(utf8Value(info.getKey("/CreationDate")), QStringLiteral("D:20260307140509"));
    QCOMPARE(utf8Value(info.getKey("/ModDate")), QStringLiteral("D:20260307140509"));
    QVERIFY2(!pdf.getRoot().hasKey("/Metadata"), "a second, contradicting set of document information");

    QPDFObjectHandle preferences = pdf.getRoot().getKey("/ViewerPreferences");
    QCOMPARE(QString::fromStdString(preferences.getKey("/PrintScaling").getName()), QStringLiteral("/None"));
    for (const char* key : {"/HideToolbar", "/HideMenubar", "/HideWindowUI", "/FitWindow", "/CenterWindow"})
        QVERIFY2(preferences.getKey(key).isBool() && !preferences.getKey(key).getBoolValue(), key);

    // Fonts embedded as subsets, the subset tag on the font's own name as well as on its descriptor.
    const QRegularExpression subsetName(QStringLiteral("^/[A-Z]{6}\\+\\S+$"));
    int fontCount = 0;
    for (QPDFObjectHandle page : pages) {
        QPDFObjectHandle fonts = page.getKey("/Resources").getKey("/Font");
        for (const std::string& key : fonts.getKeys()) {
            QPDFObjectHandle font = fonts.getKey(key);
            const QString baseFont = QString::fromStdString(font.getKey("/BaseFont").getName());
            QVERIFY2(subsetName.match(baseFont).hasMatch(), qPrintable(baseFont));
            QPDFObjectHandle descendant = font.getKey("/DescendantFonts").getArrayItem(0);
            QCOMPARE(QString::fromStdString(descendant.getKey("/BaseFont").getName()), baseFont);
            QPDFObjectHandle descriptor = descendant.getKey("/FontDescriptor");
            QVERIFY2(descriptor.hasKey("/FontFile2") || descriptor.hasKey("/FontFile3"), "font not embedded");
            ++fontCount;
        }
    }
    QVERIFY(fontCount >= 2);

    // The words come back out, French accents and Arabic letters included.
    const QString text = pdfText(path);
    QVERIFY2(text.contains(frenchWords), qPrintable(text));
    for (const QString& word : arabicWords.split(QLatin1Char(' ')))
        QVERIFY2(text.contains(word), qPrintable(text));
}

void TestPdfWriter::documentInformationFromOptions()
{
    PdfExportOptions options;
    options.title = QStringLiteral("Attestation 17-2020");
    options.author = QStringLiteral("Atelier Béjaïa");
    options.subject = QStringLiteral("شهادة");
    options.keywords = QStringLiteral("GPL");
    options.creator = QStringLiteral("gpl-attest");
    options.producer = QStringLiteral("qpdf");
    options.hideToolbar = true;
    options.centerWindow = true;
    options.printScaling = true;
    const QString path = writeDefault(options);
    QVERIFY(!path.isEmpty());

    QPDF pdf;
    pdf.processFile(path.toLocal8Bit().constData());
    QPDFObjectHandle info = pdf.getTrailer().getKey("/Info");
    QCOMPARE(utf8Value(info.getKey("/Title")), options.title);
    QCOMPARE(utf8Value(info.getKey("/Author")), options.author);
    QCOMPARE(utf8Value(info.getKey("/Subject")), options.subject);
    QCOMPARE(utf8Value(info.getKey("/Keywords")), options.keywords);
    QCOMPARE(utf8Value(info.getKey("/Creator")), options.creator);
    QCOMPARE(utf8Value(info.getKey("/Producer")), options.producer);
    QPDFObjectHandle preferences = pdf.getRoot().getKey("/ViewerPreferences");
    QVERIFY(preferences.getKey("/HideToolbar").getBoolValue());
    QVERIFY(preferences.getKey("/CenterWindow").getBoolValue());
    QVERIFY(!preferences.getKey("/FitWindow").getBoolValue());
    QCOMPARE(QString::fromStdString(preferences.getKey("/PrintScaling").getName()), QStringLiteral("/AppDefault"));
}

void TestPdfWriter::compression_data()
{
    QTest::addColumn<bool>("compressed");
    QTest::newRow("on") << true;
    QTest::newRow("off") << false;
}

void TestPdfWriter::compression()
{
    QFETCH(bool, compressed);
    PdfExportOptions options;
    options.compressed = compressed;
    const QString path = writeDefault(options);
    QVERIFY(!path.isEmpty());
    QPDF pdf;
    pdf.processFile(path.toLocal8Bit().constData());
    int streams = 0;
    for (QPDFObjectHandle object : pdf.getAllObjects()) {
        if (!object.isStream())
            continue;
        ++streams;
        QPDFObjectHandle filter = object.getDict().getKey("/Filter");
        const bool flate = filter.isName() && filter.getName() == "/FlateDecode";
        QVERIFY2(flate == compressed, qPrintable(QString::fromStdString(object.getDict().unparse())));
    }
    QVERIFY(streams > 0);
    QVERIFY(pdfText(path).contains(frenchWords));
}

void TestPdfWriter::encryption_data()
{
    QTest::addColumn<QString>("userPassword");
    QTest::addColumn<QString>("ownerPassword");
    QTest::addColumn<bool>("allowPrint");
    QTest::addColumn<bool>("allowCopy");

    QTest::newRow("user password") << "lecture"
                                   << "" << true << true;
    QTest::newRow("owner password only") << ""
                                         << "patron" << true << true;
    QTest::newRow("both, no printing") << "lecture"
                                       << "patron" << false << true;
    QTest::newRow("both, no copying") << "lecture"
                                      << "patron" << true << false;
}

void TestPdfWriter::encryption()
{
    QFETCH(QString, userPassword);
    QFETCH(QString, ownerPassword);
    QFETCH(bool, allowPrint);
    QFETCH(bool, allowCopy);
    PdfExportOptions options;
    options.userPassword = userPassword;
    options.ownerPassword = ownerPassword;
    options.allowPrint = allowPrint;
    options.allowCopy = allowCopy;
    const QString path = writeDefault(options);
    QVERIFY(!path.isEmpty());
    QVERIFY(readFile(path).startsWith("%PDF-1.5"));

    const QString password = ownerPassword.isEmpty() ? userPassword : ownerPassword;
    const ToolResult shown = runTool(
        QStringLiteral("qpdf"), {QStringLiteral("--show-encryption"), QStringLiteral("--password=") + password, path});
    QVERIFY2(shown.exitCode == 0, qPrintable(shown.output));
    // RC4 with a 128-bit key: revision 3.
    QVERIFY2(shown.output.contains(QStringLiteral("R = 3")), qPrintable(shown.output));
    {
        // RC4 (/V 2) with a 128-bit key, as PDF 1.5 allows; qpdf would write no encryption at all for AES.
        QPDF pdf;
        pdf.processFile(path.toLocal8Bit().constData(), password.toUtf8().constData());
        QVERIFY(pdf.isEncrypted());
        QPDFObjectHandle encrypt = pdf.getTrailer().getKey("/Encrypt");
        QCOMPARE(QString::fromStdString(encrypt.getKey("/Filter").getName()), QStringLiteral("/Standard"));
        QCOMPARE(encrypt.getKey("/V").getIntValue(), 2);
        QCOMPARE(encrypt.getKey("/R").getIntValue(), 3);
        QCOMPARE(encrypt.getKey("/Length").getIntValue(), 128);
    }
    QVERIFY2(shown.output.contains(QStringLiteral("print high resolution: ") +
                                   (allowPrint ? QStringLiteral("allowed") : QStringLiteral("not allowed"))),
             qPrintable(shown.output));
    QVERIFY2(shown.output.contains(QStringLiteral("extract for any purpose: ") +
                                   (allowCopy ? QStringLiteral("allowed") : QStringLiteral("not allowed"))),
             qPrintable(shown.output));

    const ToolResult withoutPassword = runTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), path});
    if (userPassword.isEmpty()) {
        // Opens for everyone, but the restrictions are still encrypted in.
        QVERIFY2(withoutPassword.exitCode == 0, qPrintable(withoutPassword.output));
        QVERIFY(withoutPassword.output.contains(QStringLiteral("R = 3")));
    } else {
        QVERIFY2(withoutPassword.exitCode != 0, qPrintable(withoutPassword.output));
        QVERIFY2(withoutPassword.output.contains(QStringLiteral("invalid password")),
                 qPrintable(withoutPassword.output));
        const ToolResult withPassword = runTool(
            QStringLiteral("qpdf"), {QStringLiteral("--check"), QStringLiteral("--password=") + userPassword, path});
        QVERIFY2(withPassword.exitCode == 0, qPrintable(withPassword.output));
        QVERIFY2(pdfText(path, userPassword).contains(frenchWords), "the text does not come back with the password");
    }
}

void TestPdfWriter::replacesExistingFile()
{
    const QString path = m_dir->filePath(QStringLiteral("out.pdf"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("not a pdf at all");
    }
    QString error;
    QVERIFY2(PdfWriter::writeFile(path, wordPages(), {}, exportTime, &error), qPrintable(error));
    QVERIFY(readFile(path).startsWith("%PDF-1.5"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{QStringLiteral("out.pdf")});
}

void TestPdfWriter::failureKeepsOldFile_data()
{
    QTest::addColumn<QString>("failure");
    QTest::newRow("folder is a file") << "folder is a file";
    QTest::newRow("read-only folder") << "read-only folder";
    QTest::newRow("disk full") << "disk full";
}

void TestPdfWriter::failureKeepsOldFile()
{
    QFETCH(QString, failure);
    const QByteArray oldContent("%PDF-1.5 the good old certificate");
    QString folder = m_dir->filePath(QStringLiteral("exports"));
    QVERIFY(QDir().mkpath(folder));
    const QString oldPath = folder + QStringLiteral("/mes.pdf");
    {
        QFile old(oldPath);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(oldContent);
    }
    QString target = oldPath;
    rlimit previousLimit{};
    std::optional<FilePermissionsEnforced> enforced;
    if (failure == QLatin1String("folder is a file")) {
        target = oldPath + QStringLiteral("/mes.pdf");
    } else if (failure == QLatin1String("read-only folder")) {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        enforced.emplace();
        QFile probe(folder + QStringLiteral("/probe"));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            enforced.reset();
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("this user may write into read-only folders");
        }
    } else {
        // Any write past 1000 bytes fails, as on a full disk.
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previousLimit);
        rlimit small = previousLimit;
        small.rlim_cur = 1000;
        setrlimit(RLIMIT_FSIZE, &small);
    }

    QString error;
    const bool written = PdfWriter::writeFile(target, wordPages(), {}, exportTime, &error);

    if (failure == QLatin1String("disk full"))
        setrlimit(RLIMIT_FSIZE, &previousLimit);
    enforced.reset();
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(!written);
    QVERIFY2(error.contains(QStringLiteral("mes.pdf")), qPrintable(error));
    QCOMPARE(readFile(oldPath), oldContent);
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("mes.pdf")}); // no leftovers
}

void TestPdfWriter::companionTool_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("withValues");
    QTest::newRow("saved number") << "17-2020" << true;
    QTest::newRow("unknown number") << "17" << false;
}

void TestPdfWriter::companionTool()
{
    QFETCH(QString, number);
    QFETCH(bool, withValues);
    TestDatabase db;
    QVERIFY(db.isValid());
    {
        RecordStore store;
        DbError error;
        QVERIFY2(store.insertRecord(TestDatabase::sampleRecord(17), &error), qPrintable(error.message));
    }
    const QString path = db.directory() + QStringLiteral("/certificat.pdf");
    const ToolResult run = runTool(QStringLiteral(GPL_ATTEST_DB_PATH), {QStringLiteral("certificate"), number, path});
    QVERIFY2(run.exitCode == 0, qPrintable(run.output));
    QVERIFY(readFile(path).startsWith("%PDF-1.5"));
    const ToolResult check = runTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), path});
    QVERIFY2(check.exitCode == 0, qPrintable(check.output));
    const ToolResult info = runTool(QStringLiteral("pdfinfo"), {path});
    QVERIFY2(info.output.contains(QStringLiteral("Author:          FastReport")), qPrintable(info.output));
    QVERIFY2(info.output.contains(QStringLiteral("Pages:           2")), qPrintable(info.output));
    // Both pages, with or without the record's values.
    const QString text = pdfText(path);
    QVERIFY2(text.contains(QStringLiteral("ATTESTATION D'INSTALLATION")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("الضمان")), qPrintable(text));
    QCOMPARE(text.contains(QStringLiteral("OWNER 17")), withValues);
}

GPL_TEST_MAIN(TestPdfWriter)
#include "TestPdfWriter.moc"
