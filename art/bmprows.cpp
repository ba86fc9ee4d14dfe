#include "bmprows.h"

#include "pictureloader.h"

#include <QtEndian>

#include <cstdlib>
#include <limits>

namespace {

constexpr int kFileHeader = 14;
constexpr quint32 kRgb = 0;
constexpr quint32 kBitFields = 3;

quint32 u32(const QByteArray &b, int at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

} // namespace

BmpRows::BmpRows(const QString &path)
    : m_file(path)
{
}

bool BmpRows::open()
{
    if (!m_file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = m_file.read(kFileHeader + 124);
    if (head.size() < kFileHeader + 40 || !head.startsWith("BM"))
        return false;
    const quint32 headerSize = u32(head, 14);
    const qint32 width = qint32(u32(head, 18));
    const qint32 height = qint32(u32(head, 22));
    const int planes = qFromLittleEndian<quint16>(head.constData() + 26);
    const int bits = qFromLittleEndian<quint16>(head.constData() + 28);
    const quint32 compression = u32(head, 30);
    const quint32 coloursUsed = u32(head, 46);
    if (headerSize < 40 || headerSize > 124 || planes != 1 || width <= 0 || height == 0
        || height == std::numeric_limits<qint32>::min())
        return false;
    m_size = QSize(width, std::abs(height));
    if (!PictureLoader::acceptableSize(m_size))
        return false;
    m_bottomUp = height > 0;
    m_pixelOffset = u32(head, 10);
    m_stride = (qint64(width) * bits + 31) / 32 * 4;

    if (bits == 24 && compression == kRgb) {
        m_kind = Kind::Bgr24;
    } else if (bits == 32 && compression == kRgb && headerSize == 40) {
        m_kind = Kind::Bgrx32;
    } else if (bits == 32 && compression == kBitFields && headerSize >= 56 && head.size() >= kFileHeader + 56) {
        const quint32 red = u32(head, 54), green = u32(head, 58), blue = u32(head, 62), alpha = u32(head, 66);
        if (red != 0x00FF0000 || green != 0x0000FF00 || blue != 0x000000FF)
            return false;
        if (alpha == 0xFF000000)
            m_kind = Kind::Bgra32;
        else if (alpha == 0)
            m_kind = Kind::Bgrx32;
        else
            return false;
    } else if (bits == 8 && compression == kRgb && (coloursUsed == 0 || coloursUsed == 256)) {
        m_kind = Kind::Indexed8;
        if (!m_file.seek(kFileHeader + headerSize))
            return false;
        const QByteArray table = m_file.read(256 * 4);
        if (table.size() != 256 * 4)
            return false;
        for (int i = 0; i < 256; ++i) {
            const auto *e = reinterpret_cast<const uchar *>(table.constData()) + i * 4;
            m_palette << qRgb(e[2], e[1], e[0]);
        }
    } else {
        return false;
    }
    if (m_pixelOffset < kFileHeader + headerSize || m_pixelOffset + m_stride * m_size.height() > m_file.size()) {
        m_error = QStringLiteral("the picture data ends early");
        return false;
    }
    m_row.resize(m_stride);
    return true;
}

bool BmpRows::readRow(int y, QRgb *out)
{
    const int fileRow = m_bottomUp ? m_size.height() - 1 - y : y;
    if (!m_file.seek(m_pixelOffset + qint64(fileRow) * m_stride) || m_file.read(m_row.data(), m_stride) != m_stride) {
        m_error = QStringLiteral("the picture data ends early");
        return false;
    }
    const auto *p = reinterpret_cast<const uchar *>(m_row.constData());
    const int w = m_size.width();
    switch (m_kind) {
    case Kind::Bgr24:
        for (int x = 0; x < w; ++x, p += 3)
            out[x] = qRgb(p[2], p[1], p[0]);
        break;
    case Kind::Bgrx32:
        for (int x = 0; x < w; ++x, p += 4)
            out[x] = qRgb(p[2], p[1], p[0]);
        break;
    case Kind::Bgra32:
        for (int x = 0; x < w; ++x, p += 4)
            out[x] = PictureLoader::overWhite(qRgba(p[2], p[1], p[0], p[3]));
        break;
    case Kind::Indexed8:
        for (int x = 0; x < w; ++x)
            out[x] = m_palette[p[x]];
        break;
    }
    return true;
}

bool BmpRows::readRows(uchar *first, qsizetype bytesPerLine, int rows)
{
    if (rows <= 0 || rows > m_size.height() - m_nextRow || !m_file.isOpen())
        return false;
    for (int i = 0; i < rows; ++i) {
        if (!readRow(m_nextRow + i, reinterpret_cast<QRgb *>(first + bytesPerLine * i)))
            return false;
    }
    m_nextRow += rows;
    return true;
}
