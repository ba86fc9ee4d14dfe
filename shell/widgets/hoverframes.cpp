#include "shell/widgets/hoverframes.h"

#include "shell/core/colorscheme.h"
#include "shell/widgets/coolbutton.h"
#include "shell/widgets/panelbox.h"

#include <QPalette>
#include <QPointer>

void hotHoverFrame(PanelBox *container, CoolButton *button, const ColorScheme &colors)
{
    if (container)
        DrawBtnBox(container, button, colors.HotLineColor, colors.HotBackColor, 0);
}

void restHoverFrame(PanelBox *container, CoolButton *button, const ColorScheme &colors)
{
    if (container)
        DrawBtnBox(container, button, colors.NormLineColor, container->backColor(), 0);
}

void wireHoverFrame(PanelBox *container, CoolButton *button, const ColorScheme &colors)
{
    if (!container || !button)
        return;
    restHoverFrame(container, button, colors);
    const QPointer<PanelBox> box(container);
    // The scheme outlives every panel (the main window owns it); the
    // container may not outlive the button's signals, hence the guard.
    const ColorScheme *scheme = &colors;
    QObject::connect(button, &CoolButton::MouseMove, container, [box, button, scheme] {
        if (box)
            hotHoverFrame(box, button, *scheme);
    });
    QObject::connect(button, &CoolButton::MouseOut, container, [box, button, scheme] {
        if (box)
            restHoverFrame(box, button, *scheme);
    });
}

void letBackColor(QWidget *control, const ColorScheme &colors)
{
    if (auto *box = qobject_cast<PanelBox *>(control)) {
        box->setBackColor(colors.BackColor);
    } else if (auto *button = qobject_cast<CoolButton *>(control)) {
        button->setButtonBackColor(colors.BackColor);
    } else if (control) {
        QPalette palette = control->palette();
        palette.setColor(QPalette::Window, colors.BackColor);
        palette.setColor(QPalette::Button, colors.BackColor);
        control->setPalette(palette);
        control->setAutoFillBackground(true);
    }
}
