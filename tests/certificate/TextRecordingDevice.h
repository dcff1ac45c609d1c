#pragma once

#include <QList>
#include <QPaintDevice>
#include <QPointF>
#include <QString>
#include <memory>

class TextRecordingEngine;

/// A sheet of A4 paper at a chosen resolution that keeps, instead of pixels, every text run painted on it:
/// its characters, where its baseline starts and how wide it is, in device pixels.
class TextRecordingDevice : public QPaintDevice
{
public:
    struct Run
    {
        QString text;
        QPointF origin;
        qreal width = 0;
    };

    explicit TextRecordingDevice(int dotsPerInch);
    ~TextRecordingDevice() override;

    QPaintEngine* paintEngine() const override;
    const QList<Run>& runs() const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    int m_dotsPerInch;
    std::unique_ptr<TextRecordingEngine> m_engine;
};
