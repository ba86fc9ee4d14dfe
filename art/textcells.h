#pragma once

// Words drawn into cells: the text is drawn in a font without smoothing,
// every pixel of its box becomes one cell, and each cell knows whether it is
// ink and which character of the text reached its column first.

#include "shell/core/pixelsurface.h"

#include <QFont>
#include <QStringView>

#include <cstdint>
#include <functional>
#include <vector>

struct TextCell
{
    // 1-based position, in code points of the whole text (line breaks
    // counted), of the character the cell belongs to; −1 for none.
    std::int32_t CharIndex = -1;
    // 1 when the cell's pixel is exactly the drawing colour (black).
    std::int16_t Ink = 0;
};

// The cell grid of a conversion, (W + 1) × (H + 1) cells for a text W pixels
// wide and H high. Every row of one line shares its columns' characters, so
// they are kept once per line; the ink is one byte a cell.
class TextCells
{
public:
    TextCells() = default;
    // A grid of one line: `columns` holds the CharIndex of each of the W + 1
    // columns, `ink` the (W + 1) × (H + 1) ink flags row by row.
    TextCells(int W, int H, std::vector<std::int32_t> columns, std::vector<std::uint8_t> ink);

    int W() const { return m_w; }
    int H() const { return m_h; }
    int columns() const { return m_w + 1; }
    int rows() const { return m_h + 1; }
    qint64 count() const { return qint64(columns()) * rows(); }

    TextCell at(int x, int y) const { return {charIndex(x, y), std::int16_t(ink(x, y) ? 1 : 0)}; }
    bool ink(int x, int y) const { return inkRow(y)[std::size_t(x)] != 0; }
    std::int32_t charIndex(int x, int y) const { return lineColumns(y)[std::size_t(x)]; }

    // The characters of row y's columns, and its ink, one byte a column.
    const std::int32_t *lineColumns(int y) const
    {
        return m_owners.data() + std::size_t(lineOfRow(y)) * std::size_t(columns());
    }
    const std::uint8_t *inkRow(int y) const { return m_ink.data() + std::size_t(y) * std::size_t(columns()); }

private:
    friend class TextCellsRenderer;
    int lineOfRow(int y) const { return std::min(y / std::max(m_pitch, 1), m_lines - 1); }

    int m_w = 0;
    int m_h = 0;
    int m_pitch = 1;
    int m_lines = 1;
    std::vector<std::int32_t> m_owners; // per line: CharIndex of each column
    std::vector<std::uint8_t> m_ink;
};

// The most cells a conversion makes: beyond this the result would take
// hundreds of megabytes and no chat window would take it anyway.
inline constexpr qint64 kMaxTextCells = 16'000'000;

// The font of the art: a face at a size in points, bold and italic as asked.
QFont ArtTextFont(const QString &family, double points, bool bold, bool italic);

// Columns and rows the text makes in the font, (W + 1) × (H + 1), measured
// without drawing anything and without keeping anything per character.
struct CellsSize
{
    qint64 columns = 0;
    qint64 rows = 0;
    qint64 count() const { return columns * rows; }
};
CellsSize TextCellsSize(QStringView text, const QFont &font);

// How a rendering goes. The text is drawn a band of lines at a time, only
// lines that hold ink, on a surface no larger than the band (at least the
// lines of one band and the reach of their glyphs above and below).
struct TextCellsRendering
{
    qint64 maxCells = kMaxTextCells;
    qint64 bandPixels = qint64(4) << 20;
    std::function<void()> pause; // runs after each band, for a window to repaint
};

// Lays the text out as PixelSurface::layoutText does (each code point at its
// own advance, lines `pitch` apart, breaks CR LF, CR or LF, a final break
// starting no line), draws it and fills the cells. A cell right of a shorter
// line belongs to that line's last character; an empty line to the nearest
// character before it (after it, at the top). Refuses, leaving `cells`
// alone, when the grid would exceed the most cells; false too when the
// memory cannot be had. `size`, when given, receives the size measured.
bool RenderTextCells(QStringView text, const QFont &font, TextCells &cells, const TextCellsRendering &how = {},
                     CellsSize *size = nullptr);
