#pragma once

#include "paint/thgrid.h"

#include <QImage>
#include <QString>

namespace PaintFixtures {

// One row as text, a right half shown as "_": "ab中_".
QString rowCells(const THGrid &grid, int row);

// A one-row grid of `cols` cells laid from `text` ("_" is not special here).
THGrid rowGrid(const QString &text, int cols);

// The picture a grid must show: drawn afresh, lines first, then every character.
QImage freshRender(const THGrid &grid, const QColor &lineColor);

// True when every cell keeps the grid's rule: an empty cell only right of a
// full-width character, a full-width character never in the last column, and
// no control code anywhere.
bool keepsTheRule(const THGrid &grid);

// The first pixel where two pictures differ, for a readable failure.
QString firstDifference(const QImage &a, const QImage &b);

} // namespace PaintFixtures
