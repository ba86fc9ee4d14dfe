#pragma once

#include "art/textcells.h"

#include <QFont>
#include <QString>

#include <vector>

// The cells of a single line made the slow, literal way: every prefix of the
// text drawn anew, its width measured as a whole, and its box of pixels read
// back. Kept as the reference the fast rendering is checked against.
struct LiteralTextCells
{
    int W = 0;
    int H = 0;
    std::vector<TextCell> cells;

    TextCell at(int x, int y) const { return cells[std::size_t(y) * std::size_t(W + 1) + std::size_t(x)]; }

    static LiteralTextCells render(const QString &text, const QFont &font);
};
