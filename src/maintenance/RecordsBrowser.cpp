#include "RecordsBrowser.h"

#include "widgets/UiFonts.h"

RecordsBrowser::RecordsBrowser(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("تعديل البيانات المسجلة"));
    setFixedSize(990, 560);
    setFont(UiFonts::sans(12));
}

RecordsBrowser::~RecordsBrowser() = default;

void RecordsBrowser::setStore(RecordStore* store)
{
    m_store = store;
}

void RecordsBrowser::setEditor(RecordEditor* editor)
{
    m_editor = editor;
}
