#include "Certificate.h"

#include "CertificateFonts.h"
#include "CertificateTemplate.h"
#include "CertificateText.h"
#include "TextBlockLayout.h"
#include "store/RecordStore.h"

#include <QHash>
#include <QMarginsF>
#include <QPageSize>
#include <QPainter>

namespace Certificate {

namespace {

using CertificateTemplate::PageObject;

// Narrower than this the Arabic letters would no longer read as the same face.
constexpr int narrowestStretch = 50;

/// The box less the inner gaps, and less the frame where it has sides.
QRectF textArea(const PageObject& object)
{
    QRectF area = object.box.adjusted(2, 1, -2, -1);
    if (object.frameSides != Qt::Edges()) {
        const qreal w = object.frameWidth;
        area.adjust(object.frameSides.testFlag(Qt::LeftEdge) ? w : 0, object.frameSides.testFlag(Qt::TopEdge) ? w : 0,
                    object.frameSides.testFlag(Qt::RightEdge) ? -w : 0,
                    object.frameSides.testFlag(Qt::BottomEdge) ? -w : 0);
    }
    return area;
}

TextBlockLayout layoutFor(const PageObject& object, int stretch)
{
    return TextBlockLayout(CertificateFonts::font(object.font), CertificateFonts::lineHeight(object.font.pointSize),
                           stretch);
}

bool everyParagraphFits(const PageObject& object, int stretch)
{
    const TextBlockLayout layout = layoutFor(object, stretch);
    const qreal width = textArea(object).width();
    for (const QString& paragraph : object.text.split(QLatin1Char('\n'))) {
        if (layout.breakParagraph(paragraph, width).size() > 1)
            return false;
    }
    return true;
}

int computeStretch(const PageObject& object)
{
    if (!object.isStatic() || TextBlockLayout::arabicRuns(object.text).isEmpty() || everyParagraphFits(object, 100))
        return 100;
    // The widest stretch at which every line fits; widths shrink steadily with the stretch.
    int fits = narrowestStretch;
    int overflows = 100;
    while (overflows - fits > 1) {
        const int middle = (fits + overflows) / 2;
        if (everyParagraphFits(object, middle))
            fits = middle;
        else
            overflows = middle;
    }
    return fits;
}

/// How far a fixed text moves down (up when negative) so that its letters stay inside the box: the Arabic
/// face reaches further below the baseline than the boxes were drawn for. Zero when the text already fits.
qreal computeInkShift(int pageIndex, const PageObject& object)
{
    if (!object.isStatic())
        return 0;
    const TextBlockLayout layout = layoutFor(object, arabicStretch(pageIndex, object.name));
    QRectF ink;
    for (const LaidOutLine& line : layout.layOut(object.text, textArea(object), object.horizontal, object.vertical)) {
        if (line.baseline <= object.box.bottom())
            ink |= layout.inkBounds(line);
    }
    if (ink.isEmpty())
        return 0;
    const QRectF& box = object.box;
    if (ink.bottom() > box.bottom())
        return qMax(box.bottom() - ink.bottom(), qMin(0.0, box.top() - ink.top()));
    if (ink.top() < box.top())
        return qMin(box.top() - ink.top(), qMax(0.0, box.bottom() - ink.bottom()));
    return 0;
}

/// As much of wanted (a vertical move) as keeps the letters of the lines that show inside the box.
qreal rowShift(const PageObject& object, const TextBlockLayout& layout, const QList<LaidOutLine>& lines, qreal wanted)
{
    QRectF ink;
    for (const LaidOutLine& line : lines) {
        if (line.baseline <= object.box.bottom())
            ink |= layout.inkBounds(line);
    }
    if (ink.isEmpty())
        return 0;
    if (wanted < 0)
        return qMax(wanted, qMin(0.0, object.box.top() - ink.top()));
    return qMin(wanted, qMax(0.0, object.box.bottom() - ink.bottom()));
}

qreal inkShift(int pageIndex, const PageObject& object)
{
    static QHash<QString, qreal> cache;
    const QString key = QString::number(pageIndex) + QLatin1Char('/') + object.name;
    const auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return *found;
    const qreal shift = computeInkShift(pageIndex, object);
    cache.insert(key, shift);
    return shift;
}

void paintObject(QPainter& painter, int pageIndex, const PageObject& object, const CertificateRecord& record)
{
    if (object.kind == PageObject::Kind::Line) {
        painter.setPen(QPen(Qt::black, 1.0));
        painter.drawLine(object.box.topLeft(), object.box.bottomRight());
        return;
    }
    painter.save();
    painter.setClipRect(object.box, Qt::IntersectClip);
    if (object.frameSides != Qt::Edges()) {
        QPen framePen(Qt::black, object.frameWidth);
        painter.setPen(framePen);
        const QRectF box = object.box;
        if (object.frameSides.testFlag(Qt::LeftEdge))
            painter.drawLine(box.topLeft(), box.bottomLeft());
        if (object.frameSides.testFlag(Qt::TopEdge))
            painter.drawLine(box.topLeft(), box.topRight());
        if (object.frameSides.testFlag(Qt::RightEdge))
            painter.drawLine(box.topRight(), box.bottomRight());
        if (object.frameSides.testFlag(Qt::BottomEdge))
            painter.drawLine(box.bottomLeft(), box.bottomRight());
    }
    painter.setPen(object.colour);
    const PlacedText placed = placeText(pageIndex, object, record);
    for (const LaidOutLine& line : placed.lines) {
        // Lines wholly below the box would be cut away; leaving them out keeps invisible text out of PDFs.
        if (line.rect.top() < object.box.bottom())
            placed.layout.draw(painter, line);
    }
    painter.restore();
}

} // namespace

QPageLayout pageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
}

QSizeF pageSizePx()
{
    return QSizeF(210.0 * CertificateTemplate::pixelsPerMillimetre, 297.0 * CertificateTemplate::pixelsPerMillimetre);
}

bool openRecord(RecordStore& store, const QString& number, CertificateRecord* record, DbError* error)
{
    record->reset();
    QList<AttestationRecord> rows;
    if (!store.selectByNumber(number, &rows, error))
        return false;
    if (!rows.isEmpty())
        *record = rows.first();
    return true;
}

PlacedText placeText(int pageIndex, const CertificateTemplate::PageObject& object, const CertificateRecord& record)
{
    TextBlockLayout layout = layoutFor(object, arabicStretch(pageIndex, object.name));
    const QRectF area = textArea(object).translated(0, inkShift(pageIndex, object));
    QList<LaidOutLine> lines =
        layout.layOut(CertificateText::objectText(object, record), area, object.horizontal, object.vertical);
    const PageObject* label =
        object.rowLabel.isEmpty() ? nullptr : CertificateTemplate::findObject(pageIndex, object.rowLabel);
    if (label && !lines.isEmpty()) {
        const PlacedText labelText = placeText(pageIndex, *label, record);
        const qreal shift = rowShift(object, layout, lines, labelText.lines.first().baseline - lines.first().baseline);
        for (LaidOutLine& line : lines) {
            line.rect.translate(0, shift);
            line.baseline += shift;
        }
    }
    return {std::move(layout), std::move(lines)};
}

int arabicStretch(int pageIndex, const QString& objectName)
{
    static QHash<QString, int> cache;
    const QString key = QString::number(pageIndex) + QLatin1Char('/') + objectName;
    const auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return *found;
    const PageObject* object = CertificateTemplate::findObject(pageIndex, objectName);
    const int stretch = object ? computeStretch(*object) : 100;
    cache.insert(key, stretch);
    return stretch;
}

void paintPage(QPainter& painter, int pageIndex, const CertificateRecord& record)
{
    painter.save();
    painter.translate(CertificateTemplate::marginPx, CertificateTemplate::marginPx);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const PageObject& object : CertificateTemplate::pageObjects(pageIndex))
        paintObject(painter, pageIndex, object, record);
    painter.restore();
}

QList<TextLine> textLines(int pageIndex, const CertificateRecord& record)
{
    QList<TextLine> result;
    for (const PageObject& object : CertificateTemplate::pageObjects(pageIndex)) {
        if (object.kind != PageObject::Kind::Text)
            continue;
        const PlacedText placed = placeText(pageIndex, object, record);
        for (const LaidOutLine& line : placed.lines) {
            // A line whose baseline falls below the box shows at most the tips of its letters.
            const QRectF visible = line.rect.intersected(object.box);
            if (line.text.trimmed().isEmpty() || visible.isEmpty() || line.baseline > object.box.bottom())
                continue;
            result.append({object.name, line.text,
                           visible.translated(CertificateTemplate::marginPx, CertificateTemplate::marginPx)});
        }
    }
    return result;
}

} // namespace Certificate
