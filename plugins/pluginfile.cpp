#include "pluginfile.h"

#include "shell/core/dialogs.h"

#include <QDir>
#include "shell/core/regularfile.h"
#include "shell/core/textcodec.h"
#include "shell/core/texts.h"
#include "shell/core/utilities.h"

namespace PluginFile {

namespace {

// What follows the first `count` characters of the line. Characters, not
// UTF-16 units: a character beyond the basic plane is one character and is
// never cut in half.
QString afterCharacters(QStringView line, qsizetype count)
{
    qsizetype i = 0;
    const qsizetype n = line.size();
    for (qsizetype c = 0; c < count && i < n; ++c)
        i += (line[i].isHighSurrogate() && i + 1 < n && line[i + 1].isLowSurrogate()) ? 2 : 1;
    return line.sliced(i).toString();
}

} // namespace

Parsed parse(QStringView text, const QString &programDir)
{
    struct Key
    {
        const QString &key;
        QString CJInfo::*field;
    };
    const Key keys[] = {{kNameKey, &CJInfo::Name},
                        {kVersionKey, &CJInfo::Version},
                        {kPathKey, &CJInfo::Path},
                        {kDescriptionKey, &CJInfo::Description}};

    bool valid = false;
    CJInfo local;
    for (const QString &raw : TextCodec::splitLines(text)) {
        const QString line = TrimBlanks(raw);
        if (!valid && line.contains(kMarker))
            valid = true;
        if (line.isEmpty() || !valid)
            continue;
        for (const Key &k : keys) {
            if (!line.contains(k.key))
                continue;
            QString value = afterCharacters(line, k.key.size());
            if (k.field == &CJInfo::Path)
                value.replace(kAppPath, programDir);
            local.*k.field = std::move(value);
        }
    }
    if (!valid)
        return {CJInfo{}, Problem::NotPluginFile};
    return {std::move(local), Problem::None};
}

Parsed parseBytes(QByteArrayView bytes, const QString &programDir)
{
    TextCodec::Format format;
    Parsed parsed = parse(TextCodec::decode(bytes, &format), programDir);
    parsed.format = format;
    return parsed;
}

Parsed read(const QString &path, const QString &programDir)
{
    QByteArray bytes;
    if (ReadRegularFile(path, kMaxFileSize, &bytes) != ReadOutcome::Done)
        return {CJInfo{}, Problem::Unreadable};
    return parseBytes(bytes, programDir);
}

QString format(const CJInfo &record)
{
    const QString crlf = QStringLiteral("\r\n");
    return kMarker + crlf + kNameKey + record.Name + crlf + kVersionKey + record.Version + crlf + kPathKey
           + record.Path + crlf + kDescriptionKey + record.Description + crlf;
}

bool holdsLineBreak(QStringView value)
{
    return value.contains(u'\r') || value.contains(u'\n');
}

bool holdsLineBreak(const CJInfo &record)
{
    return holdsLineBreak(record.Name) || holdsLineBreak(record.Version) || holdsLineBreak(record.Path)
           || holdsLineBreak(record.Description);
}

bool write(const QString &path, const CJInfo &record, QString *why, const TextCodec::Format &form)
{
    if (holdsLineBreak(record))
        return false;
    return TextCodec::writeFile(path, format(record), form, SaveFile::Special::WriteInPlace, why);
}

CJInfo ReadCJFile(const QString &path, const QString &programDir, Dialogs &dialogs, TextCodec::Format *format)
{
    const Parsed parsed = read(path, programDir);
    if (format)
        *format = parsed.format;
    switch (parsed.problem) {
    case Problem::None:
        break;
    case Problem::NotPluginFile:
        dialogs.message(QStringLiteral("所读取的文件不是『Zantoria』的标准插件配置文件！"),
                        QStringLiteral("读取错误：O"), Dialogs::Icon::Critical);
        break;
    case Problem::Unreadable:
        dialogs.message(QStringLiteral("在读取插件配置文件时出现错误！"), Strings::kHintTitle,
                        Dialogs::Icon::Critical);
        break;
    }
    return parsed.info;
}

bool WriteCJFile(const QString &path, const CJInfo &record, Dialogs &dialogs, const TextCodec::Format &format)
{
    QString why;
    if (write(path, record, &why, format))
        return true;
    // What failed, and why where the system says: the old file is as it was.
    QString text = QStringLiteral("写入插件配置文件时出现错误！");
    if (!why.isEmpty())
        text += QStringLiteral("\r\n") + QDir::toNativeSeparators(path) + QStringLiteral("：") + why;
    dialogs.okCancel(text, QStringLiteral("写入失败：（"), Dialogs::Icon::Critical);
    return false;
}

} // namespace PluginFile
