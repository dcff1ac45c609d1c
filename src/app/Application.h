#pragma once

#include <memory>

class EntryWindow;
class RecordEditor;
class RecordStore;
class RecordsBrowser;

/// The program's four long-lived objects, created in a fixed order: the entry window, the records
/// browser, the store (which opens the database, reporting a failure in the error box) and the editor.
class Application
{
public:
    Application();
    ~Application();

    EntryWindow& entryWindow() { return *m_entryWindow; }
    RecordsBrowser& browser() { return *m_browser; }
    RecordStore& store() { return *m_store; }
    RecordEditor& editor() { return *m_editor; }

private:
    std::unique_ptr<EntryWindow> m_entryWindow;
    std::unique_ptr<RecordsBrowser> m_browser;
    std::unique_ptr<RecordStore> m_store;
    std::unique_ptr<RecordEditor> m_editor;
};
