#pragma once

#include "CertificateTemplate.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QRectF>
#include <QStringList>

class QPainter;
class QTextLayout;

/// One line of a laid-out text, in the coordinates of the area it was laid out in.
struct LaidOutLine
{
    QString text;
    /// From the line's start to the end of its advance (trailing spaces included), one line height tall.
    QRectF rect;
    qreal baseline = 0;
    /// Added to every space of a justified line.
    qreal wordSpacing = 0;
};

/// Breaks and places text inside a box with one font: one paragraph per text line, breaks before the last
/// space that still fits (that space dropped), words without spaces cut at the character that overflows,
/// fixed line height, left/right/centre/justified lines with the base direction left to right.
/// Measures on the 96-per-inch layout device only, so every device that draws the result breaks alike.
class TextBlockLayout
{
public:
    /// font: sized for the layout device. Arabic runs are narrowed to arabicStretch percent of their width.
    TextBlockLayout(const QFont& font, qreal lineHeight, int arabicStretch = 100);

    /// The advance of one line, its spaces included.
    qreal advance(const QString& line, qreal wordSpacing = 0) const;
    /// The lines of one paragraph broken to fit width.
    QStringList breakParagraph(const QString& paragraph, qreal width) const;
    QList<LaidOutLine> layOut(const QString& text, const QRectF& area,
                              CertificateTemplate::HorizontalAlignment horizontal,
                              CertificateTemplate::VerticalAlignment vertical) const;
    /// The bounds of the glyphs' outlines of a laid-out line, where draw puts them; empty for blank lines.
    QRectF inkBounds(const LaidOutLine& line) const;
    /// Draws a line laid out by layOut; the painter's unit is the layout device's pixel.
    void draw(QPainter& painter, const LaidOutLine& line) const;

    /// The spans (start, length) of the Arabic runs: from an Arabic letter to the last Arabic letter before
    /// the next Latin letter. Spaces, punctuation and digits between Arabic letters belong to the run.
    static QList<std::pair<qsizetype, qsizetype>> arabicRuns(const QString& text);

private:
    void prepare(QTextLayout& layout, qreal wordSpacing) const;

    QFont m_font;
    qreal m_lineHeight;
    int m_arabicStretch;
    qreal m_ascent;
};
