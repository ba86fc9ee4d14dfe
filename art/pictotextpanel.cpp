#include "pictotextpanel.h"

PicToTextPanel::PicToTextPanel(const PanelContext &context, QWidget *parent)
    : PanelBox(parent)
    , m_context(context)
{
}

void PicToTextPanel::InitCCMY()
{
    setGeometry(5, 5, 417, 385);
    setBackColor(m_context.colors->BackColor);
    hide();
}
