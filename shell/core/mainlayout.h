#pragma once

// Where the main window's areas go, computed from the window's inner size and
// the sizes of the skin's frame pieces, and how the running time reads.

#include <QRect>
#include <QSize>
#include <QString>

namespace MainLayout {

constexpr int SysMenuWidth = 110;
constexpr int MenuCount = 7;

// The frame sizes the layout depends on: left, right edge widths; top,
// bottom edge heights; lower-left corner height.
struct FrameSizes
{
    int Lw = 0;
    int Rw = 0;
    int Th = 0;
    int Bh = 0;
    int LBh = 0;
};

// The state bar along the bottom, between the side edges, sitting on the
// lower-left corner; as tall as its begin button plus one.
QRect stateBar(QSize window, const FrameSizes &frame, int beginBarHeight);

// The system-menu column, below the caption and above the state bar.
QRect sysMenuBox(QSize window, const FrameSizes &frame, int stateBarHeight);

// Menu entries share the column height in sevenths less a gap; the first
// starts 8 pixels below the logo, each next one 6 pixels below the one before.
int menuEntryHeight(QSize window, const FrameSizes &frame, int stateBarHeight);
QRect menuEntry(int index, int logoHeight, int entryHeight);

// The tool panel's top-left corner: under the caption, against the right edge.
QPoint toolPanelPos(QSize window, const FrameSizes &frame, int toolWidth);

// The content area between the menu column and the tool panel.
QRect contentArea(QSize window, const FrameSizes &frame, int toolTop, int toolWidth, int stateBarHeight);

// "hh:mm:ss" for a duration; hours keep counting past a day ("25:03:07").
QString formatRunningTime(qint64 milliseconds);

} // namespace MainLayout
