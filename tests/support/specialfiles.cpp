#include "specialfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

FifoGuard::FifoGuard(const QString &path, std::chrono::milliseconds patience)
    : m_path(path)
{
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(path);
    m_made = ::mkfifo(name.constData(), 0600) == 0;
    if (!m_made)
        return;
    m_thread = std::thread([this, name, patience] {
        const auto until = std::chrono::steady_clock::now() + patience;
        while (!m_stop && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        while (!m_stop) {
            // A reader stuck in its open counts as a reader already: the
            // writing end opens without blocking only then, and closing it
            // again ends that reader's file.
            if (const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK); fd >= 0) {
                m_heldUp = true;
                ::close(fd);
            }
            // A writer stuck in its open counts as a writer already: with the
            // reading end open it goes on, and what it writes is read to its
            // end (closing earlier would break its pipe).
            if (const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK); fd >= 0) {
                char buffer[4096];
                for (;;) {
                    const ssize_t got = ::read(fd, buffer, sizeof buffer);
                    if (got == 0)
                        break; // no writer, or it has closed
                    if (got < 0 && errno != EAGAIN)
                        break;
                    m_heldUp = true;
                    if (got < 0)
                        std::this_thread::sleep_for(std::chrono::milliseconds(5));
                }
                ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
#endif
}

FifoGuard::~FifoGuard()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
}

SpecialFile::SpecialFile(const QString &kind, const QString &path)
    : m_path(path)
{
    if (kind == u"fifo") {
        m_fifo = std::make_unique<FifoGuard>(path);
        m_available = m_fifo->made();
    } else if (kind == u"device") {
        m_path = QStringLiteral("/dev/zero");
        m_available = QFileInfo::exists(m_path);
    } else if (kind == u"dir") {
        m_available = QDir().mkpath(path);
    }
}
