#pragma once

// Reading a file that must be a regular file of bounded size: a tip, a
// plug-in description, a picture for the paint grid. Whatever else stands
// at the path (a FIFO, a device, a directory) is refused without being read
// and without blocking, and a file beyond the caller's cap is refused
// unread, so that no name the user or another program picks can hold the
// window up or exhaust memory.

#include <QByteArray>
#include <QString>

class QFile;

namespace TextCodec {
struct Format;
}

enum class ReadOutcome {
    Done,
    Missing, // nothing at the path, or a link to nothing
    NotRegularFile, // a directory, FIFO, device or socket
    TooLarge, // more than the cap, or grown beyond it while read
    ReadError, // the system refused to open or read it
};

// The file's bytes, at most `maxBytes` of them. `bytes` is left alone
// unless Done.
ReadOutcome ReadRegularFile(const QString &path, qint64 maxBytes, QByteArray *bytes);

// The same, decoded from the code page (TextCodec); with `format`, by the
// codec's detection rule, `format` receiving what it found.
ReadOutcome ReadTextFile(const QString &path, qint64 maxBytes, QString *text, TextCodec::Format *format = nullptr);

// Opens `path` for reading only when what is there at the moment of the
// open is a regular file of at most `maxBytes`. The open itself never waits
// (a FIFO put in place of the file a moment before is opened without a
// writer, seen for what it is and closed again).
ReadOutcome OpenRegularFile(const QString &path, qint64 maxBytes, QFile &file);
