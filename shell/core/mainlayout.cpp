#include "shell/core/mainlayout.h"

namespace MainLayout {

QRect stateBar(QSize window, const FrameSizes &frame, int beginBarHeight)
{
    const int height = beginBarHeight + 1;
    return QRect(frame.Lw, window.height() - frame.LBh - height, window.width() - frame.Lw - frame.Rw, height);
}

QRect sysMenuBox(QSize window, const FrameSizes &frame, int stateBarHeight)
{
    return QRect(frame.Lw, frame.Th, SysMenuWidth, window.height() - (frame.Th + stateBarHeight + frame.Bh));
}

int menuEntryHeight(QSize window, const FrameSizes &frame, int stateBarHeight)
{
    return (window.height() - (frame.Th + stateBarHeight + frame.Bh)) / MenuCount - 20;
}

QRect menuEntry(int index, int logoHeight, int entryHeight)
{
    const int top = logoHeight + 8 + (index - 1) * (entryHeight + 6);
    return QRect(0, top, SysMenuWidth, entryHeight);
}

QPoint toolPanelPos(QSize window, const FrameSizes &frame, int toolWidth)
{
    return QPoint(window.width() - (toolWidth + frame.Rw), frame.Th);
}

QRect contentArea(QSize window, const FrameSizes &frame, int toolTop, int toolWidth, int stateBarHeight)
{
    return QRect(SysMenuWidth + frame.Lw, toolTop,
                 window.width() - (frame.Rw + frame.Lw + toolWidth + SysMenuWidth),
                 window.height() - (frame.LBh + toolTop + stateBarHeight));
}

QString formatRunningTime(qint64 milliseconds)
{
    const qint64 seconds = std::max<qint64>(0, milliseconds / 1000);
    const auto two = [](qint64 n) { return QString::number(n).rightJustified(2, u'0'); };
    return two(seconds / 3600) + u':' + two(seconds / 60 % 60) + u':' + two(seconds % 60);
}

} // namespace MainLayout
