#include "sendtoolpanel.h"

SendToolPanel::SendToolPanel(const PanelContext &context, QWidget *parent)
    : PanelBox(parent)
    , m_context(context)
{
}

void SendToolPanel::InitPanelSendTool()
{
    setGeometry(0, 0, 110, 360);
    setBackColor(m_context.colors->BackColor);
}
