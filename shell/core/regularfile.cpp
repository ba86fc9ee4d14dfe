#include "shell/core/regularfile.h"

#include "shell/core/textcodec.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// What the name shows, without opening anything.
ReadOutcome lookAt(const QString &path, qint64 maxBytes)
{
    const QFileInfo info(path); // links followed
    if (!info.exists())
        return ReadOutcome::Missing;
    if (!info.isFile())
        return ReadOutcome::NotRegularFile;
    if (info.size() > maxBytes)
        return ReadOutcome::TooLarge;
    return ReadOutcome::Done;
}

} // namespace

ReadOutcome OpenRegularFile(const QString &path, qint64 maxBytes, QFile &file)
{
#ifdef Q_OS_UNIX
    // Without O_NONBLOCK the open of a FIFO waits for a writer, perhaps for
    // ever; the descriptor, not the name, is then what is checked.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? ReadOutcome::Missing : ReadOutcome::ReadError;
    struct stat st {};
    ReadOutcome outcome = ReadOutcome::Done;
    if (::fstat(fd, &st) != 0)
        outcome = ReadOutcome::ReadError;
    else if (!S_ISREG(st.st_mode))
        outcome = ReadOutcome::NotRegularFile;
    else if (st.st_size > maxBytes)
        outcome = ReadOutcome::TooLarge;
    else if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        outcome = ReadOutcome::ReadError;
    if (outcome != ReadOutcome::Done)
        ::close(fd);
    return outcome;
#else
    if (const ReadOutcome seen = lookAt(path, maxBytes); seen != ReadOutcome::Done)
        return seen;
    file.setFileName(path);
    return file.open(QIODevice::ReadOnly) ? ReadOutcome::Done : ReadOutcome::ReadError;
#endif
}

ReadOutcome ReadRegularFile(const QString &path, qint64 maxBytes, QByteArray *bytes)
{
    // Looked at by name first, so that a device is not even opened (opening
    // one can do things of its own, as a tape rewinding).
    if (const ReadOutcome seen = lookAt(path, maxBytes); seen != ReadOutcome::Done)
        return seen;

    QFile file;
    if (const ReadOutcome opened = OpenRegularFile(path, maxBytes, file); opened != ReadOutcome::Done)
        return opened;
    // To the end of the file, which may have grown since it was looked at:
    // one byte beyond the cap is enough to tell.
    QByteArray data;
    qint64 room = std::min(maxBytes, file.size()) + 1;
    for (;;) {
        const qsizetype at = data.size();
        data.resize(qsizetype(room));
        const qint64 got = file.read(data.data() + at, room - at);
        if (got < 0)
            return ReadOutcome::ReadError;
        data.resize(at + qsizetype(got));
        if (data.size() > maxBytes)
            return ReadOutcome::TooLarge;
        if (got == 0)
            break;
        if (data.size() == room)
            room = std::min(maxBytes + 1, room * 2);
    }
    *bytes = std::move(data);
    return ReadOutcome::Done;
}

ReadOutcome ReadTextFile(const QString &path, qint64 maxBytes, QString *text, TextCodec::Format *format)
{
    QByteArray bytes;
    const ReadOutcome outcome = ReadRegularFile(path, maxBytes, &bytes);
    if (outcome == ReadOutcome::Done)
        *text = format ? TextCodec::decode(bytes, format) : TextCodec::decode(bytes);
    return outcome;
}
