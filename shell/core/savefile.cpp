#include "shell/core/savefile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
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

bool SaveFile::open()
{
    m_done = false;
    m_inPlace = isSpecialFile(m_path);
    if (m_inPlace && m_special == Special::Refuse)
        return false;
    // A rename would put a regular file where the node was (and, for a
    // device, destroy it): write through the node instead.
    if (m_inPlace)
        return openInPlace();
    m_save = std::make_unique<QSaveFile>(m_path);
    return m_save->open(QIODevice::WriteOnly);
}

bool SaveFile::openInPlace()
{
    m_direct = std::make_unique<QFile>();
#ifdef Q_OS_UNIX
    // Without a reader, a FIFO opened without O_NONBLOCK waits for ever; with
    // it, the open fails at once (ENXIO). Nothing is created: a node gone
    // since it was looked at is not replaced by a file written in place.
    const bool wait = m_special == Special::WaitForReader;
    const int fd = ::open(QFile::encodeName(m_path).constData(), O_WRONLY | O_CLOEXEC | (wait ? 0 : O_NONBLOCK));
    if (fd < 0)
        return false;
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
    return *m_save;
}

bool SaveFile::commit()
{
    m_done = true;
    if (m_direct) {
        const bool ok = m_direct->isOpen() && m_direct->flush() && m_direct->error() == QFileDevice::NoError;
        m_direct->close();
        return ok;
    }
    return m_save && m_save->isOpen() && m_save->commit();
}

void SaveFile::cancel()
{
    m_done = true;
    if (m_direct) {
        m_direct->close();
    } else {
        m_save.reset(); // an uncommitted save file removes its temporary file
    }
}

bool SaveFile::write(const QString &path, QByteArrayView bytes, Special special)
{
    SaveFile file(path, special);
    if (!file.open())
        return false;
    if (file.device().write(bytes.data(), bytes.size()) != bytes.size()) {
        file.cancel();
        return false;
    }
    return file.commit();
}
