#include "shell/widgets/coolbutton.h"

#include "shell/widgets/accessiblebuttons.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

// Captions arrive padded with one ideographic space per full-width character
// (PadCaption); the face centres what can be seen, so the padding is left out.
QString visibleCaption(const QString &caption)
{
    qsizetype end = caption.size();
    while (end > 0 && caption[end - 1] == QChar(0x3000))
        --end;
    return caption.left(end);
}

} // namespace

CoolButton::CoolButton(QWidget *parent)
    : CoolButton(QString(), parent)
{
}

CoolButton::CoolButton(const QString &caption, QWidget *parent)
    : QWidget(parent)
    , m_caption(caption)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::PointingHandCursor);
    installAccessibleButtons();
}

void CoolButton::click()
{
    if (isEnabled())
        Q_EMIT Click();
}

void CoolButton::setCaption(const QString &caption)
{
    m_caption = caption;
    if (QAccessible::isActive()) {
        QAccessibleEvent changed(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
    }
    repaint();
}

void CoolButton::setFontSize(double points)
{
    m_fontSize = points;
    repaint();
}

void CoolButton::setButtonBackColor(const QColor &colour)
{
    m_backColor = colour;
    repaint();
}

void CoolButton::setButtonIcon(const QPixmap &icon)
{
    m_icon = icon;
    repaint();
}

void CoolButton::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    repaint();
}

void CoolButton::setUseBorders(bool on)
{
    m_useBorders = on;
    repaint();
}

void CoolButton::setMenuStyle(bool on)
{
    m_menuStyle = on;
    repaint();
}

QFont CoolButton::captionFont() const
{
    QFont f = font();
    f.setPixelSize(std::max(1, int(std::lround(m_fontSize * 4.0 / 3.0))));
    return f;
}

QSize CoolButton::sizeHint() const
{
    const QFontMetrics metrics(captionFont());
    int w = metrics.horizontalAdvance(visibleCaption(m_caption)) + 16;
    if (!m_icon.isNull())
        w += m_icon.width() + 4;
    return QSize(w, std::max(metrics.height(), m_icon.height()) + 8);
}

void CoolButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect r = rect();

    // Face: the back colour with a soft light-to-shade sweep, or the picture.
    if (!m_picture.isNull()) {
        p.drawTiledPixmap(r, m_picture);
    } else {
        QLinearGradient face(r.topLeft(), r.bottomLeft());
        face.setColorAt(0, m_backColor.lighter(m_pressed ? 100 : 106));
        face.setColorAt(1, m_backColor.darker(m_pressed ? 108 : 101));
        p.fillRect(r, face);
    }
    if (m_pressed)
        p.fillRect(r, QColor(0, 0, 0, 24));
    if (m_useBorders) {
        p.setPen(m_backColor.darker(135));
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
    if (m_menuStyle && hasFocus()) {
        p.fillRect(QRect(r.left(), r.top(), 3, r.height()), m_backColor.darker(140));
    }

    // Content: icon and caption side by side, centred; pressed moves it by a pixel.
    const QFont f = captionFont();
    p.setFont(f);
    const QFontMetrics metrics(f);
    const QString caption = visibleCaption(m_caption);
    const int gap = (!m_icon.isNull() && !caption.isEmpty()) ? 4 : 0;
    const int iconW = m_icon.isNull() ? 0 : m_icon.width();
    const int textW = metrics.horizontalAdvance(caption);
    const int contentW = iconW + gap + textW;
    int x = (r.width() - contentW) / 2;
    const int shift = m_pressed ? 1 : 0;
    if (!m_icon.isNull()) {
        QPixmap icon = m_icon;
        p.drawPixmap(x + shift, (r.height() - m_icon.height()) / 2 + shift, icon);
        x += iconW + gap;
    }
    if (!caption.isEmpty()) {
        const QColor ink = isEnabled() ? QColor(32, 32, 32) : QColor(150, 150, 150);
        if (!isEnabled()) {
            p.setPen(QColor(255, 255, 255, 180));
            p.drawText(QRect(x + 1, 1, textW + 2, r.height()), Qt::AlignLeft | Qt::AlignVCenter, caption);
        }
        p.setPen(ink);
        p.drawText(QRect(x + shift, shift, textW + 2, r.height()), Qt::AlignLeft | Qt::AlignVCenter, caption);
    }
    if (hasFocus()) {
        QPen dotted(QColor(0, 0, 0, 110), 1, Qt::DotLine);
        p.setPen(dotted);
        p.drawRect(r.adjusted(2, 2, -3, -3));
    }
}

void CoolButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        repaint();
    }
}

void CoolButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressed)
        return;
    m_pressed = false;
    repaint();
    if (rect().contains(event->position().toPoint()))
        click();
}

void CoolButton::mouseMoveEvent(QMouseEvent *event)
{
    m_hovered = true;
    const QPoint pos = event->position().toPoint();
    if (m_pressed && !rect().contains(pos)) {
        // Leaving while held: the press no longer counts, and the hover ends.
        m_pressed = false;
        repaint();
    }
    Q_EMIT MouseMove(event->buttons(), event->modifiers(), pos.x(), pos.y());
}

void CoolButton::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    m_pressed = false;
    if (m_hovered) {
        m_hovered = false;
        Q_EMIT MouseOut();
    }
}

void CoolButton::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CoolButton::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange)
        repaint();
}
