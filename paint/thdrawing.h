#pragma once

// Drawing on the grid's surface: the lines, one emptied cell, one character.

#include "thgeometry.h"

#include <QString>

class THSurface;

// Every grid line of a rows × cols grid (rows + 1 across, cols + 1 down).
void THDrawTable(THSurface &surface, int rows, int cols);

// Redraws the border of cell (c, r) and empties its inside.
void THClearGrid(THSurface &surface, int c, int r);

// Empties the cell (both cells for a full-width character) and draws `s`
// centred over it, one pixel right and down. False for an empty `s`.
bool THPrintChar(THSurface &surface, const QString &s, int c, int r);
