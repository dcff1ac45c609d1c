#pragma once

#include <QList>
#include <QRectF>
#include <QString>

/// The words of a PDF as poppler's pdftotext lays them out, with their boxes converted to pixels at 96 per
/// inch from the page's top-left corner: what a reader of the file extracts, and where.
namespace PdfLayoutText {

struct Word
{
    QString text;
    QRectF box;
};

struct Line
{
    QList<Word> words;
    QRectF box;
    /// The words joined by single spaces.
    QString text() const;
};

struct Page
{
    QList<Line> lines;
};

/// Runs pdftotext -bbox-layout on the file. False with a reason when it cannot be run or read.
[[nodiscard]] bool read(const QString& pdfPath, QList<Page>* pages, QString* error);

} // namespace PdfLayoutText
