#include "send/sendtoolpanel.h"

#include "shell/core/colorscheme.h"
#include "shell/widgets/panelcontext.h"

SendToolPanel::SendToolPanel(PanelContext &context, QWidget *parent)
    : PanelBox(parent)
    , m_context(context)
{
}

void SendToolPanel::InitPanelSendTool()
{
    setGeometry(0, 0, 110, 360);
    setBackColor(m_context.colors->BackColor);
}
