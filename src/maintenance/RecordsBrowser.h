#pragma once

#include <QDialog>

class QLineEdit;
class QRadioButton;
class QTableView;
class RecordEditor;
class RecordStore;
class RecordsModel;

/// The records browser (object name Form2): lists the saved attestations newest first and narrows
/// them by the beginning of a certificate number or of an owner's name. Modal over the entry window.
/// The search text, the radio buttons and the list's statement survive between openings.
class RecordsBrowser : public QDialog
{
    Q_OBJECT
public:
    explicit RecordsBrowser(QWidget* parent = nullptr);
    ~RecordsBrowser() override;

    /// Attached after construction: the store and the editor are created after this window.
    void setStore(RecordStore* store);
    void setEditor(RecordEditor* editor);

    /// Opens the list again with its current statement (after the editor saved or deleted a row).
    void reopenList();
    RecordsModel* model() const { return m_model; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void searchTextChanged(const QString& text);
    void openCurrentInEditor();
    void pageArrived();

    RecordStore* m_store = nullptr;
    RecordEditor* m_editor = nullptr;
    RecordsModel* m_model = nullptr;
    QRadioButton* m_byNumber = nullptr;
    QRadioButton* m_byOwner = nullptr;
    QLineEdit* m_searchEdit = nullptr;
    QTableView* m_grid = nullptr;
    bool m_shownBefore = false;
};
