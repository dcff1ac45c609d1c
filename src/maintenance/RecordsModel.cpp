#include "RecordsModel.h"

#include "PageReader.h"

namespace {

// The grid's columns, in order.
const char* const titles[] = {"Cincere",  "Appartenant",      "Matricule Vehicule", "Marque",  "Type",
                              "N° Serie", "Marque Reservoir", "N° Reservoir",       "Epreuve", "Capacity"};
constexpr int columns = 10;

std::array<const QString*, columns> textsOf(const AttestationRecord& r)
{
    return {&r.cincere, &r.appart,          &r.vehicleImmatricul, &r.marque,  &r.type,
            &r.nSerie,  &r.marqueReservoir, &r.nReservoir,        &r.epreuve, &r.capacity};
}

} // namespace

RecordsModel::RecordsModel(QObject* parent) : QAbstractTableModel(parent)
{
    qRegisterMetaType<PageRequest>();
    qRegisterMetaType<QList<AttestationRecord>>();
    m_thread.setObjectName(QStringLiteral("list reader"));
}

RecordsModel::~RecordsModel()
{
    ++m_generation; // whatever is queued is skipped
    m_thread.quit();
    m_thread.wait();
}

void RecordsModel::setDatabaseFile(const QString& fileName)
{
    m_databaseFile = fileName;
    startReader();
    QMetaObject::invokeMethod(m_reader, &PageReader::open, Qt::QueuedConnection);
}

void RecordsModel::startReader()
{
    if (m_reader)
        return;
    m_reader = new PageReader(m_databaseFile, &m_generation);
    m_reader->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_reader, &QObject::deleteLater);
    connect(this, &RecordsModel::requestPage, m_reader, &PageReader::read);
    connect(m_reader, &PageReader::pageRead, this, &RecordsModel::onPageRead);
    m_thread.start();
}

void RecordsModel::setQuery(RecordStore::Search search, const QString& prefix)
{
    m_search = search;
    m_prefix = prefix;
    reopen();
}

void RecordsModel::reopen()
{
    beginResetModel();
    ++m_generation;
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_currentRow = -1;
    m_open = true;
    m_exhausted = false;
    m_reading = false;
    endResetModel();
    ask(firstPageSize);
}

void RecordsModel::close()
{
    beginResetModel();
    ++m_generation;
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_currentRow = -1;
    m_open = false;
    m_exhausted = true;
    m_reading = false;
    endResetModel();
}

void RecordsModel::ask(int limit)
{
    startReader();
    m_reading = true;
    PageRequest request;
    request.generation = m_generation.load();
    request.search = m_search;
    request.prefix = m_prefix;
    request.beforeId = m_rows.empty() ? 0 : m_rows.back().id;
    request.limit = limit;
    Q_EMIT requestPage(request);
}

void RecordsModel::onPageRead(const PageRequest& request, const QList<AttestationRecord>& rows, bool ok,
                              const QString& errorMessage)
{
    if (request.generation != m_generation.load())
        return; // a page of a search typed over or of a closed list
    m_reading = false;
    if (!ok) {
        close();
        Q_EMIT readFailed(errorMessage);
        return;
    }
    if (rows.size() < request.limit)
        m_exhausted = true;
    if (!rows.isEmpty()) {
        const int first = static_cast<int>(m_rows.size());
        beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
        m_rows.reserve(m_rows.size() + static_cast<size_t>(rows.size()));
        for (const AttestationRecord& r : rows)
            m_rows.push_back(pack(r));
        endInsertRows();
    }
    Q_EMIT pageArrived();
}

RecordsModel::Row RecordsModel::pack(const AttestationRecord& record)
{
    Row row;
    row.id = record.id;
    row.dateStartValid = record.dateStartValid;
    const auto texts = textsOf(record);
    qsizetype length = 0;
    for (const QString* t : texts)
        length += t->size();
    row.texts.reserve(length);
    for (int i = 0; i < columns; ++i) {
        row.texts += *texts[static_cast<size_t>(i)];
        row.ends[static_cast<size_t>(i)] = static_cast<quint32>(row.texts.size());
    }
    return row;
}

QString RecordsModel::text(const Row& row, int column) const
{
    const quint32 start = column == 0 ? 0 : row.ends[static_cast<size_t>(column - 1)];
    return row.texts.mid(start, row.ends[static_cast<size_t>(column)] - start);
}

AttestationRecord RecordsModel::record(int row) const
{
    AttestationRecord r;
    if (row < 0 || row >= rowCount())
        return r;
    const Row& stored = m_rows[static_cast<size_t>(row)];
    r.id = stored.id;
    r.dateStartValid = stored.dateStartValid;
    r.cincere = text(stored, 0);
    r.appart = text(stored, 1);
    r.vehicleImmatricul = text(stored, 2);
    r.marque = text(stored, 3);
    r.type = text(stored, 4);
    r.nSerie = text(stored, 5);
    r.marqueReservoir = text(stored, 6);
    r.nReservoir = text(stored, 7);
    r.epreuve = text(stored, 8);
    r.capacity = text(stored, 9);
    return r;
}

void RecordsModel::setCurrentRow(int row)
{
    if (row == m_currentRow)
        return;
    const int previous = m_currentRow;
    m_currentRow = row;
    if (previous >= 0 && previous < rowCount())
        Q_EMIT headerDataChanged(Qt::Vertical, previous, previous);
    if (row >= 0 && row < rowCount())
        Q_EMIT headerDataChanged(Qt::Vertical, row, row);
}

int RecordsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int RecordsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columns;
}

QVariant RecordsModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    return text(m_rows[static_cast<size_t>(index.row())], index.column());
}

QVariant RecordsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < columns ? QString::fromUtf8(titles[section]) : QVariant();
    // The record indicator column: a mark on the current row only.
    return section == m_currentRow ? QStringLiteral("▶") : QString();
}

bool RecordsModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && m_open && !m_exhausted;
}

void RecordsModel::fetchMore(const QModelIndex& parent)
{
    if (canFetchMore(parent) && !m_reading)
        ask(pageSize);
}
