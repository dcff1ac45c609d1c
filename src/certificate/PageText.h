#pragma once

#include "PageSource.h"

#include <QList>
#include <QRectF>
#include <QString>

/// The text a page draws, as the painter hands it over: one run per piece of text drawn in one font and
/// one direction, with the rectangle it covers in page pixels. Serves the preview's find.
namespace PageText {

struct Run
{
    QString text;
    QRectF rect;
    bool rightToLeft = false;
    /// Left edge (page pixels) of each character's start, for left-to-right runs; empty otherwise.
    QList<qreal> characterStarts;
};

QList<Run> collect(const PageSource& pages, int pageIndex);

/// Rectangles of every case-insensitive occurrence of needle in the runs; an occurrence inside a
/// right-to-left run marks the whole run.
QList<QRectF> find(const QList<Run>& runs, const QString& needle);

} // namespace PageText
