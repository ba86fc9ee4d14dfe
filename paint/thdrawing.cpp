#include "thdrawing.h"

#include "thsurface.h"

#include "shell/core/utilities.h"

#include <cmath>

void THDrawTable(THSurface &surface, int rows, int cols)
{
    const QColor colour = surface.lineColor();
    const int right = int(THAcX(cols));
    const int bottom = int(THAcY(rows));
    for (int r = 0; r <= rows; ++r)
        surface.line(0, int(THAcY(r)), right, int(THAcY(r)), colour);
    for (int c = 0; c <= cols; ++c)
        surface.line(int(THAcX(c)), 0, int(THAcX(c)), bottom, colour);
}

void THClearGrid(THSurface &surface, int c, int r)
{
    const int x0 = int(THAcX(c));
    const int y0 = int(THAcY(r));
    surface.box(x0, y0, x0 + thCellW, y0 + thCellH, surface.lineColor());
    surface.filledBox(x0 + 1, y0 + 1, x0 + thCellW - 1, y0 + thCellH - 1, surface.backColor());
}

bool THPrintChar(THSurface &surface, const QString &s, int c, int r)
{
    if (s.isEmpty())
        return false;
    const bool full = IsFullWidth(s);
    THClearGrid(surface, c, r);
    if (full)
        THClearGrid(surface, c + 1, r);
    if (s == QLatin1String(" "))
        return true; // a blank leaves no ink
    const int span = full ? 2 * thCellW : thCellW;
    const int x = int(std::floor(THAcX(c) + (span - surface.textWidth(s)) / 2.0 + 0.5)) + 1;
    const int y = int(std::floor(THAcY(r) + (thCellH - surface.textHeight(s)) / 2.0 + 0.5)) + 1;
    // The inside of the cell (of both cells and the line between them for a
    // full-width character): the grid lines around it stay whole.
    const QRect inside(QPoint(int(THAcX(c)) + 1, int(THAcY(r)) + 1),
                       QPoint(int(THAcX(c)) + span - 1, int(THAcY(r)) + thCellH - 1));
    surface.print(s, x, y, inside);
    return true;
}
