// Showing certificates from the entry window: look-up by number and printing the last saved record.
#include "TestDatabase.h"
#include "TestEnvironment.h"
#include "certificate/CertificatePreview.h"
#include "certificate/PreviewWindow.h"
#include "entry/EntryWindow.h"
#include "store/RecordStore.h"
#include "widgets/MessageBoxes.h"

#include <QLineEdit>
#include <QToolButton>

namespace {

/// What the previews shown during a call held: one entry per preview, the number of its record or
/// "(none)" when the number matched nothing.
QStringList previewsShownBy(const std::function<void()>& action)
{
    QStringList shown;
    CertificatePreview::setOpenedHandler([&](PreviewWindow* window) {
        QTimer::singleShot(30000, window, &PreviewWindow::reject);
        QObject::connect(
            window, &PreviewWindow::productionFinished, window,
            [&, window] {
                const CertificateRecord& record = window->document().record();
                shown << (record ? record->cincere : QStringLiteral("(none)"));
                window->reject();
            },
            Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection));
    });
    action();
    CertificatePreview::setOpenedHandler({});
    return shown;
}

} // namespace

class TestPreviewFromEntry : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void lookUp_data();
    void lookUp();
    void printLastSaved_data();
    void printLastSaved();

private:
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<RecordStore> m_store;
    std::unique_ptr<EntryWindow> m_window;
    QStringList m_errors;
};

void TestPreviewFromEntry::init()
{
    m_db = std::make_unique<TestDatabase>();
    QVERIFY(m_db->isValid());
    m_store = std::make_unique<RecordStore>();
    m_window = std::make_unique<EntryWindow>();
    m_window->setStore(m_store.get());
    m_errors.clear();
    MessageBoxes::setHandler([this](const MessageBoxes::Request& request) {
        m_errors << request.text;
        return QMessageBox::Ok;
    });
}

void TestPreviewFromEntry::cleanup()
{
    MessageBoxes::setHandler({});
    m_window.reset();
    m_store.reset();
    m_db.reset();
}

void TestPreviewFromEntry::lookUp_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("byEnter");
    QTest::addColumn<QString>("expected");

    QTest::newRow("whole number, button") << "17-2020" << false << "17-2020";
    QTest::newRow("whole number, Enter") << "17-2020" << true << "17-2020";
    QTest::newRow("sequence without the year") << "17" << true << "(none)";
    QTest::newRow("the start-up proposal") << QString() << true << "(none)";
    QTest::newRow("quote in the number") << "17'-2020" << false << "(none)";
}

void TestPreviewFromEntry::lookUp()
{
    QFETCH(QString, typed);
    QFETCH(bool, byEnter);
    QFETCH(QString, expected);
    DbError error;
    QVERIFY2(m_store->insertRecord(TestDatabase::sampleRecord(17), &error), qPrintable(error.message));
    QVERIFY2(m_store->insertRecord(TestDatabase::sampleRecord(18), &error), qPrintable(error.message));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));

    auto* lookupEdit = m_window->findChild<QLineEdit*>(QStringLiteral("Edit7"));
    auto* lookupButton = m_window->findChild<QToolButton*>(QStringLiteral("SpeedButton1"));
    QVERIFY(lookupEdit && lookupButton);
    if (!typed.isNull())
        lookupEdit->setText(typed); // otherwise the window's own proposal, "-" and the year
    const QStringList shown = previewsShownBy([&] {
        if (byEnter)
            QTest::keyClick(lookupEdit, Qt::Key_Return);
        else
            QTest::mouseClick(lookupButton, Qt::LeftButton);
    });
    QCOMPARE(shown, QStringList{expected});
    QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(QLatin1Char('\n'))));
}

void TestPreviewFromEntry::printLastSaved_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty table") << 0 << "(none)";
    QTest::newRow("newest of three") << 3 << "3-2020";
}

void TestPreviewFromEntry::printLastSaved()
{
    QFETCH(int, records);
    QFETCH(QString, expected);
    DbError error;
    for (int n = 1; n <= records; ++n)
        QVERIFY2(m_store->insertRecord(TestDatabase::sampleRecord(n), &error), qPrintable(error.message));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    auto* printLast = m_window->findChild<QToolButton*>(QStringLiteral("SpeedButton3"));
    QVERIFY(printLast);
    // Shown only in the minutes after a save; its action does not depend on that.
    printLast->show();
    const QStringList shown = previewsShownBy([&] { QTest::mouseClick(printLast, Qt::LeftButton); });
    QCOMPARE(shown, QStringList{expected});
    QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(QLatin1Char('\n'))));
}

GPL_TEST_MAIN(TestPreviewFromEntry)
#include "TestPreviewFromEntry.moc"
