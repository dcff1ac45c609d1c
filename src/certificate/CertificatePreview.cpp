#include "CertificatePreview.h"

#include "Certificate.h"
#include "widgets/MessageBoxes.h"

namespace CertificatePreview {

void showForNumber(QWidget* parent, RecordStore& store, const QString& number)
{
    CertificateRecord record;
    DbError error;
    if (!Certificate::openRecord(store, number, &record, &error)) {
        MessageBoxes::showError(parent, error.message);
        return;
    }
    // The preview window itself is not built yet.
}

} // namespace CertificatePreview
