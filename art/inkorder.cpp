#include "inkorder.h"

#include "graymapping.h"

#include "shell/core/textcodec.h"

#include <QHash>

#include <algorithm>

namespace {

// The code-page value of a character, multi-byte codes read big-endian.
quint32 codeValue(char32_t c)
{
    if (!TextCodec::isFullWidth(c))
        return c < 0x80 ? quint32(c) : 0x80; // ASCII, and "€" as its single byte
    const QByteArray bytes = TextCodec::encode(QString::fromUcs4(&c, 1));
    quint32 value = 0;
    for (const char b : bytes)
        value = (value << 8) | quint8(b);
    return value;
}

} // namespace

GrayTextProblem checkGrayText(QStringView text)
{
    const QList<char32_t> chars = grayCharacters(text);
    if (chars.size() < 8 || std::all_of(chars.cbegin(), chars.cend(), [](char32_t c) { return c == U' '; }))
        return GrayTextProblem::TooShort;
    if (std::any_of(chars.cbegin(), chars.cend(), [](char32_t c) { return TextCodec::isFullWidth(c); }))
        return GrayTextProblem::FullWidth;
    return GrayTextProblem::None;
}

QString orderByInk(QStringView text, const std::function<int(char32_t)> &inkOf)
{
    struct Ink
    {
        char32_t character;
        int ink;
        quint32 code;
    };
    QList<Ink> records;
    QHash<char32_t, int> measured; // a repeated character is measured once
    for (const char32_t c : grayCharacters(text)) {
        auto it = measured.constFind(c);
        if (it == measured.constEnd())
            it = measured.insert(c, inkOf(c));
        records.append({c, *it, codeValue(c)});
    }
    std::stable_sort(records.begin(), records.end(), [](const Ink &a, const Ink &b) {
        return a.ink != b.ink ? a.ink > b.ink : a.code > b.code;
    });
    QString ordered;
    for (const Ink &r : records)
        ordered += QString::fromUcs4(&r.character, 1);
    return ordered;
}
