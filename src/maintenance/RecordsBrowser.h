#pragma once

#include <QDialog>

class RecordEditor;
class RecordStore;

/// The records browser (object name Form2): lists the saved attestations newest first and narrows
/// them by the beginning of a certificate number or of an owner's name. Modal over the entry window.
class RecordsBrowser : public QDialog
{
    Q_OBJECT
public:
    explicit RecordsBrowser(QWidget* parent = nullptr);
    ~RecordsBrowser() override;

    /// Attached after construction: the store and the editor are created after this window.
    void setStore(RecordStore* store);
    void setEditor(RecordEditor* editor);

private:
    RecordStore* m_store = nullptr;
    RecordEditor* m_editor = nullptr;
};
