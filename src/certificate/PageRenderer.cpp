#include "PageRenderer.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace PageRenderer {

bool preparePageLayout(const PageSource& pages, QPagedPaintDevice& device)
{
    const QSizeF paperMm = pages.pageSizePx * 25.4 / 96.0;
    const QPageSize pageSize(paperMm, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
    // The pages carry their own margins, so the device paints the whole sheet from its corner.
    if (auto* printer = dynamic_cast<QPrinter*>(&device)) {
        const bool ok = printer->setPageLayout(
            QPageLayout(pageSize, QPageLayout::Portrait, QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        // After the layout: setting a layout with margins turns full-page mode off again.
        printer->setFullPage(true);
        return ok && printer->fullPage();
    }
    QPageLayout sheet(pageSize, QPageLayout::Portrait, QMarginsF());
    sheet.setMinimumMargins(QMarginsF());
    return device.setPageLayout(sheet);
}

bool renderPages(const PageSource& pages, QPagedPaintDevice& device, int firstPage, int lastPage, QString* error)
{
    firstPage = std::max(firstPage, 0);
    lastPage = std::min(lastPage, pages.pageCount - 1);
    if (firstPage > lastPage) {
        *error = QCoreApplication::translate("PageRenderer", "There is no page to print");
        return false;
    }
    if (!preparePageLayout(pages, device)) {
        *error = QCoreApplication::translate("PageRenderer", "The device does not take A4 pages");
        return false;
    }
    QPainter painter;
    if (!painter.begin(&device)) {
        *error = QCoreApplication::translate("PageRenderer", "The output device could not be opened");
        return false;
    }
    const qreal scale = device.logicalDpiX() / 96.0;
    for (int page = firstPage; page <= lastPage; ++page) {
        if (page > firstPage && !device.newPage()) {
            painter.end();
            *error = QCoreApplication::translate("PageRenderer", "The output device refused a new page");
            return false;
        }
        painter.save();
        painter.scale(scale, scale);
        pages.paintPage(painter, page);
        painter.restore();
    }
    if (!painter.end()) {
        *error = QCoreApplication::translate("PageRenderer", "The output could not be completed");
        return false;
    }
    return true;
}

} // namespace PageRenderer
