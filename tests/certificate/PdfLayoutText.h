#pragma once

#include <QList>
#include <QRectF>
#include <QSizeF>
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
    QSizeF size;
    QList<Line> lines;
};

/// The text of one page (1-based) as pdftotext -layout reads it: Arabic words come back whole there, while
/// the word boxes of -bbox-layout hold Arabic letter by letter.
[[nodiscard]] bool readPlain(const QString& pdfPath, int pageNumber, QString* text, QString* error);

/// Runs pdftotext -bbox-layout on the file. False with a reason when it cannot be run or read.
[[nodiscard]] bool read(const QString& pdfPath, QList<Page>* pages, QString* error);

} // namespace PdfLayoutText
