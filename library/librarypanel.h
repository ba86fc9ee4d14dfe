#pragma once

#include "shell/core/colorscheme.h"
#include "shell/widgets/panelbox.h"

// The tips library panel ("Zantoria秘笈").
class LibraryPanel : public PanelBox
{
    Q_OBJECT

public:
    explicit LibraryPanel(const PanelContext &context, QWidget *parent = nullptr);

    // Builds the panel; called once while the main window loads.
    void InitCCMJ();

private:
    PanelContext m_context;
};
