#include "arttextpanel.h"

ArtTextPanel::ArtTextPanel(const PanelContext &context, QWidget *parent)
    : PanelBox(parent)
    , m_context(context)
{
}

void ArtTextPanel::InitWZ()
{
    setGeometry(5, 5, 417, 385);
    setBackColor(m_context.colors->BackColor);
    hide();
}
