#pragma once

#include "shell/core/colorscheme.h"
#include "shell/widgets/panelbox.h"

// The art-text panel ("艺术文字").
class ArtTextPanel : public PanelBox
{
    Q_OBJECT

public:
    explicit ArtTextPanel(const PanelContext &context, QWidget *parent = nullptr);

    // Builds the panel; called once while the main window loads.
    void InitWZ();

private:
    PanelContext m_context;
};
