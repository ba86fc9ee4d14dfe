#include "graymapping.h"

#include <algorithm>
#include <cmath>

int GrayToCharIndex(int count, int grey)
{
    if (count <= 0)
        return 0;
    const float step = 256.0f / float(count);
    const double x = double(std::clamp(grey, 0, 255)) / double(step) + 0.50000000001;
    const long index = std::lrint(x); // halves to even; a half cannot occur here
    return int(std::clamp<long>(index, 1, count));
}

QList<char32_t> grayCharacters(QStringView grey)
{
    QList<char32_t> chars;
    chars.reserve(grey.size());
    for (const uint c : grey.toUcs4())
        chars.append(char32_t(c));
    return chars;
}

QString GrayToChar(QStringView grey, int level)
{
    const QList<char32_t> chars = grayCharacters(grey);
    const int index = GrayToCharIndex(int(chars.size()), level);
    if (index == 0)
        return QString();
    const char32_t c = chars[index - 1];
    return QString::fromUcs4(&c, 1);
}
