#pragma once

// An off-screen raster surface: holds a picture or draws text in a font, and
// reports the colour of single pixels. Text is drawn without smoothing, so a
// pixel of the text is either exactly the text colour or untouched.

#include "shell/core/utilities.h"

#include <QFont>
#include <QImage>
#include <QSize>

class PixelSurface
{
public:
    PixelSurface() = default;
    PixelSurface(int width, int height, RgbValue background = RGB(255, 255, 255));
    explicit PixelSurface(const QImage &picture);

    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    bool isNull() const { return m_image.isNull(); }

    // Colour of pixel (x, y), (0, 0) at the top left; white outside the surface.
    RgbValue pixel(int x, int y) const;

    void resize(int width, int height);
    void clear();
    void setBackground(RgbValue colour) { m_background = colour; }
    RgbValue background() const { return m_background; }

    // Draws `text` with its top-left corner at (x, y).
    void drawText(int x, int y, const QString &text, const QFont &font, RgbValue colour);

    // The extent of `text` in `font`, in pixels (advance width, line height).
    static QSize textSize(const QString &text, const QFont &font);

    // The picture as 32-bit pixels (QImage::Format_RGB32); transparency is
    // already flattened onto white.
    const QImage &image() const { return m_image; }

private:
    QImage m_image;
    RgbValue m_background = RGB(255, 255, 255);
};
