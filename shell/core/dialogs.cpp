#include "shell/core/dialogs.h"

#include <cstdio>

namespace {

class StderrDialogs final : public Dialogs
{
public:
    void message(const QString &text, const QString &title, Icon) override
    {
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(title), qUtf8Printable(text));
    }
    bool okCancel(const QString &text, const QString &title, Icon icon) override
    {
        message(text, title, icon);
        return false;
    }
    bool question(const QString &text, const QString &title, Icon icon) override
    {
        message(text, title, icon);
        return false;
    }
    std::optional<QString> input(const QString &, const QString &, const QString &) override { return {}; }
    std::optional<QString> openFile(const QString &, const QString &) override { return {}; }
    std::optional<QString> saveFile(const QString &, const QString &) override { return {}; }
};

std::unique_ptr<Dialogs> &instance()
{
    static std::unique_ptr<Dialogs> d;
    return d;
}

} // namespace

Dialogs &dialogs()
{
    auto &d = instance();
    if (!d)
        d = std::make_unique<StderrDialogs>();
    return *d;
}

std::unique_ptr<Dialogs> setDialogs(std::unique_ptr<Dialogs> replacement)
{
    auto previous = std::move(instance());
    instance() = std::move(replacement);
    return previous;
}
