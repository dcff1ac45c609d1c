#pragma once

#include "CertificateRecord.h"
#include "CertificateTemplate.h"
#include "TextBlockLayout.h"
#include "store/DbError.h"

#include <QList>
#include <QPageLayout>
#include <QRectF>
#include <QSizeF>
#include <QString>

class QPainter;
class RecordStore;

/// The two-page certificate: page 0 the installation attestation, page 1 the guarantee.
namespace Certificate {

inline constexpr int pageCount = 2;

/// A4 portrait with 10 mm margins, for every device.
QPageLayout pageLayout();
/// The paper in pixels at 96 per inch.
QSizeF pageSizePx();

/// The record source: runs SelectByNumber and keeps the first row, if any.
[[nodiscard]] bool openRecord(RecordStore& store, const QString& number, CertificateRecord* record, DbError* error);

/// Draws one page. The painter's unit must be one pixel at 96 per inch, with the origin at the paper's
/// top-left corner; the same call serves the screen, the printer and PDF.
void paintPage(QPainter& painter, int pageIndex, const CertificateRecord& record);

/// A line of text as a page shows it, for searching the pages.
struct TextLine
{
    QString objectName;
    QString text;
    /// The visible part of the line, in 96-per-inch pixels from the paper's top-left corner.
    QRectF rect;
};

/// The non-blank text lines of a page whose baseline lies inside their box, laid out by the same code that paints them.
QList<TextLine> textLines(int pageIndex, const CertificateRecord& record);

/// An object's text laid out as paintPage draws it, before the clip at its box; coordinates in 96-per-inch
/// pixels from the printable area's corner.
struct PlacedText
{
    TextBlockLayout layout;
    QList<LaidOutLine> lines;
};
PlacedText placeText(int pageIndex, const CertificateTemplate::PageObject& object, const CertificateRecord& record);

/// The percentage to which an object's Arabic runs are narrowed (100: not at all), the same on every
/// device: just enough for each line of a fixed text to fit its box whole; 100 for texts from the record.
int arabicStretch(int pageIndex, const QString& objectName);

} // namespace Certificate
