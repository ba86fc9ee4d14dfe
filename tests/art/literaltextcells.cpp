#include "literaltextcells.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <cmath>

LiteralTextCells LiteralTextCells::render(const QString &text, const QFont &font)
{
    const QFont plain = PixelSurface::plainFont(font);
    const QFontMetricsF measure(plain);
    const QFontMetrics box(plain);
    const auto width = [&](const QString &s) { return int(std::lround(measure.horizontalAdvance(s))); };

    LiteralTextCells out;
    out.W = width(text);
    out.H = box.height();
    out.cells.assign(std::size_t(out.W + 1) * std::size_t(out.H + 1), TextCell{});

    // Ends of the prefixes, one per code point.
    std::vector<qsizetype> ends;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        ends.push_back(i + 1);
    }

    QImage surface(out.W + 600, out.H + 200, QImage::Format_RGB32);
    for (std::size_t i = 0; i < ends.size(); ++i) {
        const QString prefix = text.left(ends[i]);
        surface.fill(Qt::white);
        QPainter p(&surface);
        p.setFont(plain);
        p.setPen(Qt::black);
        p.drawText(QPointF(20, 20 + box.ascent()), prefix);
        p.end();
        const int wi = width(prefix);
        const int hi = box.height();
        for (int x = 20; x <= 20 + wi; ++x) {
            for (int y = 20; y <= 20 + hi; ++y) {
                if (x - 20 > out.W || y - 20 > out.H)
                    continue; // a prefix wider than the whole text; the grid ends there
                TextCell &cell = out.cells[std::size_t(y - 20) * std::size_t(out.W + 1) + std::size_t(x - 20)];
                if (cell.CharIndex == -1)
                    cell.CharIndex = std::int32_t(i + 1);
                cell.Ink = (surface.pixel(x, y) & 0x00FFFFFFu) == 0 ? 1 : 0;
            }
        }
    }
    return out;
}
