#include "CertificatePrinter.h"

#include "PageRenderer.h"
#include "PreviewDialogs.h"
#include "widgets/MessageBoxes.h"

#include <QCoreApplication>
#include <QPrinter>

namespace CertificatePrinter {

bool print(QWidget* parent, const PageSource& pages)
{
    PreviewDialogs& dialogs = PreviewDialogs::current();
    if (!dialogs.hasPrinter()) {
        MessageBoxes::askWarning(parent, MessageBoxes::programTitle(QCoreApplication::applicationFilePath()),
                                 QString::fromLatin1(noPrinterMessage), QMessageBox::Ok, QMessageBox::Ok);
        return false;
    }
    QPrinter printer(QPrinter::HighResolution); // the default printer
    printer.setCopyCount(1);
    printer.setCollateCopies(true);
    printer.setPrintRange(QPrinter::AllPages);
    printer.setFromTo(0, 0);
    // The dialog opens on the pages' paper; a printer that refuses it is reported when printing starts.
    (void)PageRenderer::preparePageLayout(pages, printer);
    if (!dialogs.askPrint(parent, &printer))
        return false;

    int first = 0;
    int last = pages.pageCount - 1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = printer.fromPage() - 1;
        last = printer.toPage() > 0 ? printer.toPage() - 1 : last;
    }
    QString error;
    if (!PageRenderer::renderPages(pages, printer, first, last, &error)) {
        MessageBoxes::showError(parent, error);
        return false;
    }
    return true;
}

} // namespace CertificatePrinter
