#include "thrender.h"

#include "thdrawing.h"
#include "thgrid.h"
#include "thsurface.h"

void THRenderGrid(THSurface &surface, const THGrid &grid)
{
    surface.setSize(thCanvasWidth(grid.cols()), thCanvasHeight(grid.rows()));
    surface.clear();
    THDrawTable(surface, grid.rows(), grid.cols());
    for (int r = 0; r < grid.rows(); ++r) {
        for (int c = 0; c < grid.cols(); ++c) {
            const THCell &cell = grid.at(r, c);
            if (cell.Ch != 0 && cell.Ch != U' ')
                THPrintChar(surface, cell.text(), c, r);
        }
    }
}

void THRepaintChanges(THSurface &surface, const THGrid &shown, const THGrid &grid)
{
    for (int r = 0; r < grid.rows(); ++r) {
        for (int c = 0; c < grid.cols(); ++c) {
            if (shown.at(r, c).Ch == grid.at(r, c).Ch)
                continue;
            // A right half is drawn with the character it belongs to.
            const int start = grid.at(r, c).Ch == 0 && c > 0 ? c - 1 : c;
            const THCell &cell = grid.at(r, start);
            if (cell.Ch != 0)
                THPrintChar(surface, cell.text(), start, r);
        }
    }
}
