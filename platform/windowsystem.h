#pragma once

// The window-system operations the programs need from outside Qt: finding
// another program's top-level window by its exact title, bringing it back,
// keeping a window above the others, and what the send tool needs to reach a
// chat window. One implementation per platform is picked by the build; where
// no window system can be reached, a null implementation answers "not found".
//
// This header carries no Qt types so that the Win32 backend can be compiled
// on its own with a MinGW cross compiler.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// An opaque native window handle (an X11 Window or a Win32 HWND).
using WindowId = std::uintptr_t;

struct SendRequest
{
    WindowId target = 0; // the top-level window found by its title
    int editX = 0;
    int editY = 0;
    std::string utf8Text;
    bool pasteOnly = true;
    // Called again and again while the call waits for another program: a
    // caller whose own toolkit owns the clipboard lets it answer here.
    std::function<void()> whileWaiting;
    // No single wait for the target (to come forward, to take the text) or
    // for the clipboard's owner lasts longer than this: a program that
    // keeps us waiting longer is taken not to answer.
    std::chrono::milliseconds waitLimit{2000};
};

// A top-level window as its program labels it.
struct WindowInfo
{
    WindowId window = 0;
    // The title as the window carries it: UTF-8 as read, not checked (X11:
    // _NET_WM_NAME, else WM_NAME; Win32: the window text).
    std::string title;
    // The program's name for its kind of window (X11: the class part of
    // WM_CLASS, else its instance part; Win32: the window class name).
    std::string windowClass;
};

// The top-level window under a point of the screen, and the point in that
// window's client coordinates.
struct PointedWindow
{
    WindowId window = 0;
    int x = 0;
    int y = 0;
};

enum class SendResult {
    Sent, // the text stands in the edit box (and was sent, unless paste only)
    NoTarget, // the target window is gone
    Failed, // the target is there but did not take the text
};

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

    // Every top-level window a user works with, in the window manager's
    // order (oldest first) where one runs; empty when none can be listed.
    virtual std::vector<WindowInfo> topLevelWindows() = 0;

    // The window's title and class; nothing when the window is gone.
    virtual std::optional<WindowInfo> windowInfo(WindowId window) = 0;

    // The top-level window at the point (x, y) of the screen, as a click
    // there would reach it (X11: the client window inside the window
    // manager's frame; Win32: WindowFromPoint, then GetAncestor(GA_ROOT)),
    // with the point in its client coordinates. Nothing over the bare
    // desktop, or where no window of this window system is (a native
    // Wayland window seen through XWayland).
    virtual std::optional<PointedWindow> topLevelAt(int x, int y) = 0;

    // Puts a text into the edit box of another program's window and, unless
    // `pasteOnly`, has that window send it, as its user would by pressing
    // its send command. `editX`, `editY` is a point inside the edit box, in
    // the target's client coordinates. Whatever the call uses on the way
    // (the clipboard, on X11) is left as it was found.
    virtual SendResult sendText(const SendRequest &request) = 0;
};

// The window system of this build, created on first use.
WindowSystem &windowSystem();

// Replaces the process-wide instance (tests); returns the previous one.
std::unique_ptr<WindowSystem> setWindowSystem(std::unique_ptr<WindowSystem> replacement);

// The backend for this build, and the one that never finds anything.
std::unique_ptr<WindowSystem> createNativeWindowSystem();
std::unique_ptr<WindowSystem> createNullWindowSystem();

} // namespace platform
