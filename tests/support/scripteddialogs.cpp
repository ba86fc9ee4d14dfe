#include "scripteddialogs.h"

#include <stdexcept>

void ScriptedDialogs::ask(const Shown &box)
{
    shown.append(box);
    if (failWhenAsked)
        throw std::runtime_error("the dialog failed");
}

void ScriptedDialogs::message(const QString &text, const QString &title, Icon icon)
{
    shown.append({QStringLiteral("message"), text, title, icon});
}

bool ScriptedDialogs::okCancel(const QString &text, const QString &title, Icon icon)
{
    ask({QStringLiteral("okcancel"), text, title, icon});
    return answers.isEmpty() ? false : answers.dequeue();
}

bool ScriptedDialogs::question(const QString &text, const QString &title, Icon icon)
{
    ask({QStringLiteral("question"), text, title, icon});
    return answers.isEmpty() ? false : answers.dequeue();
}

std::optional<QString> ScriptedDialogs::input(const QString &prompt, const QString &title, const QString &defaultText)
{
    ask({QStringLiteral("input"), prompt, title, Icon::None});
    Q_UNUSED(defaultText);
    return inputs.isEmpty() ? std::nullopt : inputs.dequeue();
}

std::optional<QString> ScriptedDialogs::openFile(const QString &filter, const QString &fileName)
{
    ask({QStringLiteral("open"), filter, fileName, Icon::None});
    return files.isEmpty() ? std::nullopt : files.dequeue();
}

std::optional<QString> ScriptedDialogs::saveFile(const QString &filter, const QString &fileName)
{
    ask({QStringLiteral("save"), filter, fileName, Icon::None});
    return files.isEmpty() ? std::nullopt : files.dequeue();
}

ScriptedDialogs *ScriptedDialogs::install()
{
    auto dialogs = std::make_unique<ScriptedDialogs>();
    ScriptedDialogs *raw = dialogs.get();
    setDialogs(std::move(dialogs));
    return raw;
}
