#include "TestDatabase.h"
#include "TestEnvironment.h"
#include "app/Application.h"
#include "entry/EntryWindow.h"
#include "maintenance/RecordEditor.h"
#include "maintenance/RecordsBrowser.h"
#include "store/RecordStore.h"
#include "widgets/Clock.h"
#include "widgets/MessageBoxes.h"

#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>

class TestStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void withoutDatabaseTwoErrorBoxesThenTheWindow();
    void withDatabaseTheLastRecordLineIsFilled_data();
    void withDatabaseTheLastRecordLineIsFilled();
    void closingTheEntryWindowEndsTheProgram();
    void errorBoxTitleAndText_data();
    void errorBoxTitleAndText();

private:
    QList<MessageBoxes::Request> m_boxes;
};

void TestStartup::init()
{
    m_boxes.clear();
    MessageBoxes::setHandler([this](const MessageBoxes::Request& request) {
        m_boxes.append(request);
        return QMessageBox::Ok;
    });
    Clock::setSource([] { return QDateTime(QDate(2026, 12, 11), QTime(10, 20, 30)); });
}

void TestStartup::cleanup()
{
    MessageBoxes::setHandler({});
    Clock::setSource({});
}

void TestStartup::withoutDatabaseTwoErrorBoxesThenTheWindow()
{
    TestDatabase directory(TestDatabase::Content::NoDatabase);
    Application app;
    QCOMPARE(m_boxes.size(), 1); // the store could not open the file
    app.entryWindow().show();
    QCOMPARE(m_boxes.size(), 2); // the last-record read failed too
    for (const auto& box : m_boxes) {
        QCOMPARE(box.icon, QMessageBox::Critical);
        QCOMPARE(box.text, QStringLiteral("unable to open database file."));
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
    auto& window = app.entryWindow();
    QVERIFY(window.isVisible());
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("Label17"))->text(), QStringLiteral("Label17"));
    // What the show action sets before the failing read is in place.
    QCOMPARE(window.findChild<QLineEdit*>(QStringLiteral("Edit9"))->text(), QStringLiteral("-2026"));
    QCOMPARE(window.findChild<QLineEdit*>(QStringLiteral("Edit7"))->text(), QStringLiteral("-2026"));
    QCOMPARE(window.findChild<QLineEdit*>(QStringLiteral("sDateEdit1"))->text(), QStringLiteral("11/12/2026"));
    QVERIFY(!app.store().isOpen());
    QVERIFY(!QFile::exists(directory.path()));
}

void TestStartup::withDatabaseTheLastRecordLineIsFilled_data()
{
    QTest::addColumn<bool>("withRecords");
    QTest::addColumn<QString>("line");
    QTest::newRow("empty table") << false << QStringLiteral("Dernière N° : , Appartenant : ");
    QTest::newRow("newest record") << true << QStringLiteral("Dernière N° : 17-2020, Appartenant : X");
}

void TestStartup::withDatabaseTheLastRecordLineIsFilled()
{
    QFETCH(bool, withRecords);
    QFETCH(QString, line);
    TestDatabase db;
    if (withRecords) {
        RecordStore writer;
        DbError error;
        AttestationRecord record = TestDatabase::sampleRecord(3);
        QVERIFY2(writer.insertRecord(record, &error), qPrintable(error.message));
        record.cincere = QStringLiteral("17-2020");
        record.appart = QStringLiteral("X");
        QVERIFY2(writer.insertRecord(record, &error), qPrintable(error.message));
    }
    Application app;
    app.entryWindow().show();
    QVERIFY(m_boxes.isEmpty());
    QVERIFY(app.store().isOpen());
    QCOMPARE(app.entryWindow().findChild<QLabel*>(QStringLiteral("Label17"))->text(), line);
    // The four objects exist from start-up, with their system names.
    QCOMPARE(app.browser().objectName(), QStringLiteral("Form2"));
    QCOMPARE(app.editor().objectName(), QStringLiteral("Form4"));
    QVERIFY(!app.browser().isVisible());
    QVERIFY(!app.editor().isVisible());
}

void TestStartup::closingTheEntryWindowEndsTheProgram()
{
    TestDatabase db;
    Application app;
    app.entryWindow().show();
    // Closing the main window must end the event loop by itself; the guard only stops a hung test.
    QTimer::singleShot(0, &app.entryWindow(), &QWidget::close);
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(2); });
    guard.start(5000);
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!app.entryWindow().isVisible());
}

void TestStartup::errorBoxTitleAndText_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain name") << "/usr/bin/gpl-attest"
                                << "gpl-attest"
                                << "database is locked"
                                << "database is locked.";
    QTest::newRow("cut at first dot, rest lower") << "C:/x/Project1.Main.EXE"
                                                  << "Project1"
                                                  << "Invalid date"
                                                  << "Invalid date.";
    QTest::newRow("first letter kept") << "/opt/GPL.exe"
                                       << "Gpl"
                                       << "ends with a dot."
                                       << "ends with a dot.";
    QTest::newRow("ends with a character before the dot") << "/bin/a"
                                                          << "a"
                                                          << "failed!"
                                                          << "failed!";
    QTest::newRow("ends with a closing bracket") << "/bin/a"
                                                 << "a"
                                                 << "x (y)"
                                                 << "x (y)";
    QTest::newRow("empty message") << "/bin/a"
                                   << "a"
                                   << ""
                                   << "";
}

void TestStartup::errorBoxTitleAndText()
{
    QFETCH(QString, program);
    QFETCH(QString, title);
    QFETCH(QString, message);
    QFETCH(QString, text);
    QCOMPARE(MessageBoxes::programTitle(program), title);
    QCOMPARE(MessageBoxes::errorText(message), text);
}

GPL_TEST_MAIN(TestStartup)
#include "TestStartup.moc"
