#include "RecordEditor.h"

#include "RecordsBrowser.h"
#include "certificate/CertificatePreview.h"
#include "store/RecordStore.h"
#include "widgets/DateEdit.h"
#include "widgets/FixedLayout.h"
#include "widgets/Glyphs.h"
#include "widgets/MessageBoxes.h"
#include "widgets/OneShotTimer.h"
#include "widgets/StatusLine.h"
#include "widgets/UiFonts.h"
#include "widgets/UpperCaseLineEdit.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QToolButton>

using namespace FixedLayout;

RecordEditor::RecordEditor(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("تعديل البيانات المسجلة"));
    setFixedSize(594, 535);
    setFont(UiFonts::sans(11));
    buildLayout();
}

RecordEditor::~RecordEditor() = default;

QString RecordEditor::savedMessage()
{
    return QStringLiteral("Les informations modiés avec succés / تم تعديل البيانات بنجاح");
}

QString RecordEditor::missingFieldMessage()
{
    return QStringLiteral("Tous les champs doivent etre remplis / يجب ملأ جميع الحقول");
}

QString RecordEditor::deleteQuestion()
{
    return QStringLiteral("Ete vous sur de supprimer les données / هل تريد حذف بيانات هذا الزبون ");
}

QString RecordEditor::vanishedMessage()
{
    return QStringLiteral("Cet enregistrement n'existe plus : rien n'a été modifié / هذا التسجيل لم يعد موجودا");
}

void RecordEditor::buildLayout()
{
    m_titlePanel = place(new QLabel(QStringLiteral("MODIFICATION DES INFORMATIONS"), this), "Panel1", 0, -1, 593, 41);
    m_titlePanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_titlePanel->setAlignment(Qt::AlignCenter);
    m_titlePanel->setFont(UiFonts::sans(12));
    setColours(m_titlePanel, QColor(64, 128, 128), palette().color(QPalette::Base));
    m_titlePanel->setFocusPolicy(Qt::ClickFocus); // holds the focus on show, skipped by Tab

    label(this, "Label10", 166, 74, 0, 0, QStringLiteral("Date"));
    m_dateEdit = place(new DateEdit(this), "sDateEdit1", 200, 64, 107, 22);
    m_idEdit = place(new QLineEdit(QStringLiteral("id"), this), "Edit1", 24, 126, 81, 21);
    m_idEdit->hide();

    struct Field
    {
        QLineEdit** edit;
        const char* labelName;
        int labelX, labelY;
        const char* labelText;
        const char* name;
        int y, width;
    };
    const Field fields[] = {
        {&m_ownerEdit, "Label1", 125, 104, "Appartenant ", "Edit2", 96, 299},
        {&m_registrationEdit, "Label2", 135, 131, "Véhicule N°", "Edit3", 126, 208},
        {&m_makeEdit, "Label3", 153, 164, "Marque", "Edit4", 156, 208},
        {&m_typeEdit, "Label4", 165, 194, "Type", "Edit5", 186, 208},
        {&m_serialEdit, "Label5", 135, 225, "N° de Série", "Edit6", 217, 299},
        {&m_tankMakeEdit, "Label12", 104, 257, "Marque Réservoir", "Edit13", 249, 208},
        {&m_tankNumberEdit, "Label6", 99, 289, "Réservoir G.P.L N°", "Edit7", 281, 208},
        {&m_testDateEdit, "Label7", 134, 321, "Epreuve du", "MaskEdit1", 313, 98},
        {&m_capacityEdit, "Label8", 147, 353, "Capacité", "Edit8", 345, 121},
        {&m_numberEdit, "Label9", 146, 385, "SINCERE", "Edit9", 377, 89},
    };
    QWidget* previous = m_dateEdit;
    setTabOrder(m_titlePanel, m_dateEdit);
    for (const Field& field : fields) {
        label(this, field.labelName, field.labelX, field.labelY, 0, 0, QString::fromUtf8(field.labelText));
        // Every field but the test date turns letters to upper case.
        QLineEdit* edit = qstrcmp(field.name, "MaskEdit1") == 0 ? new QLineEdit(this) : new UpperCaseLineEdit(this);
        *field.edit = place(edit, field.name, 200, field.y, field.width, 21);
        setTabOrder(previous, edit);
        previous = edit;
    }
    m_numberEdit->setAlignment(Qt::AlignCenter);

    for (int y : {408, 467}) {
        auto* rule = place(new QFrame(this), y == 408 ? "Bevel1" : "Bevel2", 0, y, 593, 1);
        setColours(rule, desktopColour(), desktopColour());
    }
    m_saveButton = button(this, "SpeedButton1", 200, 416, 98, 25, QStringLiteral("Enregistrer"), Glyphs::floppy());
    m_printButton = button(this, "SpeedButton3", 368, 416, 97, 25, QString(), Glyphs::printer());
    m_statusLine = place(new StatusLine(this, 3000), "Label11", 200, 447, 0, 0);
    m_statusLine->setFont(UiFonts::sans(12));
    m_statusLine->timer()->setObjectName(QStringLiteral("Timer1"));

    auto* deletePanel = place(new QFrame(this), "Panel2", 438, 508, 154, 23);
    setColours(deletePanel, Qt::red, Qt::white);
    m_deleteButton = button(deletePanel, "SpeedButton2", 0, 0, 154, 23, QStringLiteral("SUPPRIMER"), QIcon());
    m_deleteButton->setAutoRaise(true);
    m_deleteButton->setFont(UiFonts::sans(11));
    setColours(m_deleteButton, Qt::red, Qt::white);

    connect(m_saveButton, &QToolButton::clicked, this, &RecordEditor::saveRecord);
    connect(m_deleteButton, &QToolButton::clicked, this, &RecordEditor::deleteRecord);
    connect(m_printButton, &QToolButton::clicked, this, &RecordEditor::printCertificate);
}

void RecordEditor::setStore(RecordStore* store)
{
    m_store = store;
}

void RecordEditor::setBrowser(RecordsBrowser* browser)
{
    m_browser = browser;
}

void RecordEditor::fillFields(const AttestationRecord& record)
{
    m_idEdit->setText(QString::number(record.id));
    m_dateEdit->setValue(record.dateStartValid);
    m_ownerEdit->setText(record.appart);
    m_registrationEdit->setText(record.vehicleImmatricul);
    m_makeEdit->setText(record.marque);
    m_typeEdit->setText(record.type);
    m_serialEdit->setText(record.nSerie);
    m_tankMakeEdit->setText(record.marqueReservoir);
    m_tankNumberEdit->setText(record.nReservoir);
    m_testDateEdit->setText(record.epreuve);
    m_capacityEdit->setText(record.capacity);
    m_numberEdit->setText(record.cincere);
}

void RecordEditor::showRecord(const AttestationRecord& record)
{
    fillFields(record);
    exec();
}

void RecordEditor::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;           // shown again by the window system (restored), not opened
    if (!m_shownBefore) { // centred the first time, afterwards shown where it was last
        m_shownBefore = true;
        setAttribute(Qt::WA_Moved, true);
    }
    m_titlePanel->setFocus(); // no field has the focus; the first Tab goes to the date
}

QWidget* RecordEditor::firstMissingField() const
{
    for (QLineEdit* edit : {m_idEdit, m_ownerEdit, m_registrationEdit, m_makeEdit, m_typeEdit, m_serialEdit,
                            m_tankMakeEdit, m_tankNumberEdit}) {
        if (edit->text().isEmpty())
            return edit;
    }
    // A blank or partly typed date is refused, whatever the date separator.
    if (m_dateEdit->hasBlank())
        return m_dateEdit;
    for (QLineEdit* edit : {m_capacityEdit, m_numberEdit}) {
        if (edit->text().isEmpty())
            return edit;
    }
    return nullptr;
}

void RecordEditor::saveRecord()
{
    if (firstMissingField()) {
        m_statusLine->showMessage(missingFieldMessage(), QColor(255, 0, 0));
        return;
    }
    bool isNumber = false;
    const int id = m_idEdit->text().toInt(&isNumber);
    if (!isNumber) {
        MessageBoxes::showError(this, QStringLiteral("'%1' is not a valid integer value").arg(m_idEdit->text()));
        return;
    }
    AttestationRecord record;
    record.id = id;
    record.appart = m_ownerEdit->text();
    record.vehicleImmatricul = m_registrationEdit->text();
    record.marque = m_makeEdit->text();
    record.type = m_typeEdit->text();
    record.nSerie = m_serialEdit->text();
    record.marqueReservoir = m_tankMakeEdit->text();
    record.nReservoir = m_tankNumberEdit->text();
    record.epreuve = m_testDateEdit->text();
    record.capacity = m_capacityEdit->text();
    record.cincere = m_numberEdit->text();
    record.dateStartValid = m_dateEdit->value();

    int changedRows = 0;
    DbError error;
    if (!m_store || !m_store->updateRecord(record, &changedRows, &error)) {
        MessageBoxes::showError(this, m_store ? error.message : QStringLiteral("database is not open"));
        return;
    }
    if (changedRows == 0) { // deleted meanwhile by another program: nothing was saved
        MessageBoxes::showError(this, vanishedMessage());
        return;
    }
    m_statusLine->showMessage(savedMessage(), QColor(0, 128, 0));
    if (m_browser)
        m_browser->reopenList();
}

void RecordEditor::deleteRecord()
{
    const auto answer = MessageBoxes::askWarning(this, QStringLiteral("Warning"), deleteQuestion(),
                                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes)
        return;
    DbError error;
    if (!m_store || !m_store->deleteRecord(m_idEdit->text(), &error)) {
        MessageBoxes::showError(this, m_store ? error.message : QStringLiteral("database is not open"));
        return;
    }
    if (m_browser)
        m_browser->reopenList();
    accept();
}

void RecordEditor::printCertificate()
{
    if (m_store) // the saved row with this number, not the corrections on screen
        CertificatePreview::showForNumber(this, *m_store, m_numberEdit->text());
}
