#pragma once

#include "PdfExportOptions.h"

#include <QDialog>

class QCheckBox;
class QFormLayout;
class QLayout;
class QLineEdit;

/// "Export to PDF": the options of one export, shown with the values given and changed for this export only.
class PdfExportDialog : public QDialog
{
    Q_OBJECT
public:
    explicit PdfExportDialog(const PdfExportOptions& options, QWidget* parent = nullptr);

    PdfExportOptions options() const;

private:
    QLineEdit* addText(QFormLayout* form, const QString& objectName, const QString& label, const QString& value);
    QCheckBox* addCheck(QLayout* layout, const QString& objectName, const QString& label, bool value);

    QCheckBox* m_compressed = nullptr;
    QLineEdit* m_title = nullptr;
    QLineEdit* m_author = nullptr;
    QLineEdit* m_subject = nullptr;
    QLineEdit* m_keywords = nullptr;
    QLineEdit* m_creator = nullptr;
    QLineEdit* m_producer = nullptr;
    QLineEdit* m_ownerPassword = nullptr;
    QLineEdit* m_userPassword = nullptr;
    QCheckBox* m_allowPrint = nullptr;
    QCheckBox* m_allowModify = nullptr;
    QCheckBox* m_allowCopy = nullptr;
    QCheckBox* m_allowAnnotate = nullptr;
    QCheckBox* m_hideToolbar = nullptr;
    QCheckBox* m_hideMenubar = nullptr;
    QCheckBox* m_hideWindowUi = nullptr;
    QCheckBox* m_fitWindow = nullptr;
    QCheckBox* m_centerWindow = nullptr;
    QCheckBox* m_printScaling = nullptr;
};
