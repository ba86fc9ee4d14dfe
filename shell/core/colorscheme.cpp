#include "shell/core/colorscheme.h"

#include "shell/core/utilities.h"

ColorScheme ColorScheme::standard()
{
    ColorScheme c;
    c.HotLineColor = toQColor(RGB(49, 106, 197));
    c.NormLineColor = toQColor(RGB(177, 177, 177));
    c.HotBackColor = toQColor(RGB(192, 210, 238));
    c.MenuHotLineColor = toQColor(RGB(255, 255, 255));
    c.MenuLineColor = toQColor(RGB(160, 150, 131));
    c.MenuHotBackColor = toQColor(RGB(252, 205, 135));
    c.MenuBackColor = toQColor(RGB(142, 219, 255));
    c.MenuSelBackColor = toQColor(RGB(221, 221, 221));
    return c;
}
