#pragma once

#include "PageSource.h"
#include "PdfExportOptions.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

/// Writes the finished PDF file of a set of pages: PDF 1.5, the paper's size, 0.75 point per pixel, the
/// options' document information and viewer preferences, fonts embedded as named subsets, compressed and
/// encrypted as the options say.
namespace PdfWriter {

/// Writes the file at path through a temporary file in the same folder that replaces the old file only when
/// complete: on failure the old file, if any, is as it was. exportTime (local) dates the document.
[[nodiscard]] bool writeFile(const QString& path, const PageSource& pages, const PdfExportOptions& options,
                             const QDateTime& exportTime, QString* error);

/// The same document as bytes, without touching any file.
[[nodiscard]] bool writeBytes(const PageSource& pages, const PdfExportOptions& options, const QDateTime& exportTime,
                              QByteArray* pdf, QString* error);

/// "D:" followed by the local date and time in 14 digits, as the document information carries it.
QString pdfDate(const QDateTime& time);

} // namespace PdfWriter
