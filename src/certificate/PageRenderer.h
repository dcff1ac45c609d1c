#pragma once

#include "PageSource.h"

#include <QString>

class QPagedPaintDevice;

/// Puts pages on a printer or PDF writer at their true size: one page of the paper's size per page, no
/// margins of the device's own, one 96-dpi pixel drawn as 1/96 inch.
namespace PageRenderer {

/// Sets the device's page layout to the pages' paper, full page; false when the device refuses it.
[[nodiscard]] bool preparePageLayout(const PageSource& pages, QPagedPaintDevice& device);

/// Draws pages firstPage..lastPage (0-based, inclusive; clamped to the pages there are) on the device.
/// Fails with a message when the device cannot be opened or refuses a new page.
[[nodiscard]] bool renderPages(const PageSource& pages, QPagedPaintDevice& device, int firstPage, int lastPage,
                               QString* error);

} // namespace PageRenderer
