#pragma once

#include <QString>

#include <functional>

class QApplication;

namespace Startup {

QString fatalErrorTitle();
QString fatalErrorText();

// Exit statuses of a program that did not run to its normal end.
constexpr int kExitFatal = 1;
constexpr int kExitSkin = 2;

// Runs `body` and turns any failure it lets through into the fatal-error
// report (or, for a skin failure, the skin message); returns the exit status.
int guarded(const std::function<int()> &body);

// When another copy with the main window's title runs, restores it and
// returns true. Without a window system a per-user lock stands in for the
// lookup: the first copy holds it for its lifetime.
bool anotherCopyRestored(const QString &title);

// The whole start-up: single instance, splash, data directories, main window.
int Main(QApplication &app, const QString &programDir);

} // namespace Startup
