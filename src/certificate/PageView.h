#pragma once

#include "PageSource.h"

#include <QList>
#include <QRectF>
#include <QWidget>

/// One page of a document on a grey desk, at a zoom where 1.0 shows one 96-dpi pixel per screen pixel,
/// with find matches marked on it.
class PageView : public QWidget
{
    Q_OBJECT
public:
    explicit PageView(QWidget* parent = nullptr);

    void setPages(const PageSource& pages);
    void setPageIndex(int pageIndex);
    int pageIndex() const { return m_pageIndex; }
    void setZoom(qreal zoom);
    qreal zoom() const { return m_zoom; }
    /// Matches on the shown page in page pixels; current is the one drawn stronger (-1 for none).
    void setHighlights(const QList<QRectF>& rects, int current);
    const QList<QRectF>& highlights() const { return m_highlights; }

    /// Room around the page, in screen pixels.
    static constexpr int deskMargin = 10;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PageSource m_pages;
    int m_pageIndex = 0;
    qreal m_zoom = 1.0;
    QList<QRectF> m_highlights;
    int m_currentHighlight = -1;
};
