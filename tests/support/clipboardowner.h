#pragma once

// Another program that owns the clipboard, as a toolkit program does (the
// tests' own zantoria_testowner): it offers a text, sent in pieces (INCR)
// when it is larger than one piece. A suite that uses it defines
// ZANTORIA_TESTOWNER as the program's path.

#include "processes.h"

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

class ClipboardOwner
{
public:
    // `options` as the program takes them: --piece BYTES, --slow MS.
    explicit ClipboardOwner(const QByteArray &text, const QStringList &options = {})
        : m_guard(m_process)
    {
        QFile file(m_dir.filePath(QStringLiteral("text")));
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            return;
        file.close();
        const QString ready = m_dir.filePath(QStringLiteral("ready"));
        m_process.start(QStringLiteral(ZANTORIA_TESTOWNER),
                        QStringList{QStringLiteral("--text"), file.fileName(), QStringLiteral("--ready"), ready}
                            + options);
        m_owning = waitUntil([&] { return QFile::exists(ready); }, 10000);
    }

    // The program runs and owns the clipboard (it has not necessarily
    // kept it since).
    bool owning() const { return m_owning; }

    // A UTF-8 text of at least `size` bytes whose numbered lines show
    // where a piece went missing.
    static QByteArray numberedText(int size)
    {
        QByteArray text;
        for (int line = 0; text.size() < size; ++line)
            text += "line " + QByteArray::number(line) + " 分成几块发送的文字\n";
        return text;
    }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    ProcessGuard m_guard;
    bool m_owning = false;
};
