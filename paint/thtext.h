#pragma once

// The grid as text and text as the grid. A line of the text is a row; a
// full-width character takes two cells, so a row of n cells is a line of n
// bytes in the code page (four-byte characters aside, which also take two).

#include "thgrid.h"

#include <QString>
#include <QStringView>

#include <functional>

// The text without the line breaks (CR LF) at its end.
QString thGetStr(QString text);

// Every row, its cells' characters joined (a right half adds nothing), rows
// separated by CR LF, nothing after the last.
QString thGridToText(const THGrid &grid);

// Calls `line` for each line of the text, split at CR LF, CR or LF; a line
// break at the very end ends the last line and starts no other one, but an
// empty text is one empty line. Stops when `line` returns false.
void thForEachLine(QStringView text, const std::function<bool(QStringView)> &line);

// Cells the line takes.
qsizetype thLineCells(QStringView line);

// The canvas a text needs, cut to the limits: the widest line in cells and
// the number of lines, each at least 1.
struct THTextSize
{
    int cols = 1;
    int rows = 1;
};
THTextSize thTextSize(QStringView text, int maxCols, int maxRows);

// The text laid into a rows × cols grid from the top-left cell. Lines and
// characters beyond the grid are cut off; a full-width character with only
// one cell left is dropped; a control code becomes a blank.
THGrid thTextToGrid(QStringView text, int rows, int cols);
