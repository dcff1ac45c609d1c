#include "PdfLayoutText.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QXmlStreamReader>

namespace PdfLayoutText {

namespace {

constexpr qreal pixelsPerPoint = 96.0 / 72.0;

QRectF boxOf(const QXmlStreamAttributes& attributes)
{
    const auto value = [&](const char* name) { return attributes.value(QLatin1String(name)).toDouble(); };
    return QRectF(QPointF(value("xMin"), value("yMin")) * pixelsPerPoint,
                  QPointF(value("xMax"), value("yMax")) * pixelsPerPoint);
}

} // namespace

QString Line::text() const
{
    QStringList texts;
    for (const Word& word : words)
        texts.append(word.text);
    return texts.join(QLatin1Char(' '));
}

namespace {

bool runPdfToText(const QStringList& arguments, QByteArray* output, QString* error)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (program.isEmpty()) {
        *error = QStringLiteral("pdftotext (poppler-utils) is not installed");
        return false;
    }
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        *error = QStringLiteral("pdftotext failed: ") + QString::fromLocal8Bit(process.readAllStandardError());
        return false;
    }
    *output = process.readAllStandardOutput();
    return true;
}

} // namespace

bool readPlain(const QString& pdfPath, int pageNumber, QString* text, QString* error)
{
    QByteArray output;
    const QString page = QString::number(pageNumber);
    if (!runPdfToText({QStringLiteral("-layout"), QStringLiteral("-f"), page, QStringLiteral("-l"), page, pdfPath,
                       QStringLiteral("-")},
                      &output, error))
        return false;
    *text = QString::fromUtf8(output);
    return true;
}

bool read(const QString& pdfPath, QList<Page>* pages, QString* error)
{
    QByteArray output;
    if (!runPdfToText({QStringLiteral("-bbox-layout"), pdfPath, QStringLiteral("-")}, &output, error))
        return false;
    pages->clear();
    QXmlStreamReader xml(output);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("page")) {
            const QXmlStreamAttributes attributes = xml.attributes();
            pages->append(Page{QSizeF(attributes.value(QLatin1String("width")).toDouble(),
                                      attributes.value(QLatin1String("height")).toDouble()) *
                                   pixelsPerPoint,
                               {}});
        } else if (xml.name() == QLatin1String("line") && !pages->isEmpty()) {
            pages->last().lines.append(Line{{}, boxOf(xml.attributes())});
        } else if (xml.name() == QLatin1String("word") && !pages->isEmpty() && !pages->last().lines.isEmpty()) {
            const QRectF box = boxOf(xml.attributes());
            pages->last().lines.last().words.append({xml.readElementText(), box});
        }
    }
    if (xml.hasError()) {
        *error = QStringLiteral("unreadable pdftotext output: ") + xml.errorString();
        return false;
    }
    return true;
}

} // namespace PdfLayoutText
