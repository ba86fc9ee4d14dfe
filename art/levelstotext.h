#pragma once

// Rows of grey levels to lines of text, shaped beyond one character per
// pixel: the size in characters, inverted greys, Floyd–Steinberg dithering
// over the grey string's bands, and braille cells of 2 × 4 dots. Rows go in
// one at a time and each line goes out as soon as it is complete, so a
// picture of any height passes through in the memory of a few rows, in time
// linear in its pixels. All arithmetic is exact integer arithmetic, so
// every result can be checked to the character.
//
// The picture is w × h pixels of grey g(x, y); the text is W columns by H
// lines.
// - No size: one cell per pixel (braille: one dot per pixel, W = ⌈w/2⌉,
//   H = ⌈h/4⌉, missing dots white).
// - W and H: cell (i, j) is the area mean of g over [i·w/W, (i+1)·w/W) ×
//   [j·h/H, (j+1)·h/H): with ox(i, x) = max(0, min((x+1)·W, (i+1)·w) −
//   max(x·W, i·w)) and oy likewise, S = Σ g·ox·oy and the grey is
//   ⌊(2S + w·h) ÷ (2·w·h)⌋. W = w and H = h give every pixel back.
// - W alone: H = max(1, ⌊(W·h + w) ÷ (2w)⌋), for a cell twice as tall as
//   wide; square cells (a grey string holding a full-width character):
//   H = max(1, ⌊(2·W·h + w) ÷ (2w)⌋). H alone: W by the inverse rule,
//   max(1, ⌊(4·H·w + h) ÷ (2h)⌋), square cells ⌊(2·H·w + h) ÷ (2h)⌋.
// - Braille samples a grid of 2W × 4H dots by the same rule. Given one side
//   the dots are square: 2W dots across give max(1, ⌊(4·W·h + w) ÷ (2w)⌋)
//   dots down (4H down give ⌊(8·H·w + h) ÷ (2h)⌋ across), padded with white
//   to whole cells.
// Given a size, W and H are at most kMaxSide and W·H at most kMaxCells.
//
// Invert: a grey c becomes 255 − c before anything else. Dithering spreads
// each cell's error 7/16 right, 3/16 down-left, 5/16 down, 1/16 down-right,
// with the grey string's positions as the palette, each standing for the
// middle of its band of grey levels (as GrayToChar draws the bands); the
// parts add up to the whole error, so none is lost to rounding. Braille
// raises a dot whose grey is below the threshold (dithered: to the two
// levels 0 and 255, split at the threshold); a cell is U+2800 plus 0x01,
// 0x02, 0x04, 0x40 for the left column from the top and 0x08, 0x10, 0x20,
// 0x80 for the right, so an empty cell is U+2800 and keeps its width.

#include "graytable.h"

#include <QSize>
#include <QStringView>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

struct PicToTextOptions
{
    int width = 0; // columns; 0: not given
    int height = 0; // lines; 0: not given
    bool invert = false;
    bool dither = false;
    bool braille = false;
    int threshold = 128; // braille: a dot is raised below it, 0 to 255

    // One character per pixel, as without any option.
    bool plain() const { return !width && !height && !invert && !dither && !braille; }
};

class LevelsToText
{
public:
    static constexpr int kMaxSide = 4096;
    static constexpr qint64 kMaxCells = 16'000'000;

    struct Layout
    {
        QSize text; // columns × lines; empty when the size is out of bounds
        QSize grid; // cells, or dots for braille (2 × 4 a cell)
        QSize sampled; // the part of the grid the picture covers; the rest is white dots

        bool ok() const { return !text.isEmpty(); }
    };

    // The shape of the text for a picture of `picture` pixels. `squareCells`:
    // the grey string holds a full-width character.
    static Layout layout(QSize picture, const PicToTextOptions &options, bool squareCells);
    static Layout layout(QSize picture, const PicToTextOptions &options, QStringView grey)
    {
        return layout(picture, options, hasFullWidth(grey));
    }
    static bool hasFullWidth(QStringView grey);

    // Takes a line (its bytes, no line end); false when it could not be written.
    using LineSink = std::function<bool(const char *bytes, qsizetype length)>;

    LevelsToText(QSize picture, const PicToTextOptions &options, QStringView grey, GrayTable::Encoding encoding);

    // The layout is within bounds and there is a grey string (braille needs none).
    bool isValid() const { return m_valid; }
    const Layout &shape() const { return m_layout; }

    // The next picture row, picture.width() grey levels. Lines it completes
    // go to `sink`; false when the sink failed.
    bool addRow(const uchar *levels, const LineSink &sink);
    // After the last row: the line of braille cells still open, if any.
    bool finish(const LineSink &sink);

private:
    struct Segment
    {
        int from; // picture pixel
        int to; // grid cell
        int length; // overlap, in units of 1 ÷ (grid cells) of a pixel
        bool lastOfCell;
    };
    static std::vector<Segment> segments(int pixels, int cells);

    // The pixels of a row that meet one cell: a part of `head`, the whole
    // of [first, end), a part of `tail` (lengths 0 when there is none).
    struct Span
    {
        int head = 0;
        int headLength = 0;
        int first = 0;
        int end = 0;
        int tail = 0;
        int tailLength = 0;
    };

    bool gridRow(const uchar *greys, const LineSink &sink);
    bool textLine(const uchar *greys, const LineSink &sink);
    void dither(const uchar *greys, uchar *out);
    bool brailleLine(const LineSink &sink);

    Layout m_layout;
    PicToTextOptions m_options;
    QSize m_picture;
    GrayTable m_table;
    bool m_valid = false;
    bool m_identity = false;

    // Area means
    std::vector<Span> m_across;
    std::vector<Segment> m_down;
    std::size_t m_nextDown = 0;
    int m_pictureRow = 0;
    std::vector<int64_t> m_rowSums; // Σ g·ox of the current picture row, per cell
    std::vector<int64_t> m_cellSums; // S of the grid row being made
    std::vector<uchar> m_greys; // one grid row

    // Dithering: each palette position's value and the position a value takes,
    // in kUnit-ths of a grey level
    std::vector<int> m_errors[2];
    std::vector<int> m_paletteValue;
    std::vector<uchar> m_paletteLevel; // a grey level of each position's band
    std::vector<uchar> m_positionOf; // value → palette position
    std::vector<uchar> m_chosen; // one grid row after dithering

    // Braille
    std::vector<uchar> m_dots; // the bits of the line of cells being made
    int m_dotRow = 0;
    std::array<std::array<char, 4>, 256> m_brailleBytes{};
    int m_brailleLength = 0;
    std::vector<char> m_line;
};
