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
        m_display->setGeometry(rect().adjusted(5, 5, -5, -5));
    }
    hide();
}
