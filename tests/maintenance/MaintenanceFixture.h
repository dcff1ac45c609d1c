#pragma once

#include "TestRecords.h"
#include "store/AttestationRecord.h"
#include "store/RecordStore.h"

#include <QList>
#include <QStringList>

/// Rows for the maintenance tests, written in one transaction so that a long list costs no time.
[[nodiscard]] bool insertRecords(RecordStore& store, const QList<AttestationRecord>& records, DbError* error);
