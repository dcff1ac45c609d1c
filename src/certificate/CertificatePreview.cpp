#include "CertificatePreview.h"

#include "Certificate.h"
#include "PreparedDocument.h"
#include "PreviewWindow.h"
#include "widgets/MessageBoxes.h"

#include <QPointer>

namespace CertificatePreview {
namespace {

std::function<void(PreviewWindow*)>& openedHandler()
{
    static std::function<void(PreviewWindow*)> handler;
    return handler;
}

QPointer<PreviewWindow>& openPreview()
{
    static QPointer<PreviewWindow> window;
    return window;
}

} // namespace

void showForNumber(QWidget* parent, RecordStore& store, const QString& number)
{
    if (openPreview() && openPreview()->isProducing())
        return;
    CertificateRecord record;
    DbError error;
    if (!Certificate::openRecord(store, number, &record, &error)) {
        MessageBoxes::showError(parent, error.message);
        return;
    }
    showDocument(parent, PreparedDocument(record));
}

void showDocument(QWidget* parent, const PreparedDocument& document)
{
    if (openPreview() && openPreview()->isProducing())
        return;
    PreviewWindow window(document, parent);
    openPreview() = &window;
    if (openedHandler())
        openedHandler()(&window);
    window.exec();
}

void setOpenedHandler(std::function<void(PreviewWindow*)> handler)
{
    openedHandler() = std::move(handler);
}

} // namespace CertificatePreview
