#pragma once

#include "shell/core/singleinstance.h"

#include <QString>

#include <functional>
#include <memory>

class MainWindow;
class QApplication;
class SplashWindow;

namespace Startup {

QString fatalErrorTitle();
QString fatalErrorText();

// Exit statuses of a program that did not run to its normal end.
constexpr int kExitFatal = 1;
constexpr int kExitSkin = 2;

// Runs `body` and turns any failure it lets through into the fatal-error
// report (or, for a skin failure, the skin message); returns the exit status.
int guarded(const std::function<int()> &body);

// Creates the data directories and loads the main window while the splash
// reports each step; the window is ready to show.
std::unique_ptr<MainWindow> loadMainWindow(const QString &programDir, SplashWindow &splash);

// The whole start-up: single instance, splash, data directories, main window.
int Main(QApplication &app, const QString &programDir);

} // namespace Startup
