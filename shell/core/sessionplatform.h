#pragma once

// Which Qt platform plug-in the programs ask for, decided from the
// environment before the application object is made.
//
// In a Wayland session that also offers an X11 display (XWayland), the
// programs run on X11 ("xcb"): reaching another program's chat window,
// bringing it forward and pressing keys into it is what X11 allows and a
// Wayland compositor does not, and chat programs under XWayland are X11
// windows. A plug-in the user named in QT_QPA_PLATFORM always wins, and
// outside a Wayland session, or without DISPLAY, Qt's own choice stands.

#include <QByteArray>

namespace SessionPlatform {

struct Environment
{
    QByteArray qtQpaPlatform; // QT_QPA_PLATFORM
    QByteArray waylandDisplay; // WAYLAND_DISPLAY
    QByteArray xdgSessionType; // XDG_SESSION_TYPE
    QByteArray display; // DISPLAY
};

// "xcb;wayland" (X11 first, Wayland should X11 fail) when the programs
// should ask for X11; empty when Qt decides.
QByteArray platformFor(const Environment &env);

// The process's own environment.
Environment current();

// True in a Wayland session, whatever plug-in runs.
bool isWaylandSession(const Environment &env);

// Sets QT_QPA_PLATFORM to platformFor(current()) when that is not empty;
// called by each program's main before its QApplication.
void apply();

} // namespace SessionPlatform
