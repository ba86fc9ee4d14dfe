#pragma once

#include <QColor>

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

    // The scheme every window of both programs uses; BackColor, which comes
    // from the skin, is left unset.
    static ColorScheme standard();
};
