#include "graytable.h"

#include "graymapping.h"

#include "shell/core/textcodec.h"

#include <cstring>

GrayTable::GrayTable(QStringView grey, Encoding encoding)
{
    const QList<char32_t> chars = grayCharacters(grey);
    m_empty = chars.isEmpty();
    if (m_empty)
        return;
    for (int level = 0; level < 256; ++level) {
        const char32_t c = chars[GrayToCharIndex(int(chars.size()), level) - 1];
        const QString text = QString::fromUcs4(&c, 1);
        const QByteArray bytes = encoding == Encoding::Utf8 ? text.toUtf8() : TextCodec::encode(text);
        Entry &e = m_entries[level];
        e.length = static_cast<unsigned char>(std::min<qsizetype>(bytes.size(), 4));
        std::memcpy(e.bytes, bytes.constData(), e.length);
        m_single[level] = e.bytes[0];
        m_maxBytes = std::max<int>(m_maxBytes, e.length);
    }
    m_singleByte = m_maxBytes == 1;
}

void GrayTable::grayLevels(const quint32 *rgb, int width, uchar *out)
{
    for (int x = 0; x < width; ++x) {
        const quint32 c = rgb[x];
        out[x] = uchar((9798u * ((c >> 16) & 0xFF) + 19235u * ((c >> 8) & 0xFF) + 3735u * (c & 0xFF)) >> 15);
    }
}

qsizetype GrayTable::convertLevels(const uchar *levels, int width, char *out) const
{
    if (m_empty || width <= 0)
        return 0;
    if (m_singleByte) {
        for (int x = 0; x < width; ++x)
            out[x] = m_single[levels[x]];
        return width;
    }
    char *o = out;
    for (int x = 0; x < width; ++x) {
        const Entry &e = m_entries[levels[x]];
        std::memcpy(o, e.bytes, e.length);
        o += e.length;
    }
    return o - out;
}
