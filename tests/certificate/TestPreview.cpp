// The certificate preview: opening, production, navigation, find, printing, PDF export and prepared reports.
#include "FakePreviewDialogs.h"
#include "PdfTestTools.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"
#include "certificate/CertificatePreview.h"
#include "certificate/PdfExport.h"
#include "certificate/PdfWriter.h"
#include "certificate/PreparedDocument.h"
#include "certificate/PreviewWindow.h"
#include "store/RecordStore.h"
#include "widgets/MessageBoxes.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QScrollArea>
#include <QToolButton>

using namespace PdfTestTools;

namespace {

/// Opens the preview of number, runs whileOpen once the pages are produced, then closes the preview.
/// Returns whether whileOpen ran to its end (a failed check inside it returns early).
bool withPreview(RecordStore& store, const QString& number, const std::function<void(PreviewWindow*)>& whileOpen)
{
    bool completed = false;
    CertificatePreview::setOpenedHandler([&](PreviewWindow* window) {
        QTimer::singleShot(30000, window, &PreviewWindow::reject); // never hang the suite
        QObject::connect(
            window, &PreviewWindow::productionFinished, window,
            [&, window] {
                whileOpen(window);
                completed = true;
                window->reject();
            },
            Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection));
    });
    CertificatePreview::showForNumber(nullptr, store, number);
    CertificatePreview::setOpenedHandler({});
    return completed;
}

QAction* action(PreviewWindow* window, const char* name)
{
    return window->findChild<QAction*>(QLatin1String(name));
}

} // namespace

class TestPreview : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void opensModalMaximizedAndProducesAfterShowing();
    void unknownNumberShowsEmptyPages();
    void closingWhileProducingCancels();
    void keyboard_data();
    void keyboard();
    void zoomToFit();
    void findMarksMatchesAcrossPages();
    void exportMenuEntries();
    void exportProposesLastChosenName();
    void exportCancelledWritesNothing();
    void exportFailureShownInErrorBox();
    void noPrinter();
    void printsAllPagesAtTrueSize();
    void preparedReportRoundTrip();
    void pageSettingsMoveTheText();

private:
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<RecordStore> m_store;
    QList<MessageBoxes::Request> m_boxes;
};

void TestPreview::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestPreview::init()
{
    m_db = std::make_unique<TestDatabase>();
    QVERIFY(m_db->isValid());
    m_store = std::make_unique<RecordStore>();
    DbError error;
    QVERIFY2(m_store->insertRecord(TestDatabase::sampleRecord(17), &error), qPrintable(error.message));
    m_boxes.clear();
    MessageBoxes::setHandler([this](const MessageBoxes::Request& request) {
        m_boxes.append(request);
        return QMessageBox::Ok;
    });
    PdfExport::resetProposedPath();
}

void TestPreview::cleanup()
{
    MessageBoxes::setHandler({});
    m_store.reset();
    m_db.reset();
}

void TestPreview::opensModalMaximizedAndProducesAfterShowing()
{
    int producedWhenOpened = -1;
    bool visibleBeforeFirstPage = false;
    QElapsedTimer sinceShown;
    qint64 productionMs = -1;
    CertificatePreview::setOpenedHandler([&](PreviewWindow* window) {
        producedWhenOpened = window->producedPageCount();
        QTimer::singleShot(0, window, [&, window] {
            visibleBeforeFirstPage = window->isVisible() && window->producedPageCount() == 0 && window->isProducing();
            sinceShown.start();
        });
        connect(window, &PreviewWindow::productionFinished, window, [&, window] {
            productionMs = sinceShown.elapsed();
            QCOMPARE(window->windowTitle(), QStringLiteral("Preview"));
            QVERIFY(window->isModal());
            QVERIFY(window->windowState().testFlag(Qt::WindowMaximized));
            QCOMPARE(window->zoom(), 1.0);
            QCOMPARE(window->producedPageCount(), 2);
            QCOMPARE(window->currentPage(), 0);
            QVERIFY(window->document().record().has_value());
            QCOMPARE(window->document().record()->cincere, QStringLiteral("17-2020"));
            QTimer::singleShot(0, window, &PreviewWindow::reject);
        });
    });
    CertificatePreview::showForNumber(nullptr, *m_store, QStringLiteral("17-2020"));
    CertificatePreview::setOpenedHandler({});
    QCOMPARE(producedWhenOpened, 0);
    QVERIFY(visibleBeforeFirstPage);
    QVERIFY2(productionMs >= PreviewWindow::productionDelayMs - 5, qPrintable(QString::number(productionMs)));
}

void TestPreview::unknownNumberShowsEmptyPages()
{
    const bool ran = withPreview(*m_store, QStringLiteral("17"), [](PreviewWindow* window) {
        QVERIFY(!window->document().record().has_value());
        QCOMPARE(window->producedPageCount(), 2);
        // The fixed texts are there, the record's values are not.
        window->find(QStringLiteral("ATTESTATION D'INSTALLATION"));
        QVERIFY(!window->matches().isEmpty());
        window->find(QStringLiteral("OWNER 17"));
        QVERIFY(window->matches().isEmpty());
    });
    QVERIFY(ran);
    QVERIFY(m_boxes.isEmpty());
}

void TestPreview::closingWhileProducingCancels()
{
    PreviewWindow* seen = nullptr;
    bool cancelled = false;
    int produced = -1;
    CertificatePreview::setOpenedHandler([&](PreviewWindow* window) {
        seen = window;
        QTimer::singleShot(0, window, [&, window] {
            window->reject();
            cancelled = window->wasCancelled();
            produced = window->producedPageCount();
        });
    });
    CertificatePreview::showForNumber(nullptr, *m_store, QStringLiteral("17-2020"));
    CertificatePreview::setOpenedHandler({});
    QVERIFY(seen);
    QVERIFY(cancelled);
    QVERIFY(produced < 2);
}

void TestPreview::keyboard_data()
{
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<int>("expectedPage");
    QTest::addColumn<qreal>("expectedZoom");
    QTest::addColumn<bool>("expectedOpen");

    QTest::newRow("Page Down") << QKeySequence(Qt::Key_PageDown) << 1 << 1.0 << true;
    QTest::newRow("Page Down, Page Up") << QKeySequence(Qt::Key_PageDown, Qt::Key_PageUp) << 0 << 1.0 << true;
    QTest::newRow("Page Down past the end") << QKeySequence(Qt::Key_PageDown, Qt::Key_PageDown) << 1 << 1.0 << true;
    QTest::newRow("Ctrl+End, Ctrl+Home") << QKeySequence(Qt::CTRL | Qt::Key_End, Qt::CTRL | Qt::Key_Home) << 0 << 1.0
                                         << true;
    QTest::newRow("Ctrl+plus") << QKeySequence(Qt::CTRL | Qt::Key_Plus) << 0 << 1.25 << true;
    QTest::newRow("Ctrl+minus twice") << QKeySequence(Qt::CTRL | Qt::Key_Minus, Qt::CTRL | Qt::Key_Minus) << 0 << 0.5
                                      << true;
    QTest::newRow("Esc") << QKeySequence(Qt::Key_Escape) << 0 << 1.0 << false;
}

void TestPreview::keyboard()
{
    QFETCH(QKeySequence, keys);
    QFETCH(int, expectedPage);
    QFETCH(qreal, expectedZoom);
    QFETCH(bool, expectedOpen);
    const bool ran = withPreview(*m_store, QStringLiteral("17-2020"), [&](PreviewWindow* window) {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        for (int i = 0; i < keys.count(); ++i)
            QTest::keySequence(window, QKeySequence(keys[i]));
        QCOMPARE(window->isVisible(), expectedOpen);
        QCOMPARE(window->currentPage(), expectedPage);
        QCOMPARE(window->zoom(), expectedZoom);
    });
    QVERIFY(ran);
}

void TestPreview::zoomToFit()
{
    const bool ran = withPreview(*m_store, QStringLiteral("17-2020"), [](PreviewWindow* window) {
        auto* scrollArea = window->findChild<QScrollArea*>(QStringLiteral("PageScrollArea"));
        QVERIFY(scrollArea);
        const QSizeF page = window->document().pageSizePx();
        window->zoomWholePage();
        const qreal whole = window->zoom();
        const QSize room = scrollArea->viewport()->size();
        QVERIFY2(page.height() * whole <= room.height() && page.width() * whole <= room.width(),
                 qPrintable(QStringLiteral("zoom %1 in %2x%3").arg(whole).arg(room.width()).arg(room.height())));
        QVERIFY(page.height() * whole > room.height() * 0.9); // a portrait page fills the height
        window->zoomPageWidth();
        const qreal width = window->zoom();
        QVERIFY(width > whole);
        QVERIFY(page.width() * width <= scrollArea->viewport()->width());
        QVERIFY(page.width() * width > scrollArea->viewport()->width() * 0.9);
    });
    QVERIFY(ran);
}

void TestPreview::findMarksMatchesAcrossPages()
{
    const bool ran = withPreview(*m_store, QStringLiteral("17-2020"), [](PreviewWindow* window) {
        // The owner's name shows on both pages; the search ignores case.
        window->find(QStringLiteral("owner 17"));
        QCOMPARE(window->matches().size(), 2);
        QCOMPARE(window->matches().at(0).first, 0);
        QCOMPARE(window->matches().at(1).first, 1);
        QCOMPARE(window->currentMatch(), 0);
        QCOMPARE(window->currentPage(), 0);
        QVERIFY(!window->matches().at(0).second.isEmpty());
        auto* findNext = action(window, "FindNextAction");
        QVERIFY(findNext);
        findNext->trigger();
        QCOMPARE(window->currentMatch(), 1);
        QCOMPARE(window->currentPage(), 1);
        findNext->trigger(); // wraps round
        QCOMPARE(window->currentPage(), 0);

        // Typed in the find box, Enter finds; an Arabic word takes the view to the guarantee page.
        auto* findEdit = window->findChild<QLineEdit*>(QStringLiteral("FindEdit"));
        QVERIFY(findEdit);
        findEdit->setText(QStringLiteral("الضمان"));
        QTest::keyClick(findEdit, Qt::Key_Return);
        QVERIFY(!window->matches().isEmpty());
        QCOMPARE(window->currentPage(), 1);

        window->find(QStringLiteral("no such words here"));
        QVERIFY(window->matches().isEmpty());
    });
    QVERIFY(ran);
}

void TestPreview::exportMenuEntries()
{
    const bool ran = withPreview(*m_store, QStringLiteral("17-2020"), [](PreviewWindow* window) {
        auto* button = window->findChild<QToolButton*>(QStringLiteral("ExportButton"));
        QVERIFY(button && button->menu());
        QStringList entries;
        for (QAction* entry : button->menu()->actions())
            entries << (entry->isSeparator() ? QStringLiteral("|") : entry->text());
        QCOMPARE(entries, (QStringList{QStringLiteral("Prepared Report..."), QStringLiteral("|"),
                                       QStringLiteral("PDF file...")}));
    });
    QVERIFY(ran);
}

void TestPreview::exportProposesLastChosenName()
{
    FakePreviewDialogs dialogs;
    const QString chosen = m_db->directory() + QStringLiteral("/certificat 17"); // no suffix typed
    dialogs.saveAnswers = {chosen, chosen + QStringLiteral(".pdf")};
    dialogs.optionsAnswer.title = QStringLiteral("second");
    QByteArray first;
    const bool ran = withPreview(*m_store, QStringLiteral("17-2020"), [&](PreviewWindow* window) {
        action(window, "ExportPdfAction")->trigger();
        QFile written(chosen + QStringLiteral(".pdf"));
        QVERIFY(written.open(QIODevice::ReadOnly));
        first = written.readAll();
        written.close();
        // The second export goes onto the file of the first, without a question.
        dialogs.optionsAnswer.title = QStringLiteral("replaced");
        action(window, "ExportPdfAction")->trigger();
    });
    QVERIFY(ran);
    QCOMPARE(dialogs.optionsAsked, 2);
    QCOMPARE(dialogs.saveRequests.size(), 2);
    QCOMPARE(dialogs.saveRequests.at(0).proposedPath, QDir::current().absoluteFilePath(QStringLiteral("mes.pdf")));
    QCOMPARE(dialogs.saveRequests.at(0).filter, QStringLiteral("Adobe PDF file (*.pdf)"));
    QCOMPARE(dialogs.saveRequests.at(0).defaultSuffix, QStringLiteral("pdf"));
    QCOMPARE(dialogs.saveRequests.at(1).proposedPath, chosen + QStringLiteral(".pdf"));
    QVERIFY(m_boxes.isEmpty());

    QVERIFY(first.startsWith("%PDF-1.5"));
    const QString path = chosen + QStringLiteral(".pdf");
    const ToolResult info = runTool(QStringLiteral("pdfinfo"), {path});
    QVERIFY2(info.output.contains(QStringLiteral("Title:           replaced")), qPrintable(info.output));
    QVERIFY2(info.output.contains(QStringLiteral("Pages:           2")), qPrintable(info.output));
    const QString text = pdfText(path);
    QVERIFY2(text.contains(QStringLiteral("ATTESTATION D'INSTALLATION")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("OWNER 17")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("الضمان")), qPrintable(text));
}

void TestPreview::exportCancelledWritesNothing()
{
    FakePreviewDialogs dialogs;
    const bool ran = withPreview(*m_store, QStringLiteral("17-2020"), [&](PreviewWindow* window) {
        dialogs.acceptOptions = false;
        action(window, "ExportPdfAction")->trigger();
        QCOMPARE(dialogs.saveRequests.size(), 0);
        dialogs.acceptOptions = true; // then the save dialog cancelled
        action(window, "ExportPdfAction")->trigger();
        QCOMPARE(dialogs.saveRequests.size(), 1);
    });
    QVERIFY(ran);
    QCOMPARE(QDir(m_db->directory()).entryList({QStringLiteral("*.pdf")}, QDir::Files), QStringList());
    QCOMPARE(PdfExport::proposedPath(), QDir::current().absoluteFilePath(QStringLiteral("mes.pdf")));
    QVERIFY(m_boxes.isEmpty());
}

void TestPreview::exportFailureShownInErrorBox()
{
    FakePreviewDialogs dialogs;
    // The "folder" is the database file: nothing can be created in it.
    dialogs.saveAnswers = {m_db->path() + QStringLiteral("/mes.pdf")};
    const bool ran = withPreview(*m_store, QStringLiteral("17-2020"),
                                 [&](PreviewWindow* window) { action(window, "ExportPdfAction")->trigger(); });
    QVERIFY(ran);
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes.at(0).icon, QMessageBox::Critical);
    QVERIFY2(m_boxes.at(0).text.contains(QStringLiteral("mes.pdf")), qPrintable(m_boxes.at(0).text));
}

void TestPreview::noPrinter()
{
    FakePreviewDialogs dialogs;
    dialogs.printerInstalled = false;
    const bool ran = withPreview(*m_store, QStringLiteral("17-2020"), [](PreviewWindow* window) {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keySequence(window, QKeySequence::Print);
    });
    QVERIFY(ran);
    QCOMPARE(dialogs.printAsked, 0);
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes.at(0).text, QStringLiteral("No printers installed on your system"));
}

void TestPreview::printsAllPagesAtTrueSize()
{
    FakePreviewDialogs dialogs;
    const QString output = m_db->directory() + QStringLiteral("/printed.pdf");
    bool settingsAsExpected = false;
    dialogs.printAnswer = [&](QPrinter* printer) {
        settingsAsExpected = printer->copyCount() == 1 && printer->collateCopies() &&
                             printer->printRange() == QPrinter::AllPages && printer->fullPage() &&
                             printer->pageLayout().pageSize().id() == QPageSize::A4;
        // The operator's printer is a file here, so that the pages can be looked at.
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(output);
        return true;
    };
    const bool ran = withPreview(*m_store, QStringLiteral("17-2020"), [](PreviewWindow* window) {
        window->nextPage(); // printing does not depend on the page shown
        action(window, "PrintAction")->trigger();
    });
    QVERIFY(ran);
    QCOMPARE(dialogs.printAsked, 1);
    QVERIFY(settingsAsExpected);
    QVERIFY(m_boxes.isEmpty());
    const ToolResult info = runTool(QStringLiteral("pdfinfo"), {output});
    QVERIFY2(info.output.contains(QStringLiteral("Pages:           2")), qPrintable(info.output));
    QVERIFY2(info.output.contains(QStringLiteral("(A4)")), qPrintable(info.output));
    // True size: the words are where the PDF export, drawn at 0.75 point per pixel from the paper's corner,
    // puts them: not moved by the printer's margins, not scaled.
    const QString reference = m_db->directory() + QStringLiteral("/reference.pdf");
    QString error;
    QVERIFY2(PdfWriter::writeFile(reference, PreparedDocument(TestDatabase::sampleRecord(17)).pageSource(), {},
                                  QDateTime::currentDateTime(), &error),
             qPrintable(error));
    for (const QString& word : {QStringLiteral("ATTESTATION"), QStringLiteral("OWNER")}) {
        const QRectF printed = wordBox(output, word);
        const QRectF expected = wordBox(reference, word);
        QVERIFY2(!expected.isEmpty(), qPrintable(word));
        QVERIFY2(qAbs(printed.left() - expected.left()) < 0.5 && qAbs(printed.top() - expected.top()) < 0.5 &&
                     qAbs(printed.width() - expected.width()) < 0.5,
                 qPrintable(QStringLiteral("%1: printed at %2,%3 width %4, expected %5,%6 width %7")
                                .arg(word)
                                .arg(printed.left())
                                .arg(printed.top())
                                .arg(printed.width())
                                .arg(expected.left())
                                .arg(expected.top())
                                .arg(expected.width())));
    }
}

void TestPreview::preparedReportRoundTrip()
{
    FakePreviewDialogs dialogs;
    const QString path = m_db->directory() + QStringLiteral("/certificat.gplp");
    dialogs.saveAnswers = {path};
    dialogs.openAnswer = path;
    DbError error;
    AttestationRecord other = TestDatabase::sampleRecord(18);
    QVERIFY2(m_store->insertRecord(other, &error), qPrintable(error.message));

    CertificateRecord saved;
    const bool savedRan = withPreview(*m_store, QStringLiteral("17-2020"), [&](PreviewWindow* window) {
        saved = window->document().record();
        action(window, "ExportPreparedAction")->trigger();
    });
    QVERIFY(savedRan);
    QVERIFY(QFile::exists(path));
    QVERIFY(m_boxes.isEmpty());

    CertificateRecord opened;
    int producedAfterOpen = -1;
    const bool openedRan = withPreview(*m_store, QStringLiteral("18-2020"), [&](PreviewWindow* window) {
        QCOMPARE(window->document().record()->cincere, QStringLiteral("18-2020"));
        QSignalSpy produced(window, &PreviewWindow::productionFinished);
        action(window, "OpenAction")->trigger();
        QVERIFY(produced.wait(5000));
        opened = window->document().record();
        producedAfterOpen = window->producedPageCount();
        window->find(QStringLiteral("OWNER 17"));
        QCOMPARE(window->matches().size(), 2);
    });
    QVERIFY(openedRan);
    QVERIFY(opened.has_value());
    QCOMPARE(*opened, *saved);
    QCOMPARE(producedAfterOpen, 2);

    // Anything else is refused with a message, and the preview keeps its document.
    QFile notReport(path);
    QVERIFY(notReport.open(QIODevice::WriteOnly));
    notReport.write("%PDF-1.5");
    notReport.close();
    const bool refusedRan = withPreview(*m_store, QStringLiteral("18-2020"), [&](PreviewWindow* window) {
        action(window, "OpenAction")->trigger();
        QCOMPARE(window->document().record()->cincere, QStringLiteral("18-2020"));
    });
    QVERIFY(refusedRan);
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes.at(0).icon, QMessageBox::Critical);
}

void TestPreview::pageSettingsMoveTheText()
{
    FakePreviewDialogs dialogs;
    dialogs.marginsAnswer = QMarginsF(20, 15, 10, 10);
    const bool ran = withPreview(*m_store, QStringLiteral("17-2020"), [&](PreviewWindow* window) {
        window->find(QStringLiteral("OWNER 17"));
        const QRectF before = window->matches().at(0).second;
        QSignalSpy produced(window, &PreviewWindow::productionFinished);
        action(window, "PageSettingsAction")->trigger();
        QVERIFY(produced.wait(5000));
        QCOMPARE(window->document().marginsMm(), dialogs.marginsAnswer);
        QCOMPARE(window->matches().size(), 2); // the find is run again on the new pages
        const QRectF after = window->matches().at(0).second;
        const qreal pxPerMm = 96.0 / 25.4;
        QVERIFY(qAbs(after.left() - before.left() - 10 * pxPerMm) < 0.01);
        QVERIFY(qAbs(after.top() - before.top() - 5 * pxPerMm) < 0.01);
    });
    QVERIFY(ran);
}

GPL_TEST_MAIN(TestPreview)
#include "TestPreview.moc"
