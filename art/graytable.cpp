#include "graytable.h"

#include "graymapping.h"

#include "shell/core/textcodec.h"

#include <cstring>

namespace {

inline unsigned grayOf(QRgb c)
{
    return (9798u * qRed(c) + 19235u * qGreen(c) + 3735u * qBlue(c)) >> 15;
}

} // namespace

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

bool GrayTable::supports(QImage::Format format)
{
    return format == QImage::Format_RGB32 || format == QImage::Format_Grayscale8;
}

void GrayTable::grayLevels(const QImage &picture, int y, uchar *out)
{
    const int width = picture.width();
    if (picture.format() == QImage::Format_Grayscale8) {
        std::memcpy(out, picture.constScanLine(y), size_t(width));
        return;
    }
    const QRgb *line = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
    for (int x = 0; x < width; ++x)
        out[x] = uchar(grayOf(line[x]));
}

qsizetype GrayTable::convertRow(const QImage &picture, int y, char *out) const
{
    const int width = picture.width();
    if (m_empty || width <= 0)
        return 0;
    // Grey pictures carry their level already: the weights add up to one.
    if (picture.format() == QImage::Format_Grayscale8) {
        const uchar *line = picture.constScanLine(y);
        if (m_singleByte) {
            for (int x = 0; x < width; ++x)
                out[x] = m_single[line[x]];
            return width;
        }
        char *o = out;
        for (int x = 0; x < width; ++x) {
            const Entry &e = m_entries[line[x]];
            std::memcpy(o, e.bytes, e.length);
            o += e.length;
        }
        return o - out;
    }
    const QRgb *line = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
    if (m_singleByte) {
        for (int x = 0; x < width; ++x)
            out[x] = m_single[grayOf(line[x])];
        return width;
    }
    char *o = out;
    for (int x = 0; x < width; ++x) {
        const Entry &e = m_entries[grayOf(line[x])];
        std::memcpy(o, e.bytes, e.length);
        o += e.length;
    }
    return o - out;
}
