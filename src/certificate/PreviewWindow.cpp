#include "PreviewWindow.h"

#include "CertificatePrinter.h"
#include "PageView.h"
#include "PdfExport.h"
#include "PreviewDialogs.h"
#include "widgets/Glyphs.h"
#include "widgets/MessageBoxes.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr qreal minimumZoom = 0.25;
constexpr qreal maximumZoom = 4.0;
constexpr qreal zoomStep = 0.25;
constexpr qreal thumbnailScale = 0.18;

QImage renderThumbnail(const PageSource& pages, int pageIndex)
{
    const QSize size = (pages.pageSizePx * thumbnailScale).toSize();
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(thumbnailScale, thumbnailScale);
    pages.paintPage(painter, pageIndex);
    painter.end();
    return image;
}

} // namespace

PreviewWindow::PreviewWindow(const PreparedDocument& document, QWidget* parent) : QDialog(parent), m_document(document)
{
    setObjectName(QStringLiteral("PreviewWindow"));
    setWindowTitle(QStringLiteral("Preview"));
    setModal(true);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    // Maximized; the screen's size as well, for a desktop without a window manager to honour the state.
    if (QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    setWindowState(Qt::WindowMaximized);

    m_pageView = new PageView(this);
    m_scrollArea = new QScrollArea(this);
    m_scrollArea->setObjectName(QStringLiteral("PageScrollArea"));
    m_scrollArea->setWidget(m_pageView);
    m_scrollArea->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scrollArea->setBackgroundRole(QPalette::Dark);

    m_thumbnails = new QListWidget(this);
    m_thumbnails->setObjectName(QStringLiteral("ThumbnailList"));
    m_thumbnails->setViewMode(QListView::IconMode);
    m_thumbnails->setFlow(QListView::TopToBottom);
    m_thumbnails->setMovement(QListView::Static);
    m_thumbnails->setIconSize((Certificate::pageSizePx() * thumbnailScale).toSize());
    m_thumbnails->setFixedWidth(m_thumbnails->iconSize().width() + 40);
    m_thumbnails->hide();
    connect(m_thumbnails, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            goToPage(row);
    });

    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_thumbnails);
    splitter->addWidget(m_scrollArea);
    splitter->setStretchFactor(1, 1);

    m_statusLabel = new QLabel(this);
    m_statusLabel->setObjectName(QStringLiteral("PreviewStatusLabel"));

    buildToolBar();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(splitter, 1);
    layout->addWidget(m_statusLabel);

    m_productionTimer.setSingleShot(true);
    connect(&m_productionTimer, &QTimer::timeout, this, &PreviewWindow::produceNextPage);
    updateState();
}

PreviewWindow::~PreviewWindow() = default;

QAction* PreviewWindow::addAction(const QString& objectName, const QString& text, const QKeySequence& shortcut,
                                  void (PreviewWindow::*slot)())
{
    auto* action = new QAction(text, this);
    action->setObjectName(objectName);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        action->setToolTip(QStringLiteral("%1 (%2)").arg(text, shortcut.toString(QKeySequence::NativeText)));
    }
    connect(action, &QAction::triggered, this, slot);
    QWidget::addAction(action); // shortcuts work even when the tool bar hides the button
    m_toolBar->addAction(action);
    return action;
}

void PreviewWindow::buildToolBar()
{
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("PreviewToolBar"));
    QStyle* s = style();

    QAction* printAction =
        addAction(QStringLiteral("PrintAction"), tr("Print"), QKeySequence::Print, &PreviewWindow::print);
    printAction->setIcon(Glyphs::printer());
    QAction* openAction =
        addAction(QStringLiteral("OpenAction"), tr("Open"), QKeySequence::Open, &PreviewWindow::openPreparedReport);
    openAction->setIcon(s->standardIcon(QStyle::SP_DialogOpenButton));
    QAction* saveAction =
        addAction(QStringLiteral("SaveAction"), tr("Save"), QKeySequence::Save, &PreviewWindow::savePreparedReport);
    saveAction->setIcon(Glyphs::floppy());

    auto* exportMenu = new QMenu(this);
    exportMenu->setObjectName(QStringLiteral("ExportMenu"));
    QAction* preparedAction = exportMenu->addAction(QStringLiteral("Prepared Report..."));
    preparedAction->setObjectName(QStringLiteral("ExportPreparedAction"));
    connect(preparedAction, &QAction::triggered, this, &PreviewWindow::savePreparedReport);
    exportMenu->addSeparator();
    QAction* pdfAction = exportMenu->addAction(QStringLiteral("PDF file..."));
    pdfAction->setObjectName(QStringLiteral("ExportPdfAction"));
    connect(pdfAction, &QAction::triggered, this, &PreviewWindow::exportPdf);
    m_exportButton = new QToolButton(this);
    m_exportButton->setObjectName(QStringLiteral("ExportButton"));
    m_exportButton->setText(tr("Export"));
    m_exportButton->setToolTip(tr("Export"));
    m_exportButton->setIcon(s->standardIcon(QStyle::SP_DialogSaveButton));
    m_exportButton->setMenu(exportMenu);
    m_exportButton->setPopupMode(QToolButton::InstantPopup);
    m_toolBar->addWidget(m_exportButton);
    m_toolBar->addSeparator();

    QAction* zoomInAction =
        addAction(QStringLiteral("ZoomInAction"), tr("Zoom In"), QKeySequence::ZoomIn, &PreviewWindow::zoomIn);
    zoomInAction->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    addAction(QStringLiteral("ZoomOutAction"), tr("Zoom Out"), QKeySequence::ZoomOut, &PreviewWindow::zoomOut);
    addAction(QStringLiteral("WholePageAction"), tr("Whole Page"), QKeySequence(), &PreviewWindow::zoomWholePage);
    addAction(QStringLiteral("PageWidthAction"), tr("Page Width"), QKeySequence(), &PreviewWindow::zoomPageWidth);
    m_toolBar->addSeparator();

    QAction* first = addAction(QStringLiteral("FirstPageAction"), tr("First Page"),
                               QKeySequence(Qt::CTRL | Qt::Key_Home), &PreviewWindow::firstPage);
    first->setIcon(s->standardIcon(QStyle::SP_MediaSkipBackward));
    QAction* previous = addAction(QStringLiteral("PreviousPageAction"), tr("Previous Page"),
                                  QKeySequence(Qt::Key_PageUp), &PreviewWindow::previousPage);
    previous->setIcon(s->standardIcon(QStyle::SP_MediaSeekBackward));
    QAction* next = addAction(QStringLiteral("NextPageAction"), tr("Next Page"), QKeySequence(Qt::Key_PageDown),
                              &PreviewWindow::nextPage);
    next->setIcon(s->standardIcon(QStyle::SP_MediaSeekForward));
    QAction* last = addAction(QStringLiteral("LastPageAction"), tr("Last Page"), QKeySequence(Qt::CTRL | Qt::Key_End),
                              &PreviewWindow::lastPage);
    last->setIcon(s->standardIcon(QStyle::SP_MediaSkipForward));
    m_toolBar->addSeparator();

    m_findEdit = new QLineEdit(this);
    m_findEdit->setObjectName(QStringLiteral("FindEdit"));
    m_findEdit->setPlaceholderText(tr("Find"));
    m_findEdit->setClearButtonEnabled(true);
    m_findEdit->setMaximumWidth(200);
    connect(m_findEdit, &QLineEdit::returnPressed, this, [this] {
        if (m_findEdit->text() == m_findText && !m_matches.isEmpty())
            findNext();
        else
            find(m_findEdit->text());
    });
    m_toolBar->addWidget(m_findEdit);
    auto* focusFind = new QAction(this);
    focusFind->setShortcut(QKeySequence::Find);
    connect(focusFind, &QAction::triggered, this, [this] {
        m_findEdit->setFocus();
        m_findEdit->selectAll();
    });
    QWidget::addAction(focusFind);
    QAction* findNextAction =
        addAction(QStringLiteral("FindNextAction"), tr("Find Next"), QKeySequence::FindNext, &PreviewWindow::findNext);
    findNextAction->setIcon(Glyphs::magnifier());
    m_toolBar->addSeparator();

    addAction(QStringLiteral("PageSettingsAction"), tr("Page Settings"), QKeySequence(),
              &PreviewWindow::editPageSettings);
    addAction(QStringLiteral("FullScreenAction"), tr("Full Screen"), QKeySequence::FullScreen,
              &PreviewWindow::toggleFullScreen);
    m_thumbnailsAction = new QAction(tr("Thumbnails"), this);
    m_thumbnailsAction->setObjectName(QStringLiteral("ThumbnailsAction"));
    m_thumbnailsAction->setCheckable(true);
    connect(m_thumbnailsAction, &QAction::toggled, this, &PreviewWindow::setThumbnailsVisible);
    m_toolBar->addAction(m_thumbnailsAction);
    m_toolBar->addSeparator();
    QAction* closeAction =
        addAction(QStringLiteral("CloseAction"), tr("Close"), QKeySequence(), &PreviewWindow::reject);
    closeAction->setIcon(s->standardIcon(QStyle::SP_DialogCloseButton));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    // The page arrows and the file buttons speak for themselves: pictures only, so the whole bar fits.
    for (QAction* pictureOnly : {openAction, saveAction, first, previous, next, last, findNextAction}) {
        if (auto* toolButton = qobject_cast<QToolButton*>(m_toolBar->widgetForAction(pictureOnly)))
            toolButton->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }

    for (QAction* action : m_toolBar->actions()) {
        if (!action->isSeparator() && action != closeAction)
            m_documentActions.append(action);
    }
    m_documentActions.append(preparedAction);
    m_documentActions.append(pdfAction);
}

void PreviewWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_productionStarted) {
        m_productionStarted = true;
        startProduction();
    }
}

void PreviewWindow::startProduction()
{
    m_producing = true;
    m_cancelled = false;
    m_pageTexts.clear();
    m_matches.clear();
    m_currentMatch = -1;
    m_thumbnails->clear();
    m_pageView->setPages(PageSource{0, m_document.pageSizePx(), {}});
    updateState();
    m_productionTimer.start(productionDelayMs);
}

void PreviewWindow::produceNextPage()
{
    if (!m_producing)
        return;
    const PageSource pages = m_document.pageSource();
    const int page = m_pageTexts.size();
    m_pageTexts.append(m_document.textLines(page));
    auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(renderThumbnail(pages, page))), QString::number(page + 1),
                                     m_thumbnails);
    item->setTextAlignment(Qt::AlignHCenter);
    if (m_pageTexts.size() < pages.pageCount) {
        m_productionTimer.start(0); // let the window breathe (and be closed) between pages
        updateState();
        return;
    }
    m_producing = false;
    m_pageView->setPages(pages);
    setZoom(1.0);
    showPage(0);
    if (!m_findText.isEmpty())
        find(m_findText);
    updateState();
    Q_EMIT productionFinished();
}

void PreviewWindow::reject()
{
    if (m_producing) {
        m_productionTimer.stop();
        m_producing = false;
        m_cancelled = true;
    }
    QDialog::reject();
}

int PreviewWindow::currentPage() const
{
    return m_pageView->pageIndex();
}

qreal PreviewWindow::zoom() const
{
    return m_pageView->zoom();
}

void PreviewWindow::updateState()
{
    for (QAction* action : std::as_const(m_documentActions))
        action->setEnabled(!m_producing);
    m_exportButton->setEnabled(!m_producing);
    m_findEdit->setEnabled(!m_producing);
    QString status;
    if (m_producing) {
        status = tr("Producing page %1 of %2...").arg(m_pageTexts.size() + 1).arg(m_document.pageCount());
    } else if (m_pageTexts.isEmpty()) {
        status = QString();
    } else {
        status = tr("Page %1 of %2").arg(currentPage() + 1).arg(m_document.pageCount()) + QStringLiteral("    ") +
                 tr("Zoom %1 %").arg(qRound(zoom() * 100));
        if (!m_findText.isEmpty()) {
            status += QStringLiteral("    ");
            status += m_matches.isEmpty() ? tr("\"%1\" not found").arg(m_findText)
                                          : tr("Match %1 of %2").arg(m_currentMatch + 1).arg(m_matches.size());
        }
    }
    m_statusLabel->setText(status);
}

void PreviewWindow::setZoom(qreal zoom)
{
    m_pageView->setZoom(std::clamp(zoom, minimumZoom, maximumZoom));
    updateState();
}

void PreviewWindow::zoomIn()
{
    setZoom(zoom() + zoomStep);
}

void PreviewWindow::zoomOut()
{
    setZoom(zoom() - zoomStep);
}

void PreviewWindow::zoomWholePage()
{
    const QSize room = m_scrollArea->viewport()->size() - QSize(2 * PageView::deskMargin, 2 * PageView::deskMargin);
    const QSizeF page = m_document.pageSizePx();
    setZoom(std::min(room.width() / page.width(), room.height() / page.height()));
}

void PreviewWindow::zoomPageWidth()
{
    // Leave room for the vertical scroll bar the taller page will need.
    const int room = m_scrollArea->viewport()->width() - 2 * PageView::deskMargin -
                     m_scrollArea->verticalScrollBar()->sizeHint().width();
    setZoom(room / m_document.pageSizePx().width());
}

void PreviewWindow::showPage(int pageIndex)
{
    if (m_producing || m_pageTexts.isEmpty())
        return;
    pageIndex = std::clamp(pageIndex, 0, m_document.pageCount() - 1);
    m_pageView->setPageIndex(pageIndex);
    m_scrollArea->verticalScrollBar()->setValue(0);
    if (m_thumbnails->currentRow() != pageIndex)
        m_thumbnails->setCurrentRow(pageIndex);
    updateHighlights();
    updateState();
}

void PreviewWindow::goToPage(int pageIndex)
{
    showPage(pageIndex);
}

void PreviewWindow::firstPage()
{
    showPage(0);
}

void PreviewWindow::previousPage()
{
    showPage(currentPage() - 1);
}

void PreviewWindow::nextPage()
{
    showPage(currentPage() + 1);
}

void PreviewWindow::lastPage()
{
    showPage(m_document.pageCount() - 1);
}

void PreviewWindow::find(const QString& text)
{
    m_findText = text;
    m_matches.clear();
    m_currentMatch = -1;
    for (int page = 0; page < m_pageTexts.size(); ++page) {
        for (const Certificate::TextLine& line : m_pageTexts.at(page)) {
            if (text.isEmpty())
                break;
            const qsizetype count = line.text.count(text, Qt::CaseInsensitive);
            for (qsizetype i = 0; i < count; ++i)
                m_matches.append({page, line.rect});
        }
    }
    if (!m_matches.isEmpty()) {
        const auto fromHere = std::find_if(m_matches.cbegin(), m_matches.cend(),
                                           [this](const auto& match) { return match.first >= currentPage(); });
        m_currentMatch = fromHere == m_matches.cend() ? 0 : static_cast<int>(fromHere - m_matches.cbegin());
        showPage(m_matches.at(m_currentMatch).first);
    }
    updateHighlights();
    updateState();
}

void PreviewWindow::findNext()
{
    if (m_matches.isEmpty()) {
        if (!m_findEdit->text().isEmpty())
            find(m_findEdit->text());
        return;
    }
    m_currentMatch = (m_currentMatch + 1) % m_matches.size();
    showPage(m_matches.at(m_currentMatch).first);
}

void PreviewWindow::updateHighlights()
{
    QList<QRectF> rects;
    int current = -1;
    for (int i = 0; i < m_matches.size(); ++i) {
        if (m_matches.at(i).first != currentPage())
            continue;
        if (i == m_currentMatch)
            current = rects.size();
        rects.append(m_matches.at(i).second);
    }
    m_pageView->setHighlights(rects, current);
    if (current >= 0) {
        const QRectF rect = m_matches.at(m_currentMatch).second;
        m_scrollArea->ensureVisible(qRound(rect.center().x() * zoom()) + PageView::deskMargin,
                                    qRound(rect.center().y() * zoom()) + PageView::deskMargin, 50, 100);
    }
}

void PreviewWindow::print()
{
    if (m_producing)
        return;
    CertificatePrinter::print(this, m_document.pageSource());
}

void PreviewWindow::exportPdf()
{
    if (m_producing)
        return;
    PdfExport::run(this, m_document.pageSource());
}

void PreviewWindow::savePreparedReport()
{
    if (m_producing)
        return;
    const QString suffix = PreparedDocument::fileSuffix();
    QString path = PreviewDialogs::current().askSaveFile(
        this, {tr("Save Prepared Report"), QDir::current().absoluteFilePath(QStringLiteral("certificate.") + suffix),
               PreparedDocument::fileFilter(), suffix});
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + suffix;
    QString error;
    if (!m_document.saveToFile(path, &error))
        MessageBoxes::showError(this, error);
}

void PreviewWindow::openPreparedReport()
{
    if (m_producing)
        return;
    const QString path =
        PreviewDialogs::current().askOpenFile(this, {tr("Open Prepared Report"), QDir::currentPath(),
                                                     PreparedDocument::fileFilter(), PreparedDocument::fileSuffix()});
    if (path.isEmpty())
        return;
    PreparedDocument loaded;
    QString error;
    if (!PreparedDocument::loadFromFile(path, &loaded, &error)) {
        MessageBoxes::showError(this, error);
        return;
    }
    m_document = loaded;
    startProduction();
}

void PreviewWindow::editPageSettings()
{
    if (m_producing)
        return;
    QMarginsF margins = m_document.marginsMm();
    if (!PreviewDialogs::current().askPageMargins(this, &margins) || margins == m_document.marginsMm())
        return;
    m_document.setMarginsMm(margins);
    startProduction(); // the text positions and thumbnails move with the margins
}

void PreviewWindow::toggleFullScreen()
{
    if (isFullScreen())
        showMaximized();
    else
        showFullScreen();
}

void PreviewWindow::setThumbnailsVisible(bool visible)
{
    m_thumbnails->setVisible(visible);
    if (m_thumbnailsAction->isChecked() != visible)
        m_thumbnailsAction->setChecked(visible);
}
