#pragma once

// An off-screen raster surface: holds a picture or draws text in a font, and
// reports the colour of single pixels. Text is drawn without smoothing, so a
// pixel of the text is either exactly the text colour or untouched.

#include "shell/core/utilities.h"

#include <QFont>
#include <QImage>
#include <QSize>

#include <vector>

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

    // A text of one or more lines as the surface lays it out: each code point
    // at its own advance after the one before, without kerning or shaping,
    // and each line `pitch` pixels below the one before. Breaks are CR LF, CR
    // or LF; a final break starts no further line. Control characters take
    // the place of a blank.
    struct TextBlock
    {
        struct Line
        {
            qsizetype firstCodePoint = 0; // position in the whole text, breaks counted
            std::vector<char32_t> codePoints;
            std::vector<double> advances; // running: advances[i] ends code point i
            int width() const; // the running advance of the whole line, rounded
        };
        QFont font; // the font as measured and drawn (see plainFont)
        std::vector<Line> lines;
        int lineHeight = 0;
        int pitch = 0;
        int ascent = 0;
        // Width of the widest line, and (lines − 1) × pitch + lineHeight.
        QSize size() const;
    };

    // `font` made to measure and draw alike: no anti-aliasing, no kerning,
    // no shaping.
    static QFont plainFont(const QFont &font);

    static TextBlock layoutText(QStringView text, const QFont &font);

    static bool isControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

    // The picture as 32-bit pixels (QImage::Format_RGB32); transparency is
    // already flattened onto white.
    const QImage &image() const { return m_image; }

private:
    QImage m_image;
    RgbValue m_background = RGB(255, 255, 255);
};
