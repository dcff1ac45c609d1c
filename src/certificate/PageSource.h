#pragma once

#include <QSizeF>

#include <functional>

class QPainter;

/// Pages to draw on any device: the painter unit is one pixel at 96 per inch, the origin the paper's
/// top-left corner.
struct PageSource
{
    int pageCount = 0;
    QSizeF pageSizePx;
    std::function<void(QPainter&, int pageIndex)> paintPage;
};
