#pragma once

#include "shell/core/utilities.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

class CoolButton;

// A container of owner-drawn buttons. It keeps the one-pixel frame drawn
// around each of its buttons (hover or rest colour) and paints it again
// whenever it repaints, as a window that keeps its drawing would.
class PanelBox : public QWidget
{
    Q_OBJECT

public:
    explicit PanelBox(QWidget *parent = nullptr);

    QColor backColor() const { return m_backColor; }
    void setBackColor(const QColor &colour);

    // The frame around `button` (a child of this box) in `colour`.
    void setFrame(QWidget *button, const QColor &colour);
    QColor frameColor(QWidget *button) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_backColor = QColor(236, 233, 216);
    QHash<QWidget *, QPair<QPointer<QWidget>, QColor>> m_frames;
};

// Draws a button's frame on its container: the outline from
// (left − 1, top − 1) to (left + width, top + height).
void LineMenu(PanelBox *container, QWidget *button, const QColor &colour);

// Gives a button its face colour and its frame; `flag` is the button's
// border switch, which every caller turns off.
void DrawBtnBox(PanelBox *container, CoolButton *button, const QColor &lineColor, const QColor &backColor,
                int flag = 0);
