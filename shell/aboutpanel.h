#pragma once

#include "shell/colorscheme.h"
#include "shell/panelbox.h"

// The About panel ("关    于").
class AboutPanel : public PanelBox
{
    Q_OBJECT

public:
    explicit AboutPanel(const PanelContext &context, QWidget *parent = nullptr);

    // Builds the panel; called once while the main window loads.
    void initAbout();

private:
    PanelContext m_context;
};
