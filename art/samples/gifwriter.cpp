#include "gifwriter.h"

#include <QSaveFile>
#include <QHash>
#include <QList>

namespace {

constexpr int kCubeLevels = 6; // a 6×6×6 colour cube when a picture has too many colours

class BitPacker
{
public:
    void put(int code, int bits)
    {
        m_buffer |= quint32(code) << m_count;
        m_count += bits;
        while (m_count >= 8) {
            m_bytes.append(char(m_buffer & 0xFF));
            m_buffer >>= 8;
            m_count -= 8;
        }
    }
    QByteArray finish()
    {
        if (m_count > 0)
            m_bytes.append(char(m_buffer & 0xFF));
        m_buffer = 0;
        m_count = 0;
        return m_bytes;
    }

private:
    QByteArray m_bytes;
    quint32 m_buffer = 0;
    int m_count = 0;
};

// Variable-length LZW as GIF wants it, with 8-bit symbols.
QByteArray lzw(const QByteArray &indices)
{
    constexpr int kMinCodeSize = 8;
    constexpr int kClear = 1 << kMinCodeSize;
    constexpr int kEnd = kClear + 1;
    BitPacker out;
    QHash<quint32, int> table;
    int next = kEnd + 1;
    int bits = kMinCodeSize + 1;
    out.put(kClear, bits);
    if (indices.isEmpty()) {
        out.put(kEnd, bits);
        return out.finish();
    }
    int prefix = quint8(indices[0]);
    for (qsizetype i = 1; i < indices.size(); ++i) {
        const int symbol = quint8(indices[i]);
        const quint32 key = (quint32(prefix) << 8) | quint32(symbol);
        const auto found = table.constFind(key);
        if (found != table.constEnd()) {
            prefix = *found;
            continue;
        }
        out.put(prefix, bits);
        if (next < 4096) {
            table.insert(key, next);
            if (next == (1 << bits) && bits < 12)
                ++bits;
            ++next;
        } else {
            out.put(kClear, bits);
            table.clear();
            next = kEnd + 1;
            bits = kMinCodeSize + 1;
        }
        prefix = symbol;
    }
    out.put(prefix, bits);
    out.put(kEnd, bits);
    return out.finish();
}

void putWord(QByteArray &out, int value)
{
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

} // namespace

QByteArray GifWriter::encode(const QImage &picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width();
    const int h = image.height();

    // The palette: the picture's own colours when they fit, else a colour cube.
    QList<QRgb> palette;
    QHash<QRgb, int> exact;
    bool fits = true;
    bool transparent = false;
    for (int y = 0; y < h && fits; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            if (qAlpha(line[x]) < 128) {
                transparent = true;
                continue;
            }
            const QRgb c = line[x] | 0xFF000000u;
            if (!exact.contains(c)) {
                if (palette.size() == 255) {
                    fits = false;
                    break;
                }
                exact.insert(c, int(palette.size()));
                palette.append(c);
            }
        }
    }
    if (!fits) {
        palette.clear();
        for (int r = 0; r < kCubeLevels; ++r)
            for (int g = 0; g < kCubeLevels; ++g)
                for (int b = 0; b < kCubeLevels; ++b)
                    palette.append(qRgb(r * 51, g * 51, b * 51));
    }
    const int transparentIndex = int(palette.size());
    while (palette.size() < 256)
        palette.append(qRgb(255, 255, 255));

    QByteArray indices;
    indices.reserve(qsizetype(w) * h);
    for (int y = 0; y < h; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb c = line[x];
            int index;
            if (qAlpha(c) < 128) {
                index = transparentIndex;
            } else if (fits) {
                index = exact.value(c | 0xFF000000u);
            } else {
                const auto level = [](int v) { return (v + 25) / 51; };
                index = (level(qRed(c)) * kCubeLevels + level(qGreen(c))) * kCubeLevels + level(qBlue(c));
            }
            indices.append(char(index));
        }
    }

    QByteArray out("GIF89a");
    putWord(out, w);
    putWord(out, h);
    out.append(char(0xF7)); // global colour table of 256 entries, 8-bit colour resolution
    out.append(char(0)); // background colour index
    out.append(char(0)); // square pixels
    for (const QRgb c : palette) {
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    if (transparent) {
        out.append("\x21\xF9\x04", 3);
        out.append(char(0x01)); // transparent colour index follows
        putWord(out, 0);
        out.append(char(transparentIndex));
        out.append(char(0));
    }
    out.append(char(0x2C));
    putWord(out, 0);
    putWord(out, 0);
    putWord(out, w);
    putWord(out, h);
    out.append(char(0)); // no local colour table, not interlaced
    out.append(char(8)); // LZW minimum code size
    const QByteArray data = lzw(indices);
    for (qsizetype i = 0; i < data.size(); i += 255) {
        const qsizetype n = std::min<qsizetype>(255, data.size() - i);
        out.append(char(n));
        out.append(data.mid(i, n));
    }
    out.append(char(0));
    out.append(char(0x3B));
    return out;
}

bool GifWriter::write(const QImage &picture, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = encode(picture);
    return file.write(bytes) == bytes.size() && file.commit();
}
