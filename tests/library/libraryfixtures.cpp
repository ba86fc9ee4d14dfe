#include "libraryfixtures.h"

#include "shell/core/textcodec.h"

#include <QDir>
#include <QFile>

namespace LibraryFixtures {

void makeLibraryDirs(const QString &programDir)
{
    for (const char *dir : {"data/Zantoria秘笈/Pictures", "data/Zantoria秘笈/Words", "data/MyFavor"})
        QDir().mkpath(programDir + u'/' + QString::fromUtf8(dir));
}

QString tipFile(const QString &programDir, TipKind kind, const QString &fileName)
{
    return programDir + (kind == TipKind::Pictures ? QStringLiteral("/data/Zantoria秘笈/Pictures/")
                                                   : QStringLiteral("/data/Zantoria秘笈/Words/"))
           + fileName;
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

bool writeTip(const QString &programDir, TipKind kind, const QString &name, const QString &text)
{
    return TextCodec::writeFile(tipFile(programDir, kind, name + QStringLiteral(".txt")), text);
}

QByteArray beyondGbkBytes()
{
    return TextCodec::encode(QStringLiteral("价格€5\r\n笑\U0001F600\r\n\U00020000字\r\n"));
}

QByteArray gbkBytes()
{
    return QByteArray("\xC4\xE3\xBA\xC3\xA3\xAC\xCA\xC0\xBD\xE7\r\nabc\r\n"); // 你好，世界
}

} // namespace LibraryFixtures
