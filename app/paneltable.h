#pragma once

#include <QString>

#include <functional>
#include <vector>

class ContentPanel;
class PanelContext;
class QWidget;

// One content panel of the main window: the system-menu entry that shows it
// (1 to 6), the entry's caption, the splash text announced before it is built,
// and how to make it.
struct PanelRow
{
    int entry = 0;
    QString caption;
    QString splash;
    std::function<ContentPanel *(PanelContext &, QWidget *parent)> create;
};

// Every content panel, in the order they are built while the main window
// loads. Adding a panel is one row here.
std::vector<PanelRow> panelTable();
