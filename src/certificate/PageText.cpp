#include "PageText.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QTextItem>

namespace PageText {
namespace {

/// A paint engine that draws nothing and keeps the text items it is given.
class TextRecordingEngine : public QPaintEngine
{
public:
    explicit TextRecordingEngine(QList<Run>* runs) : QPaintEngine(QPaintEngine::AllFeatures), m_runs(runs) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawLines(const QLineF*, int) override {}
    void drawRects(const QRectF*, int) override {}
    void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {}
    Type type() const override { return QPaintEngine::User; }

    void drawTextItem(const QPointF& origin, const QTextItem& item) override
    {
        const QTransform transform = painter()->combinedTransform();
        Run run;
        run.text = item.text();
        run.rightToLeft = item.renderFlags().testFlag(QTextItem::RightToLeft);
        const QRectF local(origin.x(), origin.y() - item.ascent(), item.width(), item.ascent() + item.descent());
        run.rect = transform.mapRect(local);
        if (!run.rightToLeft && transform.isAffine() && !transform.isRotating()) {
            const QFontMetricsF metrics(item.font());
            for (int i = 0; i < run.text.size(); ++i)
                run.characterStarts.append(
                    transform.map(QPointF(origin.x() + metrics.horizontalAdvance(run.text.left(i)), 0)).x());
            run.characterStarts.append(run.rect.right());
        }
        m_runs->append(run);
    }

private:
    QList<Run>* m_runs;
};

/// A page-sized device at 96 dpi whose engine only records text.
class TextRecordingDevice : public QPaintDevice
{
public:
    TextRecordingDevice(QSizeF size, QList<Run>* runs) : m_size(size.toSize()), m_engine(runs) {}
    QPaintEngine* paintEngine() const override { return &m_engine; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return m_size.width();
        case PdmHeight:
            return m_size.height();
        case PdmWidthMM:
            return qRound(m_size.width() * 25.4 / 96.0);
        case PdmHeightMM:
            return qRound(m_size.height() * 25.4 / 96.0);
        case PdmNumColors:
            return 0x7fffffff;
        case PdmDepth:
            return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        }
        return 0;
    }

private:
    QSize m_size;
    mutable TextRecordingEngine m_engine;
};

} // namespace

QList<Run> collect(const PageSource& pages, int pageIndex)
{
    QList<Run> runs;
    if (pageIndex < 0 || pageIndex >= pages.pageCount)
        return runs;
    TextRecordingDevice device(pages.pageSizePx, &runs);
    QPainter painter(&device);
    pages.paintPage(painter, pageIndex);
    painter.end();
    return runs;
}

QList<QRectF> find(const QList<Run>& runs, const QString& needle)
{
    QList<QRectF> found;
    if (needle.isEmpty())
        return found;
    for (const Run& run : runs) {
        qsizetype from = 0;
        while ((from = run.text.indexOf(needle, from, Qt::CaseInsensitive)) >= 0) {
            const qsizetype end = from + needle.size();
            if (run.characterStarts.size() == run.text.size() + 1) {
                QRectF part = run.rect;
                part.setLeft(run.characterStarts.at(from));
                part.setRight(run.characterStarts.at(end));
                found.append(part);
            } else {
                found.append(run.rect);
            }
            from = end;
        }
    }
    return found;
}

} // namespace PageText
