#pragma once

#include "shell/core/singleinstance.h"

#include <QString>

#include <functional>
#include <memory>

class MainWindow;
class Places;
class QApplication;
class SplashWindow;

namespace Startup {

QString fatalErrorTitle();
QString fatalErrorText();

// Exit statuses of a program that did not run to its normal end.
constexpr int kExitFatal = 1;
constexpr int kExitSkin = 2;
constexpr int kExitDataDir = 3;

// Runs `body` and turns any failure it lets through into the fatal-error
// report (or, for a skin failure, the skin message); returns the exit status.
int guarded(const std::function<int()> &body);

// Creates the data directories and loads the main window while the splash
// reports each step; the window is ready to show. Null, after one message
// box, when the user's data directory cannot be made.
std::unique_ptr<MainWindow> loadMainWindow(const Places &places, SplashWindow &splash);

// The whole start-up: single instance, splash, data directories, main window.
int Main(QApplication &app, const Places &places);

// The title of the message a start-up failure shows.
QString dataDirFailureTitle();

} // namespace Startup
