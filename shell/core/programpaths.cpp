#include "shell/core/programpaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace ProgramPaths {

namespace {

QStringList components(const QString &path)
{
    QString p = path;
    p.replace(u'\\', u'/');
    return p.split(u'/', Qt::SkipEmptyParts);
}

// The entry of `dir` named `name` in any letter case; the exact spelling wins.
QString matchEntry(const QString &dir, const QString &name)
{
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return name;
    if (QFileInfo::exists(dir + u'/' + name))
        return name;
    const QStringList entries = QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return name;
}

} // namespace

QString programDir()
{
    return QCoreApplication::applicationDirPath();
}

QString resolve(const QString &base, const QString &relative)
{
    QString path = base;
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    for (const QString &part : components(relative))
        path += u'/' + matchEntry(path, part);
    return path;
}

void MakeDirPath(const QString &path)
{
    QString p = path;
    p.replace(u'\\', u'/');
    if (p.isEmpty())
        return;
    // A path without a drive in the programs' own notation ("\x\y") builds on
    // the current directory as a plain relative one does; only a path rooted
    // with "/" (or a drive on Windows) stands on its own.
    const bool onCurrent = path.startsWith(u'\\') || QDir::isRelativePath(p);
    QString built;
    if (onCurrent)
        built = QDir::currentPath();
    else
        built = p.startsWith(u'/') ? QString() : p.left(p.indexOf(u'/')); // a drive ("C:") on Windows
    const QStringList parts = components(onCurrent ? p : p.mid(built.size()));
    for (const QString &part : parts) {
        built += u'/' + matchEntry(built.isEmpty() ? QStringLiteral("/") : built, part);
        QDir().mkdir(built); // an existing directory, or one that cannot be made, is passed over
    }
}

const QStringList &dataDirs()
{
    static const QStringList dirs = {
        QStringLiteral("\\data\\Zantoria秘笈\\Words"),
        QStringLiteral("\\data\\Zantoria秘笈\\Pictures"),
        QStringLiteral("\\data\\MyFavor"),
        QStringLiteral("\\data\\艺术文字"),
        QStringLiteral("\\data\\磨牙资源\\表情图片"),
        QStringLiteral("\\data\\磨牙资源\\超Cool头像"),
        QStringLiteral("\\data\\磨牙资源\\短信图片"),
        QStringLiteral("\\Plugin"),
        QStringLiteral("\\Temp"),
        QStringLiteral("\\Skin\\Default"),
    };
    return dirs;
}

void CreateDataDirs(const QString &programDir)
{
    for (const QString &dir : dataDirs()) {
        QString base = programDir;
        MakeDirPath(base.replace(u'\\', u'/') + u'/' + components(dir).join(u'/'));
    }
}

} // namespace ProgramPaths
