#pragma once

// Every text file the programs read or write goes through this module.
//
// Files are in the Chinese code page (936, GBK) with CR LF line ends. Writing
// uses GB18030, which agrees byte for byte with code page 936 for every
// character the two share and has a four-byte form for everything else, so no
// character is ever lost; the one exception is "€", which code page 936 writes
// as the single byte 0x80, and so do we. Reading is GB18030 plus that single
// byte (A2 E3, GB18030's own code for "€", is none of code page 936).
//
// A byte that starts no character of the code page (0xFF, a lead byte cut
// off or followed by a byte no character has there, a four-byte form that
// names nothing) reads as the lone surrogate U+DC00 + byte, U+DC81..U+DCFF,
// and is written back as that byte: encode(decode(bytes)) == bytes for any
// bytes at all, so a file that is only folded keeps every byte it had. Such
// an escaped byte takes one byte and one column. Any other lone surrogate
// is written as U+FFFD.

#include "shell/core/savefile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <atomic>

namespace TextCodec {

QByteArray encode(QStringView text);
QString decode(QByteArrayView bytes);

// Files of the user's (tips, favourites, what the paint grid and Spacefold
// open, plug-in descriptions) may come in other encodings too. What one was
// read in is a Format, which the reader keeps beside the text and hands back
// to the writer, so that the file is written back as it came:
//
// - Detection, in this order: a UTF-8 byte-order mark: UTF-8; a UTF-16 LE
//   or BE mark: UTF-16; bytes that are valid UTF-8 and hold at least one
//   multi-byte sequence: UTF-8; anything else, pure ASCII and the empty
//   file included: the code page, read exactly as decode() reads it.
//   UTF-16 without a mark is never guessed. A short code-page text can be
//   valid UTF-8 by chance and is then read as UTF-8 (see the README for how
//   often that happens).
// - Line ends: LF when the file has more lone LFs than CR LFs, else CR LF.
// - A file with a mark whose bytes are no valid text of its encoding (a
//   broken UTF-8 sequence, a lone UTF-16 surrogate, an odd last byte) reads
//   U+FFFD for them and says so in `replacedBytes`: writing it back loses
//   those bytes, and a window asks before it does.
// - Writing with a Format: the mark if the file had one, the text's line
//   ends brought to LF for an LF file (a CR LF file gets the text as it
//   stands, as every writer hands over CR LF), the encoding's bytes. A lone
//   surrogate is written as U+FFFD in UTF-8 and UTF-16 too. So a file read
//   and written back unchanged keeps every byte whenever its line ends were
//   all of one kind; the default Format is a new file: code page, CR LF.
enum class Encoding : quint8 { CodePage, Utf8, Utf16Le, Utf16Be };
enum class LineEnd : quint8 { CrLf, Lf };

struct Format
{
    Encoding encoding = Encoding::CodePage;
    bool byteOrderMark = false;
    LineEnd lineEnd = LineEnd::CrLf;
    bool replacedBytes = false;

    bool operator==(const Format &) const = default;
};

// Detects the bytes' Format and decodes them by it (the mark is no part of
// the text).
QString decode(QByteArrayView bytes, Format *format);
QByteArray encode(QStringView text, const Format &format);

// The Format of the bytes alone, as decode() finds it, without decoding.
Format detect(QByteArrayView bytes);

// A character is full-width when it takes two or more bytes in the file:
// every code point from 0x80 up except "€" and the escaped bytes.
constexpr bool isFullWidth(char32_t c)
{
    return c >= 0x80 && c != 0x20AC && !(c >= 0xDC80 && c <= 0xDCFF);
}

// Bytes one character takes in a file: 1, 2 or 4 (a lone surrogate counts
// as encode() writes it).
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
// leaves `text` alone. When `stop` turns true (another thread sets it),
// reading ends within a megabyte and fails.
// With `format`, the file is read by the detection rule above and `format`
// receives what was found; without, it is read in the code page.
constexpr qint64 kMaxReadBytes = qint64(256) << 20;
bool readFile(const QString &path, QString *text, const std::atomic<bool> *stop = nullptr, Format *format = nullptr);

// Reads a file line by line (see splitLines).
bool readLines(const QString &path, QStringList *lines);

// Writes `text` as it stands through SaveFile: a regular file by a temporary
// file renamed into place, a FIFO or device in place (a FIFO that nobody
// reads fails at once; with Special::Refuse, a node is not written at all).
// On failure `why`, when given, says why in the system's words.
bool writeFile(const QString &path, QStringView text, SaveFile::Special special = SaveFile::Special::WriteInPlace,
               QString *why = nullptr);
// The same in the file's Format (see above).
bool writeFile(const QString &path, QStringView text, const Format &format,
               SaveFile::Special special = SaveFile::Special::WriteInPlace, QString *why = nullptr);

// Appends `text` (CR LF line ends) to the file, creating it when it is
// missing, in the file's own Format as detect() finds it: UTF-8 to a UTF-8
// file, UTF-16 (without a second mark) to a UTF-16 one, LF line ends to an
// LF file, the code page with CR LF to a new, empty or ASCII one. A UTF-16
// file cut off in the middle of a unit is not appended to. Only a regular
// file (links followed) is appended to: a FIFO, device or socket fails at
// once, and nothing waits for a reader.
bool appendFile(const QString &path, QStringView text);

} // namespace TextCodec
