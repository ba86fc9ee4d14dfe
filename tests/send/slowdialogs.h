#pragma once

#include "shell/core/dialogs.h"

#include <QStringList>
#include <QTest>

#include <algorithm>
#include <functional>

// Message boxes that stay open for a while, as a user who reads them slowly
// keeps them (events run meanwhile, as under a modal box), and that count
// how deeply they were ever nested.
class SlowDialogs final : public Dialogs
{
public:
    int holdMs = 0;
    int depth = 0;
    int deepest = 0;
    QStringList messages;
    // Runs while each message is open, after it is recorded.
    std::function<void()> onMessage;

    void message(const QString &text, const QString &, Icon) override
    {
        messages << text;
        deepest = std::max(deepest, ++depth);
        if (onMessage)
            onMessage();
        QTest::qWait(holdMs);
        --depth;
    }
    bool okCancel(const QString &, const QString &, Icon) override { return false; }
    bool question(const QString &, const QString &, Icon) override { return false; }
    std::optional<QString> input(const QString &, const QString &, const QString &) override { return {}; }
    std::optional<QString> openFile(const QString &, const QString &) override { return {}; }
    std::optional<QString> saveFile(const QString &, const QString &) override { return {}; }
};
