#pragma once

#include <QColor>
#include <QString>

#include <functional>

// The main window's colours, shared by every panel's buttons. Set once by the
// main window before any panel is built; the window background comes from the skin.
struct ColorScheme
{
    QColor HotLineColor;
    QColor NormLineColor;
    QColor HotBackColor;
    QColor MenuHotLineColor;
    QColor MenuLineColor;
    QColor MenuHotBackColor;
    QColor MenuBackColor;
    QColor MenuSelBackColor;
    QColor BackColor;
};

// What every panel is built with: where the program lives and the shared colours.
struct PanelContext
{
    QString programDir;
    const ColorScheme *colors = nullptr;
    // Keeps the main window above all others or puts it back among them
    // (the tool panel's "保持在最上层"); empty outside the main window.
    std::function<void(bool)> keepOnTop;
};
