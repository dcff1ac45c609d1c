#pragma once

#include "certificate/PageSource.h"

#include <QByteArray>
#include <QFont>
#include <QPainter>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

/// Helpers of the PDF and preview tests: pages with known French and Arabic words, and the PDF tools.
namespace PdfTestTools {

inline const QString frenchWords = QStringLiteral("Attestation d'installation réservoir épreuve");
inline const QString arabicWords = QStringLiteral("شهادة الضمان");

/// Two A4 pages: the French words on the first, the Arabic on the second.
inline PageSource wordPages()
{
    return {2, QSizeF(793.7, 1122.5), [](QPainter& painter, int page) {
                QFont font(QStringLiteral("Liberation Serif"));
                font.setPixelSize(19);
                painter.setFont(font);
                painter.drawText(QRectF(100, 100, 600, 100), Qt::AlignLeft | Qt::AlignTop,
                                 page == 0 ? frenchWords : arabicWords);
            }};
}

struct ToolResult
{
    int exitCode = -1;
    QString output;
};

/// Runs a command-line tool and gives its exit code and its standard output and error together.
inline ToolResult runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return {-1, QStringLiteral("%1 did not finish").arg(program)};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAll())};
}

inline QString pdfText(const QString& path, const QString& password = QString())
{
    QStringList arguments;
    if (!password.isEmpty())
        arguments << QStringLiteral("-upw") << password;
    arguments << QStringLiteral("-enc") << QStringLiteral("UTF-8") << path << QStringLiteral("-");
    return runTool(QStringLiteral("pdftotext"), arguments).output;
}

/// Where a word is on the first page that holds it, in points from the page's top-left corner (empty when
/// the word is not there), as pdftotext -bbox reports it.
inline QRectF wordBox(const QString& path, const QString& word)
{
    const QString html =
        runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")}).output;
    const QRegularExpression pattern(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">%1</word>")
            .arg(QRegularExpression::escape(word)));
    const QRegularExpressionMatch match = pattern.match(html);
    if (!match.hasMatch())
        return QRectF();
    return QRectF(QPointF(match.captured(1).toDouble(), match.captured(2).toDouble()),
                  QPointF(match.captured(3).toDouble(), match.captured(4).toDouble()));
}

} // namespace PdfTestTools
