#pragma once

// What every panel is built with: where files live, the shared colours,
// and every shared service. A panel reaches dialogs, the launcher, the
// clipboard, the window system and its neighbours through this, never through
// a global, so a test builds a panel with fakes (tests/support/testcontext.h).

#include "shell/core/places.h"

#include <QObject>
#include <QString>

#include <functional>

class Clipboard;
class Dialogs;
class DisplayArea;
class Launcher;
struct ColorScheme;
namespace platform {
class WindowSystem;
}

class PanelContext : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // The programs, the shipped resources and the user's data.
    Places places;
    const ColorScheme *colors = nullptr;
    Dialogs *dialogs = nullptr;
    Launcher *launcher = nullptr;
    Clipboard *clipboard = nullptr;
    platform::WindowSystem *windowSystem = nullptr;

    // Keeps the main window above all others or puts it back among them
    // ("保持在最上层"); does nothing when the owner gave no window.
    std::function<void(bool)> keepOnTop;

    // The display area of the last content panel shown that has one: what
    // copy, favourites and send act on, even while a panel without text
    // (plug-ins, About) is shown. Null before any such panel was shown.
    DisplayArea *currentDisplayArea() const { return displayAreaSource ? displayAreaSource() : nullptr; }
    std::function<DisplayArea *()> displayAreaSource;

    // Someone appended to the favourites file.
    void notifyFavouritesChanged() { Q_EMIT favouritesChanged(); }

Q_SIGNALS:
    void favouritesChanged();
};
