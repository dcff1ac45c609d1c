#pragma once

#include "store/RecordStore.h"

#include <QMetaType>

/// One page of a list to read: the rows of `search`/`prefix` below `beforeId` (0 = from the newest),
/// at most `limit`, tagged with the generation of the list that asked for it.
struct PageRequest
{
    quint64 generation = 0;
    RecordStore::Search search = RecordStore::Search::All;
    QString prefix;
    qint32 beforeId = 0;
    int limit = 0;
};

Q_DECLARE_METATYPE(PageRequest)
