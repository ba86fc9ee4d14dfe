#include "shell/core/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

class SystemClipboard final : public Clipboard
{
public:
    bool setText(const QString &text) override
    {
        QClipboard *clipboard = QGuiApplication::clipboard();
        if (!clipboard)
            return false;
        clipboard->clear();
        clipboard->setText(text);
        // Where the clipboard is owned (X11), not owning it now means the
        // window system refused it.
        if (clipboard->supportsSelection() && !clipboard->ownsClipboard())
            return false;
        return clipboard->text() == text;
    }

    QString text() const override
    {
        const QClipboard *clipboard = QGuiApplication::clipboard();
        return clipboard ? clipboard->text() : QString();
    }
};

} // namespace

std::unique_ptr<Clipboard> createSystemClipboard()
{
    return std::make_unique<SystemClipboard>();
}
