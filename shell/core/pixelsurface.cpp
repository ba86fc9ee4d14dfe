#include "shell/core/pixelsurface.h"

#include <QFontMetrics>
#include <QPainter>

PixelSurface::PixelSurface(int width, int height, RgbValue background)
    : m_background(background)
{
    resize(width, height);
}

PixelSurface::PixelSurface(const QImage &picture)
{
    if (picture.isNull())
        return;
    if (picture.hasAlphaChannel()) {
        // Transparent pixels read as the white the surface starts with.
        m_image = QImage(picture.size(), QImage::Format_RGB32);
        m_image.fill(Qt::white);
        QPainter p(&m_image);
        p.drawImage(0, 0, picture);
    } else {
        m_image = picture.convertToFormat(QImage::Format_RGB32);
    }
}

RgbValue PixelSurface::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_image.width() || y >= m_image.height())
        return RGB(255, 255, 255);
    const QRgb c = reinterpret_cast<const QRgb *>(m_image.constScanLine(y))[x];
    return RGB(qRed(c), qGreen(c), qBlue(c));
}

void PixelSurface::resize(int width, int height)
{
    m_image = QImage(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
    clear();
}

void PixelSurface::clear()
{
    m_image.fill(toQColor(m_background));
}

void PixelSurface::drawText(int x, int y, const QString &text, const QFont &font, RgbValue colour)
{
    if (m_image.isNull())
        return;
    QFont crisp = font;
    crisp.setStyleStrategy(QFont::StyleStrategy(crisp.styleStrategy() | QFont::NoAntialias));
    QPainter p(&m_image);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setFont(crisp);
    p.setPen(toQColor(colour));
    p.drawText(QPoint(x, y + QFontMetrics(crisp).ascent()), text);
}

QSize PixelSurface::textSize(const QString &text, const QFont &font)
{
    const QFontMetrics metrics(font);
    return QSize(metrics.horizontalAdvance(text), metrics.height());
}
