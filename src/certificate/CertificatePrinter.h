#pragma once

#include "PageSource.h"

class QWidget;

/// Prints pages on the system's default printer after the "Print" dialog: 1 copy, collated, all pages,
/// at their true size. Without any printer the operator is told so and nothing is printed.
namespace CertificatePrinter {

inline constexpr const char* noPrinterMessage = "No printers installed on your system";

/// True only when the pages were sent to the printer; failures are shown in the error box.
bool print(QWidget* parent, const PageSource& pages);

} // namespace CertificatePrinter
