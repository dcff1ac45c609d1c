#include "Certificate.h"

#include "store/RecordStore.h"

#include <QMarginsF>
#include <QPageSize>
#include <QPainter>

namespace Certificate {

QPageLayout pageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
}

QSizeF pageSizePx()
{
    return QSizeF(210.0 / 25.4 * 96.0, 297.0 / 25.4 * 96.0);
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

void paintPage(QPainter& painter, int pageIndex, const CertificateRecord& record)
{
    // Placeholder until the page templates are drawn: the page number and the record's number.
    painter.drawText(QRectF(QPointF(0, 0), pageSizePx()), Qt::AlignCenter,
                     QStringLiteral("%1 %2").arg(pageIndex + 1).arg(record ? record->cincere : QString()));
}

} // namespace Certificate
