#pragma once

#include <QString>

#include <functional>

class PreparedDocument;
class PreviewWindow;
class QWidget;
class RecordStore;

/// Shows the certificate of a number: opens the record source, then the modal preview from which the
/// operator prints or exports it. A database failure is shown in the error box and nothing opens.
namespace CertificatePreview {

/// A number that matches no row shows the pages without record values. Returns when the preview closes;
/// does nothing while another certificate is still being produced.
void showForNumber(QWidget* parent, RecordStore& store, const QString& number);

/// The preview of a document already produced from its record.
void showDocument(QWidget* parent, const PreparedDocument& document);

/// Test seam: called with each preview window before it runs, so a test can drive and close it.
void setOpenedHandler(std::function<void(PreviewWindow*)> handler);

} // namespace CertificatePreview
