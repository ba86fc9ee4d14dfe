#pragma once

#include <QColor>
#include <QRect>
#include <QString>

// What the paint grid needs from its canvas. Pixel units, corners inclusive;
// text is drawn in the canvas font and the text colour on a transparent
// background. The canvas keeps what is drawn on it.
class THSurface
{
public:
    virtual ~THSurface() = default;

    // Erases everything to the background colour.
    virtual void clear() = 0;
    virtual void setSize(int width, int height) = 0;
    virtual int scaleWidth() const = 0;
    virtual int scaleHeight() const = 0;

    virtual void line(int x1, int y1, int x2, int y2, const QColor &colour) = 0;
    virtual void box(int x1, int y1, int x2, int y2, const QColor &colour) = 0;
    virtual void filledBox(int x1, int y1, int x2, int y2, const QColor &colour) = 0;

    // The colours the grid is drawn in: the background, which clear() fills
    // and every emptied cell gets, and the grid lines.
    virtual QColor backColor() const = 0;
    virtual QColor lineColor() const = 0;

    virtual int textWidth(const QString &s) const = 0;
    virtual int textHeight(const QString &s) const = 0;

    // Draws `s` with its top-left corner at (x, y); nothing lands outside
    // `clip`, so a glyph wider than its cells never marks its neighbours.
    virtual void print(const QString &s, int x, int y, const QRect &clip) = 0;
};
