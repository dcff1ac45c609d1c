#include "PdfWriter.h"

#include "PageRenderer.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QPdfWriter>
#include <QSaveFile>

// We use no PointerHolder; this tells qpdf's headers so and keeps them quiet.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>
#include <set>
#include <string>

namespace PdfWriter {
namespace {

/// A PDF text string in UTF-16BE with its byte-order mark, whatever the characters, as readers expect of
/// document information that may hold French or Arabic.
QPDFObjectHandle unicodeTextString(const QString& text)
{
    std::string bytes("\xFE\xFF", 2);
    for (const QChar c : text) {
        bytes.push_back(static_cast<char>(c.unicode() >> 8));
        bytes.push_back(static_cast<char>(c.unicode() & 0xFF));
    }
    return QPDFObjectHandle::newString(bytes);
}

std::string utf8(const QString& text)
{
    return text.toUtf8().toStdString();
}

void setDocumentInformation(QPDF& pdf, const PdfExportOptions& options, const QDateTime& exportTime)
{
    QPDFObjectHandle info = QPDFObjectHandle::newDictionary();
    info.replaceKey("/Title", unicodeTextString(options.title));
    info.replaceKey("/Author", unicodeTextString(options.author));
    info.replaceKey("/Subject", unicodeTextString(options.subject));
    info.replaceKey("/Keywords", unicodeTextString(options.keywords));
    info.replaceKey("/Creator", unicodeTextString(options.creator));
    info.replaceKey("/Producer", unicodeTextString(options.producer));
    const std::string date = utf8(pdfDate(exportTime));
    info.replaceKey("/CreationDate", QPDFObjectHandle::newString(date));
    info.replaceKey("/ModDate", QPDFObjectHandle::newString(date));
    pdf.getTrailer().replaceKey("/Info", pdf.makeIndirectObject(info));
}

void setViewerPreferences(QPDF& pdf, const PdfExportOptions& options)
{
    QPDFObjectHandle preferences = QPDFObjectHandle::newDictionary();
    preferences.replaceKey("/HideToolbar", QPDFObjectHandle::newBool(options.hideToolbar));
    preferences.replaceKey("/HideMenubar", QPDFObjectHandle::newBool(options.hideMenubar));
    preferences.replaceKey("/HideWindowUI", QPDFObjectHandle::newBool(options.hideWindowUi));
    preferences.replaceKey("/FitWindow", QPDFObjectHandle::newBool(options.fitWindow));
    preferences.replaceKey("/CenterWindow", QPDFObjectHandle::newBool(options.centerWindow));
    preferences.replaceKey("/PrintScaling", QPDFObjectHandle::newName(options.printScaling ? "/AppDefault" : "/None"));
    QPDFObjectHandle root = pdf.getRoot();
    root.replaceKey("/ViewerPreferences", preferences);
    // The toolkit's XMP packet names the toolkit as producer; the information dictionary is the one we keep.
    root.removeKey("/Metadata");
}

/// Qt tags a subset font's name only in its descriptor; PDF tools expect the tagged name on the font too.
void nameSubsetFonts(QPDF& pdf)
{
    for (QPDFObjectHandle page : pdf.getAllPages()) {
        QPDFObjectHandle fonts = page.getKey("/Resources").getKey("/Font");
        if (!fonts.isDictionary())
            continue;
        for (const std::string& key : fonts.getKeys()) {
            QPDFObjectHandle font = fonts.getKey(key);
            if (!font.isDictionary())
                continue;
            QPDFObjectHandle descendant = font;
            QPDFObjectHandle descendants = font.getKey("/DescendantFonts");
            if (descendants.isArray() && descendants.getArrayNItems() > 0)
                descendant = descendants.getArrayItem(0);
            QPDFObjectHandle fontName = descendant.getKey("/FontDescriptor").getKey("/FontName");
            if (!fontName.isName())
                continue;
            const std::string name = fontName.getName();
            // "/ABCDEF+Name": six capitals, then a plus sign.
            const bool tagged = name.size() > 8 && name[7] == '+';
            if (!tagged)
                continue;
            font.replaceKey("/BaseFont", fontName);
            if (descendant.getObjGen() != font.getObjGen())
                descendant.replaceKey("/BaseFont", fontName);
        }
    }
}

void setEncryption(QPDFWriter& writer, const PdfExportOptions& options)
{
    const std::string user = utf8(options.userPassword);
    // Without an owner password anyone who opens the file could lift the restrictions: use the user's.
    const std::string owner = options.ownerPassword.isEmpty() ? user : utf8(options.ownerPassword);
    writer.setR3EncryptionParametersInsecure(user.c_str(), owner.c_str(), true /*accessibility*/, options.allowCopy,
                                             options.allowModify, options.allowAnnotate, options.allowAnnotate,
                                             options.allowModify, options.allowPrint ? qpdf_r3p_full : qpdf_r3p_none);
}

bool drawWithToolkit(const PageSource& pages, QByteArray* raw, QString* error)
{
    QBuffer buffer(raw);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPdfVersion(QPagedPaintDevice::PdfVersion_1_4);
    writer.setResolution(96); // one painter unit = one pixel = 0.75 point
    writer.setCreator(QString());
    return PageRenderer::renderPages(pages, writer, 0, pages.pageCount - 1, error);
}

} // namespace

QString pdfDate(const QDateTime& time)
{
    return QStringLiteral("D:") + time.toLocalTime().toString(QStringLiteral("yyyyMMddHHmmss"));
}

bool writeBytes(const PageSource& pages, const PdfExportOptions& options, const QDateTime& exportTime,
                QByteArray* pdfBytes, QString* error)
{
    QByteArray raw;
    if (!drawWithToolkit(pages, &raw, error))
        return false;
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processMemoryFile("certificate", raw.constData(), static_cast<size_t>(raw.size()));
        setDocumentInformation(pdf, options, exportTime);
        setViewerPreferences(pdf, options);
        nameSubsetFonts(pdf);

        QPDFWriter writer(pdf);
        writer.setOutputMemory();
        writer.forcePDFVersion("1.5");
        // Generalized decoding with compression on recompresses every stream; with it off, stores them plain.
        writer.setDecodeLevel(qpdf_dl_generalized);
        writer.setCompressStreams(options.compressed);
        if (options.isEncrypted())
            setEncryption(writer, options);
        writer.write();
        std::shared_ptr<Buffer> out = writer.getBufferSharedPointer();
        *pdfBytes = QByteArray(reinterpret_cast<const char*>(out->getBuffer()), static_cast<qsizetype>(out->getSize()));
    } catch (const std::exception& e) {
        *error = QString::fromUtf8(e.what());
        return false;
    }
    return true;
}

bool writeFile(const QString& path, const PageSource& pages, const PdfExportOptions& options,
               const QDateTime& exportTime, QString* error)
{
    QByteArray bytes;
    if (!writeBytes(pages, options, exportTime, &bytes, error))
        return false;
    QSaveFile file(path);
    file.setDirectWriteFallback(false); // never write over the old file in place
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QCoreApplication::translate("PdfWriter", "Cannot create %1: %2")
                     .arg(QFileInfo(path).fileName(), file.errorString());
        return false;
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QCoreApplication::translate("PdfWriter", "Cannot write %1: %2")
                     .arg(QFileInfo(path).fileName(), file.errorString());
        file.cancelWriting();
        return false;
    }
    return true;
}

} // namespace PdfWriter
