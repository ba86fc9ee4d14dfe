#include "thcanvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

THCanvas::THCanvas(QWidget *parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
    m_surface.touched = [this](const QRect &r) { update(r); };
}

void THCanvas::setSize(int width, int height)
{
    m_surface.setSize(width, height);
    resize(m_surface.scaleWidth(), m_surface.scaleHeight());
}

void THCanvas::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    const QRect r = event->rect();
    p.drawImage(r, m_surface.image(), r);
}

void THCanvas::mousePressEvent(QMouseEvent *event)
{
    Q_EMIT MouseDown(event->button(), event->position());
}

void THCanvas::mouseMoveEvent(QMouseEvent *event)
{
    Q_EMIT MouseMove(event->buttons(), event->position());
}

void THCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    Q_EMIT MouseUp(event->button(), event->position());
}

void THCanvas::leaveEvent(QEvent *event)
{
    Q_EMIT MouseLeave();
    QWidget::leaveEvent(event);
}

void THCanvas::keyPressEvent(QKeyEvent *event)
{
    event->ignore();
    Q_EMIT KeyPress(event);
    if (!event->isAccepted())
        QWidget::keyPressEvent(event);
}
