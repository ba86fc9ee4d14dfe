#include "levelstotext.h"

#include "graymapping.h"

#include "shell/core/textcodec.h"

#include <algorithm>
#include <cstring>

namespace {

// Dithering keeps values in 32nds of a grey level: the middle of a band is
// a half level at worst, and the error's sixteenths add up to the whole.
constexpr int kUnit = 32;
constexpr int kTop = 255 * kUnit;

// Bit of the dot in column `right` (0 or 1), row `row` (0 to 3) of a cell.
constexpr uchar kDotBits[2][4] = {{0x01, 0x02, 0x04, 0x40}, {0x08, 0x10, 0x20, 0x80}};

// round(a ÷ b) with halves up, at least 1: a side that follows from the other.
qint64 roundedSide(qint64 a, qint64 b)
{
    return std::max<qint64>(1, (2 * a + b) / (2 * b));
}

bool withinBounds(qint64 w, qint64 h)
{
    return w >= 1 && h >= 1 && w <= LevelsToText::kMaxSide && h <= LevelsToText::kMaxSide
        && w * h <= LevelsToText::kMaxCells;
}

} // namespace

bool LevelsToText::hasFullWidth(QStringView grey)
{
    const QList<char32_t> chars = grayCharacters(grey);
    return std::any_of(chars.begin(), chars.end(), [](char32_t c) { return TextCodec::isFullWidth(c); });
}

LevelsToText::Layout LevelsToText::layout(QSize picture, const PicToTextOptions &o, bool squareCells)
{
    Layout l;
    const qint64 w = picture.width();
    const qint64 h = picture.height();
    if (w <= 0 || h <= 0 || o.width < 0 || o.height < 0 || o.width > kMaxSide || o.height > kMaxSide)
        return l;
    if (!o.braille) {
        if (!o.width && !o.height) {
            l.text = l.grid = l.sampled = picture;
            return l;
        }
        // Lines per column of a picture as wide as it is tall: ½ for cells
        // twice as tall as wide, 1 for square ones.
        const qint64 across = squareCells ? 1 : 2;
        qint64 cols = o.width;
        qint64 lines = o.height;
        if (!lines)
            lines = roundedSide(cols * h, across * w);
        else if (!cols)
            cols = roundedSide(across * lines * w, h);
        if (!withinBounds(cols, lines))
            return l;
        l.text = l.grid = l.sampled = QSize(int(cols), int(lines));
        return l;
    }
    qint64 dotsAcross = 2 * qint64(o.width);
    qint64 dotsDown = 4 * qint64(o.height);
    if (!o.width && !o.height) {
        dotsAcross = w;
        dotsDown = h;
    } else if (!o.height) {
        dotsDown = roundedSide(dotsAcross * h, w); // square dots
    } else if (!o.width) {
        dotsAcross = roundedSide(dotsDown * w, h);
    }
    const qint64 cols = (dotsAcross + 1) / 2;
    const qint64 lines = (dotsDown + 3) / 4;
    if ((o.width || o.height) && !withinBounds(cols, lines))
        return l;
    l.text = QSize(int(cols), int(lines));
    l.grid = QSize(int(2 * cols), int(4 * lines));
    l.sampled = QSize(int(dotsAcross), int(dotsDown));
    return l;
}

std::vector<LevelsToText::Segment> LevelsToText::segments(int pixels, int cells)
{
    // Pixel x spans [x·cells, (x+1)·cells) and cell i spans [i·pixels,
    // (i+1)·pixels) of the same line: each piece where one pixel meets one
    // cell is a segment, in order along the line.
    std::vector<Segment> out;
    out.reserve(std::size_t(pixels) + std::size_t(cells));
    const qint64 end = qint64(pixels) * cells;
    qint64 at = 0;
    int x = 0;
    int i = 0;
    while (at < end) {
        const qint64 pixelEnd = qint64(x + 1) * cells;
        const qint64 cellEnd = qint64(i + 1) * pixels;
        const qint64 to = std::min(pixelEnd, cellEnd);
        out.push_back({x, i, int(to - at), to == cellEnd});
        at = to;
        if (to == pixelEnd)
            ++x;
        if (to == cellEnd)
            ++i;
    }
    return out;
}

LevelsToText::LevelsToText(QSize picture, const PicToTextOptions &options, QStringView grey,
                           GrayTable::Encoding encoding)
    : m_layout(layout(picture, options, grey))
    , m_options(options)
    , m_picture(picture)
    , m_table(grey, encoding)
{
    m_valid = m_layout.ok() && (options.braille || !m_table.isEmpty());
    if (!m_valid)
        return;
    const QSize sampled = m_layout.sampled;
    m_identity = sampled == picture;
    if (!m_identity) {
        // Along a row, pixels wholly inside a cell are summed first and
        // weighted once: the sum runs over plain bytes.
        const int whole = sampled.width();
        m_across.assign(std::size_t(whole), Span());
        for (const Segment &s : segments(picture.width(), whole)) {
            Span &span = m_across[std::size_t(s.to)];
            if (s.length == whole) {
                if (span.first == span.end)
                    span.first = s.from;
                span.end = s.from + 1;
            } else if (span.headLength == 0 && span.first == span.end) {
                span.head = s.from;
                span.headLength = s.length;
            } else {
                span.tail = s.from;
                span.tailLength = s.length;
            }
        }
        m_down = segments(picture.height(), sampled.height());
        m_rowSums.assign(std::size_t(sampled.width()), 0);
        m_cellSums.assign(std::size_t(sampled.width()), 0);
    }
    m_greys.resize(std::size_t(sampled.width()));

    if (options.dither) {
        for (auto &errors : m_errors)
            errors.assign(std::size_t(sampled.width()) + 2, 0);
        m_chosen.resize(std::size_t(sampled.width()));
        m_positionOf.resize(kTop + 1);
        if (options.braille) {
            m_paletteValue = {0, kTop};
            m_paletteLevel = {0, 255};
            const int split = std::clamp(options.threshold, 0, 255) * kUnit;
            for (int v = 0; v <= kTop; ++v)
                m_positionOf[std::size_t(v)] = v < split ? 0 : 1;
        } else {
            // Each position's band of levels, as GrayToChar draws them; a
            // position no level reaches is left out of the palette.
            const int n = int(grayCharacters(grey).size());
            std::vector<int> low(std::size_t(n) + 1, -1);
            std::vector<int> high(std::size_t(n) + 1, -1);
            for (int level = 0; level < 256; ++level) {
                const int k = GrayToCharIndex(n, level);
                if (low[std::size_t(k)] < 0)
                    low[std::size_t(k)] = level;
                high[std::size_t(k)] = level;
            }
            for (int k = 1; k <= n; ++k) {
                if (low[std::size_t(k)] < 0)
                    continue;
                m_paletteValue.push_back((low[std::size_t(k)] + high[std::size_t(k)]) * kUnit / 2);
                m_paletteLevel.push_back(uchar(low[std::size_t(k)]));
            }
            // Nearest value; a tie goes to the darker.
            std::size_t k = 0;
            for (int v = 0; v <= kTop; ++v) {
                while (k + 1 < m_paletteValue.size()
                       && m_paletteValue[k + 1] - v < v - m_paletteValue[k])
                    ++k;
                m_positionOf[std::size_t(v)] = uchar(k);
            }
        }
    }

    if (options.braille) {
        m_dots.assign(std::size_t(m_layout.text.width()), 0);
        for (int bits = 0; bits < 256; ++bits) {
            const QString cell(QChar(char16_t(0x2800 + bits)));
            const QByteArray bytes = encoding == GrayTable::Encoding::Utf8 ? cell.toUtf8() : TextCodec::encode(cell);
            m_brailleLength = int(std::min<qsizetype>(bytes.size(), 4));
            std::memcpy(m_brailleBytes[std::size_t(bits)].data(), bytes.constData(), std::size_t(m_brailleLength));
        }
        m_line.resize(std::size_t(m_layout.text.width()) * std::size_t(m_brailleLength));
    } else {
        m_line.resize(std::size_t(m_table.rowBytes(m_layout.text.width())));
    }
}

bool LevelsToText::addRow(const uchar *levels, const LineSink &sink)
{
    if (!m_valid)
        return false;
    if (m_identity)
        return gridRow(levels, sink);
    if (m_pictureRow >= m_picture.height())
        return true;
    const int width = m_layout.sampled.width();
    int64_t *rowSums = m_rowSums.data();
    for (int i = 0; i < width; ++i) {
        const Span &span = m_across[std::size_t(i)];
        int sum = 0;
        for (int x = span.first; x < span.end; ++x)
            sum += levels[x];
        rowSums[i] = int64_t(sum) * width + int64_t(levels[span.head]) * span.headLength
            + int64_t(levels[span.tail]) * span.tailLength;
    }

    const int64_t whole = 2 * int64_t(m_picture.width()) * m_picture.height();
    bool ok = true;
    while (m_nextDown < m_down.size() && m_down[m_nextDown].from == m_pictureRow) {
        const Segment &s = m_down[m_nextDown++];
        int64_t *cellSums = m_cellSums.data();
        for (int i = 0; i < width; ++i)
            cellSums[i] += rowSums[i] * s.length;
        if (!s.lastOfCell)
            continue;
        for (int i = 0; i < width; ++i) {
            m_greys[std::size_t(i)] = uchar((2 * cellSums[i] + whole / 2) / whole);
            cellSums[i] = 0;
        }
        ok = ok && gridRow(m_greys.data(), sink);
    }
    ++m_pictureRow;
    return ok;
}

bool LevelsToText::gridRow(const uchar *greys, const LineSink &sink)
{
    const int width = m_layout.sampled.width();
    if (m_options.invert) {
        uchar *inverted = m_greys.data();
        for (int x = 0; x < width; ++x)
            inverted[x] = uchar(255 - greys[x]);
        greys = inverted;
    }
    if (m_options.dither) {
        dither(greys, m_chosen.data());
        greys = m_chosen.data();
    }
    if (!m_options.braille)
        return sink(m_line.data(), m_table.convertLevels(greys, width, m_line.data()));

    const int threshold = m_options.dither ? 128 : m_options.threshold;
    for (int x = 0; x < width; ++x) {
        if (greys[x] < threshold)
            m_dots[std::size_t(x >> 1)] |= kDotBits[x & 1][m_dotRow];
    }
    return ++m_dotRow < 4 || brailleLine(sink);
}

void LevelsToText::dither(const uchar *greys, uchar *out)
{
    const int width = m_layout.sampled.width();
    int *here = m_errors[0].data() + 1;
    int *below = m_errors[1].data() + 1;
    for (int x = 0; x < width; ++x) {
        const int value = std::clamp(greys[x] * kUnit + here[x], 0, kTop);
        const uchar k = m_positionOf[std::size_t(value)];
        out[x] = m_paletteLevel[k];
        const int e = value - m_paletteValue[k];
        const int right = (7 * e) >> 4; // floors, negative errors too
        const int downLeft = (3 * e) >> 4;
        const int down = (5 * e) >> 4;
        here[x + 1] += right;
        below[x - 1] += downLeft;
        below[x] += down;
        below[x + 1] += e - right - downLeft - down;
    }
    std::swap(m_errors[0], m_errors[1]);
    std::fill(m_errors[1].begin(), m_errors[1].end(), 0);
}

bool LevelsToText::brailleLine(const LineSink &sink)
{
    char *out = m_line.data();
    for (uchar &bits : m_dots) {
        std::memcpy(out, m_brailleBytes[bits].data(), std::size_t(m_brailleLength));
        out += m_brailleLength;
        bits = 0;
    }
    m_dotRow = 0;
    return sink(m_line.data(), out - m_line.data());
}

bool LevelsToText::finish(const LineSink &sink)
{
    return !m_valid || !m_options.braille || m_dotRow == 0 || brailleLine(sink);
}
