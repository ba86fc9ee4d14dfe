#pragma once

// The one way the programs write a file, byte for byte.
//
// Contract:
// - A regular file, or a name where nothing exists yet, is written to a
//   temporary file beside it and renamed into place by commit(). Until then
//   the old file is untouched; cancel(), a failed write or a failed commit
//   leaves it exactly as it was and removes the temporary file.
// - A symbolic link is followed to its target: the target is replaced and
//   the link stays a link (also through a chain of links).
// - A FIFO, a character or block device or a socket is opened and written in
//   place, as a shell redirection would: the node stays what it is. Opening a
//   FIFO waits for a reader. Such a write cannot be taken back, so cancel()
//   only closes it; commit() flushes and closes it. With Special::Refuse
//   (what a window asks for: it must not wait on a FIFO) open() fails on
//   such a node instead.
// - A directory fails at open().
// - The device is opened write-only; nothing written is read back.
//
// Use commit() or cancel() once; the destructor cancels what was not
// committed. TextCodec::writeFile writes every text file through write().

#include <QByteArrayView>
#include <QIODevice>
#include <QString>

#include <memory>

class QFile;
class QSaveFile;

class SaveFile
{
public:
    // What becomes of a FIFO, device or socket at the path.
    enum class Special { WriteInPlace, Refuse };

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

    // The whole file in one go: open, write, commit.
    static bool write(const QString &path, QByteArrayView bytes, Special special = Special::WriteInPlace);

    // True when `path` (links followed) exists and is neither a regular file
    // nor a directory.
    static bool isSpecialFile(const QString &path);

private:
    QString m_path;
    Special m_special = Special::WriteInPlace;
    std::unique_ptr<QSaveFile> m_save;
    std::unique_ptr<QFile> m_direct;
    bool m_inPlace = false;
    bool m_done = false;
};
