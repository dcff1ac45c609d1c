#pragma once

#include "TestDatabase.h"

#include <QStringList>

/// A sample record with the given owner and certificate number.
inline AttestationRecord ownedRecord(const QString& owner, const QString& number)
{
    AttestationRecord r = TestDatabase::sampleRecord(number.size());
    r.appart = owner;
    r.cincere = number;
    return r;
}

/// The certificate numbers of rows, in their order.
inline QStringList numbersOf(const QList<AttestationRecord>& rows)
{
    QStringList numbers;
    for (const AttestationRecord& r : rows)
        numbers << r.cincere;
    return numbers;
}
