#include "thimagesurface.h"

#include "shell/core/fonts.h"

#include <QPainter>

namespace {

QRect corners(int x1, int y1, int x2, int y2)
{
    return QRect(QPoint(x1, y1), QPoint(x2, y2)).normalized();
}

} // namespace

THImageSurface::THImageSurface(const QColor &lineColor)
    : m_lineColor(lineColor)
    , m_font(Fonts::crispFont(Fonts::kSongTi, kFontPoints))
    , m_metrics(m_font)
{
}

THImageSurface::~THImageSurface() = default;

QPainter &THImageSurface::painter()
{
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>(&m_image);
        m_painter->setRenderHint(QPainter::Antialiasing, false);
        m_painter->setRenderHint(QPainter::TextAntialiasing, false);
        m_painter->setFont(m_font);
    }
    return *m_painter;
}

void THImageSurface::endPainting() const
{
    m_painter.reset();
}

const QImage &THImageSurface::image() const
{
    endPainting();
    return m_image;
}

void THImageSurface::report(const QRect &r)
{
    if (touched) {
        const QRect inside = r & m_image.rect();
        if (!inside.isEmpty())
            touched(inside);
    }
}

void THImageSurface::clear()
{
    endPainting();
    m_image.fill(m_backColor);
    report(m_image.rect());
}

void THImageSurface::setSize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (m_image.width() == width && m_image.height() == height)
        return;
    endPainting();
    m_image = QImage(width, height, QImage::Format_RGB32);
    m_image.fill(m_backColor);
    report(m_image.rect());
}

void THImageSurface::line(int x1, int y1, int x2, int y2, const QColor &colour)
{
    if (m_image.isNull())
        return;
    if (x1 == x2 || y1 == y2) {
        const QRect r = corners(x1, y1, x2, y2);
        painter().fillRect(r, colour);
        report(r);
        return;
    }
    QPainter &p = painter();
    p.setPen(QPen(colour, 0));
    p.drawLine(x1, y1, x2, y2);
    report(corners(x1, y1, x2, y2));
}

void THImageSurface::box(int x1, int y1, int x2, int y2, const QColor &colour)
{
    if (m_image.isNull())
        return;
    const QRect r = corners(x1, y1, x2, y2);
    QPainter &p = painter();
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), colour);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), colour);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), colour);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), colour);
    report(r);
}

void THImageSurface::filledBox(int x1, int y1, int x2, int y2, const QColor &colour)
{
    if (m_image.isNull())
        return;
    const QRect r = corners(x1, y1, x2, y2);
    painter().fillRect(r, colour);
    report(r);
}

int THImageSurface::textWidth(const QString &s) const
{
    return m_metrics.horizontalAdvance(s);
}

int THImageSurface::textHeight(const QString &) const
{
    return m_metrics.height();
}

void THImageSurface::print(const QString &s, int x, int y, const QRect &clip)
{
    if (m_image.isNull() || s.isEmpty())
        return;
    QPainter &p = painter();
    p.setClipRect(clip);
    p.setPen(m_textColor);
    p.drawText(QPoint(x, y + m_metrics.ascent()), s);
    p.setClipping(false);
    report(clip);
}
