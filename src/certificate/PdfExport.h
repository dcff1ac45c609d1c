#pragma once

#include "PageSource.h"

#include <QString>

class QWidget;

/// The operator's PDF export: the "Export to PDF" options, then a save dialog proposing the name chosen
/// last in this run ("mes.pdf" in the working directory at first), then the file. An existing file is
/// replaced without a further question; a failure is shown in the error box.
namespace PdfExport {

/// True only when the file was written; false when cancelled or failed.
bool run(QWidget* parent, const PageSource& pages);

QString proposedPath();
/// Back to the first proposal, as at the start of a run.
void resetProposedPath();

inline constexpr const char* fileFilter = "Adobe PDF file (*.pdf)";

} // namespace PdfExport
