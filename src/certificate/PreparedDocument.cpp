#include "PreparedDocument.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSaveFile>

namespace {

constexpr quint32 fileMagic = 0x47504C50; // "GPLP"
constexpr quint16 fileVersion = 1;
constexpr qreal pxPerMm = 96.0 / 25.4;

QString tr(const char* text)
{
    return QCoreApplication::translate("PreparedDocument", text);
}

} // namespace

PreparedDocument::PreparedDocument(CertificateRecord record) : m_record(std::move(record)) {}

QString PreparedDocument::fileFilter()
{
    return tr("Prepared report (*.%1)").arg(fileSuffix());
}

void PreparedDocument::paintPage(QPainter& painter, int pageIndex) const
{
    painter.save();
    const QMarginsF shift = m_marginsMm - defaultMarginsMm();
    painter.translate(shift.left() * pxPerMm, shift.top() * pxPerMm);
    Certificate::paintPage(painter, pageIndex, m_record);
    painter.restore();
}

QList<Certificate::TextLine> PreparedDocument::textLines(int pageIndex) const
{
    QList<Certificate::TextLine> lines = Certificate::textLines(pageIndex, m_record);
    const QMarginsF shift = m_marginsMm - defaultMarginsMm();
    for (Certificate::TextLine& line : lines)
        line.rect.translate(shift.left() * pxPerMm, shift.top() * pxPerMm);
    return lines;
}

PageSource PreparedDocument::pageSource() const
{
    // A copy, so the source stays valid whatever happens to this document.
    const PreparedDocument copy = *this;
    return {pageCount(), pageSizePx(), [copy](QPainter& painter, int page) { copy.paintPage(painter, page); }};
}

bool PreparedDocument::save(QIODevice* device, QString* error) const
{
    QDataStream out(device);
    out.setVersion(QDataStream::Qt_6_0);
    out << fileMagic << fileVersion;
    out << m_record.has_value();
    if (m_record) {
        const AttestationRecord& r = *m_record;
        out << r.id << r.appart << r.vehicleImmatricul << r.marque << r.type << r.nSerie << r.marqueReservoir
            << r.nReservoir << r.epreuve << r.capacity << r.cincere << r.dateStartValid;
    }
    out << m_marginsMm.left() << m_marginsMm.top() << m_marginsMm.right() << m_marginsMm.bottom();
    if (out.status() != QDataStream::Ok) {
        *error = tr("The prepared report could not be written: %1").arg(device->errorString());
        return false;
    }
    return true;
}

bool PreparedDocument::load(QIODevice* device, PreparedDocument* document, QString* error)
{
    QDataStream in(device);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 magic = 0;
    quint16 version = 0;
    in >> magic >> version;
    if (in.status() != QDataStream::Ok || magic != fileMagic) {
        *error = tr("This file is not a prepared report");
        return false;
    }
    if (version != fileVersion) {
        *error = tr("This prepared report was written by another version of the program");
        return false;
    }
    bool hasRecord = false;
    in >> hasRecord;
    PreparedDocument loaded;
    if (hasRecord) {
        AttestationRecord r;
        in >> r.id >> r.appart >> r.vehicleImmatricul >> r.marque >> r.type >> r.nSerie >> r.marqueReservoir >>
            r.nReservoir >> r.epreuve >> r.capacity >> r.cincere >> r.dateStartValid;
        loaded.m_record = r;
    }
    qreal left = 0, top = 0, right = 0, bottom = 0;
    in >> left >> top >> right >> bottom;
    if (in.status() != QDataStream::Ok) {
        *error = tr("The prepared report is damaged or incomplete");
        return false;
    }
    loaded.m_marginsMm = QMarginsF(left, top, right, bottom);
    *document = loaded;
    return true;
}

bool PreparedDocument::saveToFile(const QString& path, QString* error) const
{
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = tr("Cannot create %1: %2").arg(QFileInfo(path).fileName(), file.errorString());
        return false;
    }
    if (!save(&file, error)) {
        file.cancelWriting();
        return false;
    }
    // A short write is not always reported: compare what landed on the disk before replacing the old file.
    const qint64 written = file.pos();
    if (!file.flush() || file.size() != written || !file.commit()) {
        const QString reason = file.error() != QFileDevice::NoError ? file.errorString() : tr("the disk may be full");
        *error = tr("Cannot write %1: %2").arg(QFileInfo(path).fileName(), reason);
        return false;
    }
    return true;
}

bool PreparedDocument::loadFromFile(const QString& path, PreparedDocument* document, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = tr("Cannot open %1: %2").arg(QFileInfo(path).fileName(), file.errorString());
        return false;
    }
    return load(&file, document, error);
}
