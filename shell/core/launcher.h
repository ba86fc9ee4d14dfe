#pragma once

// Starting other programs and opening documents, behind one seam so that tests
// can record what would have been started.

#include <QString>
#include <QUrl>

#include <memory>

class Launcher
{
public:
    virtual ~Launcher() = default;

    // Starts the program at `path` (absolute) detached, with no arguments and
    // no shell: blanks, quotes or ";" in the path are part of the one file
    // name, never a command line. True when the program started; false for a
    // missing file, a directory, something that is not a regular file, or a
    // start the system refused.
    virtual bool startProgram(const QString &path) = 0;

    // Opens a web address, mail link or document with the desktop's handler.
    virtual bool openUrl(const QUrl &url) = 0;
};

// The launcher of a running program: real processes, the desktop's handlers.
std::unique_ptr<Launcher> createSystemLauncher();
