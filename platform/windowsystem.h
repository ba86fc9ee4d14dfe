#pragma once

// The window-system operations the programs need from outside Qt: finding
// another program's top-level window by its exact title, bringing it back,
// keeping a window above the others, and what the send tool needs to reach a
// chat window. One implementation per platform is picked by the build; where
// no window system can be reached, a null implementation answers "not found".
//
// This header carries no Qt types so that the Win32 backend can be compiled
// on its own with a MinGW cross compiler.

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// An opaque native window handle (an X11 Window or a Win32 HWND).
using WindowId = std::uintptr_t;

class WindowSystem
{
public:
    virtual ~WindowSystem() = default;

    // False when no window system could be reached (a null backend, or no
    // display): callers fall back to what they can do without one.
    virtual bool isAvailable() const = 0;

    // The first top-level window whose title is exactly `utf8Title`; 0 when none.
    virtual WindowId findTopLevelWindow(const std::string &utf8Title) = 0;

    // Un-minimises the window, shows it at its normal size and activates it.
    virtual bool restoreWindow(WindowId window) = 0;

    // Places the window above every window that is not top-most (true) or
    // back among them (false).
    virtual bool setTopMost(WindowId window, bool topMost) = 0;

    // True while the window is minimised (iconic).
    virtual bool isMinimized(WindowId window) = 0;

    // Minimises the window (used by tests and by the skin frame's fallback).
    virtual bool minimizeWindow(WindowId window) = 0;

    // The deepest child window of `parent` at the point (x, y) given in
    // `parent`'s coordinates; `parent` itself when no child is there; 0 on failure.
    virtual WindowId childWindowAt(WindowId parent, int x, int y) = 0;

    // Replaces the text of an edit window (or, where the window system has no
    // such notion, types it into the window) and, when `thenSend` is true,
    // presses the send key (Ctrl+Return) afterwards.
    virtual bool sendText(WindowId window, const std::string &utf8Text, bool thenSend) = 0;
};

// The window system of this build, created on first use.
WindowSystem &windowSystem();

// Replaces the process-wide instance (tests); returns the previous one.
std::unique_ptr<WindowSystem> setWindowSystem(std::unique_ptr<WindowSystem> replacement);

// The backend for this build, and the one that never finds anything.
std::unique_ptr<WindowSystem> createNativeWindowSystem();
std::unique_ptr<WindowSystem> createNullWindowSystem();

} // namespace platform
