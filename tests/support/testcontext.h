#pragma once

#include "scripteddialogs.h"

#include "platform/windowsystem.h"
#include "shell/core/clipboard.h"
#include "shell/core/colorscheme.h"
#include "shell/core/launcher.h"
#include "shell/widgets/panelcontext.h"

#include <QList>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

// A launcher that starts nothing and records what it was asked to start.
// `result` decides what startProgram answers (true by default).
class RecordingLauncher final : public Launcher
{
public:
    QStringList started;
    QList<QUrl> opened;
    std::function<bool(const QString &)> result = [](const QString &) { return true; };

    bool startProgram(const QString &path) override;
    bool openUrl(const QUrl &url) override;
};

// A clipboard of its own, which can be told to refuse.
class FakeClipboard final : public Clipboard
{
public:
    QString contents;
    bool refuse = false;
    int sets = 0;

    bool setText(const QString &text) override;
    QString text() const override { return contents; }
};

// A panel context made of fakes: scripted dialogs, a recording launcher, a
// clipboard of its own, the null window system and the main window's colours.
// Tests name a program directory (a TempProgramDir, say), portable, and fill the
// dialogs' answers; `context.displayAreaSource` returns `displayArea`.
class TestContext
{
public:
    explicit TestContext(const QString &programDir = QString());

    ScriptedDialogs dialogs;
    RecordingLauncher launcher;
    FakeClipboard clipboard;
    std::unique_ptr<platform::WindowSystem> windowSystem;
    ColorScheme colors;
    PanelContext context;
    DisplayArea *displayArea = nullptr;
    QList<bool> keepOnTopCalls;
};

// The main window's colour scheme (what initColor sets), with a plain
// background for tests that have no skin.
ColorScheme defaultColorScheme();
