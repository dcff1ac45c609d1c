#include "TestEnvironment.h"
#include "certificate/CertificateFonts.h"
#include "certificate/TextBlockLayout.h"

#include <QtTest>

using H = CertificateTemplate::HorizontalAlignment;
using V = CertificateTemplate::VerticalAlignment;

Q_DECLARE_METATYPE(H)
Q_DECLARE_METATYPE(V)

namespace {

// Liberation Mono at 10 pt on the 96-per-inch layout device is a 13-pixel font (sizes round to whole
// pixels, as on the original pages): every character advances 1229/2048 em = 7.80 px, so the expected
// breaks and positions can be counted in characters.
constexpr qreal charWidth = 1229.0 / 2048.0 * 13.0;
constexpr qreal lineHeight = 15.28;
// Ten characters fit, eleven do not.
const QRectF area(10, 20, 10 * charWidth + 0.5, 100);

TextBlockLayout monoLayout()
{
    return TextBlockLayout(CertificateFonts::font({QStringLiteral("Liberation Mono")}, 10), lineHeight);
}

} // namespace

class TestTextBlockLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void layOut_data();
    void layOut();
};

void TestTextBlockLayout::initTestCase()
{
    const qreal measured = monoLayout().advance(QStringLiteral("0123456789"));
    QVERIFY2(qAbs(measured - 10 * charWidth) < 0.1, qPrintable(QString::number(measured)));
}

void TestTextBlockLayout::layOut_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<H>("horizontal");
    QTest::addColumn<V>("vertical");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<qreal>("firstLeft");    // from the area's left edge
    QTest::addColumn<qreal>("firstSpacing"); // added to each space of the first line
    QTest::addColumn<qreal>("firstTop");     // from the area's top edge

    const qreal free1 = area.width() - 8 * charWidth; // free width of an 8-character line
    QTest::newRow("fits whole with its spaces")
        << " ab  " << H::Left << V::Top << QStringList{" ab  "} << 0.0 << 0.0 << 0.0;
    QTest::newRow("breaks before the last space that fits")
        << "aaa bbb ccc ddd" << H::Left << V::Top << QStringList{"aaa bbb", "ccc ddd"} << 0.0 << 0.0 << 0.0;
    QTest::newRow("only the breaking space is dropped")
        << "aaaaaa  bbbbbbb" << H::Left << V::Top << QStringList{"aaaaaa ", "bbbbbbb"} << 0.0 << 0.0 << 0.0;
    QTest::newRow("a full line keeps inner double spaces")
        << "aaaa  bbbb cc" << H::Left << V::Top << QStringList{"aaaa  bbbb", "cc"} << 0.0 << 0.0 << 0.0;
    QTest::newRow("word without spaces cut at the overflowing character")
        << "abcdefghijklmnop" << H::Left << V::Top << QStringList{"abcdefghij", "klmnop"} << 0.0 << 0.0 << 0.0;
    QTest::newRow("long word after a short one")
        << "ab abcdefghijklmn" << H::Left << V::Top << QStringList{"ab", "abcdefghij", "klmn"} << 0.0 << 0.0 << 0.0;
    QTest::newRow("every text line is a paragraph, empty ones too")
        << "a\n\nb" << H::Left << V::Top << QStringList{"a", "", "b"} << 0.0 << 0.0 << 0.0;
    QTest::newRow("right counts a trailing space")
        << "ab " << H::Right << V::Top << QStringList{"ab "} << area.width() - 3 * charWidth << 0.0 << 0.0;
    QTest::newRow("centre splits the free width")
        << "abcd" << H::Centre << V::Top << QStringList{"abcd"} << (area.width() - 4 * charWidth) / 2 << 0.0 << 0.0;
    QTest::newRow("justified spreads a non-last line over its spaces")
        << "aa bb cc dd ee" << H::Justified << V::Top << QStringList{"aa bb cc", "dd ee"} << 0.0 << free1 / 2 << 0.0;
    QTest::newRow("justified leaves a one-line paragraph left")
        << "aa bb\ncc dd" << H::Justified << V::Top << QStringList{"aa bb", "cc dd"} << 0.0 << 0.0 << 0.0;
    QTest::newRow("justified line without spaces stays left")
        << "abcdefghijklmnop" << H::Justified << V::Top << QStringList{"abcdefghij", "klmnop"} << 0.0 << 0.0 << 0.0;
    QTest::newRow("vertical centring moves the block by half the free height")
        << "a\nb" << H::Left << V::Centre << QStringList{"a", "b"} << 0.0 << 0.0
        << (area.height() - 2 * lineHeight) / 2;
}

void TestTextBlockLayout::layOut()
{
    QFETCH(QString, text);
    QFETCH(H, horizontal);
    QFETCH(V, vertical);
    QFETCH(QStringList, lines);
    QFETCH(qreal, firstLeft);
    QFETCH(qreal, firstSpacing);
    QFETCH(qreal, firstTop);

    const TextBlockLayout layout = monoLayout();
    const QList<LaidOutLine> laidOut = layout.layOut(text, area, horizontal, vertical);
    QStringList texts;
    for (const LaidOutLine& line : laidOut)
        texts.append(line.text);
    QCOMPARE(texts, lines);

    const LaidOutLine& first = laidOut.first();
    QVERIFY2(qAbs(first.rect.left() - area.left() - firstLeft) < 0.05, qPrintable(QString::number(first.rect.left())));
    QVERIFY2(qAbs(first.wordSpacing - firstSpacing) < 0.05, qPrintable(QString::number(first.wordSpacing)));
    QVERIFY2(qAbs(first.rect.top() - area.top() - firstTop) < 0.001, qPrintable(QString::number(first.rect.top())));
    for (qsizetype i = 0; i < laidOut.size(); ++i) {
        QCOMPARE(laidOut.at(i).rect.height(), lineHeight);
        QVERIFY(qAbs(laidOut.at(i).rect.top() - laidOut.first().rect.top() - lineHeight * i) < 0.001);
    }
    // A justified line, drawn with its word spacing, reaches the right edge exactly.
    if (firstSpacing > 0) {
        const qreal drawnWidth = layout.advance(first.text, first.wordSpacing);
        QVERIFY2(qAbs(drawnWidth - area.width()) < 0.05, qPrintable(QString::number(drawnWidth)));
    }
}

GPL_TEST_MAIN(TestTextBlockLayout)
#include "TestTextBlockLayout.moc"
