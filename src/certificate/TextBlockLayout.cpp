#include "TextBlockLayout.h"

#include "CertificateFonts.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <QTextBoundaryFinder>
#include <QTextLayout>

namespace {

// Widths are compared with a small tolerance so that a text measured exactly at the box's width fits.
constexpr qreal fitTolerance = 0.001;

bool isArabicLetter(QChar c)
{
    return c.script() == QChar::Script_Arabic && c.isLetterOrNumber();
}

bool isStrongLatinOrDigit(QChar c)
{
    return c.isLetterOrNumber() && c.script() != QChar::Script_Arabic;
}

} // namespace

TextBlockLayout::TextBlockLayout(const QFont& font, qreal lineHeight, int arabicStretch)
    : m_font(font), m_lineHeight(lineHeight), m_arabicStretch(arabicStretch),
      m_ascent(QFontMetricsF(font, CertificateFonts::layoutDevice()).ascent())
{
}

QList<std::pair<qsizetype, qsizetype>> TextBlockLayout::arabicRuns(const QString& text)
{
    QList<std::pair<qsizetype, qsizetype>> runs;
    qsizetype start = -1;
    qsizetype lastArabic = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (isArabicLetter(c)) {
            if (start < 0)
                start = i;
            lastArabic = i;
        } else if (isStrongLatinOrDigit(c) && start >= 0 && !c.isDigit()) {
            runs.append({start, lastArabic + 1 - start});
            start = -1;
        }
    }
    if (start >= 0)
        runs.append({start, lastArabic + 1 - start});
    return runs;
}

void TextBlockLayout::prepare(QTextLayout& layout, qreal wordSpacing) const
{
    QFont font = m_font;
    font.setWordSpacing(wordSpacing);
    layout.setFont(font);
    QTextOption option;
    option.setTextDirection(Qt::LeftToRight);
    option.setUseDesignMetrics(true);
    option.setWrapMode(QTextOption::NoWrap);
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    layout.setTextOption(option);
    if (m_arabicStretch != 100) {
        QList<QTextLayout::FormatRange> formats;
        for (const auto& [start, length] : arabicRuns(layout.text())) {
            QTextLayout::FormatRange range;
            range.start = static_cast<int>(start);
            range.length = static_cast<int>(length);
            range.format.setFontStretch(m_arabicStretch);
            formats.append(range);
        }
        layout.setFormats(formats);
    }
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(1e6);
    line.setPosition(QPointF(0, 0));
    layout.endLayout();
}

qreal TextBlockLayout::advance(const QString& line, qreal wordSpacing) const
{
    if (line.isEmpty())
        return 0;
    QTextLayout layout(line, m_font, CertificateFonts::layoutDevice());
    prepare(layout, wordSpacing);
    return layout.lineAt(0).naturalTextWidth();
}

QStringList TextBlockLayout::breakParagraph(const QString& paragraph, qreal width) const
{
    QStringList lines;
    QString rest = paragraph;
    while (advance(rest) > width + fitTolerance) {
        // Break before the last space whose text before it still fits; the space itself is dropped.
        qsizetype breakAt = -1;
        for (qsizetype i = rest.indexOf(QLatin1Char(' '), 1); i > 0; i = rest.indexOf(QLatin1Char(' '), i + 1)) {
            if (advance(rest.left(i)) > width + fitTolerance)
                break;
            breakAt = i;
        }
        if (breakAt > 0) {
            lines.append(rest.left(breakAt));
            rest = rest.mid(breakAt + 1);
            continue;
        }
        // No space to break at: cut the word before the character that overflows, keeping at least one.
        QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, rest);
        qsizetype cut = graphemes.toNextBoundary();
        for (qsizetype next = graphemes.toNextBoundary(); next > 0 && next < rest.size();
             next = graphemes.toNextBoundary()) {
            if (advance(rest.left(next)) > width + fitTolerance)
                break;
            cut = next;
        }
        lines.append(rest.left(cut));
        rest = rest.mid(cut);
    }
    lines.append(rest);
    return lines;
}

QList<LaidOutLine> TextBlockLayout::layOut(const QString& text, const QRectF& area,
                                           CertificateTemplate::HorizontalAlignment horizontal,
                                           CertificateTemplate::VerticalAlignment vertical) const
{
    using H = CertificateTemplate::HorizontalAlignment;
    struct Broken
    {
        QString text;
        bool lastOfParagraph;
    };
    QList<Broken> broken;
    QString normalised = text;
    normalised.remove(QLatin1Char('\r'));
    for (const QString& paragraph : normalised.split(QLatin1Char('\n'))) {
        const QStringList pieces = breakParagraph(paragraph, area.width());
        for (qsizetype i = 0; i < pieces.size(); ++i)
            broken.append({pieces.at(i), i == pieces.size() - 1});
    }

    const qreal blockHeight = m_lineHeight * static_cast<qreal>(broken.size());
    const qreal top = vertical == CertificateTemplate::VerticalAlignment::Centre
                          ? area.top() + (area.height() - blockHeight) / 2
                          : area.top();
    QList<LaidOutLine> lines;
    lines.reserve(broken.size());
    for (qsizetype i = 0; i < broken.size(); ++i) {
        LaidOutLine line;
        line.text = broken.at(i).text;
        qreal width = advance(line.text);
        qreal x = area.left();
        switch (horizontal) {
        case H::Left:
            break;
        case H::Right:
            x = area.right() - width;
            break;
        case H::Centre:
            x = area.left() + (area.width() - width) / 2;
            break;
        case H::Justified:
            if (!broken.at(i).lastOfParagraph) {
                const qsizetype spaceCount = line.text.count(QLatin1Char(' '));
                if (spaceCount > 0) {
                    line.wordSpacing = (area.width() - width) / static_cast<qreal>(spaceCount);
                    width = area.width();
                }
            }
            break;
        }
        const qreal lineTop = top + m_lineHeight * static_cast<qreal>(i);
        line.rect = QRectF(x, lineTop, width, m_lineHeight);
        line.baseline = lineTop + m_ascent;
        lines.append(line);
    }
    return lines;
}

void TextBlockLayout::draw(QPainter& painter, const LaidOutLine& line) const
{
    if (line.text.isEmpty())
        return;
    QTextLayout layout(line.text, m_font, CertificateFonts::layoutDevice());
    prepare(layout, line.wordSpacing);
    const QTextLine textLine = layout.lineAt(0);
    layout.draw(&painter, QPointF(line.rect.left(), line.baseline - textLine.ascent()));
}

QRectF TextBlockLayout::inkBounds(const LaidOutLine& line) const
{
    QRectF bounds;
    if (line.text.trimmed().isEmpty())
        return bounds;
    QTextLayout layout(line.text, m_font, CertificateFonts::layoutDevice());
    prepare(layout, line.wordSpacing);
    const QPointF offset(line.rect.left(), line.baseline - layout.lineAt(0).ascent());
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QRawFont font = run.rawFont();
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < glyphs.size(); ++i) {
            const QRectF glyph = font.boundingRect(glyphs.at(i)).translated(positions.at(i) + offset);
            if (!glyph.isEmpty())
                bounds |= glyph;
        }
    }
    return bounds;
}
