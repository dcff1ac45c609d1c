#include "Glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace {

QIcon draw(const std::function<void(QPainter&)>& paint)
{
    QIcon icon;
    for (int size : {20, 24}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 24.0, size / 24.0); // every glyph is drawn on a 24-unit square
        paint(painter);
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

namespace Glyphs {

QIcon floppy()
{
    return draw([](QPainter& p) {
        p.setPen(QPen(QColor(20, 40, 90), 1.2));
        p.setBrush(QColor(40, 80, 170));
        p.drawRoundedRect(QRectF(2.5, 2.5, 19, 19), 1.5, 1.5);
        p.setBrush(QColor(235, 235, 235));
        p.drawRect(QRectF(6, 3, 12, 7));
        p.setBrush(QColor(60, 60, 60));
        p.drawRect(QRectF(14, 4, 2.5, 5));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5.5, 13, 13, 8));
    });
}

QIcon printer()
{
    return draw([](QPainter& p) {
        p.setPen(QPen(QColor(50, 50, 50), 1.2));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 2.5, 11, 7));
        p.setBrush(QColor(120, 120, 130));
        p.drawRoundedRect(QRectF(2.5, 8.5, 19, 9), 1.5, 1.5);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 14.5, 11, 7));
        p.drawLine(QPointF(8.5, 17), QPointF(15.5, 17));
        p.drawLine(QPointF(8.5, 19.5), QPointF(15.5, 19.5));
        p.setBrush(QColor(80, 200, 80));
        p.drawEllipse(QPointF(18.5, 11), 1, 1);
    });
}

QIcon magnifier()
{
    return draw([](QPainter& p) {
        p.setPen(QPen(QColor(60, 60, 60), 2.2));
        p.setBrush(QColor(200, 230, 255));
        p.drawEllipse(QPointF(10, 10), 6.5, 6.5);
        p.setPen(QPen(QColor(90, 60, 30), 3.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(15, 15), QPointF(21, 21));
    });
}

QIcon pencil()
{
    return draw([](QPainter& p) {
        p.setPen(QPen(QColor(60, 40, 20), 1.0));
        QPainterPath body;
        body.moveTo(17, 3);
        body.lineTo(21, 7);
        body.lineTo(8, 20);
        body.lineTo(4, 16);
        body.closeSubpath();
        p.setBrush(QColor(250, 200, 40));
        p.drawPath(body);
        QPainterPath tip;
        tip.moveTo(4, 16);
        tip.lineTo(8, 20);
        tip.lineTo(2.5, 21.5);
        tip.closeSubpath();
        p.setBrush(QColor(240, 220, 180));
        p.drawPath(tip);
        p.setBrush(QColor(230, 110, 120));
        p.drawPolygon(QPolygonF({QPointF(17, 3), QPointF(21, 7), QPointF(19.5, 8.5), QPointF(15.5, 4.5)}));
    });
}

} // namespace Glyphs
