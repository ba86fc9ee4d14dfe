#pragma once

#include "shell/colorscheme.h"
#include "shell/panelbox.h"

// The picture-to-text panel ("图片磨牙").
class PicToTextPanel : public PanelBox
{
    Q_OBJECT

public:
    explicit PicToTextPanel(const PanelContext &context, QWidget *parent = nullptr);

    // Builds the panel; called once while the main window loads.
    void InitCCMY();

private:
    PanelContext m_context;
};
