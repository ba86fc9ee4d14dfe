#pragma once

#include "shell/widgets/panelbox.h"

class PanelContext;

// The tool panel at the right of the main window: sending, copying, favourites.
class SendToolPanel : public PanelBox
{
    Q_OBJECT

public:
    explicit SendToolPanel(PanelContext &context, QWidget *parent = nullptr);

    // Builds the panel; called once while the main window loads.
    void InitPanelSendTool();

private:
    PanelContext &m_context;
};
