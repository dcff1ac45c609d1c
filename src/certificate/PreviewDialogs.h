#pragma once

#include "PdfExportOptions.h"

#include <QMarginsF>
#include <QString>

class QPrinter;
class QWidget;

/// The dialogs the preview asks the operator through. The program uses the real ones; tests install
/// their own answers with setOverride, so that nothing waits for a person.
class PreviewDialogs
{
public:
    struct FileRequest
    {
        QString caption;
        QString proposedPath;
        QString filter;
        QString defaultSuffix; // without the dot
    };

    virtual ~PreviewDialogs() = default;

    /// Whether the system has at least one printer.
    virtual bool hasPrinter();
    /// The print dialog, captioned "Print", on the given printer; false when cancelled.
    virtual bool askPrint(QWidget* parent, QPrinter* printer);
    /// The "Export to PDF" options dialog; false when cancelled.
    virtual bool askPdfOptions(QWidget* parent, PdfExportOptions* options);
    /// A save dialog that does not ask before replacing a file; an empty path when cancelled.
    virtual QString askSaveFile(QWidget* parent, const FileRequest& request);
    virtual QString askOpenFile(QWidget* parent, const FileRequest& request);
    /// The page settings: margins in millimetres, shown in the unit the operator last chose.
    virtual bool askPageMargins(QWidget* parent, QMarginsF* marginsMm);

    /// The dialogs in use: the override if one is set, the real ones otherwise.
    static PreviewDialogs& current();
    /// Test seam; nullptr restores the real dialogs. The caller keeps ownership.
    static void setOverride(PreviewDialogs* dialogs);
};
