#pragma once

// Every text file the programs read or write goes through this module.
//
// Files are in the Chinese code page (936, GBK) with CR LF line ends. Writing
// uses GB18030, which agrees byte for byte with code page 936 for every
// character the two share and has a four-byte form for everything else, so no
// character is ever lost; the one exception is "€", which code page 936 writes
// as the single byte 0x80, and so do we. Reading is GB18030 plus that single
// byte. Bytes that are no valid code become U+FFFD.

#include "shell/core/savefile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace TextCodec {

QByteArray encode(QStringView text);
QString decode(QByteArrayView bytes);

// A character is full-width when it takes two or more bytes in the file:
// every code point from 0x80 up except "€".
constexpr bool isFullWidth(char32_t c)
{
    return c >= 0x80 && c != 0x20AC;
}

// Bytes one character takes in a file: 1, 2 or 4.
int charByteLength(char32_t c);

// Bytes the text takes in a file (a pair of surrogates is one character).
qsizetype byteLength(QStringView text);

// Splits at CR LF, at a lone CR and at a lone LF; a final line break does not
// start another line, so "a\r\n" is one line and "" is no line.
QStringList splitLines(QStringView text);

// Lines joined with CR LF, the line break of every file and display area
// (no break after the last line).
QString joinLines(const QStringList &lines);

// Line ends brought to one form in place: every line end that splitLines
// knows (CR LF, a lone CR, a lone LF) becomes CR LF, or LF. Linear, and
// without a copy when the text has the form already.
void toCrLf(QString &text);
void toLf(QString &text);

// Reads a whole regular file of at most kMaxReadBytes. Anything else at the
// path (a FIFO, a device, a directory) is refused without being opened for
// long or waited on, and so is a larger file. On failure returns false and
// leaves `text` alone.
constexpr qint64 kMaxReadBytes = qint64(256) << 20;
bool readFile(const QString &path, QString *text);

// Reads a file line by line (see splitLines).
bool readLines(const QString &path, QStringList *lines);

// Writes `text` as it stands through SaveFile: a regular file by a temporary
// file renamed into place, a FIFO or device in place (a FIFO that nobody
// reads fails at once; with Special::Refuse, a node is not written at all).
// On failure `why`, when given, says why in the system's words.
bool writeFile(const QString &path, QStringView text, SaveFile::Special special = SaveFile::Special::WriteInPlace,
               QString *why = nullptr);

// Appends `text` to the file, creating it when it is missing. Only a
// regular file (links followed) is appended to: a FIFO, device or socket
// fails at once, and nothing waits for a reader.
bool appendFile(const QString &path, QStringView text);

} // namespace TextCodec
