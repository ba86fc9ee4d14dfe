#pragma once

// Drawing the grid on its surface: the lines, one emptied cell, one
// character, and the whole grid at once.

#include "thgrid.h"

#include <QString>

class THSurface;

// Every grid line of a rows × cols grid (rows + 1 across, cols + 1 down).
void THDrawTable(THSurface &surface, int rows, int cols);

// Redraws the border of cell (c, r) and empties its inside.
void THClearGrid(THSurface &surface, int c, int r);

// Empties the cell (both cells for a full-width character) and draws `s`
// centred over it, one pixel right and down. False for an empty `s`.
bool THPrintChar(THSurface &surface, const QString &s, int c, int r);

// Sizes the surface for the grid and draws it afresh: lines, then every
// character. What a canvas painted cell by cell must look like.
void THRenderGrid(THSurface &surface, const THGrid &grid);

// Redraws the cells in which `shown` (what the surface shows now) and `grid`
// differ, so that the surface shows `grid`. Both have the same size.
void THRepaintChanges(THSurface &surface, const THGrid &shown, const THGrid &grid);

// The canvas size of a grid: the closing lines are one pixel past the last cells.
inline int thCanvasWidth(int cols)
{
    return int(THAcX(cols)) + 1;
}
inline int thCanvasHeight(int rows)
{
    return int(THAcY(rows)) + 1;
}
