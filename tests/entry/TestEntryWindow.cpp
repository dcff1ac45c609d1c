#include "TestDatabase.h"
#include "TestEnvironment.h"

#include "entry/EntryWindow.h"
#include "store/DayCount.h"
#include "store/RecordStore.h"
#include "widgets/Clock.h"
#include "widgets/DateEdit.h"
#include "widgets/MessageBoxes.h"
#include "widgets/OneShotTimer.h"

#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <memory>

namespace {

const QDateTime showTime(QDate(2026, 3, 14), QTime(10, 30, 0));

const QString savedText = QStringLiteral("Enregistré avec success / تم حفظ البيانات بنجاح");
const QString missingText = QStringLiteral("Tous les champs doivent etre remplis / يجب ملأ جميع الحقول");

// The text fields in the order of the record's columns x1 to x10.
const char* const textFields[] = {"Edit1",  "Edit2", "Edit3",     "Edit4", "Edit5",
                                  "Edit13", "Edit6", "MaskEdit1", "Edit8", "Edit9"};

// QTest::keyClicks handles ASCII only; accented letters go through a key event carrying the text.
void typeText(QWidget* target, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(target, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
    }
}

} // namespace

class TestEntryWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void cleanupTestCase();

    void showAction_data();
    void showAction();
    void enterChainAndUpperCase_data();
    void enterChainAndUpperCase();
    void saveRefusesMissingField_data();
    void saveRefusesMissingField();
    void saveInsertsTypedValues_data();
    void saveInsertsTypedValues();
    void saveKeepsFieldsOnDatabaseError_data();
    void saveKeepsFieldsOnDatabaseError();
    void secondSaveKeepsRunningCountdowns();
    void ticksHideStatusAndPrintButton();
    void clearAndClose_data();
    void clearAndClose();

private:
    void start(TestDatabase::Content content = TestDatabase::Content::Empty);
    /// Types a complete attestation with real key events, in lower case where the field turns it upper.
    void typeForm();
    QStringList fieldTexts() const;
    void clickSave();

    template <typename W = QLineEdit> W* widget(const char* name) const
    {
        auto* found = m_window->findChild<W*>(QLatin1String(name));
        if (!found)
            qFatal("no widget %s", name);
        return found;
    }
    DateEdit* dateEdit() const { return widget<DateEdit>("sDateEdit1"); }
    QLabel* statusLine() const { return widget<QLabel>("Label14"); }
    QToolButton* printLastButton() const { return widget<QToolButton>("SpeedButton3"); }
    OneShotTimer* timer(const char* name) const { return widget<OneShotTimer>(name); }

    QDateTime m_now = showTime;
    QStringList m_errors;
    std::unique_ptr<TestDatabase> m_database;
    std::unique_ptr<RecordStore> m_store;
    std::unique_ptr<EntryWindow> m_window;
};

void TestEntryWindow::initTestCase()
{
    Clock::setSource([this] { return m_now; });
    MessageBoxes::setHandler([this](const MessageBoxes::Request& request) {
        m_errors << request.text;
        return QMessageBox::Ok;
    });
}

void TestEntryWindow::cleanupTestCase()
{
    Clock::setSource({});
    MessageBoxes::setHandler({});
}

void TestEntryWindow::start(TestDatabase::Content content)
{
    m_now = showTime;
    m_errors.clear();
    m_database = std::make_unique<TestDatabase>(content);
    QVERIFY(m_database->isValid());
    m_store = std::make_unique<RecordStore>();
    m_window = std::make_unique<EntryWindow>();
    m_window->setStore(m_store.get());
}

void TestEntryWindow::cleanup()
{
    m_window.reset();
    m_store.reset();
    m_database.reset();
}

void TestEntryWindow::typeForm()
{
    const QStringList typed = {
        QStringLiteral("benali omar"), QStringLiteral("01234-116-16"), QStringLiteral(" renault"),
        QStringLiteral("clio é"),      QStringLiteral("vf1abc"),       QStringLiteral("tomasetto"),
        QStringLiteral("t4521"),       QStringLiteral("03/2019 bis"),  QStringLiteral("60 l")};
    for (int i = 0; i < typed.size(); ++i) {
        QLineEdit* field = widget(textFields[i]);
        field->setFocus();
        typeText(field, typed[i]);
    }
    QLineEdit* number = widget("Edit9");
    number->selectAll();
    QTest::keyClicks(number, QStringLiteral("17-2026 "));
}

QStringList TestEntryWindow::fieldTexts() const
{
    QStringList texts;
    for (const char* name : textFields)
        texts << widget(name)->text();
    texts << dateEdit()->dateText();
    return texts;
}

void TestEntryWindow::clickSave()
{
    QTest::mouseClick(widget<QToolButton>("SpeedButton5"), Qt::LeftButton);
}

void TestEntryWindow::showAction_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<QString>("lastRecordLine");

    QTest::newRow("empty table") << 0 << QStringLiteral("Dernière N° : , Appartenant : ");
    QTest::newRow("newest of two") << 2 << QStringLiteral("Dernière N° : 2-2020, Appartenant : OWNER 2");
}

void TestEntryWindow::showAction()
{
    QFETCH(int, records);
    QFETCH(QString, lastRecordLine);

    start();
    DbError error;
    for (int n = 1; n <= records; ++n)
        QVERIFY2(m_store->insertRecord(TestDatabase::sampleRecord(n), &error), qPrintable(error.message));
    m_window->show();

    QCOMPARE(widget<QLabel>("Label17")->text(), lastRecordLine);
    QCOMPARE(dateEdit()->value(), DayCount::fromDateTime(showTime));
    QCOMPARE(dateEdit()->dateText(), QStringLiteral("14/03/2026"));
    QCOMPARE(widget("Edit9")->text(), QStringLiteral("-2026"));
    QCOMPARE(widget("Edit7")->text(), QStringLiteral("-2026"));
    QVERIFY(statusLine()->isHidden());
    QVERIFY(printLastButton()->isHidden());
    QVERIFY(!timer("Timer1")->isRunning());
    QVERIFY(!timer("Timer2")->isRunning());
    QCOMPARE(m_errors, QStringList{});
}

void TestEntryWindow::enterChainAndUpperCase_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("next");

    QTest::newRow("Edit1") << "Edit1"
                           << "benali é"
                           << "BENALI É"
                           << "Edit2";
    QTest::newRow("Edit2") << "Edit2"
                           << "12-ab"
                           << "12-AB"
                           << "Edit3";
    QTest::newRow("Edit3") << "Edit3"
                           << "citroën"
                           << "CITROËN"
                           << "Edit4";
    QTest::newRow("Edit4") << "Edit4"
                           << "c3"
                           << "C3"
                           << "Edit5";
    QTest::newRow("Edit5") << "Edit5"
                           << "vf7x"
                           << "VF7X"
                           << "Edit13";
    QTest::newRow("Edit13") << "Edit13"
                            << "brc"
                            << "BRC"
                            << "Edit6";
    QTest::newRow("Edit6") << "Edit6"
                           << "r12"
                           << "R12"
                           << "MaskEdit1";
    QTest::newRow("MaskEdit1 keeps the case") << "MaskEdit1"
                                              << "mars 2019"
                                              << "mars 2019"
                                              << "Edit8";
    QTest::newRow("Edit8 ends the chain") << "Edit8"
                                          << "60 l"
                                          << "60 L"
                                          << "Edit8";
    QTest::newRow("Edit9 has no Enter action") << "Edit9"
                                               << "x"
                                               << "-2026X"
                                               << "Edit9";
}

void TestEntryWindow::enterChainAndUpperCase()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QFETCH(QString, next);

    start();
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QLineEdit* edit = widget(qPrintable(field));
    edit->setFocus();
    edit->end(false);
    typeText(edit, typed);
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(edit->text(), expected);
    QCOMPARE(QApplication::focusWidget()->objectName(), next);
}

void TestEntryWindow::saveRefusesMissingField_data()
{
    QTest::addColumn<QString>("emptied");

    for (const char* name : textFields)
        QTest::newRow(name) << QString::fromLatin1(name);
    QTest::newRow("date blank") << QStringLiteral("date blank");
    QTest::newRow("date partly typed") << QStringLiteral("date partly typed");
}

void TestEntryWindow::saveRefusesMissingField()
{
    QFETCH(QString, emptied);

    start();
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    typeForm();
    if (emptied.startsWith(QLatin1String("date"))) {
        DateEdit* date = dateEdit();
        date->setFocus();
        date->selectAll();
        QTest::keyClick(date, Qt::Key_Backspace);
        if (emptied == QLatin1String("date partly typed"))
            QTest::keyClicks(date, QStringLiteral("140320"));
    } else {
        widget(qPrintable(emptied))->clear();
    }
    const QStringList before = fieldTexts();

    clickSave();

    QVERIFY(!statusLine()->isHidden());
    QCOMPARE(statusLine()->text(), missingText);
    QCOMPARE(statusLine()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QVERIFY(timer("Timer1")->isRunning());
    QVERIFY(printLastButton()->isHidden());
    QVERIFY(!timer("Timer2")->isRunning());
    QCOMPARE(fieldTexts(), before);
    QCOMPARE(m_errors, QStringList{});

    RecordStore reader;
    std::optional<AttestationRecord> last;
    DbError error;
    QVERIFY2(reader.selectLastRecord(&last, &error), qPrintable(error.message));
    QVERIFY2(!last.has_value(), "nothing is written");
}

void TestEntryWindow::saveInsertsTypedValues_data()
{
    QTest::addColumn<QString>("dateAction");
    QTest::addColumn<QDateTime>("storedDate");

    // Untouched, the date keeps the time of the show action, not of the save.
    QTest::newRow("date untouched") << QString() << showTime;
    QTest::newRow("date tabbed through") << QStringLiteral("tab") << QDateTime(showTime.date(), QTime(0, 0));
    QTest::newRow("date typed") << QStringLiteral("05012026") << QDateTime(QDate(2026, 1, 5), QTime(0, 0));
    QTest::newRow("date typed with two year digits, then left")
        << QStringLiteral("050120\t") << QDateTime(QDate(2020, 1, 5), QTime(0, 0));
}

void TestEntryWindow::saveInsertsTypedValues()
{
    QFETCH(QString, dateAction);
    QFETCH(QDateTime, storedDate);

    start();
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    typeForm();
    DateEdit* date = dateEdit();
    if (!dateAction.isEmpty())
        date->setFocus();
    if (dateAction == QLatin1String("tab")) {
        QTest::keyClick(date, Qt::Key_Tab);
    } else if (!dateAction.isEmpty()) {
        date->selectAll();
        QTest::keyClick(date, Qt::Key_Backspace);
        for (const QChar c : dateAction) {
            if (c == QLatin1Char('\t'))
                QTest::keyClick(date, Qt::Key_Tab);
            else
                QTest::keyClicks(date, QString(c));
        }
    }
    m_now = showTime.addSecs(90); // the save happens later than the show
    // The clear puts the focus in Edit1: a date field that had it is left, and takes its date at midnight.
    const bool dateLeftByClear = QApplication::focusWidget() == date;

    clickSave();
    QCOMPARE(m_errors, QStringList{});

    RecordStore reader;
    std::optional<AttestationRecord> last;
    DbError error;
    QVERIFY2(reader.selectLastRecord(&last, &error), qPrintable(error.message));
    QVERIFY(last.has_value());
    AttestationRecord expected;
    expected.id = last->id;
    expected.appart = QStringLiteral("BENALI OMAR");
    expected.vehicleImmatricul = QStringLiteral("01234-116-16");
    expected.marque = QStringLiteral(" RENAULT"); // stored untrimmed
    expected.type = QStringLiteral("CLIO É");
    expected.nSerie = QStringLiteral("VF1ABC");
    expected.marqueReservoir = QStringLiteral("TOMASETTO");
    expected.nReservoir = QStringLiteral("T4521");
    expected.epreuve = QStringLiteral("03/2019 bis");
    expected.capacity = QStringLiteral("60 L");
    expected.cincere = QStringLiteral("17-2026 ");
    expected.dateStartValid = DayCount::fromDateTime(storedDate);
    QCOMPARE(DayCount::toDateTime(last->dateStartValid), storedDate);
    QCOMPARE(*last, expected);
    QCOMPARE(DayCount::toDateTime(last->dateStartValid), storedDate);

    // The form is cleared with the time of the save, the messages and the print button follow.
    const QStringList emptied = {"Edit1",  "Edit2", "Edit3",     "Edit4", "Edit5",
                                 "Edit13", "Edit6", "MaskEdit1", "Edit8", "Edit7"};
    for (const QString& name : emptied)
        QVERIFY2(widget(qPrintable(name))->text().isEmpty(), qPrintable(name));
    QCOMPARE(widget("Edit9")->text(), QStringLiteral("-2026"));
    QCOMPARE(date->value(), dateLeftByClear ? DayCount::fromDate(m_now.date()) : DayCount::fromDateTime(m_now));
    QCOMPARE(QApplication::focusWidget(), widget("Edit1"));
    QVERIFY(!statusLine()->isHidden());
    QCOMPARE(statusLine()->text(), savedText);
    QCOMPARE(statusLine()->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    QVERIFY(timer("Timer1")->isRunning());
    QVERIFY(!printLastButton()->isHidden());
    QVERIFY(timer("Timer2")->isRunning());
    QCOMPARE(widget<QLabel>("Label17")->text(), QStringLiteral("Dernière N° : 17-2026 , Appartenant : BENALI OMAR"));
}

void TestEntryWindow::saveKeepsFieldsOnDatabaseError_data()
{
    QTest::addColumn<bool>("withDatabase");
    QTest::addColumn<QString>("messagePart");

    QTest::newRow("no database file") << false << QString();
    QTest::newRow("owner too long") << true << QStringLiteral("Appart longer than 255 characters");
}

void TestEntryWindow::saveKeepsFieldsOnDatabaseError()
{
    QFETCH(bool, withDatabase);
    QFETCH(QString, messagePart);

    start(withDatabase ? TestDatabase::Content::Empty : TestDatabase::Content::NoDatabase);
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    if (!withDatabase) {
        // The show action already failed on its last-record read and left the placeholder.
        QCOMPARE(m_errors.size(), 1);
        QCOMPARE(widget<QLabel>("Label17")->text(), QStringLiteral("Label17"));
        m_errors.clear();
    }
    typeForm();
    if (withDatabase)
        widget("Edit1")->setText(QString(256, QLatin1Char('A')));
    const QStringList before = fieldTexts();
    const double dateBefore = dateEdit()->value();

    clickSave();

    QCOMPARE(m_errors.size(), 1);
    QVERIFY2(m_errors.first().contains(messagePart), qPrintable(m_errors.first()));
    QVERIFY(m_errors.first().size() > 1);
    QCOMPARE(fieldTexts(), before);
    QCOMPARE(dateEdit()->value(), dateBefore);
    QVERIFY(statusLine()->isHidden());
    QVERIFY(printLastButton()->isHidden());
    QVERIFY(!timer("Timer1")->isRunning());
    QVERIFY(!timer("Timer2")->isRunning());
    if (withDatabase) {
        std::optional<AttestationRecord> last;
        DbError error;
        QVERIFY2(m_store->selectLastRecord(&last, &error), qPrintable(error.message));
        QVERIFY(!last.has_value());
    }
}

void TestEntryWindow::secondSaveKeepsRunningCountdowns()
{
    start();
    m_window->show();
    typeForm();
    clickSave();
    QVERIFY(timer("Timer1")->isRunning());
    QVERIFY(timer("Timer2")->isRunning());
    const int statusLeft = timer("Timer1")->remainingTime();
    const int printLeft = timer("Timer2")->remainingTime();
    QVERIFY(printLeft > 299000);

    QTest::qWait(100);
    typeForm();
    clickSave();
    QCOMPARE(m_errors, QStringList{});
    QCOMPARE(statusLine()->text(), savedText);
    QVERIFY2(timer("Timer1")->remainingTime() <= statusLeft - 90, "the status line countdown was restarted");
    QVERIFY2(timer("Timer2")->remainingTime() <= printLeft - 90, "the print button countdown was restarted");
}

void TestEntryWindow::ticksHideStatusAndPrintButton()
{
    start();
    m_window->show();
    timer("Timer1")->setInterval(20);
    timer("Timer2")->setInterval(40);
    typeForm();
    clickSave();
    QVERIFY(!statusLine()->isHidden());
    QVERIFY(!printLastButton()->isHidden());

    QTRY_VERIFY(statusLine()->isHidden());
    QTRY_VERIFY(printLastButton()->isHidden());
    QVERIFY(!timer("Timer1")->isRunning());
    QVERIFY(!timer("Timer2")->isRunning());
}

void TestEntryWindow::clearAndClose_data()
{
    QTest::addColumn<bool>("byClose");

    QTest::newRow("Vider les champs") << false;
    QTest::newRow("closing the window") << true;
}

void TestEntryWindow::clearAndClose()
{
    QFETCH(bool, byClose);

    start();
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    typeForm();
    widget("Edit7")->setText(QStringLiteral("5-2025"));
    widget("Edit9")->clear();
    clickSave(); // refused: shows the missing-field message, which the clear leaves alone
    QVERIFY(!statusLine()->isHidden());
    m_now = QDateTime(QDate(2027, 1, 1), QTime(0, 0, 5)); // the year has turned since the show

    if (byClose)
        QVERIFY(m_window->close());
    else
        QTest::mouseClick(widget<QToolButton>("SpeedButton2"), Qt::LeftButton);

    for (const char* name :
         {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit13", "Edit6", "MaskEdit1", "Edit8", "Edit7"})
        QVERIFY2(widget(name)->text().isEmpty(), name);
    QCOMPARE(widget("Edit9")->text(), QStringLiteral("-2027"));
    QCOMPARE(dateEdit()->value(), DayCount::fromDateTime(m_now));
    QCOMPARE(dateEdit()->dateText(), QStringLiteral("01/01/2027"));
    QCOMPARE(statusLine()->text(), missingText);
    if (!byClose) {
        QVERIFY(!statusLine()->isHidden());
        QCOMPARE(QApplication::focusWidget(), widget("Edit1"));
    }
    QCOMPARE(m_errors, QStringList{});
}

GPL_TEST_MAIN(TestEntryWindow)
#include "TestEntryWindow.moc"
