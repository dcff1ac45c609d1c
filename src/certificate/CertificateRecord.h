#pragma once

#include "store/AttestationRecord.h"

#include <optional>

/// The record a certificate prints: the first row found for its number, or none.
using CertificateRecord = std::optional<AttestationRecord>;
