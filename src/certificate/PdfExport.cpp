#include "PdfExport.h"

#include "PdfWriter.h"
#include "PreviewDialogs.h"
#include "widgets/Clock.h"
#include "widgets/MessageBoxes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace PdfExport {
namespace {

QString& chosenPath()
{
    static QString path;
    return path;
}

} // namespace

QString proposedPath()
{
    if (!chosenPath().isEmpty())
        return chosenPath();
    return QDir::current().absoluteFilePath(QStringLiteral("mes.pdf"));
}

void resetProposedPath()
{
    chosenPath().clear();
}

bool run(QWidget* parent, const PageSource& pages)
{
    PreviewDialogs& dialogs = PreviewDialogs::current();
    PdfExportOptions options;
    if (!dialogs.askPdfOptions(parent, &options))
        return false;
    QString path = dialogs.askSaveFile(parent, {QCoreApplication::translate("PdfExport", "Save As"), proposedPath(),
                                                QString::fromLatin1(fileFilter), QStringLiteral("pdf")});
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    chosenPath() = path;

    QString error;
    if (!PdfWriter::writeFile(path, pages, options, Clock::now(), &error)) {
        MessageBoxes::showError(parent, error);
        return false;
    }
    return true;
}

} // namespace PdfExport
