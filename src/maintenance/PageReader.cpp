#include "PageReader.h"

#include "store/RecordStore.h"

PageReader::PageReader(QString databaseFile, const std::atomic<quint64>* latestGeneration)
    : m_databaseFile(std::move(databaseFile)), m_latestGeneration(latestGeneration)
{
}

PageReader::~PageReader() = default;

void PageReader::open()
{
    if (!m_store)
        m_store = std::make_unique<RecordStore>(m_databaseFile);
    DbError ignored;
    if (!m_store->isOpen())
        (void)m_store->open(&ignored);
}

void PageReader::read(const PageRequest& request)
{
    if (request.generation != m_latestGeneration->load())
        return; // the list has moved on; nobody waits for this page
    if (!m_store)
        m_store = std::make_unique<RecordStore>(m_databaseFile);
    QList<AttestationRecord> rows;
    DbError error;
    const bool ok = m_store->fetchPage(request.search, request.prefix, request.beforeId, request.limit, &rows, &error);
    Q_EMIT pageRead(request, rows, ok, ok ? QString() : error.message);
}
