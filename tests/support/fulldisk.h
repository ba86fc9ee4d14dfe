#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A small file system of its own (a tmpfs of `kib` KiB mounted on a
// temporary directory), to be filled up: what a full disk does to a writer,
// for real; or mounted read-only, a disk nobody may write, not even root.
// Mounting needs the right to (root); where it is missing, available() is
// false and the test skips.
class FullDisk
{
public:
    enum class Access { Writable, ReadOnly };
    explicit FullDisk(int kib = 256, Access access = Access::Writable);
    ~FullDisk();
    FullDisk(const FullDisk &) = delete;
    FullDisk &operator=(const FullDisk &) = delete;

    bool available() const { return m_mounted; }
    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.path() + QLatin1Char('/') + name; }

    // Puts `bytes` at `name` while there is room.
    bool put(const QString &name, const QByteArray &bytes) const;
    // Takes every byte that is left; true when the disk is then full.
    bool fill() const;
    // From now on nobody may write to it, not even root.
    bool makeReadOnly() const;

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};
