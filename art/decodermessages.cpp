#include "decodermessages.h"

#include <QByteArray>
#include <QList>

#include <atomic>
#include <cstdio>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

std::atomic_flag g_catching = ATOMIC_FLAG_INIT;

const QByteArray kLibpngPrefixes[] = {QByteArrayLiteral("libpng error: "), QByteArrayLiteral("libpng warning: ")};

} // namespace

DecoderMessages::DecoderMessages()
{
#ifdef Q_OS_UNIX
    if (g_catching.test_and_set())
        return;
    std::FILE *capture = std::tmpfile();
    if (!capture) {
        g_catching.clear();
        return;
    }
    std::fflush(stderr);
    m_savedStderr = ::dup(STDERR_FILENO);
    if (m_savedStderr < 0 || ::dup2(::fileno(capture), STDERR_FILENO) < 0) {
        if (m_savedStderr >= 0)
            ::close(m_savedStderr);
        m_savedStderr = -1;
        std::fclose(capture);
        g_catching.clear();
        return;
    }
    m_capture = capture;
    m_active = true;
#endif
}

DecoderMessages::~DecoderMessages()
{
    finish();
}

QStringList DecoderMessages::take()
{
    finish();
    return std::exchange(m_lines, {});
}

void DecoderMessages::finish()
{
#ifdef Q_OS_UNIX
    if (!m_active)
        return;
    m_active = false;
    std::fflush(stderr);
    ::dup2(m_savedStderr, STDERR_FILENO);
    ::close(m_savedStderr);
    auto *capture = static_cast<std::FILE *>(m_capture);
    QByteArray caught;
    std::rewind(capture);
    char chunk[4096];
    for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, capture)) > 0 && caught.size() < (1 << 20);)
        caught.append(chunk, qsizetype(got));
    std::fclose(capture);
    g_catching.clear();
    QByteArray others;
    for (const QByteArray &line : caught.split('\n')) {
        bool library = false;
        for (const QByteArray &prefix : kLibpngPrefixes) {
            if (line.startsWith(prefix)) {
                m_lines << QString::fromLocal8Bit(line.mid(prefix.size())).trimmed();
                library = true;
            }
        }
        if (!library && !line.isEmpty())
            others += line + '\n';
    }
    if (!others.isEmpty())
        std::fwrite(others.constData(), 1, size_t(others.size()), stderr);
#endif
}
