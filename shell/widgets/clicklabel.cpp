#include "shell/widgets/clicklabel.h"

#include "shell/widgets/accessiblebuttons.h"

#include <QMouseEvent>

ClickLabel::ClickLabel(QWidget *parent)
    : ClickLabel(QString(), parent)
{
}

ClickLabel::ClickLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    setCursor(Qt::PointingHandCursor);
    installAccessibleButtons();
}

void ClickLabel::click()
{
    if (isEnabled())
        Q_EMIT Click();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        click();
}
