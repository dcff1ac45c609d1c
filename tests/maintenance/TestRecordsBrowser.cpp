#include "MaintenanceFixture.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"

#include "maintenance/RecordEditor.h"
#include "maintenance/RecordsBrowser.h"
#include "maintenance/RecordsModel.h"
#include "store/Connection.h"
#include "store/RecordStore.h"
#include "widgets/DateEdit.h"
#include "widgets/MessageBoxes.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>

#include <memory>

namespace {

// Newest first: the list's expected order.
const QStringList allNumbers{"8-2021", "7-2021", "12-2020", "11-2020", "2-2020", "1-2020"};

} // namespace

class TestRecordsBrowser : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void layout();
    void searchFollowsTheText_data();
    void searchFollowsTheText();
    void typingAheadKeepsOnlyTheLastSearch();
    void secondOpeningKeepsTextAndList();
    void longListIsReadAsTheGridScrolls();
    void doubleClick_data();
    void doubleClick();
    void failedSearchIsReported();

private:
    QStringList listedNumbers() const;
    void waitForList();
    QWidget* find(const char* name) const;

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<RecordStore> m_store;
    std::unique_ptr<RecordsBrowser> m_browser;
    std::unique_ptr<RecordEditor> m_editor;
    QStringList m_boxes;
};

void TestRecordsBrowser::init()
{
    m_db = std::make_unique<TestDatabase>();
    QVERIFY(m_db->isValid());
    m_store = std::make_unique<RecordStore>();
    DbError error;
    QVERIFY2(insertRecords(*m_store,
                           {ownedRecord("MANSOURI KARIM", "1-2020"), ownedRecord("BENALI AHMED", "2-2020"),
                            ownedRecord("D'ALEMBERT JEAN", "11-2020"), ownedRecord("BENALI MOHAMED", "12-2020"),
                            ownedRecord("50% MOTORS", "7-2021"), ownedRecord("A_B", "8-2021")},
                           &error),
             qPrintable(error.message));
    createMaintenanceWindows(m_store.get(), &m_browser, &m_editor);
    m_boxes.clear();
    MessageBoxes::setHandler([this](const MessageBoxes::Request& request) {
        m_boxes << request.text;
        return QMessageBox::Ok;
    });
}

void TestRecordsBrowser::cleanup()
{
    MessageBoxes::setHandler({});
    m_editor.reset();
    m_browser.reset();
    m_store.reset();
    m_db.reset();
}

QWidget* TestRecordsBrowser::find(const char* name) const
{
    return m_browser->findChild<QWidget*>(QLatin1String(name));
}

QStringList TestRecordsBrowser::listedNumbers() const
{
    QStringList numbers;
    RecordsModel* model = m_browser->model();
    for (int row = 0; row < model->rowCount(); ++row)
        numbers << model->index(row, 0).data().toString();
    return numbers;
}

void TestRecordsBrowser::waitForList()
{
    QTRY_VERIFY(!m_browser->model()->isReading());
}

void TestRecordsBrowser::layout()
{
    m_browser->show();
    waitForList();
    QCOMPARE(m_browser->size(), QSize(990, 560));
    QCOMPARE(find("Panel1")->geometry(), QRect(8, 10, 281, 97));
    QCOMPARE(find("RadioButton1")->geometry(), QRect(8, 16, 137, 17));
    QCOMPARE(find("Edit1")->geometry(), QRect(8, 63, 186, 22));
    auto* grid = qobject_cast<QTableView*>(find("DBGrid1"));
    QVERIFY(grid);
    QCOMPARE(grid->geometry(), QRect(8, 120, 966, 432));
    QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    const QStringList titles{"Cincere",  "Appartenant",      "Matricule Vehicule", "Marque",  "Type",
                             "N° Serie", "Marque Reservoir", "N° Reservoir",       "Epreuve", "Capacity"};
    QCOMPARE(grid->model()->columnCount(), titles.size());
    for (int c = 0; c < titles.size(); ++c) {
        QCOMPARE(grid->model()->headerData(c, Qt::Horizontal).toString(), titles.at(c));
        QCOMPARE(grid->columnWidth(c), 100);
    }
    // The indicator column marks the current row only.
    QCOMPARE(grid->currentIndex().row(), 0);
    QCOMPARE(grid->model()->headerData(0, Qt::Vertical).toString(), QStringLiteral("▶"));
    QCOMPARE(grid->model()->headerData(1, Qt::Vertical).toString(), QString());
    QCOMPARE(listedNumbers(), allNumbers);
    QVERIFY(m_browser->focusWidget() == find("Edit1") || !QApplication::focusWidget());
}

void TestRecordsBrowser::searchFollowsTheText_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("number prefix") << "RadioButton1"
                                   << "1" << QStringList{"12-2020", "11-2020", "1-2020"};
    QTest::newRow("number prefix, longer") << "RadioButton1"
                                           << "11" << QStringList{"11-2020"};
    QTest::newRow("owner prefix, lower case") << "RadioButton2"
                                              << "benali m" << QStringList{"12-2020"};
    QTest::newRow("apostrophe") << "RadioButton2"
                                << "D'A" << QStringList{"11-2020"};
    QTest::newRow("percent is a character") << "RadioButton2"
                                            << "50%" << QStringList{"7-2021"};
    QTest::newRow("underscore is a character") << "RadioButton2"
                                               << "A_" << QStringList{"8-2021"};
    QTest::newRow("nothing matches") << "RadioButton1"
                                     << "3" << QStringList{};
}

void TestRecordsBrowser::searchFollowsTheText()
{
    QFETCH(QString, mode);
    QFETCH(QString, typed);
    QFETCH(QStringList, expected);

    m_browser->show();
    waitForList();
    QTest::mouseClick(find(mode.toLatin1().constData()), Qt::LeftButton, {}, QPoint(5, 8));
    QVERIFY(qobject_cast<QRadioButton*>(find(mode.toLatin1().constData()))->isChecked());
    QCOMPARE(listedNumbers(), allNumbers); // choosing the mode does not search
    QTest::keyClicks(find("Edit1"), typed);
    waitForList();
    QCOMPARE(listedNumbers(), expected);

    // Deleting the text lists every record again.
    qobject_cast<QLineEdit*>(find("Edit1"))->selectAll();
    QTest::keyClick(find("Edit1"), Qt::Key_Backspace);
    waitForList();
    QCOMPARE(listedNumbers(), allNumbers);
}

// Pages of searches typed over arrive late; none of their rows may join the last search's list.
void TestRecordsBrowser::typingAheadKeepsOnlyTheLastSearch()
{
    m_browser->show();
    waitForList();
    auto* search = qobject_cast<QLineEdit*>(find("Edit1"));
    for (const char* text : {"8", "1", "", "7", "1-", "12", "1"})
        search->setText(QString::fromLatin1(text));
    waitForList();
    QTest::qWait(100); // leave time for a stray page to show up
    QCOMPARE(listedNumbers(), (QStringList{"12-2020", "11-2020", "1-2020"}));
}

void TestRecordsBrowser::secondOpeningKeepsTextAndList()
{
    m_browser->show();
    waitForList();
    QTest::mouseClick(find("RadioButton2"), Qt::LeftButton, {}, QPoint(5, 8));
    QTest::keyClicks(find("Edit1"), "BEN");
    waitForList();
    const QStringList ownerList{"12-2020", "2-2020"};
    QCOMPARE(listedNumbers(), ownerList);
    m_browser->close();
    QCOMPARE(m_browser->model()->rowCount(), 0); // closed with the window

    m_browser->show();
    waitForList();
    QVERIFY(qobject_cast<QRadioButton*>(find("RadioButton1"))->isChecked());
    QVERIFY(!qobject_cast<QRadioButton*>(find("RadioButton2"))->isChecked());
    QCOMPARE(qobject_cast<QLineEdit*>(find("Edit1"))->text(), QStringLiteral("BEN"));
    QCOMPARE(listedNumbers(), ownerList); // still the owner search, until the text changes
    QTest::keyClick(find("Edit1"), Qt::Key_End);
    QTest::keyClick(find("Edit1"), Qt::Key_Backspace); // now a number search for "BE"
    waitForList();
    QCOMPARE(listedNumbers(), QStringList{});
}

void TestRecordsBrowser::longListIsReadAsTheGridScrolls()
{
    QList<AttestationRecord> records;
    const int total = RecordsModel::firstPageSize + RecordsModel::pageSize + 37;
    for (int n = 1; n <= total; ++n)
        records << ownedRecord("PAGE", QStringLiteral("%1-2022").arg(n));
    DbError error;
    QVERIFY2(insertRecords(*m_store, records, &error), qPrintable(error.message));

    m_browser->show();
    waitForList();
    QCOMPARE(m_browser->model()->rowCount(), RecordsModel::firstPageSize); // not everything at once
    auto* grid = qobject_cast<QTableView*>(find("DBGrid1"));
    QTRY_VERIFY_WITH_TIMEOUT((grid->scrollToBottom(), m_browser->model()->rowCount() == total + 6), 10000);
    const QStringList numbers = listedNumbers();
    for (int i = 0; i < total; ++i)
        QCOMPARE(numbers.at(i), QStringLiteral("%1-2022").arg(total - i));
    QCOMPARE(numbers.mid(total), allNumbers);
}

void TestRecordsBrowser::doubleClick_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<int>("clickedRow"); // the data row clicked first, -1 for none
    QTest::addColumn<bool>("emptyList");
    QTest::addColumn<QString>("expectedNumber"); // empty: the editor does not open
    QTest::newRow("data row") << "row" << 2 << false << "12-2020";
    QTest::newRow("title row keeps the current row") << "title" << 1 << false << "7-2021";
    QTest::newRow("indicator column") << "indicator" << 3 << false << "11-2020";
    QTest::newRow("blank area below the rows") << "blank" << 4 << false << "2-2020";
    QTest::newRow("empty list") << "blank" << -1 << true << "";
}

void TestRecordsBrowser::doubleClick()
{
    QFETCH(QString, where);
    QFETCH(int, clickedRow);
    QFETCH(bool, emptyList);
    QFETCH(QString, expectedNumber);

    m_browser->show();
    waitForList();
    auto* grid = qobject_cast<QTableView*>(find("DBGrid1"));
    if (emptyList) {
        QTest::keyClicks(find("Edit1"), "NOTHING");
        waitForList();
        QCOMPARE(m_browser->model()->rowCount(), 0);
    }
    if (clickedRow >= 0)
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(clickedRow, 1)).center());

    QWidget* target = grid->viewport();
    QPoint point = grid->viewport()->rect().center() + QPoint(0, 150); // below the few rows
    if (where == QLatin1String("row")) {
        point = grid->visualRect(grid->model()->index(clickedRow, 1)).center();
    } else if (where == QLatin1String("title")) {
        target = grid->horizontalHeader()->viewport();
        point = QPoint(150, grid->horizontalHeader()->height() / 2);
    } else if (where == QLatin1String("indicator")) {
        target = grid->verticalHeader()->viewport();
        point = QPoint(grid->verticalHeader()->width() / 2,
                       grid->verticalHeader()->sectionViewportPosition(clickedRow) + 5);
    }

    AttestationRecord expected;
    DbError error;
    QList<AttestationRecord> rows;
    if (!expectedNumber.isEmpty()) {
        QVERIFY2(m_store->selectByNumber(expectedNumber, &rows, &error), qPrintable(error.message));
        QCOMPARE(rows.size(), 1);
        expected = rows.first();
    }
    bool editorShown = false;
    QString shownId, shownOwner, shownNumber;
    double shownDate = -1;
    // The editor is modal: read it and close it from inside its own loop.
    QTimer::singleShot(0, this, [&] {
        editorShown = m_editor->isVisible();
        shownId = m_editor->findChild<QLineEdit*>(QStringLiteral("Edit1"))->text();
        shownOwner = m_editor->findChild<QLineEdit*>(QStringLiteral("Edit2"))->text();
        shownNumber = m_editor->findChild<QLineEdit*>(QStringLiteral("Edit9"))->text();
        shownDate = m_editor->findChild<DateEdit*>(QStringLiteral("sDateEdit1"))->value();
        m_editor->reject();
    });
    QTest::mouseDClick(target, Qt::LeftButton, {}, point);
    QTest::qWait(20);

    QCOMPARE(editorShown, !expectedNumber.isEmpty());
    if (editorShown) {
        QCOMPARE(shownId, QString::number(expected.id));
        QCOMPARE(shownOwner, expected.appart);
        QCOMPARE(shownNumber, expected.cincere);
        QCOMPARE(shownDate, expected.dateStartValid);
    }
}

void TestRecordsBrowser::failedSearchIsReported()
{
    m_browser->show();
    waitForList();
    // Another program removes the search index's table under the open program.
    Connection other;
    DbError error;
    QVERIFY2(other.open(m_db->path(), RecordStore::password(), Connection::OpenMode::ExistingOnly, &error) &&
                 other.exec(QStringLiteral("ALTER TABLE Attest_Search_Terms RENAME TO Elsewhere"), &error),
             qPrintable(error.message));
    QTest::keyClicks(find("Edit1"), "1");
    QTRY_COMPARE(m_boxes.size(), 1);
    QVERIFY2(m_boxes.first().contains(QLatin1String("Attest_Search_Terms")), qPrintable(m_boxes.first()));
    QCOMPARE(m_browser->model()->rowCount(), 0); // the list stays closed
    QVERIFY(!m_browser->model()->isOpen());
}

GPL_TEST_MAIN(TestRecordsBrowser)
#include "TestRecordsBrowser.moc"
