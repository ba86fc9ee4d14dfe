#pragma once

#include "thimagesurface.h"

#include <QWidget>

// The paint canvas (thTable): shows the image the grid is drawn on and
// repaints only what a drawing call touched, so a stroke across a large
// canvas stays smooth. It follows the pointer with or without a button held
// and passes pointer, keys and what an input method commits on as the
// panel's handlers want them. The selection is drawn over the image, never
// into it: the image is always the grid's picture.
class THCanvas : public QWidget, public THSurface
{
    Q_OBJECT

public:
    explicit THCanvas(QWidget *parent = nullptr);

    void clear() override { m_surface.clear(); }
    void setSize(int width, int height) override;
    int scaleWidth() const override { return m_surface.scaleWidth(); }
    int scaleHeight() const override { return m_surface.scaleHeight(); }
    void line(int x1, int y1, int x2, int y2, const QColor &colour) override
    {
        m_surface.line(x1, y1, x2, y2, colour);
    }
    void box(int x1, int y1, int x2, int y2, const QColor &colour) override { m_surface.box(x1, y1, x2, y2, colour); }
    void filledBox(int x1, int y1, int x2, int y2, const QColor &colour) override
    {
        m_surface.filledBox(x1, y1, x2, y2, colour);
    }
    QColor backColor() const override { return m_surface.backColor(); }
    QColor lineColor() const override { return m_surface.lineColor(); }
    int textWidth(const QString &s) const override { return m_surface.textWidth(s); }
    int textHeight(const QString &s) const override { return m_surface.textHeight(s); }
    void print(const QString &s, int x, int y, const QRect &clip) override { m_surface.print(s, x, y, clip); }

    void setLineColor(const QColor &colour) { m_surface.setLineColor(colour); }

    // What the canvas shows.
    const QImage &image() const { return m_surface.image(); }

    QSize sizeHint() const override { return m_surface.image().size(); }

    // The selected cells, outlined over the picture (none when empty).
    void setSelection(const QRect &cells);
    QRect selection() const { return m_selection; }

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

Q_SIGNALS:
    void MouseDown(Qt::MouseButton button, QPointF pos);
    void MouseMove(Qt::MouseButtons buttons, QPointF pos);
    void MouseUp(Qt::MouseButton button, QPointF pos);
    void MouseLeave();
    // A key typed while the canvas has the focus; the handler accepts the
    // event to swallow it.
    void KeyPress(QKeyEvent *event);
    // Text an input method committed while the canvas has the focus.
    void InputMethodCommit(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;

private:
    QRect selectionPixels(const QRect &cells) const;

    THImageSurface m_surface;
    QRect m_selection;
};
