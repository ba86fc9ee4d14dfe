#pragma once

// The paint grid: cells on squared paper, each holding one half-width
// character, a full-width character taking two neighbouring cells. No
// widgets here; the grid paints through a THSurface.

#include "thgeometry.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

class THSurface;

// One cell. `Ch` is one character (a code point, so a character beyond the
// basic plane is one character as well); 0 stands for the empty text, the
// right half of the full-width character in the cell to its left.
struct THCell
{
    char32_t Ch = U' ';
    bool Used = false;

    bool isRightHalf() const { return Ch == 0; }
    QString text() const;
    friend bool operator==(const THCell &, const THCell &) = default;
};

// True for a character that takes two cells (and two or more bytes in a file).
bool thIsFullWidth(char32_t c);

// Cells a character takes: 2 for a full-width one, else 1.
inline int thCellWidth(char32_t c)
{
    return thIsFullWidth(c) ? 2 : 1;
}

// Characters that never go into a cell: the control codes below the blank,
// and DEL.
constexpr bool thIsControl(char32_t c)
{
    return c < 32 || c == 127;
}

// The first character of a text as a brush (0 for "", and for a control code,
// which paints nothing).
char32_t thBrushOf(QStringView text);

class THGrid
{
public:
    THGrid() = default;
    THGrid(int rows, int cols);

    int rows() const { return m_rows; }
    int cols() const { return m_cols; }
    bool contains(int row, int col) const { return row >= 0 && col >= 0 && row < m_rows && col < m_cols; }

    THCell &at(int row, int col) { return m_cells[std::size_t(row) * std::size_t(m_cols) + std::size_t(col)]; }
    const THCell &at(int row, int col) const
    {
        return m_cells[std::size_t(row) * std::size_t(m_cols) + std::size_t(col)];
    }
    const std::vector<THCell> &cells() const { return m_cells; }
    std::vector<THCell> &cells() { return m_cells; }

    enum class Drawn { Done, Outside, EmptyBrush, NoRoom };

    // The drawing rule: stores `brush` at (row, col) and repairs the
    // neighbours, so a full-width character is never left half; every cell
    // written is shown on `surface` (if any). The eraser is the brush " ".
    Drawn thDrawChar(char32_t brush, int col, int row, THSurface *surface = nullptr);

    friend bool operator==(const THGrid &, const THGrid &) = default;

private:
    void write(int row, int col, char32_t c);

    int m_rows = 0;
    int m_cols = 0;
    std::vector<THCell> m_cells;
};
