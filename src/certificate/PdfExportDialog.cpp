#include "PdfExportDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

PdfExportDialog::PdfExportDialog(const PdfExportOptions& options, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PdfExportDialog"));
    setWindowTitle(QStringLiteral("Export to PDF"));
    auto* tabs = new QTabWidget(this);

    auto* exportPage = new QWidget(tabs);
    auto* exportLayout = new QVBoxLayout(exportPage);
    m_compressed = addCheck(exportLayout, QStringLiteral("CompressedCheck"), tr("Compressed"), options.compressed);
    // Always embedded as subsets: without the font the Arabic page is unreadable on another machine.
    QCheckBox* embedded = addCheck(exportLayout, QStringLiteral("EmbeddedFontsCheck"), tr("Embedded fonts"), true);
    embedded->setEnabled(false);
    exportLayout->addStretch();
    tabs->addTab(exportPage, tr("Export"));

    auto* infoPage = new QWidget(tabs);
    auto* infoForm = new QFormLayout(infoPage);
    m_title = addText(infoForm, QStringLiteral("TitleEdit"), tr("Title"), options.title);
    m_author = addText(infoForm, QStringLiteral("AuthorEdit"), tr("Author"), options.author);
    m_subject = addText(infoForm, QStringLiteral("SubjectEdit"), tr("Subject"), options.subject);
    m_keywords = addText(infoForm, QStringLiteral("KeywordsEdit"), tr("Keywords"), options.keywords);
    m_creator = addText(infoForm, QStringLiteral("CreatorEdit"), tr("Creator"), options.creator);
    m_producer = addText(infoForm, QStringLiteral("ProducerEdit"), tr("Producer"), options.producer);
    tabs->addTab(infoPage, tr("Information"));

    auto* securityPage = new QWidget(tabs);
    auto* securityForm = new QFormLayout(securityPage);
    m_ownerPassword =
        addText(securityForm, QStringLiteral("OwnerPasswordEdit"), tr("Owner password"), options.ownerPassword);
    m_userPassword =
        addText(securityForm, QStringLiteral("UserPasswordEdit"), tr("User password"), options.userPassword);
    m_ownerPassword->setEchoMode(QLineEdit::Password);
    m_userPassword->setEchoMode(QLineEdit::Password);
    auto* permissions = new QVBoxLayout;
    m_allowPrint = addCheck(permissions, QStringLiteral("PrintCheck"), tr("Print the document"), options.allowPrint);
    m_allowModify =
        addCheck(permissions, QStringLiteral("ModifyCheck"), tr("Modify the document"), options.allowModify);
    m_allowCopy = addCheck(permissions, QStringLiteral("CopyCheck"), tr("Copy text and graphics"), options.allowCopy);
    m_allowAnnotate = addCheck(permissions, QStringLiteral("AnnotateCheck"), tr("Add or modify text annotations"),
                               options.allowAnnotate);
    securityForm->addRow(tr("Permissions"), permissions);
    tabs->addTab(securityPage, tr("Security"));

    auto* viewerPage = new QWidget(tabs);
    auto* viewerLayout = new QVBoxLayout(viewerPage);
    m_hideToolbar = addCheck(viewerLayout, QStringLiteral("HideToolbarCheck"), tr("Hide toolbar"), options.hideToolbar);
    m_hideMenubar = addCheck(viewerLayout, QStringLiteral("HideMenubarCheck"), tr("Hide menubar"), options.hideMenubar);
    m_hideWindowUi = addCheck(viewerLayout, QStringLiteral("HideWindowUiCheck"), tr("Hide window user interface"),
                              options.hideWindowUi);
    m_fitWindow = addCheck(viewerLayout, QStringLiteral("FitWindowCheck"), tr("Fit window"), options.fitWindow);
    m_centerWindow =
        addCheck(viewerLayout, QStringLiteral("CenterWindowCheck"), tr("Center window"), options.centerWindow);
    m_printScaling =
        addCheck(viewerLayout, QStringLiteral("PrintScalingCheck"), tr("Print scaling"), options.printScaling);
    viewerLayout->addStretch();
    tabs->addTab(viewerPage, tr("Viewer"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
}

QLineEdit* PdfExportDialog::addText(QFormLayout* form, const QString& objectName, const QString& label,
                                    const QString& value)
{
    auto* edit = new QLineEdit(value, form->parentWidget());
    edit->setObjectName(objectName);
    form->addRow(label, edit);
    return edit;
}

QCheckBox* PdfExportDialog::addCheck(QLayout* layout, const QString& objectName, const QString& label, bool value)
{
    auto* check = new QCheckBox(label, this);
    check->setObjectName(objectName);
    check->setChecked(value);
    layout->addWidget(check);
    return check;
}

PdfExportOptions PdfExportDialog::options() const
{
    PdfExportOptions options;
    options.compressed = m_compressed->isChecked();
    options.title = m_title->text();
    options.author = m_author->text();
    options.subject = m_subject->text();
    options.keywords = m_keywords->text();
    options.creator = m_creator->text();
    options.producer = m_producer->text();
    options.ownerPassword = m_ownerPassword->text();
    options.userPassword = m_userPassword->text();
    options.allowPrint = m_allowPrint->isChecked();
    options.allowModify = m_allowModify->isChecked();
    options.allowCopy = m_allowCopy->isChecked();
    options.allowAnnotate = m_allowAnnotate->isChecked();
    options.hideToolbar = m_hideToolbar->isChecked();
    options.hideMenubar = m_hideMenubar->isChecked();
    options.hideWindowUi = m_hideWindowUi->isChecked();
    options.fitWindow = m_fitWindow->isChecked();
    options.centerWindow = m_centerWindow->isChecked();
    options.printScaling = m_printScaling->isChecked();
    return options;
}
