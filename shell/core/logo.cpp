#include "shell/core/logo.h"

#include <QPainter>
#include <QPainterPath>

namespace Logo {

QImage image(int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;

    QLinearGradient tile(0, 0, 0, s);
    tile.setColorAt(0, QColor(255, 183, 77));
    tile.setColorAt(1, QColor(239, 108, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(0, 0, s, s), s * 0.22, s * 0.22);

    // Speech bubble.
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(s * 0.14, s * 0.18, s * 0.72, s * 0.50), s * 0.12, s * 0.12);
    QPainterPath tail;
    tail.moveTo(s * 0.30, s * 0.64);
    tail.lineTo(s * 0.24, s * 0.84);
    tail.lineTo(s * 0.46, s * 0.66);
    tail.closeSubpath();
    p.setBrush(Qt::white);
    p.drawPath(bubble.united(tail));

    // A 4 × 3 grid of "characters", some inked, like a tiny piece of text art.
    static const char *cells[] = {"#.##", ".##.", "#..#"};
    const qreal cell = s * 0.12;
    const qreal left = s * 0.26;
    const qreal top = s * 0.26;
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 4; ++col) {
            const bool ink = cells[row][col] == '#';
            p.setBrush(ink ? QColor(33, 84, 160) : QColor(180, 200, 230));
            p.drawRoundedRect(QRectF(left + col * cell, top + row * cell, cell * 0.8, cell * 0.8), cell * 0.15,
                              cell * 0.15);
        }
    }
    return img;
}

} // namespace Logo
