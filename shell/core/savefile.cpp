#include "shell/core/savefile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

#include <utility>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

SaveFile::SaveFile(const QString &path, Special special)
    : m_path(path)
    , m_special(special)
{
}

SaveFile::~SaveFile()
{
    if (!m_done)
        cancel();
}

bool SaveFile::isSpecialFile(const QString &path)
{
    // QFileInfo follows links for these questions.
    const QFileInfo info(path);
    return info.exists() && !info.isFile() && !info.isDir();
}

namespace {

QString systemReason()
{
    return qt_error_string(errno);
}

} // namespace

bool SaveFile::open()
{
    m_done = false;
    m_error.clear();
    m_inPlace = isSpecialFile(m_path);
    if (m_inPlace && m_special == Special::Refuse)
        return false;
    // A rename would put a regular file where the node was (and, for a
    // device, destroy it): write through the node instead.
    if (m_inPlace)
        return openInPlace();
#ifdef Q_OS_UNIX
    if (openTemporary())
        return true;
    if (m_error.isEmpty())
        m_error = systemReason();
    return false;
#else
    m_save = std::make_unique<QSaveFile>(m_path);
    return m_save->open(QIODevice::WriteOnly);
#endif
}

#ifdef Q_OS_UNIX
namespace {

QByteArray directoryOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

// The file a chain of links ends at; the path itself when it is no link.
// A link that points nowhere names the file to create.
bool followLinks(QByteArray &path)
{
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;
        QByteArray target(PATH_MAX, Qt::Uninitialized);
        const ssize_t length = ::readlink(path.constData(), target.data(), target.size());
        if (length <= 0 || length >= target.size())
            return false;
        target.truncate(length);
        path = target.startsWith('/') ? target : directoryOf(path) + '/' + target;
    }
    return false; // a loop of links
}

// With `keepExisting`, fails when anything stands at `target`.
bool renameIntoPlace(const QByteArray &temporary, const QByteArray &target, bool keepExisting)
{
    if (!keepExisting)
        return ::rename(temporary.constData(), target.constData()) == 0;
    if (::renameat2(AT_FDCWD, temporary.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without the flag: a hard link is refused just as well
    // where the name is taken.
    if (::link(temporary.constData(), target.constData()) != 0)
        return false;
    ::unlink(temporary.constData());
    return true;
}

} // namespace

bool SaveFile::openTemporary()
{
    QByteArray target = QFile::encodeName(m_path);
    struct stat here {};
    if (m_keepExisting && ::lstat(target.constData(), &here) == 0)
        return false;
    if (!followLinks(target))
        return false;
    struct stat old {};
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        errno = EISDIR; // nodes were handled before
        return false;
    }
    // Beside the target, so that the rename stays on one file system; a
    // name nobody has, created here and nowhere else.
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        const QByteArray name =
            target + '.' + QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".tmp";
        m_fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd >= 0)
            m_temporary = name;
        else if (errno != EEXIST)
            return false;
    }
    if (m_fd < 0)
        return false;
    m_target = target;
    // The new file takes the place of the old one with its permissions.
    if (exists) {
        if (::fchown(m_fd, old.st_uid, old.st_gid) != 0) {
            // Only the owner's own files can be given back to them; keep ours.
        }
        ::fchmod(m_fd, old.st_mode & 07777);
    }
    m_file = std::make_unique<QFile>();
    if (!m_file->open(m_fd, QIODevice::WriteOnly, QFileDevice::DontCloseHandle)) {
        discardTemporary();
        return false;
    }
    return true;
}

void SaveFile::discardTemporary()
{
    m_file.reset();
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temporary.isEmpty()) {
        ::unlink(m_temporary.constData());
        m_temporary.clear();
    }
}

bool SaveFile::commitTemporary()
{
    // Every byte must have reached the file: the last buffered piece is
    // written here, and a full disk may refuse it as well as any before.
    bool ok = m_file->isOpen() && m_file->flush() && m_file->error() == QFileDevice::NoError;
    if (!ok)
        m_error = m_file->errorString();
    m_file.reset();
    if (ok && ::fsync(m_fd) != 0) {
        ok = false;
        m_error = systemReason();
    }
    const int fd = std::exchange(m_fd, -1);
    if (::close(fd) != 0 && ok) {
        ok = false;
        m_error = systemReason();
    }
    if (ok && !renameIntoPlace(m_temporary, m_target, m_keepExisting)) {
        ok = false;
        m_error = systemReason();
    }
    if (!ok) {
        discardTemporary();
        return false;
    }
    m_temporary.clear();
    return true;
}
#endif

bool SaveFile::openInPlace()
{
    m_direct = std::make_unique<QFile>();
#ifdef Q_OS_UNIX
    // Without a reader, a FIFO opened without O_NONBLOCK waits for ever; with
    // it, the open fails at once (ENXIO). Nothing is created: a node gone
    // since it was looked at is not replaced by a file written in place.
    const bool wait = m_special == Special::WaitForReader;
    const int fd = ::open(QFile::encodeName(m_path).constData(), O_WRONLY | O_CLOEXEC | (wait ? 0 : O_NONBLOCK));
    if (fd < 0) {
        m_error = systemReason();
        return false;
    }
    // Still a node (not a regular file put there since it was looked at);
    // writes wait for a slow reader, as they would have.
    struct stat st {};
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &st) != 0 || S_ISREG(st.st_mode) || flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0
        || !m_direct->open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
#else
    m_direct->setFileName(m_path);
    return m_direct->open(QIODevice::WriteOnly);
#endif
}

QIODevice &SaveFile::device()
{
    if (m_direct)
        return *m_direct;
    if (m_file)
        return *m_file;
    return *m_save;
}

bool SaveFile::commit()
{
    m_done = true;
    if (m_direct) {
        const bool ok = m_direct->isOpen() && m_direct->flush() && m_direct->error() == QFileDevice::NoError;
        if (!ok)
            m_error = m_direct->errorString();
        m_direct->close();
        return ok;
    }
#ifdef Q_OS_UNIX
    return m_file && commitTemporary();
#else
    if (!m_save || !m_save->isOpen())
        return false;
    if (!m_save->flush() || m_save->error() != QFileDevice::NoError) {
        m_save->cancelWriting();
        m_save.reset();
        return false;
    }
    return m_save->commit();
#endif
}

void SaveFile::cancel()
{
    m_done = true;
    if (m_direct)
        m_direct->close();
#ifdef Q_OS_UNIX
    discardTemporary();
#endif
    m_save.reset(); // an uncommitted save file removes its temporary file
}

bool SaveFile::create(const QString &path, QByteArrayView bytes)
{
    SaveFile file(path, Special::Refuse);
    file.m_keepExisting = true;
    return file.writeAll(bytes);
}

bool SaveFile::write(const QString &path, QByteArrayView bytes, Special special, QString *why)
{
    SaveFile file(path, special);
    const bool ok = file.writeAll(bytes);
    if (!ok && why)
        *why = file.errorString();
    return ok;
}

bool SaveFile::writeAll(QByteArrayView bytes)
{
    if (!open())
        return false;
    if (device().write(bytes.data(), bytes.size()) != bytes.size()) {
        m_error = device().errorString();
        cancel();
        return false;
    }
    return commit();
}
