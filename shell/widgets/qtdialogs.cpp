#include "shell/widgets/qtdialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {

QMessageBox::Icon toQt(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::Information: return QMessageBox::Information;
    case Dialogs::Icon::Exclamation: return QMessageBox::Warning;
    case Dialogs::Icon::Critical: return QMessageBox::Critical;
    case Dialogs::Icon::Question: return QMessageBox::Question;
    case Dialogs::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

// The window a box belongs to: the active one, or else the window on screen
// that stays on top (the splash while the program loads, which is never
// active). A box owned by a window is stacked above it by the window manager;
// one owned by nobody could open hidden under the splash and stall start-up
// behind a question nobody sees.
QWidget *owner()
{
    if (QWidget *active = QApplication::activeWindow())
        return active;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows) {
        if (w->isVisible() && w->isWindow() && w->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
            return w;
    }
    return nullptr;
}

// A box above an owner that stays on top must stay on top too, or a window
// manager that keeps layers apart could still put it below.
int runBox(QMessageBox &box)
{
    if (const QWidget *parent = box.parentWidget();
        parent && parent->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    return box.exec();
}

} // namespace

void QtDialogs::message(const QString &text, const QString &title, Icon icon)
{
    QMessageBox box(toQt(icon), title, text, QMessageBox::Ok, owner());
    runBox(box);
}

bool QtDialogs::okCancel(const QString &text, const QString &title, Icon icon)
{
    QMessageBox box(toQt(icon), title, text, QMessageBox::Ok | QMessageBox::Cancel, owner());
    box.setDefaultButton(QMessageBox::Ok);
    return runBox(box) == QMessageBox::Ok;
}

bool QtDialogs::question(const QString &text, const QString &title, Icon icon)
{
    QMessageBox box(toQt(icon), title, text, QMessageBox::Yes | QMessageBox::No, owner());
    box.setDefaultButton(QMessageBox::Yes);
    return runBox(box) == QMessageBox::Yes;
}

std::optional<QString> QtDialogs::input(const QString &prompt, const QString &title, const QString &defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(owner(), title, prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

std::optional<QString> QtDialogs::openFile(const QString &filter, const QString &fileName)
{
    const QString chosen = QFileDialog::getOpenFileName(owner(), QString(), fileName, filter);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

std::optional<QString> QtDialogs::saveFile(const QString &filter, const QString &fileName)
{
    // The programs ask their own overwrite question.
    const QString chosen = QFileDialog::getSaveFileName(owner(), QString(), fileName, filter, nullptr,
                                                        QFileDialog::DontConfirmOverwrite);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}
