#pragma once

#include <QDialog>

class RecordStore;
class RecordsBrowser;

/// The record editor (object name Form4): corrects, deletes or prints one saved attestation.
/// Modal over the records browser.
class RecordEditor : public QDialog
{
    Q_OBJECT
public:
    explicit RecordEditor(QWidget* parent = nullptr);
    ~RecordEditor() override;

    void setStore(RecordStore* store);
    void setBrowser(RecordsBrowser* browser);

private:
    RecordStore* m_store = nullptr;
    RecordsBrowser* m_browser = nullptr;
};
