#pragma once

#include "shell/widgets/contentpanel.h"

// Stands in the content area for a panel that is not built yet: an empty
// panel, with an empty, hidden display area when the panel it stands for
// makes text.
class PlaceholderPanel : public ContentPanel
{
    Q_OBJECT

public:
    PlaceholderPanel(PanelContext &context, bool makesText, QWidget *parent = nullptr);

    void build() override;
    DisplayArea *displayArea() const override { return m_display; }

private:
    bool m_makesText;
    DisplayArea *m_display = nullptr;
};
