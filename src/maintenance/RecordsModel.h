#pragma once

#include "PageRequest.h"
#include "store/AttestationRecord.h"

#include <QAbstractTableModel>
#include <QThread>

#include <array>
#include <atomic>
#include <vector>

class PageReader;

/// The browser's list: the rows of one search, newest first, read page by page as the view scrolls
/// (each page starts below the last id read, so a page costs the same at any depth). Pages are read on
/// a background thread; a page of an older search or of a closed list is dropped when it arrives.
class RecordsModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int firstPageSize = 100;
    static constexpr int pageSize = 500;

    explicit RecordsModel(QObject* parent = nullptr);
    ~RecordsModel() override;

    /// The file the reading thread opens (resolved against the working directory when opened); the
    /// thread starts and opens it at once, so that the first list does not wait for the keying.
    void setDatabaseFile(const QString& fileName);

    /// Sets the statement of the list and opens it.
    void setQuery(RecordStore::Search search, const QString& prefix);
    RecordStore::Search search() const { return m_search; }
    QString prefix() const { return m_prefix; }
    /// Opens the list again with its current statement, from the newest row.
    void reopen();
    /// Closes the list: no rows until it is opened again.
    void close();
    bool isOpen() const { return m_open; }
    /// True while a page asked for has not arrived.
    bool isReading() const { return m_reading; }

    AttestationRecord record(int row) const;
    /// The row marked in the indicator column; -1 for none.
    void setCurrentRow(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

Q_SIGNALS:
    /// A page was read and its rows added (possibly none).
    void pageArrived();
    /// Reading failed; the list is closed.
    void readFailed(const QString& message);
    void requestPage(const PageRequest& request);

private:
    // Rows are held compactly (one string for the ten texts) so that a long scroll stays small in memory.
    struct Row
    {
        qint32 id = 0;
        double dateStartValid = 0.0;
        QString texts;
        std::array<quint32, 10> ends{};
    };
    static Row pack(const AttestationRecord& record);
    QString text(const Row& row, int column) const;

    void ask(int limit);
    void onPageRead(const PageRequest& request, const QList<AttestationRecord>& rows, bool ok,
                    const QString& errorMessage);
    void startReader();

    QString m_databaseFile;
    RecordStore::Search m_search = RecordStore::Search::All;
    QString m_prefix;
    std::vector<Row> m_rows;
    bool m_open = false;
    bool m_reading = false;
    bool m_exhausted = true;
    int m_currentRow = -1;
    std::atomic<quint64> m_generation{0};
    QThread m_thread;
    PageReader* m_reader = nullptr;
};
