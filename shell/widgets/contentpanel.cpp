#include "shell/widgets/contentpanel.h"

#include "shell/core/colorscheme.h"
#include "shell/widgets/panelcontext.h"

ContentPanel::ContentPanel(PanelContext &context, QWidget *parent)
    : PanelBox(parent)
    , m_context(context)
{
    if (context.colors)
        setBackColor(context.colors->BackColor);
}

void ContentPanel::setMenuCaption(const QString &caption)
{
    m_menuCaption = caption;
    setAccessibleName(TrimBlanks(caption));
}
