#include "PdfLayoutText.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"
#include "certificate/CertificateTemplate.h"
#include "certificate/CertificateText.h"
#include "store/RecordStore.h"

#include <QFile>
#include <QProcess>
#include <QtTest>

using CertificateTemplate::PageObject;

namespace {

struct CommandResult
{
    int exitCode = -1;
    QString errorOutput;
};

/// Runs the companion tool in the working directory with no display and no platform chosen, as a script on a
/// server would.
CommandResult runCertificateCommand(const QString& number, const QString& pdfPath)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("fr_FR.UTF-8"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(GPL_ATTEST_DB_PATH), {QStringLiteral("certificate"), number, pdfPath});
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardError())};
}

QString normalised(const QString& text)
{
    return text.normalized(QString::NormalizationForm_KC);
}

/// The object of the page whose box holds the word and whose text contains it, or nullptr.
const PageObject* objectHolding(int page, const PdfLayoutText::Word& word, const CertificateRecord& record)
{
    const QPointF origin(CertificateTemplate::marginPx, CertificateTemplate::marginPx);
    for (const PageObject& object : CertificateTemplate::pageObjects(page)) {
        const QRectF box = object.box.translated(origin);
        const bool inside = box.top() <= word.box.center().y() && word.box.center().y() <= box.bottom() &&
                            box.left() - 1 <= word.box.left() && word.box.right() <= box.right() + 1;
        if (inside && normalised(CertificateText::objectText(object, record)).contains(normalised(word.text)))
            return &object;
    }
    return nullptr;
}

QStringList wordsOf(const PdfLayoutText::Page& page)
{
    QStringList words;
    for (const PdfLayoutText::Line& line : page.lines) {
        for (const PdfLayoutText::Word& word : line.words)
            words.append(normalised(word.text));
    }
    return words;
}

} // namespace

class TestCertificateCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writesBothPagesWithWordsInTheirBoxes_data();
    void writesBothPagesWithWordsInTheirBoxes();
    void databaseFailureWritesNothing();
};

void TestCertificateCommand::writesBothPagesWithWordsInTheirBoxes_data()
{
    QTest::addColumn<bool>("known");
    QTest::newRow("known number") << true;
    QTest::newRow("unknown number") << false;
}

void TestCertificateCommand::writesBothPagesWithWordsInTheirBoxes()
{
    QFETCH(bool, known);
    TestDatabase database;
    QVERIFY(database.isValid());
    const AttestationRecord stored = TestDatabase::sampleRecord(12);
    {
        RecordStore store;
        DbError error;
        QVERIFY2(store.insertRecord(stored, &error), qPrintable(error.message));
    }
    const CertificateRecord record = known ? CertificateRecord(stored) : CertificateRecord();
    const QString pdfPath = database.directory() + QStringLiteral("/certificate.pdf");

    const CommandResult result = runCertificateCommand(known ? stored.cincere : QStringLiteral("404-2020"), pdfPath);
    QVERIFY2(result.exitCode == 0, qPrintable(result.errorOutput));

    QList<PdfLayoutText::Page> pages;
    QString error;
    QVERIFY2(PdfLayoutText::read(pdfPath, &pages, &error), qPrintable(error));
    QCOMPARE(pages.size(), 2);
    for (const PdfLayoutText::Page& page : pages) {
        QVERIFY2(qAbs(page.size.width() - 793.7) < 1 && qAbs(page.size.height() - 1122.5) < 1,
                 "the pages are not A4 portrait");
    }

    for (int page = 0; page < 2; ++page) {
        int words = 0;
        for (const PdfLayoutText::Line& line : pages.at(page).lines) {
            for (const PdfLayoutText::Word& word : line.words) {
                ++words;
                QVERIFY2(objectHolding(page, word, record),
                         qPrintable(QStringLiteral("page %1: \"%2\" at %3,%4 lies in no box that shows it")
                                        .arg(page + 1)
                                        .arg(word.text)
                                        .arg(word.box.x())
                                        .arg(word.box.y())));
            }
        }
        QVERIFY(words > 40);
    }

    // The values a reader looks for, and the Arabic words, come back out of the file.
    const QStringList page1 = wordsOf(pages.at(0));
    const QStringList page2 = wordsOf(pages.at(1));
    QVERIFY(page1.contains(QStringLiteral("ATTESTATION")));
    QString page2Text;
    QVERIFY2(PdfLayoutText::readPlain(pdfPath, 2, &page2Text, &error), qPrintable(error));
    page2Text = normalised(page2Text);
    for (const char* arabic : {"إن هذه الشهادة ذات مسؤولية محدودة", "إمضاء و ختم المركب المعتمد"})
        QVERIFY2(page2Text.contains(QString::fromUtf8(arabic)), arabic);
    if (known) {
        QCOMPARE(page1.count(QStringLiteral("15/01/2020")), 2);
        QVERIFY(page1.contains(QStringLiteral("14/02/2020")));
        QVERIFY(page1.contains(stored.cincere));
        QVERIFY(page2.contains(QStringLiteral("13/01/2021")));
        QVERIFY(!page2.contains(stored.cincere));
    } else {
        QVERIFY(!page1.contains(QStringLiteral("OWNER")));
        QVERIFY(page1.contains(QStringLiteral("30")));
        QVERIFY(page2.contains(QStringLiteral("30/12/1899")));
        QVERIFY(page2.contains(QStringLiteral("29/12/1900")));
    }
}

void TestCertificateCommand::databaseFailureWritesNothing()
{
    TestDatabase noDatabase(TestDatabase::Content::NoDatabase);
    QVERIFY(noDatabase.isValid());
    const QString pdfPath = noDatabase.directory() + QStringLiteral("/certificate.pdf");
    const CommandResult result = runCertificateCommand(QStringLiteral("1-2020"), pdfPath);
    QVERIFY(result.exitCode > 0);
    QVERIFY(!result.errorOutput.trimmed().isEmpty());
    QVERIFY(!QFile::exists(pdfPath));
}

GPL_TEST_MAIN(TestCertificateCommand)
#include "TestCertificateCommand.moc"
