#pragma once

#include "PageRequest.h"

#include <QList>
#include <QObject>

#include <atomic>
#include <memory>

class RecordStore;

/// Reads list pages on its own connection, in the thread it lives in, so that a slow read (a file
/// locked by another program) never stops the window. Requests older than the latest generation are
/// skipped unread: typing ahead queues no useless work.
class PageReader : public QObject
{
    Q_OBJECT
public:
    /// latestGeneration is written by the list and read here; it outlives this object.
    PageReader(QString databaseFile, const std::atomic<quint64>* latestGeneration);
    ~PageReader() override;

public Q_SLOTS:
    /// Opens the connection ahead of the first read (keying the database takes a while); a failure
    /// is left for the first read to report.
    void open();
    void read(const PageRequest& request);

Q_SIGNALS:
    /// ok false: errorMessage holds the database's message and rows is empty.
    void pageRead(const PageRequest& request, const QList<AttestationRecord>& rows, bool ok,
                  const QString& errorMessage);

private:
    QString m_databaseFile;
    const std::atomic<quint64>* m_latestGeneration;
    std::unique_ptr<RecordStore> m_store; // opened in the reading thread, on first use
};
