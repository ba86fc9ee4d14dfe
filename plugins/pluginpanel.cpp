#include "pluginpanel.h"

PluginPanel::PluginPanel(const PanelContext &context, QWidget *parent)
    : PanelBox(parent)
    , m_context(context)
{
}

void PluginPanel::initCJ()
{
    setGeometry(5, 5, 417, 385);
    setBackColor(m_context.colors->BackColor);
    hide();
}
