#pragma once

#include <QWidget>

class DateEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QToolButton;
class OneShotTimer;
class RecordStore;
class RecordsBrowser;
class StatusLine;
class UpperCaseLineEdit;

/// The main window (object name Form1): the entry form of a new attestation, the last-record line,
/// the look-up box and the way into the records browser. Fixed size, centred on the screen.
class EntryWindow : public QWidget
{
    Q_OBJECT
public:
    explicit EntryWindow(QWidget* parent = nullptr);
    ~EntryWindow() override;

    /// The store and the browser are created after this window; they are attached before it is shown.
    void setStore(RecordStore* store);
    void setBrowser(RecordsBrowser* browser);

public Q_SLOTS:
    /// Reads the newest record into the last-record line (Label17).
    void refreshLastRecord();
    void openBrowser();
    /// Empties the entry fields, sets the date to now and the number to its proposal "-" + year, and puts
    /// the focus in the first field. The status line, the last-record line and the print-last button stay.
    void clearFields();
    /// Inserts the form as a new record when every field is filled; on a database error the form stays as
    /// typed and the error box shows the database's message.
    void saveRecord();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void buildCreditsPanel();
    void runShowAction();
    void connectEnterChain();
    /// The first required field left empty, or nullptr when the form can be saved.
    QWidget* firstMissingField() const;
    void hidePrintLastButton();

    RecordStore* m_store = nullptr;
    RecordsBrowser* m_browser = nullptr;
    bool m_shown = false;

    DateEdit* m_dateEdit = nullptr;                  // sDateEdit1
    UpperCaseLineEdit* m_ownerEdit = nullptr;        // Edit1
    UpperCaseLineEdit* m_registrationEdit = nullptr; // Edit2
    UpperCaseLineEdit* m_makeEdit = nullptr;         // Edit3
    UpperCaseLineEdit* m_typeEdit = nullptr;         // Edit4
    UpperCaseLineEdit* m_serialEdit = nullptr;       // Edit5
    UpperCaseLineEdit* m_tankMakeEdit = nullptr;     // Edit13
    UpperCaseLineEdit* m_tankNumberEdit = nullptr;   // Edit6
    QLineEdit* m_testDateEdit = nullptr;             // MaskEdit1 (keeps the case as typed)
    UpperCaseLineEdit* m_capacityEdit = nullptr;     // Edit8
    UpperCaseLineEdit* m_numberEdit = nullptr;       // Edit9
    QLabel* m_lastRecordLabel = nullptr;             // Label17
    StatusLine* m_statusLine = nullptr;              // Label14, its timer is Timer1 (3 s)
    OneShotTimer* m_printLastTimer = nullptr;        // Timer2 (5 min): hides SpeedButton3
    QToolButton* m_refreshButton = nullptr;          // SpeedButton6 (hidden)
    QToolButton* m_saveButton = nullptr;             // SpeedButton5
    QToolButton* m_printLastButton = nullptr;        // SpeedButton3
    QToolButton* m_clearButton = nullptr;            // SpeedButton2
    QToolButton* m_browseButton = nullptr;           // SpeedButton4
    QLineEdit* m_lookupEdit = nullptr;               // Edit7
    QToolButton* m_lookupButton = nullptr;           // SpeedButton1
};
