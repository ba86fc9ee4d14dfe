#include "shell/widgets/savetextas.h"

#include "shell/core/savefile.h"
#include "shell/core/textcodec.h"
#include "shell/core/utilities.h"

#include <QDir>
#include <QFileInfo>

SaveTextAs::Outcome SaveTextAs::run(Dialogs &dialogs, const std::function<QString()> &text) const
{
    const std::optional<QString> chosen = dialogs.saveFile(filter, QString());
    if (!chosen || TrimBlanks(*chosen).isEmpty())
        return Outcome::Cancelled;
    QString name = trimName ? TrimBlanks(*chosen) : *chosen;
    if (!invalidPath.isEmpty() && !CanWritePath(name)) {
        dialogs.message(invalidPath, invalidPathTitle, Dialogs::Icon::Information);
        return Outcome::Declined;
    }
    if (addTxtEnding && (name.size() <= 4 || !name.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive)))
        name += QStringLiteral(".TXT");
    // What failed, and why where the system says.
    const auto fail = [&](const QString &why = QString()) {
        dialogs.message(why.isEmpty() ? failed : failed + QStringLiteral("\r\n") + QDir::toNativeSeparators(name) + QStringLiteral("：") + why,
                        failedTitle, failedIcon);
        return Outcome::Failed;
    };
    if (SaveFile::isSpecialFile(name))
        return fail();
    if (QFileInfo::exists(name)
        && !dialogs.question(QStringLiteral("文件") + name + QStringLiteral("已经存在，是否覆盖？"), overwriteTitle,
                             Dialogs::Icon::Question))
        return Outcome::Declined;
    const bool writesBack = readFormat && !readFrom.isEmpty() && QFileInfo::exists(name)
                            && QFileInfo(name).canonicalFilePath() == QFileInfo(readFrom).canonicalFilePath();
    if (writesBack && readFormat->replacedBytes
        && !dialogs.question(Strings::replacedBytesQuestion(QDir::toNativeSeparators(name)), overwriteTitle,
                             Dialogs::Icon::Question))
        return Outcome::Declined;
    // Refused again at the write, should such a node have taken the name
    // since it was looked at.
    QString why;
    const TextCodec::Format format = writesBack ? *readFormat : TextCodec::Format{};
    if (!TextCodec::writeFile(name, text(), format, SaveFile::Special::Refuse, &why))
        return fail(why);
    if (writesBack)
        readFormat->replacedBytes = false;
    return Outcome::Saved;
}
