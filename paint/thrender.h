#pragma once

// The whole grid on its surface.

class THGrid;
class THSurface;

// Sizes the surface for the grid and draws it afresh: lines, then every
// character. What a canvas painted cell by cell must look like.
void THRenderGrid(THSurface &surface, const THGrid &grid);

// Redraws the cells in which `shown` (what the surface shows now) and `grid`
// differ, so that the surface shows `grid`. Both have the same size.
void THRepaintChanges(THSurface &surface, const THGrid &shown, const THGrid &grid);

