#include "PageView.h"

#include <QPainter>
#include <QPalette>

PageView::PageView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PageView"));
    setAutoFillBackground(true);
    QPalette desk = palette();
    desk.setColor(QPalette::Window, QColor(128, 128, 128));
    setPalette(desk);
}

void PageView::setPages(const PageSource& pages)
{
    m_pages = pages;
    m_highlights.clear();
    m_currentHighlight = -1;
    updateGeometry();
    resize(sizeHint());
    update();
}

void PageView::setPageIndex(int pageIndex)
{
    m_pageIndex = pageIndex;
    update();
}

void PageView::setZoom(qreal zoom)
{
    m_zoom = zoom;
    updateGeometry();
    resize(sizeHint());
    update();
}

void PageView::setHighlights(const QList<QRectF>& rects, int current)
{
    m_highlights = rects;
    m_currentHighlight = current;
    update();
}

QSize PageView::sizeHint() const
{
    const QSizeF page = m_pages.pageSizePx * m_zoom;
    return QSize(qCeil(page.width()) + 2 * deskMargin, qCeil(page.height()) + 2 * deskMargin);
}

void PageView::paintEvent(QPaintEvent*)
{
    if (m_pages.pageCount == 0 || m_pageIndex >= m_pages.pageCount)
        return;
    QPainter painter(this);
    const QSizeF page = m_pages.pageSizePx * m_zoom;
    const qreal left = std::max<qreal>(deskMargin, (width() - page.width()) / 2);
    const QRectF paper(QPointF(left, deskMargin), page);
    painter.fillRect(paper.translated(3, 3), QColor(64, 64, 64));
    painter.fillRect(paper, Qt::white);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setClipRect(paper);
    painter.translate(paper.topLeft());
    painter.scale(m_zoom, m_zoom);
    m_pages.paintPage(painter, m_pageIndex);
    for (int i = 0; i < m_highlights.size(); ++i) {
        const QColor colour = i == m_currentHighlight ? QColor(255, 140, 0, 140) : QColor(255, 255, 0, 110);
        painter.fillRect(m_highlights.at(i), colour);
    }
    painter.restore();
}
