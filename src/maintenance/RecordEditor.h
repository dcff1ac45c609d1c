#pragma once

#include "store/AttestationRecord.h"

#include <QDialog>

class DateEdit;
class QLabel;
class QLineEdit;
class QToolButton;
class RecordStore;
class RecordsBrowser;
class StatusLine;

/// The record editor (object name Form4): corrects, deletes or prints one saved attestation.
/// Modal over the records browser; it always edits the row whose id is in its hidden field.
class RecordEditor : public QDialog
{
    Q_OBJECT
public:
    explicit RecordEditor(QWidget* parent = nullptr);
    ~RecordEditor() override;

    void setStore(RecordStore* store);
    void setBrowser(RecordsBrowser* browser);

    /// Copies the row into the fields (id into the hidden field) and shows the editor modally.
    void showRecord(const AttestationRecord& record);
    /// Copies the row into the fields without showing the window.
    void fillFields(const AttestationRecord& record);

    static QString savedMessage();
    static QString missingFieldMessage();
    static QString deleteQuestion();
    static QString vanishedMessage();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildLayout();
    void saveRecord();
    void deleteRecord();
    void printCertificate();
    /// The first required field left empty, in the order they are checked; nullptr when all are filled.
    QWidget* firstMissingField() const;

    RecordStore* m_store = nullptr;
    RecordsBrowser* m_browser = nullptr;
    bool m_shownBefore = false;

    QLabel* m_titlePanel = nullptr;
    DateEdit* m_dateEdit = nullptr;
    QLineEdit* m_idEdit = nullptr;
    QLineEdit* m_ownerEdit = nullptr;
    QLineEdit* m_registrationEdit = nullptr;
    QLineEdit* m_makeEdit = nullptr;
    QLineEdit* m_typeEdit = nullptr;
    QLineEdit* m_serialEdit = nullptr;
    QLineEdit* m_tankMakeEdit = nullptr;
    QLineEdit* m_tankNumberEdit = nullptr;
    QLineEdit* m_testDateEdit = nullptr;
    QLineEdit* m_capacityEdit = nullptr;
    QLineEdit* m_numberEdit = nullptr;
    QToolButton* m_saveButton = nullptr;
    QToolButton* m_printButton = nullptr;
    QToolButton* m_deleteButton = nullptr;
    StatusLine* m_statusLine = nullptr;
};
