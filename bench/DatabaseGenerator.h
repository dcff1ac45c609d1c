#pragma once

#include "store/DbError.h"

#include <QString>

/// Writes a realistic attestation database for the benchmarks: numbers "N-YYYY" counted from 1 in each
/// year (years of different sizes, so that the highest numbers exist only in the busiest, older years),
/// owners "SURNAME FIRSTNAME" drawn from a skewed list of surnames (a few families come back often; one
/// came only in the first years), plausible vehicles and tanks. Rows go through the program's own insert
/// statement and the table's triggers, in one transaction. The same seed gives the same file.
namespace DatabaseGenerator {

[[nodiscard]] bool generate(const QString& path, int rowCount, DbError* error);

} // namespace DatabaseGenerator
