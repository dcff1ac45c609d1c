#include "MaintenanceFixture.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"

#include "maintenance/RecordEditor.h"
#include "maintenance/RecordsBrowser.h"
#include "maintenance/RecordsModel.h"
#include "store/DayCount.h"
#include "store/RecordStore.h"
#include "widgets/DateEdit.h"
#include "widgets/MessageBoxes.h"
#include "widgets/OneShotTimer.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

#include <memory>

class TestRecordEditor : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void layoutAndFocus();
    void upperCaseFields_data();
    void upperCaseFields();
    void saveRefusesMissingField_data();
    void saveRefusesMissingField();
    void saveUpdatesRowAndList();
    void saveOfDeletedRowIsReported();
    void idThatIsNoNumberIsRefused();
    void deleteAsksFirst_data();
    void deleteAsksFirst();

private:
    template <typename W = QLineEdit> W* field(const char* name) const
    {
        return m_editor->findChild<W*>(QLatin1String(name));
    }
    QLabel* statusLine() const { return field<QLabel>("Label11"); }
    AttestationRecord storedRecord(qint32 id);
    QStringList listedNumbers() const;

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<RecordStore> m_store;
    std::unique_ptr<RecordsBrowser> m_browser;
    std::unique_ptr<RecordEditor> m_editor;
    QList<MessageBoxes::Request> m_boxes;
    QMessageBox::StandardButton m_answer = QMessageBox::NoButton;
    AttestationRecord m_edited; // the middle of three saved rows
};

void TestRecordEditor::init()
{
    m_db = std::make_unique<TestDatabase>();
    QVERIFY(m_db->isValid());
    m_store = std::make_unique<RecordStore>();
    DbError error;
    QVERIFY2(insertRecords(*m_store,
                           {ownedRecord("BENALI AHMED", "1-2020"), ownedRecord("BENALI MOHAMED", "2-2020"),
                            ownedRecord("SAIDI OMAR", "3-2020")},
                           &error),
             qPrintable(error.message));
    QList<AttestationRecord> rows;
    QVERIFY2(m_store->selectByNumber(QStringLiteral("2-2020"), &rows, &error), qPrintable(error.message));
    m_edited = rows.value(0);

    createMaintenanceWindows(m_store.get(), &m_browser, &m_editor);
    m_boxes.clear();
    m_answer = QMessageBox::NoButton;
    MessageBoxes::setHandler([this](const MessageBoxes::Request& request) {
        m_boxes << request;
        return m_answer;
    });
    // The browser is open under the editor, filtered by owner.
    m_browser->show();
    QTest::mouseClick(m_browser->findChild<QRadioButton*>(QStringLiteral("RadioButton2")), Qt::LeftButton, {},
                      QPoint(5, 8));
    QTest::keyClicks(m_browser->findChild<QLineEdit*>(QStringLiteral("Edit1")), "BEN");
    QTRY_COMPARE(listedNumbers(), (QStringList{"2-2020", "1-2020"}));
    m_editor->fillFields(m_edited);
    m_editor->show();
}

void TestRecordEditor::cleanup()
{
    MessageBoxes::setHandler({});
    m_editor.reset();
    m_browser.reset();
    m_store.reset();
    m_db.reset();
}

AttestationRecord TestRecordEditor::storedRecord(qint32 id)
{
    std::optional<AttestationRecord> found;
    QList<AttestationRecord> rows;
    DbError error;
    if (!m_store->fetchPage(RecordStore::Search::All, {}, id + 1, 1, &rows, &error))
        qWarning("%s", qPrintable(error.message));
    return rows.isEmpty() || rows.first().id != id ? AttestationRecord{} : rows.first();
}

QStringList TestRecordEditor::listedNumbers() const
{
    QStringList numbers;
    RecordsModel* model = m_browser->model();
    if (model->isReading())
        return {QStringLiteral("(reading)")};
    for (int row = 0; row < model->rowCount(); ++row)
        numbers << model->index(row, 0).data().toString();
    return numbers;
}

void TestRecordEditor::layoutAndFocus()
{
    QCOMPARE(m_editor->size(), QSize(594, 535));
    QCOMPARE(field<QWidget>("sDateEdit1")->geometry(), QRect(200, 64, 107, 22));
    QCOMPARE(field("Edit2")->geometry(), QRect(200, 96, 299, 21));
    QCOMPARE(field("Edit9")->geometry(), QRect(200, 377, 89, 21));
    QCOMPARE(field<QWidget>("SpeedButton1")->geometry(), QRect(200, 416, 98, 25));
    QCOMPARE(field<QWidget>("Panel2")->geometry(), QRect(438, 508, 154, 23));
    QVERIFY(field("Edit1")->isHidden());
    QCOMPARE(field("Edit1")->text(), QString::number(m_edited.id));
    QCOMPARE(field("Edit9")->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    QVERIFY(statusLine()->isHidden());

    // On show no field has the focus; Tab then walks the date, then the fields in their order.
    m_editor->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_editor.get()));
    QCOMPARE(m_editor->focusWidget(), field<QWidget>("Panel1"));
    const char* const order[] = {"sDateEdit1", "Edit2", "Edit3",     "Edit4", "Edit5", "Edit6",
                                 "Edit13",     "Edit7", "MaskEdit1", "Edit8", "Edit9", "sDateEdit1"};
    for (const char* name : order) {
        QTest::keyClick(m_editor->focusWidget(), Qt::Key_Tab);
        QCOMPARE(m_editor->focusWidget()->objectName(), QLatin1String(name));
    }
}

void TestRecordEditor::upperCaseFields_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("owner") << "Edit2"
                           << "ab";
    QTest::newRow("number") << "Edit9"
                            << "ab";
    QTest::newRow("test date keeps the case") << "MaskEdit1"
                                              << "ab";
}

void TestRecordEditor::upperCaseFields()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    auto* edit = field(name.toLatin1().constData());
    edit->clear();
    QTest::keyClicks(edit, "ab");
    QCOMPARE(edit->text(), name == QLatin1String("MaskEdit1") ? expected : expected.toUpper());
}

void TestRecordEditor::saveRefusesMissingField_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    for (const char* name : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit13", "Edit7", "Edit8", "Edit9"})
        QTest::newRow(name) << name << QString();
    QTest::newRow("blank date") << "sDateEdit1" << QString();
    QTest::newRow("partly typed date") << "sDateEdit1"
                                       << "12/03/20";
}

void TestRecordEditor::saveRefusesMissingField()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    const QString typedOwner = QStringLiteral("CORRIGÉ");
    field("Edit2")->setText(typedOwner);
    field<QLineEdit>(name.toLatin1().constData())->setText(text);
    const QString ownerShown = field("Edit2")->text();

    QTest::mouseClick(field<QToolButton>("SpeedButton1"), Qt::LeftButton);
    QVERIFY(statusLine()->isVisible());
    QCOMPARE(statusLine()->text(), RecordEditor::missingFieldMessage());
    QCOMPARE(statusLine()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QVERIFY(field<OneShotTimer>("Timer1")->isRunning());
    QCOMPARE(storedRecord(m_edited.id), m_edited); // nothing written
    QCOMPARE(field("Edit2")->text(), ownerShown);  // nothing lost
    QVERIFY(m_boxes.isEmpty());
}

void TestRecordEditor::saveUpdatesRowAndList()
{
    field("Edit2")->setText(QStringLiteral("BENAMAR YOUCEF"));
    field("Edit9")->setText(QStringLiteral("22-2020"));
    field("MaskEdit1")->clear(); // the test date may stay empty
    const double newDate = DayCount::fromDateTime(QDateTime(QDate(2021, 5, 6), QTime()));
    field<DateEdit>("sDateEdit1")->setValue(newDate);

    QTest::mouseClick(field<QToolButton>("SpeedButton1"), Qt::LeftButton);
    QVERIFY2(m_boxes.isEmpty(), m_boxes.isEmpty() ? "" : qPrintable(m_boxes.first().text));
    QCOMPARE(statusLine()->text(), RecordEditor::savedMessage());
    QCOMPARE(statusLine()->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    QVERIFY(field<OneShotTimer>("Timer1")->isRunning());
    QVERIFY(m_editor->isVisible()); // the editor stays open

    AttestationRecord expected = m_edited;
    expected.appart = QStringLiteral("BENAMAR YOUCEF");
    expected.cincere = QStringLiteral("22-2020");
    expected.epreuve.clear();
    expected.dateStartValid = newDate;
    QCOMPARE(storedRecord(m_edited.id), expected);
    // The browser's list is opened again with its owner filter.
    QTRY_COMPARE(listedNumbers(), (QStringList{"22-2020", "1-2020"}));
}

void TestRecordEditor::saveOfDeletedRowIsReported()
{
    DbError error;
    QVERIFY2(m_store->deleteRecord(QString::number(m_edited.id), &error), qPrintable(error.message)); // meanwhile
    field("Edit2")->setText(QStringLiteral("TYPED"));

    QTest::mouseClick(field<QToolButton>("SpeedButton1"), Qt::LeftButton);
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes.first().icon, QMessageBox::Critical);
    QCOMPARE(m_boxes.first().text, MessageBoxes::errorText(RecordEditor::vanishedMessage()));
    QVERIFY(statusLine()->isHidden()); // not reported as saved
    QCOMPARE(field("Edit2")->text(), QStringLiteral("TYPED"));
    QCOMPARE(field("Edit9")->text(), m_edited.cincere);
}

void TestRecordEditor::idThatIsNoNumberIsRefused()
{
    field("Edit1")->setText(QStringLiteral("12a"));
    QTest::mouseClick(field<QToolButton>("SpeedButton1"), Qt::LeftButton);
    QCOMPARE(m_boxes.size(), 1);
    QVERIFY(m_boxes.first().text.contains(QLatin1String("'12a' is not a valid integer value")));
    QVERIFY(statusLine()->isHidden());
    QCOMPARE(storedRecord(m_edited.id), m_edited);
}

void TestRecordEditor::deleteAsksFirst_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("yes") << static_cast<int>(QMessageBox::Yes) << true;
    QTest::newRow("no") << static_cast<int>(QMessageBox::No) << false;
    QTest::newRow("escape or close box") << static_cast<int>(QMessageBox::NoButton) << false;
}

void TestRecordEditor::deleteAsksFirst()
{
    QFETCH(int, answer);
    QFETCH(bool, deleted);
    m_answer = static_cast<QMessageBox::StandardButton>(answer);

    QTest::mouseClick(field<QToolButton>("SpeedButton2"), Qt::LeftButton);
    QCOMPARE(m_boxes.size(), 1);
    const MessageBoxes::Request& box = m_boxes.first();
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.title, QStringLiteral("Warning"));
    QCOMPARE(box.text, RecordEditor::deleteQuestion());
    QCOMPARE(box.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(box.defaultButton, QMessageBox::Yes);

    QCOMPARE(storedRecord(m_edited.id).id, deleted ? 0 : m_edited.id);
    QCOMPARE(m_editor->isVisible(), !deleted);
    QTRY_COMPARE(listedNumbers(), deleted ? QStringList{"1-2020"} : (QStringList{"2-2020", "1-2020"}));
}

GPL_TEST_MAIN(TestRecordEditor)
#include "TestRecordEditor.moc"
