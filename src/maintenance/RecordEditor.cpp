#include "RecordEditor.h"

#include "widgets/UiFonts.h"

RecordEditor::RecordEditor(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("تعديل البيانات المسجلة"));
    setFixedSize(594, 535);
    setFont(UiFonts::sans(11));
}

RecordEditor::~RecordEditor() = default;

void RecordEditor::setStore(RecordStore* store)
{
    m_store = store;
}

void RecordEditor::setBrowser(RecordsBrowser* browser)
{
    m_browser = browser;
}
