#pragma once

#include "PreparedDocument.h"

#include <QDialog>
#include <QImage>
#include <QList>
#include <QTimer>

class PageView;
class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QScrollArea;
class QToolBar;
class QToolButton;

/// The modal "Preview" of a certificate. The pages are produced once the window is up, one at a time from
/// its own event loop, so that the window shows at once and closing it during production cancels the
/// rest. From here the operator prints, exports to PDF, saves or opens a prepared report, zooms, pages,
/// finds text, changes the margins and looks at thumbnails.
class PreviewWindow : public QDialog
{
    Q_OBJECT
public:
    explicit PreviewWindow(const PreparedDocument& document, QWidget* parent = nullptr);
    ~PreviewWindow() override;

    /// Delay between the window showing and the first page being produced.
    static constexpr int productionDelayMs = 50;

    const PreparedDocument& document() const { return m_document; }
    bool isProducing() const { return m_producing; }
    bool wasCancelled() const { return m_cancelled; }
    /// Pages produced so far (all of them once production has finished).
    int producedPageCount() const { return m_pageTexts.size(); }
    int currentPage() const;
    qreal zoom() const;
    /// The matches of the last find: (page, rectangle in page pixels).
    const QList<QPair<int, QRectF>>& matches() const { return m_matches; }
    int currentMatch() const { return m_currentMatch; }

public Q_SLOTS:
    void print();
    void exportPdf();
    void savePreparedReport();
    void openPreparedReport();
    void zoomIn();
    void zoomOut();
    void zoomWholePage();
    void zoomPageWidth();
    void firstPage();
    void previousPage();
    void nextPage();
    void lastPage();
    void goToPage(int pageIndex);
    /// Finds every occurrence of text (ignoring case) and shows the first one from the current page on.
    void find(const QString& text);
    void findNext();
    void editPageSettings();
    void toggleFullScreen();
    void setThumbnailsVisible(bool visible);

Q_SIGNALS:
    void productionFinished();

public:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildToolBar();
    QAction* addAction(const QString& objectName, const QString& text, const QKeySequence& shortcut,
                       void (PreviewWindow::*slot)());
    void startProduction();
    void produceNextPage();
    void setZoom(qreal zoom);
    void showPage(int pageIndex);
    void updateHighlights();
    void updateState();

    PreparedDocument m_document;
    bool m_producing = false;
    bool m_cancelled = false;
    bool m_productionStarted = false;
    QTimer m_productionTimer;
    QList<QList<Certificate::TextLine>> m_pageTexts;
    QList<QPair<int, QRectF>> m_matches;
    int m_currentMatch = -1;
    QString m_findText;

    QToolBar* m_toolBar = nullptr;
    QToolButton* m_exportButton = nullptr;
    QLineEdit* m_findEdit = nullptr;
    QListWidget* m_thumbnails = nullptr;
    QScrollArea* m_scrollArea = nullptr;
    PageView* m_pageView = nullptr;
    QLabel* m_statusLabel = nullptr;
    QList<QAction*> m_documentActions; // usable only once the pages are produced
    QAction* m_thumbnailsAction = nullptr;
};
