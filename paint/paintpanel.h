#pragma once

#include "shell/core/colorscheme.h"
#include "shell/widgets/panelbox.h"

// The paint grid panel ("我涂我画").
class PaintPanel : public PanelBox
{
    Q_OBJECT

public:
    explicit PaintPanel(const PanelContext &context, QWidget *parent = nullptr);

    // Builds the panel; called once while the main window loads.
    void InitTH();

private:
    PanelContext m_context;
};
