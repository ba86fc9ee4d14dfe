#include "tipstore.h"

#include "shell/core/programpaths.h"
#include "shell/core/regularfile.h"
#include "shell/core/textcodec.h"
#include "shell/core/utilities.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString kExtension = QStringLiteral(".txt");
const QString kCrLf = QStringLiteral("\r\n");

QString kindDirectory(TipKind kind)
{
    return kind == TipKind::Pictures ? QStringLiteral("\\Data\\Zantoria秘笈\\Pictures")
                                     : QStringLiteral("\\Data\\Zantoria秘笈\\Words");
}

// Every entry of the directory, whatever it is: a name taken by a directory or
// a hidden file is as taken as one taken by a tip.
QStringList allEntries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

bool isTipFile(const QString &fileName)
{
    // ".txt" alone would be a tip without a name, which nobody could pick.
    return fileName.size() > kExtension.size() && fileName.endsWith(kExtension, Qt::CaseInsensitive);
}

} // namespace

const QString TipStore::kBadNameChars = QStringLiteral("\\/:*?\"<>|");

TipStore::TipStore(QString programDir)
    : m_programDir(std::move(programDir))
{
}

QString TipStore::directory(TipKind kind) const
{
    return ProgramPaths::resolve(m_programDir, kindDirectory(kind));
}

QString TipStore::path(TipKind kind, const QString &fileName) const
{
    return directory(kind) + u'/' + fileName;
}

QString TipStore::favouritesPath() const
{
    return ProgramPaths::resolve(m_programDir, QStringLiteral("\\Data\\MyFavor\\我的最爱.txt"));
}

QString TipStore::fileNameFor(const QString &name)
{
    return TrimBlanks(name) + kExtension;
}

TipOutcome TipStore::checkName(const QString &name)
{
    const QString trimmed = TrimBlanks(name);
    if (trimmed.isEmpty())
        return TipOutcome::BlankName;
    for (const QChar c : trimmed) {
        if (kBadNameChars.contains(c))
            return TipOutcome::ForbiddenCharacter;
    }
    return TipOutcome::Done;
}

QList<TipEntry> TipStore::list(TipKind kind) const
{
    QList<TipEntry> tips;
    const QStringList files =
        QDir(directory(kind)).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QString &file : files) {
        if (isTipFile(file))
            tips.append({file.chopped(kExtension.size()), file});
    }
    // Letter case only decides between names that are otherwise equal, so
    // the order is the same on every file system and from run to run.
    std::sort(tips.begin(), tips.end(), [](const TipEntry &a, const TipEntry &b) {
        const int c = a.fileName.compare(b.fileName, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.fileName < b.fileName;
    });
    return tips;
}

QString TipStore::existingEntry(TipKind kind, const QString &fileName) const
{
    const QStringList entries = allEntries(directory(kind));
    if (entries.contains(fileName))
        return fileName;
    for (const QString &entry : entries) {
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return QString();
}

TipOutcome TipStore::create(TipKind kind, const QString &name, QString *fileName)
{
    if (const TipOutcome rule = checkName(name); rule != TipOutcome::Done)
        return rule;
    const QString file = fileNameFor(name);
    if (!existingEntry(kind, file).isEmpty())
        return TipOutcome::Duplicate;
    // New-only: should another program make the file between the look and
    // the open, the open fails instead of emptying that file.
    QFile tip(path(kind, file));
    if (!tip.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return TipOutcome::Failed;
    tip.close();
    if (fileName)
        *fileName = file;
    return TipOutcome::Done;
}

TipOutcome TipStore::rename(TipKind kind, const QString &fileName, const QString &newName, QString *newFileName)
{
    if (const TipOutcome rule = checkName(newName); rule != TipOutcome::Done)
        return rule;
    const QString target = fileNameFor(newName);
    const QString dir = directory(kind);
    if (fileName.isEmpty() || !QFileInfo(dir + u'/' + fileName).isFile())
        return TipOutcome::Failed;
    if (target != fileName) {
        // The rename of the file system would replace a file of that name,
        // and a name in another letter case is the same tip to the user.
        for (const QString &entry : allEntries(dir)) {
            if (entry != fileName && entry.compare(target, Qt::CaseInsensitive) == 0)
                return TipOutcome::Failed;
        }
        if (!QFile::rename(dir + u'/' + fileName, dir + u'/' + target))
            return TipOutcome::Failed;
    }
    if (newFileName)
        *newFileName = target;
    return TipOutcome::Done;
}

TipOutcome TipStore::remove(TipKind kind, const QString &fileName)
{
    const QString file = path(kind, fileName);
    if (fileName.isEmpty() || !QFileInfo(file).isFile() || !QFile::remove(file))
        return TipOutcome::Failed;
    return TipOutcome::Done;
}

TipOutcome TipStore::read(const QString &path, QString *text, TextCodec::Format *format)
{
    TextCodec::Format found;
    switch (ReadTextFile(path, kMaxFileBytes, text, format ? format : &found)) {
    case ReadOutcome::Done:
        return TipOutcome::Done;
    case ReadOutcome::TooLarge:
        return TipOutcome::TooLarge;
    case ReadOutcome::Missing:
    case ReadOutcome::NotRegularFile:
    case ReadOutcome::ReadError:
        break;
    }
    return TipOutcome::Failed;
}

QString TipStore::savedText(const QString &text)
{
    if (text.isEmpty() || text.endsWith(kCrLf))
        return text;
    return text + kCrLf;
}

bool TipStore::save(const QString &path, const QString &text, const TextCodec::Format &format, QString *why)
{
    QString now;
    if (read(path, &now) == TipOutcome::Done) {
        QString wanted = text;
        TextCodec::toCrLf(now);
        TextCodec::toCrLf(wanted);
        if (now == wanted)
            return true;
    }
    return TextCodec::writeFile(path, savedText(text), format, SaveFile::Special::WriteInPlace, why);
}

bool TipStore::createIfMissing(const QString &path)
{
    if (QFileInfo::exists(path))
        return true;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return QFileInfo::exists(path); // made by someone else in the meantime
    file.close();
    return true;
}
