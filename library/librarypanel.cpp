#include "librarypanel.h"

LibraryPanel::LibraryPanel(const PanelContext &context, QWidget *parent)
    : PanelBox(parent)
    , m_context(context)
{
}

void LibraryPanel::InitCCMJ()
{
    setGeometry(5, 5, 417, 385);
    setBackColor(m_context.colors->BackColor);
    hide();
}
