#include "testcontext.h"

bool RecordingLauncher::startProgram(const QString &path)
{
    started.append(path);
    return result(path);
}

bool RecordingLauncher::openUrl(const QUrl &url)
{
    opened.append(url);
    return true;
}

bool FakeClipboard::setText(const QString &text)
{
    if (refuse)
        return false;
    ++sets;
    contents = text;
    return true;
}

ColorScheme defaultColorScheme()
{
    ColorScheme c = ColorScheme::standard();
    c.BackColor = QColor(236, 233, 216);
    return c;
}

TestContext::TestContext(const QString &programDir)
    : windowSystem(platform::createNullWindowSystem())
    , colors(defaultColorScheme())
{
    context.places = Places::portable(programDir);
    context.colors = &colors;
    context.dialogs = &dialogs;
    context.launcher = &launcher;
    context.clipboard = &clipboard;
    context.windowSystem = windowSystem.get();
    context.keepOnTop = [this](bool onTop) { keepOnTopCalls.append(onTop); };
    context.displayAreaSource = [this] { return displayArea; };
}
