#include "shell/widgets/panelbox.h"

#include "shell/widgets/coolbutton.h"

#include <QPainter>

PanelBox::PanelBox(QWidget *parent)
    : QWidget(parent)
{
    setAutoFillBackground(false);
}

void PanelBox::setBackColor(const QColor &colour)
{
    m_backColor = colour;
    update();
}

void PanelBox::setFrame(QWidget *button, const QColor &colour)
{
    m_frames.insert(button, {QPointer<QWidget>(button), colour});
    if (button)
        repaint(button->geometry().adjusted(-1, -1, 1, 1));
}

QColor PanelBox::frameColor(QWidget *button) const
{
    const auto it = m_frames.constFind(button);
    return it == m_frames.constEnd() ? QColor() : it->second;
}

void PanelBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), m_backColor);
    for (auto it = m_frames.cbegin(); it != m_frames.cend(); ++it) {
        const QWidget *button = it->first.data();
        if (!button || button->isHidden() || button->parentWidget() != this)
            continue;
        const QRect g = button->geometry();
        p.setPen(it->second);
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(g.left() - 1, g.top() - 1, g.width() + 1, g.height() + 1));
    }
}

void LineMenu(PanelBox *container, QWidget *button, const QColor &colour)
{
    if (container && button)
        container->setFrame(button, colour);
}

void DrawBtnBox(PanelBox *container, CoolButton *button, const QColor &lineColor, const QColor &backColor, int flag)
{
    if (!button)
        return;
    button->setButtonBackColor(backColor);
    button->setUseBorders(flag != 0);
    LineMenu(container, button, lineColor);
}
