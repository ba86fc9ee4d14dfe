#include "shell/core/places.h"

#include "shell/core/programpaths.h"
#include "shell/core/regularfile.h"
#include "shell/core/savefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

bool writable(const QString &dir)
{
#ifdef Q_OS_UNIX
    return ::access(QFile::encodeName(dir).constData(), W_OK) == 0;
#else
    return QFileInfo(dir).isWritable();
#endif
}

const QString kSkin = QStringLiteral("\\Skin\\Default");

// The largest shipped file copied: samples are a few KiB.
constexpr qint64 kMaxShippedBytes = 16 * 1024 * 1024;

} // namespace

Places Places::portable(const QString &programDir)
{
    Places places;
    places.m_programDir = places.m_resourceDir = places.m_dataDir = programDir;
    return places;
}

Places Places::decide(const QString &programDir, const QString &xdgDataHome, const QString &home)
{
    const QString shared = QDir::cleanPath(programDir + QStringLiteral("/../../share/zantoria"));
    const bool installedLayout = QFileInfo(shared + QStringLiteral("/Skin")).isDir();
    if (!installedLayout && writable(programDir))
        return portable(programDir);
    Places places;
    places.m_mode = Mode::Installed;
    places.m_programDir = programDir;
    places.m_resourceDir = installedLayout ? shared : programDir;
    const QString dataHome =
        QDir::isAbsolutePath(xdgDataHome) ? xdgDataHome : (home.isEmpty() ? QDir::homePath() : home) + QStringLiteral("/.local/share");
    places.m_dataDir = QDir::cleanPath(dataHome + QStringLiteral("/zantoria"));
    return places;
}

Places Places::forThisProgram()
{
    return decide(QCoreApplication::applicationDirPath(), qEnvironmentVariable("XDG_DATA_HOME"),
                  qEnvironmentVariable("HOME"));
}

QString Places::data(const QString &relative) const
{
    return ProgramPaths::resolve(m_dataDir, relative);
}

QString Places::resource(const QString &relative) const
{
    return ProgramPaths::resolve(m_resourceDir, relative);
}

bool Places::prepare(QString *problem) const
{
    if (m_mode == Mode::Portable) {
        ProgramPaths::CreateDataDirs(m_dataDir);
        return true;
    }
    // The skin is not the user's: it stays with the resources.
    for (const QString &dir : ProgramPaths::dataDirs()) {
        if (dir.compare(kSkin, Qt::CaseInsensitive) != 0)
            ProgramPaths::MakeDirPath(data(dir));
    }
    for (const QString &dir : ProgramPaths::dataDirs()) {
        if (dir.compare(kSkin, Qt::CaseInsensitive) == 0)
            continue;
        const QString path = data(dir);
        if (!QFileInfo(path).isDir() || !writable(path)) {
            if (problem)
                *problem = QStringLiteral("无法创建数据文件夹：\r\n") + QDir::toNativeSeparators(path)
                    + QStringLiteral("\r\n请检查这个位置是否可写，或者是否有同名的文件占用了它。程序将会退出运行。");
            return false;
        }
    }
    copyShippedFiles();
    return true;
}

void Places::copyShippedFiles() const
{
    const QString recordPath = m_dataDir + u'/' + QLatin1String(kShippedRecord);
    QByteArray recordBytes;
    ReadRegularFile(recordPath, kMaxShippedBytes, &recordBytes);
    QSet<QString> record;
    for (const QByteArray &line : recordBytes.split('\n')) {
        if (!line.isEmpty())
            record.insert(QString::fromUtf8(line));
    }
    bool changed = false;
    const QDir resources(m_resourceDir);
    for (const QString &top : {QStringLiteral("data"), QStringLiteral("Plugin")}) {
        QDirIterator it(resources.filePath(top), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString source = it.next();
            const QString relative = resources.relativeFilePath(source);
            if (record.contains(relative))
                continue;
            const QString target = m_dataDir + u'/' + relative;
            // Something of the user's is there already: it stays, and counts
            // as copied, so that deleting it later keeps it deleted.
            bool done = QFileInfo::exists(target) || QFileInfo(target).isSymLink();
            if (!done) {
                QByteArray bytes;
                QDir().mkpath(QFileInfo(target).absolutePath());
                done = ReadRegularFile(source, kMaxShippedBytes, &bytes) == ReadOutcome::Done
                    && SaveFile::create(target, bytes);
            }
            if (done) {
                record.insert(relative);
                changed = true;
            }
        }
    }
    if (!changed)
        return;
    QStringList lines(record.begin(), record.end());
    lines.sort();
    SaveFile::write(recordPath, QByteArray(lines.join(u'\n').toUtf8() + '\n'));
}
