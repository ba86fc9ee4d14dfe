#pragma once

// Opening a text file for the window, all that takes long in one call, so
// that it can run on a thread of its own while the window goes on: the file
// is read and decoded (in the encoding the codec finds), its line ends brought to CR LF, its full-width
// blanks widened, and its size counted.

#include "shell/core/textcodec.h"

#include <QString>

#include <atomic>

struct OpenedArt
{
    bool ok = false; // false: missing, no regular file, too large, unreadable or given up
    QString text; // CR LF line ends, no full-width blank
    qint64 bytes = 0; // ZipStatistics::textSize(text)
    TextCodec::Format format; // what the file was read in, to save it back in
};

// When `stop` turns true the opening ends soon after and fails.
OpenedArt openArt(const QString &path, const std::atomic<bool> *stop = nullptr);
