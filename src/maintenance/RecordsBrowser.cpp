#include "RecordsBrowser.h"

#include "RecordEditor.h"
#include "RecordsModel.h"
#include "store/RecordStore.h"
#include "widgets/FixedLayout.h"
#include "widgets/MessageBoxes.h"
#include "widgets/UiFonts.h"

#include <QEvent>
#include <QFrame>
#include <QHeaderView>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QShowEvent>
#include <QTableView>

RecordsBrowser::RecordsBrowser(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("تعديل البيانات المسجلة"));
    setFixedSize(990, 560);
    setFont(UiFonts::sans(12));
    m_model = new RecordsModel(this);
    buildLayout();
    connect(m_model, &RecordsModel::pageArrived, this, &RecordsBrowser::pageArrived);
    connect(m_model, &RecordsModel::readFailed, this,
            [this](const QString& message) { MessageBoxes::showError(this, message); });
}

RecordsBrowser::~RecordsBrowser() = default;

void RecordsBrowser::buildLayout()
{
    auto* searchPanel = FixedLayout::place(new QFrame(this), "Panel1", 8, 10, 281, 97);
    searchPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);

    m_byNumber = FixedLayout::place(new QRadioButton(QStringLiteral("N° Enregistrement"), searchPanel), "RadioButton1",
                                    8, 16, 137, 17);
    m_byOwner = FixedLayout::place(new QRadioButton(QStringLiteral("Nom / Prénom"), searchPanel), "RadioButton2", 8, 40,
                                   137, 17);
    m_byNumber->setChecked(true);

    m_searchEdit = FixedLayout::place(new QLineEdit(searchPanel), "Edit1", 8, 63, 186, 22);

    auto* hint = FixedLayout::label(
        this, "Label1", 295, 91, 0, 0,
        QStringLiteral(
            "NB. Double click pour modifier les informations  / نقر مزدوج على الجدول من أجل تعديل البيانات "),
        UiFonts::sans(12, true));
    FixedLayout::setTextColour(hint, Qt::red);

    m_grid = FixedLayout::place(new QTableView(this), "DBGrid1", 8, 120, 966, 432);
    m_grid->setModel(m_model);
    m_grid->setFont(UiFonts::sans(12));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setShowGrid(true);
    m_grid->setWordWrap(false);
    m_grid->setTextElideMode(Qt::ElideNone); // long texts are cut at the cell edge
    m_grid->setToolTip(
        QStringLiteral("Double click pour modifier les informations  / نقر مزدوج من أجل تعديل البيانات "));
    m_grid->viewport()->setCursor(Qt::PointingHandCursor);
    QHeaderView* titles = m_grid->horizontalHeader();
    titles->setFont(UiFonts::sans(11));
    titles->setDefaultSectionSize(100);
    titles->setSectionResizeMode(QHeaderView::Interactive);
    titles->setSectionsClickable(false); // a click on a title changes nothing
    titles->setHighlightSections(false);
    titles->setStretchLastSection(false);
    QHeaderView* indicator = m_grid->verticalHeader();
    indicator->setSectionResizeMode(QHeaderView::Fixed);
    indicator->setDefaultSectionSize(18);
    indicator->setMinimumWidth(12);
    indicator->setDefaultAlignment(Qt::AlignCenter);
    indicator->setFont(UiFonts::sans(9));
    for (QObject* part : {static_cast<QObject*>(m_grid->viewport()), static_cast<QObject*>(titles),
                          static_cast<QObject*>(indicator->viewport()), static_cast<QObject*>(titles->viewport())})
        part->installEventFilter(this);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { m_model->setCurrentRow(current.isValid() ? current.row() : -1); });

    connect(m_searchEdit, &QLineEdit::textChanged, this, &RecordsBrowser::searchTextChanged);
    connect(m_byNumber, &QRadioButton::clicked, m_searchEdit, qOverload<>(&QWidget::setFocus));
    connect(m_byOwner, &QRadioButton::clicked, m_searchEdit, qOverload<>(&QWidget::setFocus));

    setTabOrder(m_byNumber, m_searchEdit);
    setTabOrder(m_searchEdit, m_grid);
}

void RecordsBrowser::setStore(RecordStore* store)
{
    m_store = store;
    if (store)
        m_model->setDatabaseFile(store->fileName());
}

void RecordsBrowser::setEditor(RecordEditor* editor)
{
    m_editor = editor;
}

void RecordsBrowser::reopenList()
{
    m_model->reopen();
}

void RecordsBrowser::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return; // shown again by the window system (restored), not opened
    // Centred over the main window the first time; afterwards where it was last.
    if (!m_shownBefore) {
        m_shownBefore = true;
        setAttribute(Qt::WA_Moved, true);
    }
    m_searchEdit->setFocus();
    m_byNumber->setChecked(true); // the mode only: the list keeps the statement set by the last search
    m_model->reopen();
}

void RecordsBrowser::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        m_model->close();
}

void RecordsBrowser::searchTextChanged(const QString& text)
{
    if (m_byNumber->isChecked())
        m_model->setQuery(RecordStore::Search::NumberPrefix, text);
    else if (m_byOwner->isChecked())
        m_model->setQuery(RecordStore::Search::OwnerPrefix, text);
}

void RecordsBrowser::pageArrived()
{
    // As in a data set, an open list that has rows always has a current one: the first.
    if (!m_grid->currentIndex().isValid() && m_model->rowCount() > 0)
        m_grid->setCurrentIndex(m_model->index(0, 0));
}

bool RecordsBrowser::eventFilter(QObject* watched, QEvent* event)
{
    // A double click anywhere in the grid (row, title row, indicator column, blank area) opens the
    // current row; the first click of the pair has already made a clicked row current.
    if (event->type() == QEvent::MouseButtonDblClick) {
        openCurrentInEditor();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void RecordsBrowser::openCurrentInEditor()
{
    if (!m_editor || m_model->rowCount() == 0)
        return; // an empty list has no record to edit
    const QModelIndex current = m_grid->currentIndex();
    m_editor->showRecord(m_model->record(current.isValid() ? current.row() : 0));
}
