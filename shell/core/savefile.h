#pragma once

// The one way the programs write a file, byte for byte.
//
// Contract:
// - A regular file, or a name where nothing exists yet, is written to a
//   temporary file beside it (a new name, never one that exists) and renamed
//   into place by commit(), with the old file's permissions. Until then the
//   old file is untouched. commit() checks every byte: the last buffered
//   write, the file's sync to the disk and its close must all succeed before
//   the rename, so a full disk fails the commit instead of leaving an empty
//   or cut-off file. cancel(), a failed write or a failed commit leaves the
//   old file exactly as it was and removes the temporary file.
// - A symbolic link is followed to its target: the target is replaced and
//   the link stays a link (also through a chain of links).
// - A FIFO, a character or block device or a socket is opened and written in
//   place, as a shell redirection would: the node stays what it is. Such a
//   write cannot be taken back, so cancel() only closes it; commit()
//   flushes and closes it. The opening never waits: a FIFO that nobody
//   reads fails at open() at once (a window must not hang on a save);
//   once open, writes wait for the reader as usual.
//   With Special::WaitForReader opening a FIFO waits for a reader, as the
//   command line's output does; with Special::Refuse (what a window's save
//   button asks for) open() fails on such a node instead.
// - A directory fails at open().
// - The device is opened write-only; nothing written is read back.
//
// Use commit() or cancel() once; the destructor cancels what was not
// committed. TextCodec::writeFile writes every text file through write().

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>

#include <memory>

class QFile;
class QSaveFile;

class SaveFile
{
public:
    // What becomes of a FIFO, device or socket at the path (see above).
    enum class Special { WriteInPlace, WaitForReader, Refuse };

    explicit SaveFile(const QString &path, Special special = Special::WriteInPlace);
    ~SaveFile();
    SaveFile(const SaveFile &) = delete;
    SaveFile &operator=(const SaveFile &) = delete;

    bool open();
    // Valid after a successful open().
    QIODevice &device();
    // True when the path names a FIFO, device or socket written in place.
    bool inPlace() const { return m_inPlace; }

    bool commit();
    void cancel();
    // Why the last open() or commit() failed, in the system's words ("No
    // space left on device"); empty when the system named no reason.
    QString errorString() const { return m_error; }

    // The whole file in one go: open, write, commit.
    static bool write(const QString &path, QByteArrayView bytes, Special special = Special::WriteInPlace,
                      QString *why = nullptr);

    // A new file, written as above and renamed into place only while
    // nothing stands at the path: never over another file, link or node.
    static bool create(const QString &path, QByteArrayView bytes);

    // True when `path` (links followed) exists and is neither a regular file
    // nor a directory.
    static bool isSpecialFile(const QString &path);

private:
    bool openInPlace();
    bool openTemporary();
    bool writeAll(QByteArrayView bytes);
    bool commitTemporary();
    void discardTemporary();

    QString m_path;
    Special m_special = Special::WriteInPlace;
    std::unique_ptr<QSaveFile> m_save;
    std::unique_ptr<QFile> m_direct;
    std::unique_ptr<QFile> m_file; // over m_fd, the temporary file
    int m_fd = -1;
    QByteArray m_temporary;
    QByteArray m_target;
    bool m_inPlace = false;
    bool m_done = false;
    bool m_keepExisting = false;
    QString m_error;
};
