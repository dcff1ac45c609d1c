#pragma once

#include <QString>

class QWidget;
class RecordStore;

/// Shows the certificate of a number: opens the record source, then the modal preview from which the
/// operator prints or exports it. A database failure is shown in the error box and nothing opens.
namespace CertificatePreview {
void showForNumber(QWidget* parent, RecordStore& store, const QString& number);
} // namespace CertificatePreview
