#include "tempprogramdir.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

bool copyTree(const QString &from, const QString &to)
{
    bool ok = QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + u'/' + QDir(from).relativeFilePath(source);
        if (it.fileInfo().isDir())
            ok = QDir().mkpath(target) && ok;
        else
            ok = QFile::copy(source, target) && ok;
    }
    return ok;
}

TempProgramDir::TempProgramDir(bool withRuntimeFiles)
{
#ifdef ZANTORIA_PROGRAM_DIR
    if (withRuntimeFiles) {
        for (const char *sub : {"Skin", "Plugin", "data"}) {
            const QString source = QStringLiteral(ZANTORIA_PROGRAM_DIR) + u'/' + QLatin1String(sub);
            if (QDir(source).exists())
                copyTree(source, path() + u'/' + QLatin1String(sub));
        }
    }
#else
    Q_UNUSED(withRuntimeFiles);
#endif
}

QString TempProgramDir::file(const QString &relative) const
{
    QString r = relative;
    r.replace(u'\\', u'/');
    if (!r.startsWith(u'/'))
        r.prepend(u'/');
    return path() + r;
}
