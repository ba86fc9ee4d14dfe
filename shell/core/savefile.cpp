#include "shell/core/savefile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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
    if (m_inPlace) {
        // A rename would put a regular file where the node was (and, for a
        // device, destroy it): write through the node instead.
        m_direct = std::make_unique<QFile>(m_path);
        return m_direct->open(QIODevice::WriteOnly);
    }
    m_save = std::make_unique<QSaveFile>(m_path);
    return m_save->open(QIODevice::WriteOnly);
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
