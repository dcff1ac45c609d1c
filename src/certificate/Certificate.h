#pragma once

#include "store/AttestationRecord.h"
#include "store/DbError.h"

#include <QPageLayout>
#include <QSizeF>
#include <optional>

class QPainter;
class RecordStore;

/// The record a certificate prints: the first row found for its number, or none.
using CertificateRecord = std::optional<AttestationRecord>;

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

} // namespace Certificate
