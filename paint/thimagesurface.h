#pragma once

#include "thsurface.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>

#include <functional>
#include <memory>

class QPainter;

// The paint grid's surface on an image: white ground, black characters in
// 宋体 10.5 points drawn without smoothing. Every drawing call reports the
// rectangle it touched through `touched`, so a widget showing the image can
// repaint just that.
class THImageSurface : public THSurface
{
public:
    // The size of the characters, in points; the face is 宋体.
    static constexpr double kFontPoints = 10.5;

    explicit THImageSurface(const QColor &lineColor = QColor(236, 233, 216));
    ~THImageSurface() override;
    THImageSurface(const THImageSurface &) = delete;
    THImageSurface &operator=(const THImageSurface &) = delete;

    void clear() override;
    void setSize(int width, int height) override;
    int scaleWidth() const override { return m_image.width(); }
    int scaleHeight() const override { return m_image.height(); }
    void line(int x1, int y1, int x2, int y2, const QColor &colour) override;
    void box(int x1, int y1, int x2, int y2, const QColor &colour) override;
    void filledBox(int x1, int y1, int x2, int y2, const QColor &colour) override;
    QColor backColor() const override { return m_backColor; }
    QColor lineColor() const override { return m_lineColor; }
    int textWidth(const QString &s) const override;
    int textHeight(const QString &s) const override;
    void print(const QString &s, int x, int y, const QRect &clip) override;

    void setLineColor(const QColor &colour) { m_lineColor = colour; }

    // The picture as drawn so far.
    const QImage &image() const;

    // The rectangle of every drawing call, clipped to the image.
    std::function<void(const QRect &)> touched;

private:
    QPainter &painter();
    void endPainting() const;
    void report(const QRect &r);

    QImage m_image;
    QColor m_backColor = Qt::white;
    QColor m_lineColor;
    QColor m_textColor = Qt::black;
    QFont m_font;
    QFontMetrics m_metrics;
    // Kept open between calls: a stroke or a whole grid is many small
    // drawings, and opening a painter for each costs more than the drawing.
    mutable std::unique_ptr<QPainter> m_painter;
};
