#include "fulldisk.h"

#include <QFile>

#include <sys/mount.h>

FullDisk::FullDisk(int kib, Access access)
{
    if (!m_dir.isValid())
        return;
    const QByteArray options = "size=" + QByteArray::number(kib) + "k,mode=0755";
    m_mounted = ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", MS_NOSUID | MS_NODEV | (access == Access::ReadOnly ? MS_RDONLY : 0),
                        options.constData())
        == 0;
}

FullDisk::~FullDisk()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
}

bool FullDisk::makeReadOnly() const
{
    return ::mount(nullptr, QFile::encodeName(m_dir.path()).constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

bool FullDisk::put(const QString &name, const QByteArray &bytes) const
{
    QFile out(file(name));
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.flush();
}

bool FullDisk::fill() const
{
    QFile filler(file(QStringLiteral(".filler")));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size()) {
    }
    // Whatever is left in a part-filled page is taken byte by byte.
    while (filler.write("f", 1) == 1) {
    }
    return true;
}
