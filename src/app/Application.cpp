#include "Application.h"

#include "entry/EntryWindow.h"
#include "maintenance/RecordEditor.h"
#include "maintenance/RecordsBrowser.h"
#include "store/RecordStore.h"
#include "widgets/MessageBoxes.h"

Application::Application()
{
    m_entryWindow = std::make_unique<EntryWindow>();
    m_browser = std::make_unique<RecordsBrowser>(m_entryWindow.get());
    m_store = std::make_unique<RecordStore>();
    DbError error;
    if (!m_store->open(&error)) // start-up goes on; every statement tries to open it again
        MessageBoxes::showError(nullptr, error.message);
    m_editor = std::make_unique<RecordEditor>(m_browser.get());

    m_entryWindow->setStore(m_store.get());
    m_entryWindow->setBrowser(m_browser.get());
    m_browser->setStore(m_store.get());
    m_browser->setEditor(m_editor.get());
    m_editor->setStore(m_store.get());
    m_editor->setBrowser(m_browser.get());
}

Application::~Application()
{
    // The dialogs are children of the windows above them; release them before their parents.
    m_editor.reset();
    m_browser.reset();
    m_entryWindow.reset();
}
