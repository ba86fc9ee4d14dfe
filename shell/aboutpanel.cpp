#include "aboutpanel.h"

AboutPanel::AboutPanel(const PanelContext &context, QWidget *parent)
    : PanelBox(parent)
    , m_context(context)
{
}

void AboutPanel::initAbout()
{
    setGeometry(5, 5, 417, 385);
    setBackColor(m_context.colors->BackColor);
    hide();
}
