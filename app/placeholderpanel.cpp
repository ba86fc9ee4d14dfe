#include "app/placeholderpanel.h"

#include "shell/widgets/displayarea.h"

PlaceholderPanel::PlaceholderPanel(PanelContext &context, bool makesText, QWidget *parent)
    : ContentPanel(context, parent)
    , m_makesText(makesText)
{
}

void PlaceholderPanel::build()
{
    setGeometry(5, 5, 417, 385);
    if (m_makesText && !m_display) {
        m_display = new DisplayArea(this);
        m_display->setObjectName(QStringLiteral("placeholderView"));
        m_display->setAccessibleName(menuCaption());
        // Nothing to show yet: the area is there for the tool panel only.
        m_display->hide();
    }
    hide();
}
