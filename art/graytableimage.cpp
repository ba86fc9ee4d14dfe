// The GrayTable functions that read a QImage.

#include "graytable.h"

#include <cstring>

namespace {

inline unsigned grayOf(QRgb c)
{
    return (9798u * qRed(c) + 19235u * qGreen(c) + 3735u * qBlue(c)) >> 15;
}

} // namespace

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
    grayLevels(reinterpret_cast<const quint32 *>(picture.constScanLine(y)), width, out);
}

qsizetype GrayTable::convertRow(const QImage &picture, int y, char *out) const
{
    const int width = picture.width();
    if (m_empty || width <= 0)
        return 0;
    // Grey pictures carry their level already: the weights add up to one.
    if (picture.format() == QImage::Format_Grayscale8)
        return convertLevels(picture.constScanLine(y), width, out);
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
