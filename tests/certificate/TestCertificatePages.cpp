#include "PdfLayoutText.h"
#include "TestDatabase.h"
#include "TestEnvironment.h"
#include "TextRecordingDevice.h"
#include "certificate/Certificate.h"
#include "certificate/CertificateFonts.h"
#include "certificate/CertificateTemplate.h"
#include "certificate/CertificateText.h"
#include "certificate/PageRenderer.h"
#include "certificate/PreparedDocument.h"
#include "certificate/TextBlockLayout.h"
#include "store/DayCount.h"
#include "store/RecordStore.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(CertificateRecord)

using CertificateTemplate::PageObject;

namespace {

// Both pages on a printer or PDF writer, the way printing and the PDF export put them there.
bool renderBothPages(QPagedPaintDevice& device, const CertificateRecord& record)
{
    QString error;
    const bool ok =
        PageRenderer::renderPages(PreparedDocument(record).pageSource(), device, 0, Certificate::pageCount - 1, &error);
    if (!ok)
        qWarning("rendering failed: %s", qPrintable(error));
    return ok;
}

const QPointF paperOrigin(CertificateTemplate::marginPx, CertificateTemplate::marginPx);

CertificateRecord recordAtMidnight()
{
    AttestationRecord record = TestDatabase::sampleRecord(3);
    record.dateStartValid = DayCount::fromDate(QDate(2020, 1, 15));
    return record;
}

/// The bounds of the ink of an object's text drawn without clipping, in page pixels from the printable
/// area's corner. Drawn four times larger so that a fraction of a pixel shows.
QRectF unclippedInk(int pageIndex, const PageObject& object, const CertificateRecord& record = CertificateRecord())
{
    constexpr int scale = 4;
    constexpr qreal border = 40;
    const QRectF canvas = object.box.adjusted(-border, -border, border, border);
    QImage image((canvas.size() * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.scale(scale, scale);
        painter.translate(-canvas.topLeft());
        const Certificate::PlacedText placed = Certificate::placeText(pageIndex, object, record);
        for (const LaidOutLine& line : placed.lines)
            placed.layout.draw(painter, line);
    }
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(row[x]) > 96)
                ink |= QRect(x, y, 1, 1);
        }
    }
    if (ink.isNull())
        return QRectF();
    return QRectF(QPointF(ink.topLeft()) / scale, QPointF(ink.bottomRight() + QPoint(1, 1)) / scale)
        .translated(canvas.topLeft());
}

QList<TextRecordingDevice::Run> recordedRuns(int dotsPerInch, int pageIndex, const CertificateRecord& record)
{
    TextRecordingDevice device(dotsPerInch);
    QPainter painter(&device);
    painter.scale(dotsPerInch / 96.0, dotsPerInch / 96.0);
    Certificate::paintPage(painter, pageIndex, record);
    painter.end();
    return device.runs();
}

QImage renderedPage(int pageIndex, const CertificateRecord& record)
{
    const QSize size = Certificate::pageSizePx().toSize();
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    Certificate::paintPage(painter, pageIndex, record);
    return image;
}

/// Pixels noticeably darker than the paper inside a rectangle given in page pixels from the printable corner.
int darkPixels(const QImage& page, const QRectF& area)
{
    const QRect pixels = area.translated(paperOrigin).toAlignedRect().intersected(page.rect());
    int count = 0;
    for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
        for (int x = pixels.left(); x <= pixels.right(); ++x) {
            if (qGray(page.pixel(x, y)) < 160)
                ++count;
        }
    }
    return count;
}

QString joinedLines(const QList<Certificate::TextLine>& lines, const QString& objectName)
{
    QStringList texts;
    for (const Certificate::TextLine& line : lines) {
        if (line.objectName == objectName)
            texts.append(line.text.simplified());
    }
    return texts.join(QLatin1Char('|'));
}

} // namespace

class TestCertificatePages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void theNamedFacesAreInstalled();
    void arabicFaceSurvivesALookalikeFont();
    void staticTextShowsWhole_data();
    void staticTextShowsWhole();
    void valuesFollowTheirLabelsBaseline_data();
    void valuesFollowTheirLabelsBaseline();
    void drawnTextsLandInTheirBoxes_data();
    void drawnTextsLandInTheirBoxes();
    void screenAndPrinterResolutionsDrawTheSameRuns();
    void pdfWriterBreaksLinesLikeTheLayout();
    void printerPlacesWordsLikeThePdfWriter();
    void overflowingValueIsCutAtItsBox_data();
    void overflowingValueIsCutAtItsBox();
    void recordSourceTakesTheFirstRow();
    void recordSourceReportsADatabaseFailure();
};

void TestCertificatePages::theNamedFacesAreInstalled()
{
    // Without them fontconfig would silently substitute other faces and the lines would break elsewhere.
    for (const auto typeface : {CertificateTemplate::Typeface::Serif, CertificateTemplate::Typeface::Sans}) {
        const QStringList families = CertificateFonts::families(typeface);
        for (const QString& family : families)
            QVERIFY2(QFontDatabase::hasFamily(family), qPrintable(family + QLatin1String(" is not installed")));
        const QFont font = CertificateFonts::font(CertificateTemplate::FontStyle{typeface, 14, false, false});
        QCOMPARE(QFontInfo(font).family(), families.first());
    }
}

void TestCertificatePages::arabicFaceSurvivesALookalikeFont()
{
    // Qt's font cache keys fonts by their first family: a font that differs from ours only in its fallback
    // faces, used first, must not change the face of our Arabic letters.
    const QString arabic = QStringLiteral("إن هذه الشهادة ذات مسؤولية محدودة");
    const QFont lookalike =
        CertificateFonts::font({QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Sans")}, 14);
    const qreal lookalikeWidth = TextBlockLayout(lookalike, 20).advance(arabic);
    const CertificateTemplate::FontStyle style{CertificateTemplate::Typeface::Serif, 14, false, false};
    const qreal ours = TextBlockLayout(CertificateFonts::font(style), 20).advance(arabic);
    const qreal arabicFaceAlone =
        TextBlockLayout(CertificateFonts::font({CertificateFonts::arabicFamily()}, 14), 20).advance(arabic);
    QVERIFY2(qAbs(lookalikeWidth - arabicFaceAlone) > 1, "the lookalike font should not draw with our Arabic face");
    QCOMPARE(ours, arabicFaceAlone);
}

void TestCertificatePages::staticTextShowsWhole_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("name");
    for (int page = 0; page < Certificate::pageCount; ++page) {
        for (const PageObject& object : CertificateTemplate::pageObjects(page)) {
            if (object.isStatic())
                QTest::addRow("page %d %s", page + 1, qPrintable(object.name)) << page << object.name;
        }
    }
}

void TestCertificatePages::staticTextShowsWhole()
{
    QFETCH(int, page);
    QFETCH(QString, name);
    const PageObject* object = CertificateTemplate::findObject(page, name);
    QVERIFY(object);

    // No fixed line is broken by the layout: each paragraph stays one line (the French paragraph excepted,
    // which is written to wrap), and the visible lines are exactly the non-blank paragraphs.
    const QList<Certificate::TextLine> lines = Certificate::textLines(page, CertificateRecord());
    QStringList expected;
    for (const QString& paragraph : object->text.split(QLatin1Char('\n'))) {
        if (!paragraph.trimmed().isEmpty())
            expected.append(paragraph.simplified());
    }
    if (name != QLatin1String("Memo2"))
        QCOMPARE(joinedLines(lines, name), expected.join(QLatin1Char('|')));
    else
        QCOMPARE(joinedLines(lines, name).replace(QLatin1Char('|'), QLatin1Char(' ')), expected.join(QLatin1Char(' ')));

    // And the ink of the letters, drawn without the clip, stays inside the box.
    const QRectF ink = unclippedInk(page, *object);
    QVERIFY(!ink.isNull());
    const QRectF allowed = object->box.adjusted(-0.5, -0.5, 0.5, 0.5);
    QVERIFY2(allowed.contains(ink), qPrintable(QStringLiteral("ink %1,%2 %3x%4 outside box %5,%6 %7x%8")
                                                   .arg(ink.x())
                                                   .arg(ink.y())
                                                   .arg(ink.width())
                                                   .arg(ink.height())
                                                   .arg(object->box.x())
                                                   .arg(object->box.y())
                                                   .arg(object->box.width())
                                                   .arg(object->box.height())));
    const int stretch = Certificate::arabicStretch(page, name);
    QVERIFY2(stretch >= 80 && stretch <= 100, qPrintable(QString::number(stretch)));
}

void TestCertificatePages::valuesFollowTheirLabelsBaseline_data()
{
    QTest::addColumn<CertificateRecord>("record");
    QTest::addColumn<bool>("aligned");

    QTest::newRow("capitals and digits") << recordAtMidnight() << true;
    AttestationRecord accented = TestDatabase::sampleRecord(8);
    for (QString* value : {&accented.appart, &accented.marque, &accented.type, &accented.nSerie,
                           &accented.vehicleImmatricul, &accented.marqueReservoir})
        *value = QStringLiteral("ÉLODIE CITROËN");
    QTest::newRow("accented capitals keep their accents") << CertificateRecord(accented) << false;
}

void TestCertificatePages::valuesFollowTheirLabelsBaseline()
{
    QFETCH(CertificateRecord, record);
    QFETCH(bool, aligned);
    int rows = 0;
    for (const PageObject& value : CertificateTemplate::pageObjects(1)) {
        if (value.rowLabel.isEmpty())
            continue;
        ++rows;
        const PageObject* label = CertificateTemplate::findObject(1, value.rowLabel);
        QVERIFY(label);
        const qreal valueBaseline = Certificate::placeText(1, value, record).lines.first().baseline;
        const qreal labelBaseline = Certificate::placeText(1, *label, record).lines.first().baseline;
        if (aligned)
            QVERIFY2(qAbs(valueBaseline - labelBaseline) < 0.5, qPrintable(QStringLiteral("%1 at %2, %3 at %4")
                                                                               .arg(value.name)
                                                                               .arg(valueBaseline)
                                                                               .arg(label->name)
                                                                               .arg(labelBaseline)));
        const QRectF ink = unclippedInk(1, value, record);
        QVERIFY2(value.box.adjusted(-0.5, -0.5, 0.5, 0.5).contains(ink), qPrintable(value.name));
    }
    QCOMPARE(rows, 8);
}

void TestCertificatePages::drawnTextsLandInTheirBoxes_data()
{
    QTest::addColumn<CertificateRecord>("record");
    QTest::newRow("a record") << recordAtMidnight();
    QTest::newRow("no record") << CertificateRecord();
}

void TestCertificatePages::drawnTextsLandInTheirBoxes()
{
    QFETCH(CertificateRecord, record);
    for (int page = 0; page < Certificate::pageCount; ++page) {
        QSet<QString> objectsDrawn;
        for (const TextRecordingDevice::Run& run : recordedRuns(96, page, record)) {
            if (run.text.trimmed().isEmpty())
                continue;
            const QPointF origin = run.origin - paperOrigin;
            const PageObject* owner = nullptr;
            for (const PageObject& object : CertificateTemplate::pageObjects(page)) {
                const QRectF box = object.box.adjusted(-0.5, -0.5, 0.5, 0.5);
                if (box.left() <= origin.x() && origin.x() + run.width <= box.right() && box.top() <= origin.y() &&
                    origin.y() <= box.bottom() && CertificateText::objectText(object, record).contains(run.text)) {
                    owner = &object;
                    break;
                }
            }
            QVERIFY2(owner, qPrintable(QStringLiteral("page %1: \"%2\" drawn at %3,%4 width %5 in no box showing it")
                                           .arg(page + 1)
                                           .arg(run.text)
                                           .arg(origin.x())
                                           .arg(origin.y())
                                           .arg(run.width)));
            objectsDrawn.insert(owner->name);
        }
        // Every object that has something to show was drawn.
        for (const PageObject& object : CertificateTemplate::pageObjects(page)) {
            if (object.kind == PageObject::Kind::Text &&
                !CertificateText::objectText(object, record).trimmed().isEmpty())
                QVERIFY2(objectsDrawn.contains(object.name), qPrintable(object.name));
        }
    }
}

void TestCertificatePages::screenAndPrinterResolutionsDrawTheSameRuns()
{
    const CertificateRecord record = recordAtMidnight();
    for (int page = 0; page < Certificate::pageCount; ++page) {
        const QList<TextRecordingDevice::Run> screen = recordedRuns(96, page, record);
        const QList<TextRecordingDevice::Run> printer = recordedRuns(1200, page, record);
        QCOMPARE(printer.size(), screen.size());
        QVERIFY(screen.size() > 20);
        for (qsizetype i = 0; i < screen.size(); ++i) {
            QCOMPARE(printer.at(i).text, screen.at(i).text);
            const QPointF scaledBack = printer.at(i).origin / 12.5;
            QVERIFY2(QLineF(scaledBack, screen.at(i).origin).length() < 0.01, qPrintable(screen.at(i).text));
            QVERIFY(qAbs(printer.at(i).width / 12.5 - screen.at(i).width) < 0.01);
        }
    }
}

void TestCertificatePages::pdfWriterBreaksLinesLikeTheLayout()
{
    AttestationRecord long1 = TestDatabase::sampleRecord(4);
    long1.appart = QStringLiteral("SOCIETE NATIONALE DES TRANSPORTS ET DES TRAVAUX PUBLICS DE LA WILAYA DE BOUMERDES");
    const CertificateRecord record = long1;

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("pages.pdf"));
    {
        QPdfWriter writer(path);
        QVERIFY(renderBothPages(writer, record));
    }
    QList<PdfLayoutText::Page> pages;
    QString error;
    QVERIFY2(PdfLayoutText::read(path, &pages, &error), qPrintable(error));
    QCOMPARE(pages.size(), 2);

    // The justified French paragraph and the wrapped owner: the PDF's lines are the layout's lines.
    const QList<Certificate::TextLine> layoutLines = Certificate::textLines(0, record);
    for (const char* name : {"Memo2", "AttestAppart"}) {
        const PageObject* object = CertificateTemplate::findObject(0, QLatin1String(name));
        const QRectF box = object->box.translated(paperOrigin);
        QStringList pdfLines;
        for (const PdfLayoutText::Line& line : pages.first().lines) {
            if (box.contains(line.box.center()))
                pdfLines.append(line.text());
        }
        QCOMPARE(pdfLines.join(QLatin1Char('|')), joinedLines(layoutLines, QLatin1String(name)));
    }
}

void TestCertificatePages::printerPlacesWordsLikeThePdfWriter()
{
    // The printer paints the whole sheet like the PDF writer: its margins are not added to ours.
    const CertificateRecord record = recordAtMidnight();
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString writerPath = dir.filePath(QStringLiteral("writer.pdf"));
    const QString printerPath = dir.filePath(QStringLiteral("printer.pdf"));
    {
        QPdfWriter writer(writerPath);
        QVERIFY(renderBothPages(writer, record));
    }
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printerPath);
        QVERIFY(renderBothPages(printer, record));
    }
    QList<PdfLayoutText::Page> written;
    QList<PdfLayoutText::Page> printed;
    QString error;
    QVERIFY2(PdfLayoutText::read(writerPath, &written, &error), qPrintable(error));
    QVERIFY2(PdfLayoutText::read(printerPath, &printed, &error), qPrintable(error));
    QCOMPARE(printed.size(), written.size());
    for (qsizetype page = 0; page < written.size(); ++page) {
        QCOMPARE(printed.at(page).lines.size(), written.at(page).lines.size());
        for (qsizetype i = 0; i < written.at(page).lines.size(); ++i) {
            const PdfLayoutText::Line& expected = written.at(page).lines.at(i);
            const PdfLayoutText::Line& actual = printed.at(page).lines.at(i);
            QCOMPARE(actual.text(), expected.text());
            QVERIFY2(QLineF(actual.box.topLeft(), expected.box.topLeft()).length() < 0.5,
                     qPrintable(QStringLiteral("%1 at %2,%3 printed at %4,%5")
                                    .arg(expected.text())
                                    .arg(expected.box.x())
                                    .arg(expected.box.y())
                                    .arg(actual.box.x())
                                    .arg(actual.box.y())));
        }
    }
}

void TestCertificatePages::overflowingValueIsCutAtItsBox_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("name");
    QTest::addColumn<qreal>("nextObjectTop"); // the first object below, over the same columns

    QTest::newRow("owner on page 1") << 0 << "AttestAppart" << 313.70;
    QTest::newRow("tank values on page 2") << 1 << "Memo27" << 512.0;
}

void TestCertificatePages::overflowingValueIsCutAtItsBox()
{
    QFETCH(int, page);
    QFETCH(QString, name);
    QFETCH(qreal, nextObjectTop);
    AttestationRecord longValues = TestDatabase::sampleRecord(5);
    const QString longText = QStringLiteral("WWWWWWWW MMMMMMMM WWWWWWWW MMMMMMMM WWWWWWWW MMMMMMMM WWWWWWWW MMMMMMMM");
    longValues.appart = longText;
    longValues.marqueReservoir = longText;
    const CertificateRecord record = longValues;
    const PageObject* object = CertificateTemplate::findObject(page, name);
    QVERIFY(object);

    const QList<Certificate::TextLine> lines = Certificate::textLines(page, record);
    QCOMPARE(joinedLines(lines, name).count(QLatin1Char('|')), 0); // one line shows, the rest is cut

    const QImage image = renderedPage(page, record);
    QVERIFY(darkPixels(image, object->box) > 50);
    const QRectF below(object->box.left(), object->box.bottom() + 0.5, object->box.width(),
                       nextObjectTop - object->box.bottom() - 1.0);
    QCOMPARE(darkPixels(image, below), 0);
}

void TestCertificatePages::recordSourceTakesTheFirstRow()
{
    TestDatabase database;
    QVERIFY(database.isValid());
    RecordStore store;
    DbError error;
    AttestationRecord first = TestDatabase::sampleRecord(1);
    AttestationRecord second = TestDatabase::sampleRecord(2);
    second.cincere = first.cincere;
    QVERIFY2(store.insertRecord(first, &error), qPrintable(error.message));
    QVERIFY2(store.insertRecord(second, &error), qPrintable(error.message));

    CertificateRecord record;
    QVERIFY2(Certificate::openRecord(store, first.cincere, &record, &error), qPrintable(error.message));
    QVERIFY(record.has_value());
    QCOMPARE(record->appart, first.appart);

    QVERIFY2(Certificate::openRecord(store, QStringLiteral("no such number"), &record, &error),
             qPrintable(error.message));
    QVERIFY(!record.has_value());
}

void TestCertificatePages::recordSourceReportsADatabaseFailure()
{
    TestDatabase noDatabase(TestDatabase::Content::NoDatabase);
    QVERIFY(noDatabase.isValid());
    RecordStore store;
    CertificateRecord record = TestDatabase::sampleRecord(1);
    DbError error;
    QVERIFY(!Certificate::openRecord(store, QStringLiteral("1-2020"), &record, &error));
    QVERIFY(!error.message.isEmpty());
}

GPL_TEST_MAIN(TestCertificatePages)
#include "TestCertificatePages.moc"
