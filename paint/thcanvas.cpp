#include "thcanvas.h"

#include "thgeometry.h"

#include <QCursor>
#include <QInputMethodEvent>
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
    // A Chinese character typed through an input method becomes the brush.
    setAttribute(Qt::WA_InputMethodEnabled);
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
    if (m_selection.isEmpty())
        return;
    // Marching ants: a dashed line in two colours shows on any ground.
    const QRect box = selectionPixels(m_selection).adjusted(0, 0, -1, -1);
    p.setPen(QPen(Qt::white, 1));
    p.drawRect(box);
    QPen dash(QColor(0, 90, 200), 1, Qt::DashLine);
    p.setPen(dash);
    p.drawRect(box);
}

QRect THCanvas::selectionPixels(const QRect &cells) const
{
    return QRect(QPoint(int(THAcX(cells.left())), int(THAcY(cells.top()))),
                 QPoint(int(THAcX(cells.right() + 1)), int(THAcY(cells.bottom() + 1))));
}

void THCanvas::setSelection(const QRect &cells)
{
    if (cells == m_selection)
        return;
    if (!m_selection.isEmpty())
        update(selectionPixels(m_selection));
    m_selection = cells;
    if (!m_selection.isEmpty())
        update(selectionPixels(m_selection));
}

QVariant THCanvas::inputMethodQuery(Qt::InputMethodQuery query) const
{
    switch (query) {
    case Qt::ImEnabled:
        return true;
    case Qt::ImCursorRectangle: {
        // The candidate window opens beside the pointer.
        const QPoint at = mapFromGlobal(QCursor::pos());
        return QRect(rect().contains(at) ? at : QPoint(0, 0), QSize(1, thCellH));
    }
    case Qt::ImHints:
        return int(Qt::ImhNone);
    default:
        return QWidget::inputMethodQuery(query);
    }
}

void THCanvas::inputMethodEvent(QInputMethodEvent *event)
{
    if (!event->commitString().isEmpty())
        Q_EMIT InputMethodCommit(event->commitString());
    event->accept();
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
