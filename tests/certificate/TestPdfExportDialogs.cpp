// The dialogs of an export and of the page settings: what they show and what they give back.
#include "TestEnvironment.h"
#include "certificate/PageSettingsDialog.h"
#include "certificate/PdfExportDialog.h"
#include "certificate/PreviewDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

class TestPdfExportDialogs : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void printDialogCaptioned();
    void exportOptionsShownAndReturned();
    void pageSettingsUnitRemembered_data();
    void pageSettingsUnitRemembered();
};

void TestPdfExportDialogs::printDialogCaptioned()
{
    QString caption;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        caption = dialog->windowTitle();
        dialog->reject();
    });
    QPrinter printer;
    QVERIFY(!PreviewDialogs().askPrint(nullptr, &printer)); // cancelled: nothing to print
    QCOMPARE(caption, QStringLiteral("Print"));
}

void TestPdfExportDialogs::exportOptionsShownAndReturned()
{
    PdfExportDialog dialog{PdfExportOptions()};
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Export to PDF"));
    const auto edit = [&](const char* name) { return dialog.findChild<QLineEdit*>(QLatin1String(name)); };
    const auto check = [&](const char* name) { return dialog.findChild<QCheckBox*>(QLatin1String(name)); };
    QCOMPARE(edit("AuthorEdit")->text(), QStringLiteral("FastReport"));
    QCOMPARE(edit("SubjectEdit")->text(), QStringLiteral("FastReport PDF export"));
    QVERIFY(edit("TitleEdit")->text().isEmpty());
    QVERIFY(edit("OwnerPasswordEdit")->text().isEmpty());
    QVERIFY(check("CompressedCheck")->isChecked());
    QVERIFY(check("PrintCheck")->isChecked() && check("CopyCheck")->isChecked());
    QVERIFY(!check("PrintScalingCheck")->isChecked());
    QVERIFY(check("EmbeddedFontsCheck")->isChecked() && !check("EmbeddedFontsCheck")->isEnabled());

    edit("TitleEdit")->setText(QStringLiteral("Certificat N° 17"));
    edit("UserPasswordEdit")->setText(QStringLiteral("lecture"));
    check("CompressedCheck")->setChecked(false);
    check("PrintCheck")->setChecked(false);
    check("FitWindowCheck")->setChecked(true);
    const PdfExportOptions options = dialog.options();
    QCOMPARE(options.title, QStringLiteral("Certificat N° 17"));
    QCOMPARE(options.author, QStringLiteral("FastReport"));
    QCOMPARE(options.userPassword, QStringLiteral("lecture"));
    QVERIFY(options.isEncrypted());
    QVERIFY(!options.compressed);
    QVERIFY(!options.allowPrint);
    QVERIFY(options.allowModify);
    QVERIFY(options.fitWindow);
}

void TestPdfExportDialogs::pageSettingsUnitRemembered_data()
{
    QTest::addColumn<int>("unitIndex");
    QTest::addColumn<double>("typedLeft");
    QTest::addColumn<double>("expectedLeftMm");
    QTest::addColumn<QString>("suffix");

    QTest::newRow("centimetres") << 0 << 2.5 << 25.0 << " cm";
    QTest::newRow("inches") << 1 << 1.0 << 25.4 << " in";
}

void TestPdfExportDialogs::pageSettingsUnitRemembered()
{
    QFETCH(int, unitIndex);
    QFETCH(double, typedLeft);
    QFETCH(double, expectedLeftMm);
    QFETCH(QString, suffix);
    {
        PageSettingsDialog dialog(QMarginsF(10, 10, 10, 10));
        dialog.findChild<QComboBox*>(QStringLiteral("UnitBox"))->setCurrentIndex(unitIndex);
        auto* left = dialog.findChild<QDoubleSpinBox*>(QStringLiteral("LeftMarginSpin"));
        auto* top = dialog.findChild<QDoubleSpinBox*>(QStringLiteral("TopMarginSpin"));
        QCOMPARE(left->suffix(), suffix);
        QCOMPARE(top->value(), unitIndex == 1 ? 0.394 : 1.0); // 10 mm in the unit shown
        left->setValue(typedLeft);
        dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(qAbs(dialog.marginsMm().left() - expectedLeftMm) < 0.01);
        QVERIFY(qAbs(dialog.marginsMm().top() - 10.0) < 0.05);
    }
    // The next time, the margins come up in the unit chosen.
    PageSettingsDialog again(QMarginsF(expectedLeftMm, 10, 10, 10));
    QCOMPARE(again.findChild<QComboBox*>(QStringLiteral("UnitBox"))->currentIndex(), unitIndex);
    QCOMPARE(again.findChild<QDoubleSpinBox*>(QStringLiteral("LeftMarginSpin"))->suffix(), suffix);
    QCOMPARE(again.findChild<QDoubleSpinBox*>(QStringLiteral("LeftMarginSpin"))->value(), typedLeft);
}

GPL_TEST_MAIN(TestPdfExportDialogs)
#include "TestPdfExportDialogs.moc"
