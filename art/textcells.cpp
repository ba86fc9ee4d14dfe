#include "textcells.h"

#include "shell/core/fonts.h"

#include <algorithm>
#include <cmath>

namespace {

// Where the text's top-left corner sits on the surface; cell (0, 0) is the
// pixel there.
constexpr int kOrigin = 20;

} // namespace

TextCells::TextCells(int W, int H, std::vector<std::int32_t> columns, std::vector<std::uint8_t> ink)
    : m_w(W)
    , m_h(H)
    , m_pitch(H + 1)
    , m_lines{std::move(columns)}
    , m_ink(std::move(ink))
{
    m_lines.front().resize(std::size_t(W) + 1, -1);
    m_ink.resize((std::size_t(W) + 1) * (std::size_t(H) + 1), 0);
}

QFont ArtTextFont(const QString &family, double points, bool bold, bool italic)
{
    QFont font = Fonts::crispFont(family, points);
    font.setBold(bold);
    font.setItalic(italic);
    return PixelSurface::plainFont(font);
}

QSize TextCellsSize(QStringView text, const QFont &font)
{
    const QSize size = PixelSurface::textBlockSize(text, font);
    return QSize(size.width() + 1, size.height() + 1);
}

bool RenderTextCells(PixelSurface &surface, QStringView text, const QFont &font, TextCells &cells, qint64 maxCells)
{
    const PixelSurface::TextBlock block = PixelSurface::layoutText(text, font);
    const QSize size = block.size();
    const int W = size.width();
    const int H = size.height();
    if (qint64(W + 1) * qint64(H + 1) > maxCells)
        return false;

    PixelSurface drawn(kOrigin + W + 1, kOrigin + H + 1, RGB(255, 255, 255));
    if (drawn.isNull())
        return false;
    drawn.drawTextBlock(kOrigin, kOrigin, block, RGB(0, 0, 0));

    TextCells result;
    result.m_w = W;
    result.m_h = H;
    result.m_pitch = std::max(block.pitch, 1);
    const std::size_t columns = std::size_t(W) + 1;

    // A column belongs to the first character whose running advance reaches
    // it. Zero-width marks repeat a width, and the walk over the columns only
    // ever moves on, so it takes the running maximum by itself.
    const auto &lines = block.lines;
    result.m_lines.assign(std::max<std::size_t>(lines.size(), 1), std::vector<std::int32_t>(columns, -1));
    // What an empty line takes: the last character before it, or, before
    // the first character, that one (looked for once, not for each of them).
    const auto firstFilled =
        std::find_if(lines.begin(), lines.end(), [](const auto &line) { return !line.codePoints.empty(); });
    std::int32_t emptyLineOwner = firstFilled == lines.end() ? -1 : std::int32_t(firstFilled->firstCodePoint) + 1;
    for (std::size_t l = 0; l < lines.size(); ++l) {
        const PixelSurface::TextBlock::Line &line = lines[l];
        std::vector<std::int32_t> &owner = result.m_lines[l];
        const auto first = std::int32_t(line.firstCodePoint) + 1;
        const std::size_t n = line.codePoints.size();
        if (n == 0) {
            std::fill(owner.begin(), owner.end(), emptyLineOwner);
            continue;
        }
        std::size_t column = 0;
        for (std::size_t i = 0; i < n && column < columns; ++i) {
            const auto reach = std::size_t(std::max<long>(0, std::lround(line.advances[i])));
            for (; column <= reach && column < columns; ++column)
                owner[column] = first + std::int32_t(i);
        }
        std::fill(owner.begin() + std::ptrdiff_t(column), owner.end(), first + std::int32_t(n) - 1);
        emptyLineOwner = first + std::int32_t(n) - 1;
    }

    result.m_ink.resize(columns * (std::size_t(H) + 1));
    const QImage &image = drawn.image();
    for (int y = 0; y <= H; ++y) {
        const QRgb *pixels = reinterpret_cast<const QRgb *>(image.constScanLine(kOrigin + y)) + kOrigin;
        std::uint8_t *ink = result.m_ink.data() + std::size_t(y) * columns;
        for (std::size_t x = 0; x < columns; ++x)
            ink[x] = (pixels[x] & 0x00FFFFFFu) == 0;
    }

    surface = std::move(drawn);
    cells = std::move(result);
    return true;
}
