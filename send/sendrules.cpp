#include "send/sendrules.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace SendRules {

qsizetype byteCount(QStringView text)
{
    return text.size() * 2;
}

QString cutToLimit(QStringView text)
{
    if (text.size() <= kMaxCharacters)
        return text.toString();
    qsizetype keep = kMaxCharacters;
    const QChar last = text[keep - 1];
    const QChar next = text[keep];
    if ((last.isHighSurrogate() && next.isLowSurrogate()) || (last == u'\r' && next == u'\n'))
        --keep;
    return text.first(keep).toString();
}

double leadingNumber(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    // The longest prefix of the form [sign] digits [. digits] [e [sign] digits],
    // handed to the C library, which reads it exactly (and overflows to infinity).
    std::string number;
    const auto digits = [&] {
        const qsizetype start = i;
        while (i < text.size() && text[i] >= u'0' && text[i] <= u'9')
            number += char(text[i++].unicode());
        return i - start;
    };
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        number += char(text[i++].unicode());
    qsizetype mantissa = digits();
    if (i < text.size() && text[i] == u'.') {
        number += '.';
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return 0;
    if (i + 1 < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        if (text[j] == u'+' || text[j] == u'-')
            ++j;
        if (j < text.size() && text[j] >= u'0' && text[j] <= u'9') {
            number += 'e';
            for (qsizetype k = i + 1; k < j; ++k)
                number += char(text[k].unicode());
            i = j;
            digits();
        }
    }
    return std::strtod(number.c_str(), nullptr);
}

std::optional<int> loopIntervalMs(QStringView text)
{
    const double seconds = leadingNumber(text);
    if (std::isnan(seconds) || seconds <= 0)
        return std::nullopt;
    constexpr int kLongest = std::numeric_limits<int>::max();
    const double ms = seconds * 1000.0;
    if (!std::isfinite(ms) || ms >= double(kLongest))
        return kLongest;
    // Halves round to even, as the timer's interval always has.
    const double rounded = std::nearbyint(ms);
    if (rounded <= 0)
        return std::nullopt;
    return int(rounded);
}

QString overLongMessage(qsizetype bytes)
{
    return QStringLiteral("请注意啦：QQ每次最多只能发送500字节的信息，您现在所要发送的信息共") + QString::number(bytes)
           + QStringLiteral("字节。多余的信息将会被自动截去！");
}

} // namespace SendRules
