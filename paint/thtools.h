#pragma once

// The paint tools beyond the pen and the eraser: straight lines, rectangles,
// flood fill, and a selection of cells to copy, cut, paste, move and blank.
// No widgets here: the canvas only turns pointer and keys into these calls.
// A point is a cell, x its column and y its row.
//
// Every cell a tool writes goes through the drawing rule (thDrawChar), so
// after every tool a right half has its full-width character on its left
// and no full-width character sits in the last column. Each tool draws what
// it writes on `surface` when one is given.
//
// A full-width brush on a line or rectangle is laid on two-cell slots that
// start at the shape's leftmost column c0: the cell in column c is drawn as
// the character at column c0 + 2·floor((c − c0) / 2), and each slot once.
// Along a horizontal run the brush so lands on every second column from the
// run's left end, and neighbours never erase each other; a shape of odd
// width takes one column more on its right. A slot that would start in the
// last column (no room for both halves) is the slot before it. The character
// always lands on its slot: one whose right half lies there gives way and
// becomes a blank, as it would under a half-width brush.
//
// The selection is a rectangle of cells that never cuts a full-width
// character in half: an edge through one widens the rectangle to take it
// whole, again until no row's character is cut.

#include "thgrid.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringView>

#include <vector>

// The cells of the straight line from `from` to `to` by Bresenham's rule,
// `from` first and `to` last, each step to one of the eight neighbours. An
// end point more than kThFar cells from the origin is first brought within.
inline constexpr int kThFar = 1 << 15;
std::vector<QPoint> thLinePoints(QPoint from, QPoint to);

// A brush a tool paints with: not 0 (the empty text) and no control code.
bool thPaints(char32_t brush);

// The line from `from` to `to`. Cells outside the grid are left out; false
// (and nothing drawn) for a brush that paints nothing.
bool thDrawLine(THGrid &grid, char32_t brush, QPoint from, QPoint to, THSurface *surface = nullptr);

// The rectangle with the corners `a` and `b`, its outline or `filled`.
bool thDrawRect(THGrid &grid, char32_t brush, QPoint a, QPoint b, bool filled, THSurface *surface = nullptr);

// Flood fill of the 4-connected region of cells holding the character of the
// cell `at`; a full-width character (both halves) is one cell of the region.
// Every cell of the region takes the brush. A full-width brush on a region
// of half-width cells is laid on the slots of the clicked column (as above,
// c0 being that column) that lie wholly in the region, and the region's
// cells no slot covers become blanks. False when the brush paints nothing
// or `at` is outside the grid.
bool thFill(THGrid &grid, char32_t brush, QPoint at, THSurface *surface = nullptr);

// The selection between the corners `a` and `b`, cut to the grid and widened
// to take whole characters; empty when it misses the grid.
QRect thSelection(const THGrid &grid, QPoint a, QPoint b);

// The cells of `rect` as a grid of their own (a character the rectangle cuts
// in half becomes a blank there).
THGrid thCopyBlock(const THGrid &grid, const QRect &rect);

// The selection as text: its rows, joined by CR LF.
QString thSelectionText(const THGrid &grid, const QRect &rect);

// Blanks every cell of `rect`.
void thBlank(THGrid &grid, const QRect &rect, THSurface *surface = nullptr);

// Lays `block` into the grid with its top-left cell at `at`, every cell of
// it (blanks too) replacing what was there, cut to the grid; a full-width
// character with one cell left, or whose left half fell outside, leaves a
// blank. Gives the selection that holds the pasted cells (empty when none
// landed in the grid).
QRect thPaste(THGrid &grid, const THGrid &block, QPoint at, THSurface *surface = nullptr);

// Text as the import lays it into a grid, as a block for thPaste at `at`: as
// wide as its widest line and as high as its lines, cut to the room the grid
// has right of and below `at`. An empty block when there is no room.
THGrid thTextBlock(QStringView text, const THGrid &grid, QPoint at);

// Moves the selection's cells by `offset`: they are blanked where they were
// and pasted where they go. Gives the selection at its new place; a zero
// offset changes nothing.
QRect thMove(THGrid &grid, const QRect &selection, QPoint offset, THSurface *surface = nullptr);
