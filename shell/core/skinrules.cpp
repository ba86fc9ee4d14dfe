#include "shell/core/skinrules.h"

#include "shell/core/textcodec.h"
#include "shell/core/utilities.h"

namespace SkinRules {

QString ReadSkinKey(const QStringList &lines, const QString &key)
{
    const QString probe = key + u'=';
    for (const QString &raw : lines) {
        const QString line = TrimBlanks(raw);
        if (line.isEmpty())
            continue;
        if (line.size() > probe.size() && line.contains(probe, Qt::CaseSensitive))
            return line.mid(probe.size());
    }
    return QString();
}

QString ReadSkinKey(const QString &path, const QString &key)
{
    QStringList lines;
    if (!TextCodec::readLines(path, &lines))
        throw SkinError("skin description file cannot be read");
    return ReadSkinKey(lines, key);
}

int ReadColourKey(const QStringList &lines, const QString &key)
{
    bool ok = false;
    const int value = TrimBlanks(ReadSkinKey(lines, key)).toInt(&ok);
    if (!ok || value < 0 || value > 255)
        throw SkinError("skin colour missing or not a number from 0 to 255");
    return value;
}

SkinFlags parseSkinFlag(const QString &flag)
{
    SkinFlags f;
    const QString which = TrimBlanks(flag).toLower();
    if (which == u"nomin") {
        f.hideMin = true;
    } else if (which == u"nomax") {
        f.hideMax = true;
        f.maxAllowed = false;
    } else if (which == u"noboth") {
        f.hideMin = f.hideMax = true;
        f.maxAllowed = false;
    } else if (which == u"noclose") {
        f.hideClose = true;
        f.maxAllowed = false;
    } else if (which == u"nocontrol") {
        f.hideControl = true;
    } else if (which == u"noall") {
        f.hideMin = f.hideMax = f.hideClose = f.hideControl = true;
        f.maxAllowed = false;
    }
    return f;
}

QList<int> tileOffsets(int extent, int pieceExtent)
{
    QList<int> offsets;
    if (pieceExtent <= 0 || extent < 0)
        return offsets;
    const int count = extent / pieceExtent + 1;
    offsets.reserve(count);
    for (int i = 0; i < count; ++i)
        offsets.append(i * pieceExtent);
    return offsets;
}

int captionTextLeft(const QString &mode, int windowWidth, int textWidth, int captionLeft)
{
    if (mode.toLower() == u"m")
        return (windowWidth - textWidth) / 2;
    return captionLeft + 10;
}

CaptionButtonLefts captionButtonLefts(int rightLimit, int closeWidth, int maxWidth, int minWidth, bool maxAllowed)
{
    CaptionButtonLefts lefts;
    lefts.close = rightLimit - closeWidth - kSkinSpacing;
    lefts.max = lefts.close - kSkinSpacing - maxWidth;
    lefts.min = maxAllowed ? lefts.max - minWidth : lefts.max;
    return lefts;
}

bool startsDrag(bool leftButton, int x, int y, const QString &area, int rightLimit, int captionHeight)
{
    if (!leftButton)
        return false;
    if (area.toLower() == u"l")
        return true;
    return kSkinMargin < x && x < rightLimit - kSkinMargin && kSkinMargin < y && y < captionHeight;
}

bool captionDoubleClickToggles(int y, int captionHeight, bool maxAllowed)
{
    return maxAllowed && 0 < y && y < captionHeight;
}

} // namespace SkinRules
