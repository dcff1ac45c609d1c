#pragma once

#include "CertificateRecord.h"
#include "CertificateTemplate.h"

#include <QString>

/// What the certificate's text objects show: the display text of bound columns, the expansion of the
/// bracketed expressions of free texts, and how dates become text in the system's formats.
namespace CertificateText {

/// The whole text an object shows for the record (or for no record).
QString objectText(const CertificateTemplate::PageObject& object, const CertificateRecord& record);

/// Replaces each bracketed expression of a free text by the text of its value. Brackets nest; brackets
/// inside single- or double-quoted strings do not count. An expression that cannot be computed, or a "["
/// without its "]", is kept as written so that the fault shows on the page.
QString expand(const QString& text, const CertificateRecord& record, bool dayMonthYearFormat);

/// The system's short date, then a space and its long time (without a time zone) when the value has a
/// time of day. The value is a day count since 30 December 1899.
QString dateTimeText(double days);
/// "dd/mm/yyyy" with the system's date separator; never a time.
QString dayMonthYearText(double days);
/// The character that separates day, month and year in the system's short date format.
QChar systemDateSeparator();

} // namespace CertificateText
