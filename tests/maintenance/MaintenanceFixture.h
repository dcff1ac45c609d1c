#pragma once

#include "store/AttestationRecord.h"
#include "store/RecordStore.h"

#include <QList>
#include <QStringList>

/// Rows for the maintenance tests, written in one transaction so that a long list costs no time.
[[nodiscard]] bool insertRecords(RecordStore& store, const QList<AttestationRecord>& records, DbError* error);

/// A record with the given owner and number, the other fields from TestDatabase::sampleRecord.
AttestationRecord ownedRecord(const QString& owner, const QString& number);

/// The certificate numbers of the rows, in order.
QStringList numbersOf(const QList<AttestationRecord>& rows);
