#pragma once

#include "shell/core/dialogs.h"

#include <QList>
#include <QQueue>

// Dialogs for tests: every call is recorded, and answers come from queues
// filled by the test (an empty queue answers No / Cancel); `answers` serves
// both the yes/no questions and the OK/Cancel boxes.
class ScriptedDialogs final : public Dialogs
{
public:
    struct Shown
    {
        QString kind; // "message", "okcancel", "question", "input", "open", "save"
        QString text; // message, question or prompt; the filter for file dialogs
        QString title; // the title; the starting file name for file dialogs
        Icon icon = Icon::None;
    };

    QList<Shown> shown;
    QQueue<bool> answers;
    QQueue<std::optional<QString>> inputs;
    QQueue<std::optional<QString>> files;
    // Every box that asks something fails (throws) once it is recorded: an
    // unexpected failure in the middle of an action.
    bool failWhenAsked = false;

    void message(const QString &text, const QString &title, Icon icon) override;
    bool okCancel(const QString &text, const QString &title, Icon icon) override;
    bool question(const QString &text, const QString &title, Icon icon) override;
    std::optional<QString> input(const QString &prompt, const QString &title, const QString &defaultText) override;
    std::optional<QString> openFile(const QString &filter, const QString &fileName) override;
    std::optional<QString> saveFile(const QString &filter, const QString &fileName) override;

    // Installs a fresh instance as the process-wide dialogs and returns it.
    static ScriptedDialogs *install();

private:
    void ask(const Shown &box);
};
