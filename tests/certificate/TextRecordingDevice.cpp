#include "TextRecordingDevice.h"

#include <QPaintEngine>
#include <QTransform>
#include <climits>

class TextRecordingEngine : public QPaintEngine
{
public:
    TextRecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }
    void updateState(const QPaintEngineState& newState) override
    {
        if (newState.state() & QPaintEngine::DirtyTransform)
            m_transform = newState.transform();
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawPolygon(const QPoint*, int, PolygonDrawMode) override {}
    void drawPath(const QPainterPath&) override {}
    void drawLines(const QLineF*, int) override {}
    void drawRects(const QRectF*, int) override {}
    void drawTextItem(const QPointF& position, const QTextItem& item) override
    {
        m_runs.append({item.text(), m_transform.map(position), item.width() * m_transform.m11()});
    }

    QList<TextRecordingDevice::Run> m_runs;

private:
    QTransform m_transform;
};

TextRecordingDevice::TextRecordingDevice(int dotsPerInch)
    : m_dotsPerInch(dotsPerInch), m_engine(std::make_unique<TextRecordingEngine>())
{
}

TextRecordingDevice::~TextRecordingDevice() = default;

QPaintEngine* TextRecordingDevice::paintEngine() const
{
    return m_engine.get();
}

const QList<TextRecordingDevice::Run>& TextRecordingDevice::runs() const
{
    return m_engine->m_runs;
}

int TextRecordingDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth:
        return qRound(210.0 / 25.4 * m_dotsPerInch);
    case PdmHeight:
        return qRound(297.0 / 25.4 * m_dotsPerInch);
    case PdmWidthMM:
        return 210;
    case PdmHeightMM:
        return 297;
    case PdmNumColors:
        return INT_MAX;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return m_dotsPerInch;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return static_cast<int>(devicePixelRatioFScale());
    }
    return 0;
}
