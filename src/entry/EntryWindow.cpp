#include "EntryWindow.h"

#include "certificate/CertificatePreview.h"

#include "maintenance/RecordsBrowser.h"
#include "store/DayCount.h"
#include "store/RecordStore.h"
#include "widgets/Clock.h"
#include "widgets/DateEdit.h"
#include "widgets/FixedLayout.h"
#include "widgets/Glyphs.h"
#include "widgets/MessageBoxes.h"
#include "widgets/OneShotTimer.h"
#include "widgets/StatusLine.h"
#include "widgets/UiFonts.h"
#include "widgets/UpperCaseLineEdit.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QToolButton>

#include <algorithm>

namespace {

using namespace FixedLayout;

QString currentYearNumber()
{
    return QLatin1Char('-') + Clock::now().toString(QStringLiteral("yyyy"));
}

} // namespace

EntryWindow::EntryWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("ATTESTATION D'INSTALLATION"));
    setFixedSize(990, 670);
    setFont(UiFonts::sans(13));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    palette.setColor(QPalette::WindowText, Qt::black);
    setPalette(palette);
    buildLayout();
    buildCreditsPanel();
}

EntryWindow::~EntryWindow() = default;

void EntryWindow::buildLayout()
{
    label(this, "Label10", 137, 135, 27, 16, QStringLiteral("Date"));
    label(this, "Label1", 90, 165, 74, 16, QStringLiteral("Appartenant "));
    label(this, "Label2", 96, 195, 68, 16, QStringLiteral("Véhicule N°"));
    label(this, "Label3", 121, 225, 43, 16, QStringLiteral("Marque"));
    label(this, "Label4", 137, 255, 27, 16, QStringLiteral("Type"));
    label(this, "Label5", 98, 286, 66, 16, QStringLiteral("N° de Série"));
    label(this, "Label12", 64, 320, 100, 16, QStringLiteral("Marque Réservoir"));
    label(this, "Label6", 57, 350, 107, 16, QStringLiteral("Réservoir G.P.L N°"));
    label(this, "Label7", 100, 382, 64, 16, QStringLiteral("Epreuve du"));
    label(this, "Label8", 113, 414, 51, 16, QStringLiteral("Capacité"));
    label(this, "Label9", 107, 446, 57, 16, QStringLiteral("SINCERE"));
    auto* title = label(this, "Label24", 200, 100, 441, 19,
                        QStringLiteral("ATTESTATION  ET GARANTIE D'INSTALLATION DU GPL.C"), UiFonts::sans(16, true));
    setTextColour(title, palette().color(QPalette::Highlight));

    m_dateEdit = place(new DateEdit(this), "sDateEdit1", 200, 125, 113, 24);
    m_ownerEdit = place(new UpperCaseLineEdit(this), "Edit1", 200, 157, 300, 24);
    m_registrationEdit = place(new UpperCaseLineEdit(this), "Edit2", 200, 187, 209, 24);
    m_makeEdit = place(new UpperCaseLineEdit(this), "Edit3", 200, 217, 209, 24);
    m_typeEdit = place(new UpperCaseLineEdit(this), "Edit4", 200, 247, 209, 24);
    m_serialEdit = place(new UpperCaseLineEdit(this), "Edit5", 200, 278, 300, 24);
    m_tankMakeEdit = place(new UpperCaseLineEdit(this), "Edit13", 200, 310, 185, 24);
    m_tankNumberEdit = place(new UpperCaseLineEdit(this), "Edit6", 200, 342, 185, 24);
    m_testDateEdit = place(new QLineEdit(this), "MaskEdit1", 200, 374, 121, 24);
    m_capacityEdit = place(new UpperCaseLineEdit(this), "Edit8", 200, 406, 121, 24);
    m_numberEdit = place(new UpperCaseLineEdit(this), "Edit9", 200, 438, 121, 24);
    m_numberEdit->setAlignment(Qt::AlignCenter);
    QPalette numberPalette = m_numberEdit->palette();
    numberPalette.setColor(QPalette::Base, QColor(128, 255, 0));
    m_numberEdit->setPalette(numberPalette);

    m_lastRecordLabel = place(new QLabel(QStringLiteral("Label17"), this), "Label17", 327, 442, 0, 0);
    QFont lastRecordFont = UiFonts::sans(15, true);
    lastRecordFont.setUnderline(true);
    m_lastRecordLabel->setFont(lastRecordFont);
    setTextColour(m_lastRecordLabel, QColor(64, 128, 128));
    m_lastRecordLabel->adjustSize();

    m_refreshButton = button(this, "SpeedButton6", 528, 384, 160, 33, QStringLiteral("show last N° with owner"));
    m_refreshButton->hide();
    connect(m_refreshButton, &QToolButton::clicked, this, &EntryWindow::refreshLastRecord);

    auto* actionPanel = panel(this, "Panel3", 0, 468, 742, 37, QColor(160, 207, 207));
    auto* savePanel = panel(actionPanel, "Panel6", 200, 4, 121, 30, QColor(0, 128, 255));
    savePanel->setFont(UiFonts::sans(13));
    setTextColour(savePanel, Qt::white);
    m_saveButton = button(savePanel, "SpeedButton5", 0, 0, 121, 30, QStringLiteral("Enregistrer"), Glyphs::floppy());
    m_saveButton->setAutoRaise(true);
    setColours(m_saveButton, QColor(0, 128, 255), Qt::white);
    m_printLastButton = button(actionPanel, "SpeedButton3", 336, 4, 105, 30, QString(), Glyphs::printer());
    m_printLastButton->setIconSize(QSize(24, 24));
    m_printLastButton->hide();
    m_clearButton = button(actionPanel, "SpeedButton2", 552, 4, 136, 30, QStringLiteral("Vider les champs"));
    connect(m_saveButton, &QToolButton::clicked, this, &EntryWindow::saveRecord);
    connect(m_clearButton, &QToolButton::clicked, this, &EntryWindow::clearFields);

    m_statusLine = place(new StatusLine(this, 3000), "Label14", 200, 508, 0, 0);
    m_statusLine->timer()->setObjectName(QStringLiteral("Timer1"));
    m_printLastTimer = new OneShotTimer(300000, this);
    m_printLastTimer->setObjectName(QStringLiteral("Timer2"));
    connect(m_printLastTimer, &OneShotTimer::ticked, this, &EntryWindow::hidePrintLastButton);

    rule(this, "Splitter3", 0, 547, 742, desktopColour());

    auto* browsePanel = panel(this, "Panel4", 200, 564, 265, 30, palette().color(QPalette::Highlight));
    m_browseButton =
        button(browsePanel, "SpeedButton4", 0, 0, 265, 30, QStringLiteral("تعديل البيانات المسجلة"), Glyphs::pencil());
    m_browseButton->setIconSize(QSize(24, 24));
    m_browseButton->setAutoRaise(true);
    m_browseButton->setFont(UiFonts::sans(13, true));
    setColours(m_browseButton, palette().color(QPalette::Highlight), Qt::white);
    connect(m_browseButton, &QToolButton::clicked, this, &EntryWindow::openBrowser);
    connect(m_printLastButton, &QToolButton::clicked, this, &EntryWindow::printLastSaved);

    auto* searchPanel = panel(this, "Panel1", 440, 4, 297, 81, palette().color(QPalette::Button));
    label(searchPanel, "Label13", 97, 8, 81, 16, QStringLiteral("RECHERCHE"));
    rule(searchPanel, "Splitter2", 0, 27, 297, desktopColour());
    label(searchPanel, "Label11", 10, 45, 83, 16, QStringLiteral("N° (SINCERE)"));
    m_lookupEdit = place(new QLineEdit(searchPanel), "Edit7", 97, 42, 121, 24);
    m_lookupEdit->setAlignment(Qt::AlignCenter);
    m_lookupButton = button(searchPanel, "SpeedButton1", 224, 42, 65, 24, QString(), Glyphs::magnifier());
    connect(m_lookupButton, &QToolButton::clicked, this, &EntryWindow::lookUpAndPrint);
    connect(m_lookupEdit, &QLineEdit::returnPressed, this, &EntryWindow::lookUpAndPrint);

    // Tab order: the entry fields, then the look-up box, the date last; Enter gives the order of entry.
    const QList<QWidget*> tabOrder = {m_ownerEdit,    m_registrationEdit, m_makeEdit,     m_typeEdit,
                                      m_serialEdit,   m_tankNumberEdit,   m_capacityEdit, m_numberEdit,
                                      m_tankMakeEdit, m_testDateEdit,     m_lookupEdit,   m_dateEdit};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    connectEnterChain();
}

void EntryWindow::connectEnterChain()
{
    // Enter moves on to the next field in the order of entry; Edit8, Edit9 and the date stop there.
    const QList<QPair<QLineEdit*, QLineEdit*>> chain = {
        {m_ownerEdit, m_registrationEdit},  {m_registrationEdit, m_makeEdit}, {m_makeEdit, m_typeEdit},
        {m_typeEdit, m_serialEdit},         {m_serialEdit, m_tankMakeEdit},   {m_tankMakeEdit, m_tankNumberEdit},
        {m_tankNumberEdit, m_testDateEdit}, {m_testDateEdit, m_capacityEdit},
    };
    for (const auto& [from, to] : chain) {
        QLineEdit* next = to;
        connect(from, &QLineEdit::returnPressed, next, [next] { next->setFocus(Qt::OtherFocusReason); });
    }
}

void EntryWindow::buildCreditsPanel()
{
    auto* credits = panel(this, "Panel2", 741, -1, 250, 672, QColor(128, 128, 128));
    auto* heading =
        label(credits, "CreditsHeading", 74, 8, 170, 20, QStringLiteral("GPL Attest"), UiFonts::sans(15, true));
    setTextColour(heading, Qt::yellow);
    rule(credits, "CreditsRule", 1, 32, 248, Qt::white);
    const struct
    {
        int top;
        QIcon icon;
        QString text;
    } lines[] = {
        {53, Glyphs::pencil(), QStringLiteral("Atelier de conversion G.P.L")},
        {82, Glyphs::floppy(), QStringLiteral("Attestations et garanties")},
        {110, Glyphs::printer(), QStringLiteral("Tél : +213 (0) 21 00 00 00")},
        {139, Glyphs::magnifier(), QStringLiteral("contact@gpl-attest.dz")},
    };
    int index = 1;
    for (const auto& line : lines) {
        auto* icon =
            place(new QLabel(credits), qPrintable(QStringLiteral("CreditsIcon%1").arg(index)), 5, line.top - 5, 27, 27);
        icon->setPixmap(line.icon.pixmap(24, 24));
        icon->setAlignment(Qt::AlignCenter);
        auto* text =
            label(credits, qPrintable(QStringLiteral("CreditsLine%1").arg(index)), 37, line.top, 210, 18, line.text);
        setTextColour(text, Qt::white);
        ++index;
    }
    auto* rights = label(credits, "CreditsRights", 37, 165, 210, 18, QStringLiteral("© 2026 Tous droits réservés"));
    setTextColour(rights, Qt::white);

    auto* price = panel(credits, "Panel5", 0, 279, 249, 26, QColor(0, 255, 0));
    auto* priceText =
        label(price, "Panel5Caption", 0, 0, 249, 26, QStringLiteral("PRIX : 3000 DA"), UiFonts::sans(13, true));
    priceText->setAlignment(Qt::AlignCenter);
    setTextColour(priceText, Qt::blue);
}

void EntryWindow::setStore(RecordStore* store)
{
    m_store = store;
}

void EntryWindow::setBrowser(RecordsBrowser* browser)
{
    m_browser = browser;
}

void EntryWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    if (QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    // The form starts in Edit1, not in the date field: leaving the date would set its time to midnight.
    m_ownerEdit->setFocus(Qt::OtherFocusReason);
    runShowAction();
}

void EntryWindow::runShowAction()
{
    m_dateEdit->setValue(DayCount::fromDateTime(Clock::now()));
    const QString number = currentYearNumber();
    m_numberEdit->setText(number);
    m_lookupEdit->setText(number);
    refreshLastRecord();
}

void EntryWindow::clearFields()
{
    const QList<QLineEdit*> emptied = {m_ownerEdit,    m_registrationEdit, m_makeEdit,
                                       m_typeEdit,     m_serialEdit,       m_tankNumberEdit,
                                       m_testDateEdit, m_tankMakeEdit,     m_capacityEdit};
    for (QLineEdit* field : emptied)
        field->clear();
    m_dateEdit->setValue(DayCount::fromDateTime(Clock::now()));
    m_numberEdit->setText(currentYearNumber());
    m_lookupEdit->clear();
    m_ownerEdit->setFocus(Qt::OtherFocusReason);
}

bool EntryWindow::hasMissingField() const
{
    const QList<QLineEdit*> required = {m_ownerEdit,    m_registrationEdit, m_makeEdit,     m_typeEdit,
                                        m_serialEdit,   m_tankNumberEdit,   m_tankMakeEdit, m_testDateEdit,
                                        m_capacityEdit, m_numberEdit};
    for (QLineEdit* field : required) {
        if (field->text().isEmpty()) // a text of spaces counts as filled
            return true;
    }
    // A blank or partly typed date would be stored as 30 December 1899 and printed as such.
    return m_dateEdit->hasBlank();
}

void EntryWindow::saveRecord()
{
    if (hasMissingField()) {
        m_statusLine->showMessage(QStringLiteral("Tous les champs doivent etre remplis / يجب ملأ جميع الحقول"),
                                  QColor(255, 0, 0));
        return;
    }
    AttestationRecord record;
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
    DbError error;
    if (!m_store->insertRecord(record, &error)) {
        MessageBoxes::showError(this, error.message); // the form keeps what was typed, for another try
        return;
    }
    clearFields();
    m_printLastButton->show();
    m_printLastTimer->enable();
    m_statusLine->showMessage(QStringLiteral("Enregistré avec success / تم حفظ البيانات بنجاح"), QColor(0, 128, 0));
    refreshLastRecord();
}

void EntryWindow::hidePrintLastButton()
{
    m_printLastButton->hide();
    m_printLastTimer->disable();
}

void EntryWindow::closeEvent(QCloseEvent* event)
{
    clearFields();
    QWidget::closeEvent(event);
}

void EntryWindow::refreshLastRecord()
{
    std::optional<AttestationRecord> last;
    DbError error;
    if (!m_store->selectLastRecord(&last, &error)) {
        MessageBoxes::showError(this, error.message);
        return;
    }
    const AttestationRecord record = last.value_or(AttestationRecord{});
    m_lastRecordLabel->setText(QStringLiteral("Dernière N° : ") + record.cincere + QStringLiteral(", Appartenant : ") +
                               record.appart);
    m_lastRecordLabel->adjustSize();
}

void EntryWindow::openBrowser()
{
    if (m_browser)
        m_browser->exec();
}

void EntryWindow::lookUpAndPrint()
{
    // The number as typed: the look-up compares the whole number, without changing its case.
    CertificatePreview::showForNumber(this, *m_store, m_lookupEdit->text());
}

void EntryWindow::printLastSaved()
{
    QString number;
    DbError error;
    if (!m_store->selectLastNumber(&number, &error)) {
        MessageBoxes::showError(this, error.message);
        return;
    }
    CertificatePreview::showForNumber(this, *m_store, number);
}
