#include "TestDatabase.h"
#include "TestEnvironment.h"
#include "app/Application.h"
#include "entry/EntryWindow.h"
#include "widgets/MessageBoxes.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

class TestEntryWindowLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void windowFrame();
    void controlGeometry_data();
    void controlGeometry();

private:
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<Application> m_app;
};

void TestEntryWindowLayout::initTestCase()
{
    MessageBoxes::setHandler([](const MessageBoxes::Request& request) {
        qWarning("unexpected box: %s", qPrintable(request.text));
        return QMessageBox::Ok;
    });
    m_db = std::make_unique<TestDatabase>();
    m_app = std::make_unique<Application>();
    m_app->entryWindow().show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_app->entryWindow()));
}

void TestEntryWindowLayout::cleanupTestCase()
{
    m_app.reset();
    m_db.reset();
    MessageBoxes::setHandler({});
}

void TestEntryWindowLayout::windowFrame()
{
    QWidget& window = m_app->entryWindow();
    QCOMPARE(window.objectName(), QStringLiteral("Form1"));
    QCOMPARE(window.windowTitle(), QStringLiteral("ATTESTATION D'INSTALLATION"));
    QCOMPARE(window.size(), QSize(990, 670));
    QCOMPARE(window.minimumSize(), window.maximumSize()); // not resizable
    const Qt::WindowFlags flags = window.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
}

void TestEntryWindowLayout::controlGeometry_data()
{
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("visible");
    struct Row
    {
        const char* name;
        const char* parent;
        int x, y, w, h;
        const char* text;
        bool visible;
    };
    // Left, top, width and height in the parent's client coordinates; texts as the operator reads them.
    const Row rows[] = {
        {"Label10", "Form1", 137, 135, 27, 16, "Date", true},
        {"Label1", "Form1", 90, 165, 74, 16, "Appartenant ", true},
        {"Label2", "Form1", 96, 195, 68, 16, "Véhicule N°", true},
        {"Label3", "Form1", 121, 225, 43, 16, "Marque", true},
        {"Label4", "Form1", 137, 255, 27, 16, "Type", true},
        {"Label5", "Form1", 98, 286, 66, 16, "N° de Série", true},
        {"Label12", "Form1", 64, 320, 100, 16, "Marque Réservoir", true},
        {"Label6", "Form1", 57, 350, 107, 16, "Réservoir G.P.L N°", true},
        {"Label7", "Form1", 100, 382, 64, 16, "Epreuve du", true},
        {"Label8", "Form1", 113, 414, 51, 16, "Capacité", true},
        {"Label9", "Form1", 107, 446, 57, 16, "SINCERE", true},
        {"Label24", "Form1", 200, 100, 441, 19, "ATTESTATION  ET GARANTIE D'INSTALLATION DU GPL.C", true},
        {"sDateEdit1", "Form1", 200, 125, 113, 24, nullptr, true},
        {"Edit1", "Form1", 200, 157, 300, 24, "", true},
        {"Edit2", "Form1", 200, 187, 209, 24, "", true},
        {"Edit3", "Form1", 200, 217, 209, 24, "", true},
        {"Edit4", "Form1", 200, 247, 209, 24, "", true},
        {"Edit5", "Form1", 200, 278, 300, 24, "", true},
        {"Edit13", "Form1", 200, 310, 185, 24, "", true},
        {"Edit6", "Form1", 200, 342, 185, 24, "", true},
        {"MaskEdit1", "Form1", 200, 374, 121, 24, "", true},
        {"Edit8", "Form1", 200, 406, 121, 24, "", true},
        {"Edit9", "Form1", 200, 438, 121, 24, nullptr, true},
        {"SpeedButton6", "Form1", 528, 384, 160, 33, "show last N° with owner", false},
        {"Panel3", "Form1", 0, 468, 742, 37, nullptr, true},
        {"Panel6", "Panel3", 200, 4, 121, 30, nullptr, true},
        {"SpeedButton5", "Panel6", 0, 0, 121, 30, "Enregistrer", true},
        {"SpeedButton3", "Panel3", 336, 4, 105, 30, "", false},
        {"SpeedButton2", "Panel3", 552, 4, 136, 30, "Vider les champs", true},
        {"Splitter3", "Form1", 0, 547, 742, 1, nullptr, true},
        {"Panel4", "Form1", 200, 564, 265, 30, nullptr, true},
        {"SpeedButton4", "Panel4", 0, 0, 265, 30, "تعديل البيانات المسجلة", true},
        {"Panel1", "Form1", 440, 4, 297, 81, nullptr, true},
        {"Label13", "Panel1", 97, 8, 81, 16, "RECHERCHE", true},
        {"Splitter2", "Panel1", 0, 27, 297, 1, nullptr, true},
        {"Label11", "Panel1", 10, 45, 83, 16, "N° (SINCERE)", true},
        {"Edit7", "Panel1", 97, 42, 121, 24, nullptr, true},
        {"SpeedButton1", "Panel1", 224, 42, 65, 24, "", true},
        {"Panel2", "Form1", 741, -1, 250, 672, nullptr, true},
        {"Panel5", "Panel2", 0, 279, 249, 26, nullptr, true},
    };
    for (const Row& row : rows) {
        QTest::newRow(row.name) << QString::fromLatin1(row.parent) << QRect(row.x, row.y, row.w, row.h)
                                << (row.text ? QString::fromUtf8(row.text) : QString()) << row.visible;
    }
}

void TestEntryWindowLayout::controlGeometry()
{
    QFETCH(QString, parentName);
    QFETCH(QRect, rect);
    QFETCH(QString, text);
    QFETCH(bool, visible);
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    auto* widget = m_app->entryWindow().findChild<QWidget*>(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(widget->parentWidget()->objectName(), parentName);
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        // A label keeps its place and grows to the right where this machine's font is wider.
        QCOMPARE(widget->pos(), rect.topLeft());
        QCOMPARE(widget->height(), rect.height());
        QVERIFY(widget->width() >= rect.width());
        QVERIFY2(label->sizeHint().width() <= widget->width(), "the label cuts its text");
    } else {
        QCOMPARE(widget->geometry(), rect);
    }
    QCOMPARE(widget->isVisible(), visible);
    if (text.isNull())
        return;
    if (auto* label = qobject_cast<QLabel*>(widget))
        QCOMPARE(label->text(), text);
    else if (auto* edit = qobject_cast<QLineEdit*>(widget))
        QCOMPARE(edit->text(), text);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        QCOMPARE(button->text(), text);
    else
        QFAIL("no text to compare");
}

GPL_TEST_MAIN(TestEntryWindowLayout)
#include "TestEntryWindowLayout.moc"
