#pragma once

// Plug-in description files ("插件配置文件"): five lines in the code page
// (or, for a file the user wrote, whatever encoding TextCodec finds),
//
//     %Zantoria Plugin File
//     [Name]=...
//     [Version]=...
//     [Path]=...
//     [Description]=...
//
// read leniently (the marker anywhere, keys anywhere in a line, later lines
// winning) and written in exactly that form.

#include "plugininfo.h"

#include "shell/core/textcodec.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>

class Dialogs;

namespace PluginFile {

inline const QString kMarker = QStringLiteral("%Zantoria Plugin File");
inline const QString kNameKey = QStringLiteral("[Name]=");
inline const QString kVersionKey = QStringLiteral("[Version]=");
inline const QString kPathKey = QStringLiteral("[Path]=");
inline const QString kDescriptionKey = QStringLiteral("[Description]=");
// Stands for the program directory in a Path value.
inline const QString kAppPath = QStringLiteral("{app.path}");

// A description is a few hundred bytes; anything larger is no description
// file and is refused unread, so a hostile file cannot exhaust memory.
constexpr qint64 kMaxFileSize = 64 * 1024;

enum class Problem { None, NotPluginFile, Unreadable };

struct Parsed
{
    CJInfo info; // empty unless problem is None
    Problem problem = Problem::None;
    TextCodec::Format format; // what the file was read in
};

// The reading rules applied to a whole text: lines end at CR, LF or CR LF
// and lose their blanks at both ends; nothing counts before the line that
// holds the marker; a line holding a key sets that field to what follows the
// key's length in characters; "{app.path}" in a Path becomes `programDir`.
Parsed parse(QStringView text, const QString &programDir);

// The same for a file's bytes, in the encoding the codec finds.
Parsed parseBytes(QByteArrayView bytes, const QString &programDir);

// Reads a description file. Only a regular file no larger than kMaxFileSize
// is read (a FIFO, a device or a directory is Unreadable at once).
Parsed read(const QString &path, const QString &programDir);

// The five lines, CR LF after each, values as they stand.
QString format(const CJInfo &record);

// True when a value holds a line break, which the five-line form cannot keep.
bool holdsLineBreak(const CJInfo &record);
bool holdsLineBreak(QStringView value);

// Writes the record in `format` (a new file's: the code page with CR LF;
// a file saved in place keeps the one it was read in) to a temporary name
// renamed into place; false (and nothing written) for a value with a line
// break or when the file cannot be written.
// `why`, when given, says why a write failed in the system's words.
bool write(const QString &path, const CJInfo &record, QString *why = nullptr, const TextCodec::Format &format = {});

// As the manager reads and writes, each reporting its own failure:
// ReadCJFile returns the record, empty after a message when the file is
// rejected or unreadable; WriteCJFile shows the write-failure box (OK and
// Cancel, the answer unused) and tells whether the file was written.
// `format`, when given, receives what the file was read in.
CJInfo ReadCJFile(const QString &path, const QString &programDir, Dialogs &dialogs,
                  TextCodec::Format *format = nullptr);
bool WriteCJFile(const QString &path, const CJInfo &record, Dialogs &dialogs, const TextCodec::Format &format = {});

} // namespace PluginFile
