#include "textcells.h"

#include "shell/core/fonts.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

namespace {

// Where a line's first glyph starts on a band's surface; what is drawn left
// of it is not part of any cell.
constexpr int kOrigin = 20;


// The text line by line as PixelSurface lays it out, with nothing kept but
// what the line at hand needs: each code point at its own advance after the
// one before, measured once on its own (no kerning, no shaping), each line
// `pitch` pixels below the one before.
class Lines
{
public:
    Lines(QStringView text, const QFont &font)
        : m_text(text)
        , m_font(PixelSurface::plainFont(font))
        , m_metrics(m_font)
    {
        const QFontMetrics whole(m_font);
        lineHeight = whole.height();
        ascent = whole.ascent();
        pitch = std::max(lineHeight, whole.lineSpacing());
    }

    struct Line
    {
        qint64 index = -1;
        QStringView units;    // without its break
        qint64 firstCodePoint = 0; // in the whole text, breaks counted
        bool empty() const { return units.isEmpty(); }
    };

    // The next line; false after the last. A final break starts no line.
    bool next(Line &line)
    {
        const qsizetype n = m_text.size();
        if (m_at > n || (m_at == n && (n == 0 || m_afterBreak)))
            return false;
        qsizetype end = m_at;
        qint64 codePoints = 0;
        while (end < n && m_text[end] != u'\r' && m_text[end] != u'\n') {
            if (!(m_text[end].isLowSurrogate() && end > m_at && m_text[end - 1].isHighSurrogate()))
                ++codePoints;
            ++end;
        }
        line.index = ++m_index;
        line.units = m_text.sliced(m_at, end - m_at);
        line.firstCodePoint = m_position;
        const qsizetype breakLength =
            end == n ? 1 : (m_text[end] == u'\r' && end + 1 < n && m_text[end + 1] == u'\n' ? 2 : 1);
        m_afterBreak = end < n;
        m_position += codePoints + (end < n ? breakLength : 0);
        m_at = end + breakLength;
        return true;
    }

    // Calls f(code point, running advance after it) for each code point of
    // the line; f returns false to stop.
    template<typename F>
    void walk(const Line &line, F &&f)
    {
        double running = 0;
        const QStringView u = line.units;
        for (qsizetype i = 0; i < u.size(); ++i) {
            char32_t c = u[i].unicode();
            if (u[i].isHighSurrogate() && i + 1 < u.size() && u[i + 1].isLowSurrogate()) {
                c = QChar::surrogateToUcs4(u[i], u[i + 1]);
                ++i;
            }
            running += advance(c);
            if (!f(c, running))
                return;
        }
    }

    qint64 width(const Line &line)
    {
        double running = 0;
        walk(line, [&](char32_t, double r) {
            running = r;
            return true;
        });
        return line.empty() ? 0 : qint64(std::llround(running));
    }

    const QFont &font() const { return m_font; }

    // A blank, a control code, or a format character whose glyph has no
    // outline (U+200B and the like): drawing it would leave no pixel. (A
    // mark's box says nothing of its ink: it hangs over the character
    // before it.)
    bool drawsNothing(char32_t c)
    {
        if (PixelSurface::isControl(c) || c == u' ')
            return true;
        const auto found = m_blank.constFind(c);
        if (found != m_blank.constEnd())
            return *found;
        const bool blank = QChar::category(c) == QChar::Other_Format
                           && m_metrics.boundingRect(QString::fromUcs4(&c, 1)).isEmpty();
        m_blank.insert(c, blank);
        return blank;
    }

    int lineHeight = 0;
    int ascent = 0;
    int pitch = 0;

private:
    double advance(char32_t c)
    {
        if (PixelSurface::isControl(c))
            c = u' ';
        if (c < 0x10000) {
            if (m_basic.empty())
                m_basic.assign(0x10000, std::numeric_limits<double>::quiet_NaN());
            double &a = m_basic[c];
            if (std::isnan(a))
                a = m_metrics.horizontalAdvance(QString::fromUcs4(&c, 1));
            return a;
        }
        const auto found = m_beyond.constFind(c);
        if (found != m_beyond.constEnd())
            return *found;
        const double a = m_metrics.horizontalAdvance(QString::fromUcs4(&c, 1));
        m_beyond.insert(c, a);
        return a;
    }

    QStringView m_text;
    QFont m_font;
    QFontMetricsF m_metrics;
    std::vector<double> m_basic; // advances of the basic plane, NaN until measured
    QHash<char32_t, double> m_beyond;
    QHash<char32_t, bool> m_blank;
    qsizetype m_at = 0;
    qint64 m_index = -1;
    qint64 m_position = 0;
    bool m_afterBreak = false;
};

// The size of the text, and the character the empty lines before the first
// one that has characters take.
struct Measured
{
    CellsSize size;
    qint64 lines = 0;
    std::int32_t firstOwner = -1;
};

Measured measure(QStringView text, const QFont &font)
{
    Lines lines(text, font);
    Measured m;
    qint64 count = 0;
    qint64 widest = 0;
    for (Lines::Line line; lines.next(line);) {
        ++count;
        widest = std::max(widest, lines.width(line));
        if (m.firstOwner < 0 && !line.empty())
            m.firstOwner = std::int32_t(line.firstCodePoint + 1);
    }
    m.lines = count;
    if (count > 0)
        m.size = {widest + 1, (count - 1) * lines.pitch + lines.lineHeight + 1};
    else
        m.size = {1, 1};
    return m;
}

} // namespace

// Draws the lines that hold ink a band at a time and takes their ink into
// the cells; fills each line's columns with their characters on the way.
class TextCellsRenderer
{
public:
    static bool render(QStringView text, const QFont &font, const Measured &measured,
                       const TextCellsRendering &how, TextCells &cells)
    {
        Lines lines(text, font);
        TextCells result;
        result.m_w = int(measured.size.columns - 1);
        result.m_h = int(measured.size.rows - 1);
        result.m_pitch = std::max(lines.pitch, 1);
        result.m_lines = int(std::max<qint64>(measured.lines, 1));
        try {
            result.m_owners.assign(std::size_t(result.m_lines) * std::size_t(measured.size.columns), -1);
            result.m_ink.assign(std::size_t(measured.size.count()), 0);
            if (!TextCellsRenderer(lines, result, how).run(measured.firstOwner))
                return false;
        } catch (const std::bad_alloc &) {
            return false;
        }
        cells = std::move(result);
        return true;
    }

private:
    TextCellsRenderer(Lines &lines, TextCells &cells, const TextCellsRendering &how)
        : m_lines(lines)
        , m_cells(cells)
        , m_how(how)
    {
        const qint64 surfaceWidth = kOrigin + qint64(cells.m_w) + 1;
        m_bandRows = std::max<qint64>(how.bandPixels / surfaceWidth, 1);
        m_reach = std::max(lines.lineHeight, 1);
    }

    bool run(std::int32_t firstOwner)
    {
        const std::size_t columns = std::size_t(m_cells.columns());
        std::int32_t emptyLineOwner = firstOwner;
        for (Lines::Line line; m_lines.next(line);) {
            std::int32_t *owner = m_cells.m_owners.data() + std::size_t(line.index) * columns;
            if (line.empty()) {
                std::fill(owner, owner + columns, emptyLineOwner);
                continue;
            }
            // A column belongs to the first character whose running advance
            // reaches it. Zero-width marks repeat a width, and the walk over
            // the columns only ever moves on, so it takes the running maximum
            // by itself.
            const auto first = std::int32_t(line.firstCodePoint) + 1;
            std::int32_t i = 0;
            std::size_t column = 0;
            bool ink = false;
            m_lines.walk(line, [&](char32_t c, double running) {
                const auto reach = std::size_t(std::max<long long>(0, std::llround(running)));
                for (; column <= reach && column < columns; ++column)
                    owner[column] = first + i;
                ink = ink || !m_lines.drawsNothing(c);
                ++i;
                return column < columns || !ink; // on to the end while it may hold no ink
            });
            const std::int32_t last = first + std::int32_t(characters(line.units)) - 1;
            std::fill(owner + column, owner + columns, last);
            emptyLineOwner = last;
            if (ink && !add(line))
                return false;
        }
        return flush();
    }

    static qint64 characters(QStringView units)
    {
        qint64 n = units.size();
        for (qsizetype i = 1; i < units.size(); ++i) {
            if (units[i].isLowSurrogate() && units[i - 1].isHighSurrogate())
                --n;
        }
        return n;
    }

    qint64 top(const Lines::Line &line) const { return line.index * m_lines.pitch; }

    // The rows a line's glyphs may reach: its box, and a line height above
    // and below it for accents, italics and descents drawn beyond it.
    qint64 bandTop() const { return std::max<qint64>(top(m_band.front()) - m_reach, 0); }
    qint64 bandBottom() const
    {
        return std::min<qint64>(top(m_band.back()) + m_lines.lineHeight + m_reach - 1, m_cells.m_h);
    }

    bool add(const Lines::Line &line)
    {
        if (!m_band.empty() && top(line) + m_lines.lineHeight + m_reach - 1 - bandTop() + 1 > m_bandRows
            && !flush())
            return false;
        m_band.push_back(line);
        return true;
    }

    bool flush()
    {
        if (m_band.empty())
            return true;
        const qint64 y0 = bandTop();
        const qint64 y1 = bandBottom();
        const int columns = m_cells.columns();
        QImage surface(kOrigin + columns, int(y1 - y0 + 1), QImage::Format_RGB32);
        if (surface.isNull())
            return false;
        surface.fill(Qt::white);
        draw(surface, y0);
        for (qint64 y = y0; y <= y1; ++y) {
            const QRgb *pixels = reinterpret_cast<const QRgb *>(surface.constScanLine(int(y - y0))) + kOrigin;
            std::uint8_t *ink = m_cells.m_ink.data() + std::size_t(y) * std::size_t(columns);
            for (int x = 0; x < columns; ++x)
                ink[x] |= (pixels[x] & 0x00FFFFFFu) == 0;
        }
        m_band.clear();
        if (m_how.pause)
            m_how.pause();
        return true;
    }

    // Glyph after glyph at the running advance, as PixelSurface draws a text
    // block, so that a long line costs no more than its glyphs.
    void draw(QImage &surface, qint64 y0)
    {
        QPainter p(&surface);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setFont(m_lines.font());
        p.setPen(Qt::black);
        const double right = surface.width() - 1 + m_reach;
        for (const Lines::Line &line : m_band) {
            const double baseline = double(top(line) - y0 + m_lines.ascent);
            double start = 0;
            m_lines.walk(line, [&](char32_t c, double running) {
                const double left = kOrigin + start;
                start = running;
                if (m_lines.drawsNothing(c))
                    return true;
                if (left > right)
                    return false;
                p.drawText(QPointF(left, baseline), QString::fromUcs4(&c, 1));
                return true;
            });
        }
    }

    Lines &m_lines;
    TextCells &m_cells;
    const TextCellsRendering &m_how;
    qint64 m_bandRows = 1;
    int m_reach = 1;
    std::vector<Lines::Line> m_band;
};

TextCells::TextCells(int W, int H, std::vector<std::int32_t> columns, std::vector<std::uint8_t> ink)
    : m_w(W)
    , m_h(H)
    , m_pitch(H + 1)
    , m_lines(1)
    , m_owners(std::move(columns))
    , m_ink(std::move(ink))
{
    m_owners.resize(std::size_t(W) + 1, -1);
    m_ink.resize((std::size_t(W) + 1) * (std::size_t(H) + 1), 0);
}

QFont ArtTextFont(const QString &family, double points, bool bold, bool italic)
{
    QFont font = Fonts::crispFont(family, points);
    font.setBold(bold);
    font.setItalic(italic);
    return PixelSurface::plainFont(font);
}

CellsSize TextCellsSize(QStringView text, const QFont &font)
{
    return measure(text, font).size;
}

bool RenderTextCells(QStringView text, const QFont &font, TextCells &cells, const TextCellsRendering &how,
                     CellsSize *size)
{
    const Measured measured = measure(text, font);
    if (size)
        *size = measured.size;
    const CellsSize grid = measured.size;
    if (grid.count() > how.maxCells || grid.columns > std::numeric_limits<int>::max()
        || grid.rows > std::numeric_limits<int>::max())
        return false;

    return TextCellsRenderer::render(text, font, measured, how, cells);
}
