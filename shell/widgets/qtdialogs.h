#pragma once

#include "shell/core/dialogs.h"

class QWidget;

// The dialogs a user sees: Qt's message boxes, input box and file dialogs.
class QtDialogs final : public Dialogs
{
public:
    void message(const QString &text, const QString &title, Icon icon) override;
    bool okCancel(const QString &text, const QString &title, Icon icon) override;
    bool question(const QString &text, const QString &title, Icon icon) override;
    std::optional<QString> input(const QString &prompt, const QString &title, const QString &defaultText) override;
    std::optional<QString> openFile(const QString &filter, const QString &fileName) override;
    std::optional<QString> saveFile(const QString &filter, const QString &fileName) override;
};
