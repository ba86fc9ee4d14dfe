#pragma once

// Where the cells of the paint grid lie on its canvas, in pixels.

#include <cmath>
#include <cstdint>

// Cell size in pixels.
inline constexpr int thCellW = 9;
inline constexpr int thCellH = 16;

// Column and row to pixels, and back (a pixel left of or above the canvas
// gives a negative cell).
constexpr float THAcX(int c)
{
    return float(c * thCellW);
}
constexpr float THAcY(int r)
{
    return float(r * thCellH);
}
inline std::int32_t THcX(float x)
{
    return std::int32_t(std::floor(x / float(thCellW)));
}
inline std::int32_t THcY(float y)
{
    return std::int32_t(std::floor(y / float(thCellH)));
}

// The canvas size of a grid: the closing lines are one pixel past the last cells.
inline int thCanvasWidth(int cols)
{
    return int(THAcX(cols)) + 1;
}
inline int thCanvasHeight(int rows)
{
    return int(THAcY(rows)) + 1;
}
