#include "PreviewDialogs.h"

#include "PageSettingsDialog.h"
#include "PdfExportDialog.h"

#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

PreviewDialogs*& overrideDialogs()
{
    static PreviewDialogs* dialogs = nullptr;
    return dialogs;
}

QString runFileDialog(QWidget* parent, const PreviewDialogs::FileRequest& request, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, request.caption, request.proposedPath, request.filter);
    dialog.setAcceptMode(mode);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (mode == QFileDialog::AcceptSave)
        dialog.selectFile(request.proposedPath);
    else
        dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

} // namespace

bool PreviewDialogs::hasPrinter()
{
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

bool PreviewDialogs::askPrint(QWidget* parent, QPrinter* printer)
{
    QPrintDialog dialog(printer, parent);
    dialog.setWindowTitle(QStringLiteral("Print"));
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    return dialog.exec() == QDialog::Accepted;
}

bool PreviewDialogs::askPdfOptions(QWidget* parent, PdfExportOptions* options)
{
    PdfExportDialog dialog(*options, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    *options = dialog.options();
    return true;
}

QString PreviewDialogs::askSaveFile(QWidget* parent, const FileRequest& request)
{
    return runFileDialog(parent, request, QFileDialog::AcceptSave);
}

QString PreviewDialogs::askOpenFile(QWidget* parent, const FileRequest& request)
{
    return runFileDialog(parent, request, QFileDialog::AcceptOpen);
}

bool PreviewDialogs::askPageMargins(QWidget* parent, QMarginsF* marginsMm)
{
    PageSettingsDialog dialog(*marginsMm, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    *marginsMm = dialog.marginsMm();
    return true;
}

PreviewDialogs& PreviewDialogs::current()
{
    static PreviewDialogs real;
    return overrideDialogs() ? *overrideDialogs() : real;
}

void PreviewDialogs::setOverride(PreviewDialogs* dialogs)
{
    overrideDialogs() = dialogs;
}
