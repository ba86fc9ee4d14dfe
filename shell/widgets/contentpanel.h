#pragma once

#include "shell/widgets/panelbox.h"

class DisplayArea;
class PanelContext;

// A panel of the content area, shown when its system-menu entry is chosen.
// The main window creates each one from its table of panels, runs its build
// step once while loading, and asks it for its display area.
class ContentPanel : public PanelBox
{
    Q_OBJECT

public:
    ContentPanel(PanelContext &context, QWidget *parent = nullptr);

    // The caption of the panel's system-menu entry, as the table gives it.
    QString menuCaption() const { return m_menuCaption; }
    void setMenuCaption(const QString &caption);

    // The build step (InitCCMJ, InitWZ, ...): builds every control; run once.
    virtual void build() = 0;

    // The panel's text view, which the tool panel's buttons act on; null for
    // panels without one.
    virtual DisplayArea *displayArea() const { return nullptr; }

    PanelContext &context() const { return m_context; }

private:
    PanelContext &m_context;
    QString m_menuCaption;
};
