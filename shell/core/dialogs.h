#pragma once

// Every message box, question, input box and file dialog of both programs
// goes through this interface, so that tests can script the answers and
// check the exact texts shown.

#include <QString>

#include <memory>
#include <optional>

class Dialogs
{
public:
    enum class Icon { None, Information, Exclamation, Critical, Question };

    virtual ~Dialogs() = default;

    // A message with one OK button.
    virtual void message(const QString &text, const QString &title, Icon icon) = 0;

    // A message with OK and Cancel buttons; true only for OK.
    virtual bool okCancel(const QString &text, const QString &title, Icon icon) = 0;

    // A yes/no question; true only for Yes.
    virtual bool question(const QString &text, const QString &title, Icon icon = Icon::Question) = 0;

    // An input box; nothing when cancelled.
    virtual std::optional<QString> input(const QString &prompt, const QString &title, const QString &defaultText) = 0;

    // File dialogs. `filter` is in Qt's form ("Pictures (*.jpg *.bmp)");
    // `fileName` is the name the dialog starts with. Nothing when cancelled.
    virtual std::optional<QString> openFile(const QString &filter, const QString &fileName) = 0;
    virtual std::optional<QString> saveFile(const QString &filter, const QString &fileName) = 0;
};

// The process-wide dialogs; until a program installs its own, every message
// goes to standard error, every question is answered No and every OK/Cancel
// box Cancel.
Dialogs &dialogs();
std::unique_ptr<Dialogs> setDialogs(std::unique_ptr<Dialogs> replacement);
