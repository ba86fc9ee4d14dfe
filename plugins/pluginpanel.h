#pragma once

#include "shell/core/colorscheme.h"
#include "shell/widgets/panelbox.h"

// The plug-in manager panel ("插件管理").
class PluginPanel : public PanelBox
{
    Q_OBJECT

public:
    explicit PluginPanel(const PanelContext &context, QWidget *parent = nullptr);

    // Builds the panel; called once while the main window loads.
    void initCJ();

private:
    PanelContext m_context;
};
