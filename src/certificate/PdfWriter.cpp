#include "PdfWriter.h"

#include "PageRenderer.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>

// We use no PointerHolder; this tells qpdf's headers so and keeps them quiet.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFWriter.hh>

#include <algorithm>
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

bool isPresentationForm(char16_t c)
{
    return (c >= 0xFB50 && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFF);
}

/// "<hex>" of a CMap destination: UTF-16BE. Contextual Arabic forms become the letters they show.
QByteArray readableDestination(const QByteArray& hex)
{
    const QByteArray bytes = QByteArray::fromHex(hex);
    QString text;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text.append(
            QChar(static_cast<char16_t>((static_cast<uchar>(bytes[i]) << 8) | static_cast<uchar>(bytes[i + 1]))));
    if (std::none_of(text.cbegin(), text.cend(), [](QChar c) { return isPresentationForm(c.unicode()); }))
        return hex;
    const QString letters = text.normalized(QString::NormalizationForm_KC);
    QByteArray out;
    for (const QChar c : letters) {
        out.append(static_cast<char>(c.unicode() >> 8));
        out.append(static_cast<char>(c.unicode() & 0xFF));
    }
    return out.toHex().toUpper();
}

/// Rewrites the destinations of one ToUnicode CMap: those of "bfchar" lines and of "bfrange" arrays.
QByteArray readableCMap(const QByteArray& cmap)
{
    static const QRegularExpression hexToken(QStringLiteral("<([0-9A-Fa-f]+)>"));
    QList<QByteArray> lines = cmap.split('\n');
    enum class Section { None, Char, Range } section = Section::None;
    for (QByteArray& line : lines) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.endsWith("beginbfchar")) {
            section = Section::Char;
            continue;
        }
        if (trimmed.endsWith("beginbfrange")) {
            section = Section::Range;
            continue;
        }
        if (trimmed.startsWith("endbf")) {
            section = Section::None;
            continue;
        }
        if (section == Section::None)
            continue;
        // Source codes come first (one for a char, two for a range); the rest are destinations. A range
        // with a single destination counts up from it, so it is left as it is.
        const int sources = section == Section::Char ? 1 : 2;
        if (section == Section::Range && !trimmed.contains('['))
            continue;
        QByteArray rewritten;
        qsizetype last = 0;
        int index = 0;
        QRegularExpressionMatchIterator it = hexToken.globalMatch(QString::fromLatin1(line));
        while (it.hasNext()) {
            const QRegularExpressionMatch match = it.next();
            rewritten += line.mid(last, match.capturedStart() - last);
            const QByteArray hex = match.captured(1).toLatin1();
            rewritten += '<' + (index++ < sources ? hex : readableDestination(hex)) + '>';
            last = match.capturedEnd();
        }
        rewritten += line.mid(last);
        line = rewritten;
    }
    return lines.join('\n');
}

/// Qt's ToUnicode maps an Arabic glyph to the contextual form it shows (U+FExx), so copied or extracted
/// text would not match the words as typed; map such glyphs to the plain letters instead.
void makeArabicExtractable(QPDF& pdf)
{
    for (QPDFObjectHandle page : pdf.getAllPages()) {
        QPDFObjectHandle fonts = page.getKey("/Resources").getKey("/Font");
        if (!fonts.isDictionary())
            continue;
        for (const std::string& key : fonts.getKeys()) {
            QPDFObjectHandle toUnicode = fonts.getKey(key).getKey("/ToUnicode");
            if (!toUnicode.isStream())
                continue;
            const std::shared_ptr<Buffer> data = toUnicode.getStreamData(qpdf_dl_generalized);
            const QByteArray cmap(reinterpret_cast<const char*>(data->getBuffer()),
                                  static_cast<qsizetype>(data->getSize()));
            const QByteArray readable = readableCMap(cmap);
            if (readable != cmap)
                toUnicode.replaceStreamData(readable.toStdString(), QPDFObjectHandle::newNull(),
                                            QPDFObjectHandle::newNull());
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
        makeArabicExtractable(pdf);

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
    // A short write (disk full, file size limit) is not always reported by write(): compare what landed
    // on the disk before the old file is replaced.
    const bool complete = file.write(bytes) == bytes.size() && file.flush() && file.size() == bytes.size();
    if (!complete || !file.commit()) {
        const QString reason = file.error() != QFileDevice::NoError
                                   ? file.errorString()
                                   : QCoreApplication::translate("PdfWriter", "the disk may be full");
        *error =
            QCoreApplication::translate("PdfWriter", "Cannot write %1: %2").arg(QFileInfo(path).fileName(), reason);
        file.cancelWriting();
        return false;
    }
    return true;
}

} // namespace PdfWriter
