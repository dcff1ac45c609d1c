#pragma once

#include "Certificate.h"
#include "PageSource.h"

#include <QMarginsF>
#include <QString>

class QIODevice;
class QPainter;

/// A produced certificate: the record its two pages show and the page margins the operator set. The pages
/// are drawn from it the same way on the screen, the printer and in PDF. It can be saved to a file of our
/// own ("prepared report") and opened again.
class PreparedDocument
{
public:
    PreparedDocument() = default;
    explicit PreparedDocument(CertificateRecord record);

    const CertificateRecord& record() const { return m_record; }
    int pageCount() const { return Certificate::pageCount; }
    QSizeF pageSizePx() const { return Certificate::pageSizePx(); }

    /// Margins in millimetres; the certificate's own are 10 mm on every side. Other margins move the
    /// printable area, and everything in it, on the paper.
    QMarginsF marginsMm() const { return m_marginsMm; }
    void setMarginsMm(const QMarginsF& margins) { m_marginsMm = margins; }
    static QMarginsF defaultMarginsMm() { return QMarginsF(10, 10, 10, 10); }

    /// Draws one page: painter unit one 96-dpi pixel, origin at the paper's corner.
    void paintPage(QPainter& painter, int pageIndex) const;
    PageSource pageSource() const;
    /// The visible text lines of a page, where this document's margins put them.
    QList<Certificate::TextLine> textLines(int pageIndex) const;

    [[nodiscard]] bool save(QIODevice* device, QString* error) const;
    [[nodiscard]] static bool load(QIODevice* device, PreparedDocument* document, QString* error);
    /// Through a temporary file that replaces the old one only when complete.
    [[nodiscard]] bool saveToFile(const QString& path, QString* error) const;
    [[nodiscard]] static bool loadFromFile(const QString& path, PreparedDocument* document, QString* error);

    /// The suffix and dialog filter of our prepared-report files.
    static QString fileSuffix() { return QStringLiteral("gplp"); }
    static QString fileFilter();

private:
    CertificateRecord m_record;
    QMarginsF m_marginsMm = defaultMarginsMm();
};
