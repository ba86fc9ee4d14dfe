#include "artfixtures.h"

#include "art/graymapping.h"

#include "shell/core/textcodec.h"

#include <QFile>
#include <QtEndian>

namespace ArtFixtures {

QImage filled(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QImage greyRamp(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int g = (x + y * width) % 256;
            image.setPixel(x, y, qRgb(g, g, g));
        }
    }
    return image;
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray hugeBmpHeader(int width, int height)
{
    QByteArray bytes(54, '\0');
    auto put32 = [&](int at, quint32 v) { qToLittleEndian(v, bytes.data() + at); };
    auto put16 = [&](int at, quint16 v) { qToLittleEndian(v, bytes.data() + at); };
    bytes[0] = 'B';
    bytes[1] = 'M';
    const quint64 claimed = quint64(width) * 3 * quint64(height) + 54;
    put32(2, quint32(std::min<quint64>(claimed, 0xFFFFFFFFu)));
    put32(10, 54); // pixels start right after the headers
    put32(14, 40); // BITMAPINFOHEADER
    put32(18, quint32(width));
    put32(22, quint32(height));
    put16(26, 1);
    put16(28, 24);
    return bytes;
}

QByteArray hugeGifHeader(int width, int height)
{
    QByteArray bytes("GIF89a");
    auto put16 = [&](int v) {
        bytes.append(char(v & 0xFF));
        bytes.append(char((v >> 8) & 0xFF));
    };
    put16(width);
    put16(height);
    bytes.append("\0\0\0", 3); // no colour table, background 0, square pixels
    bytes.append(char(0x2C));
    put16(0);
    put16(0);
    put16(width);
    put16(height);
    bytes.append(char(0));
    bytes.append(char(8)); // LZW minimum code size, and no data
    bytes.append("\0;", 2);
    return bytes;
}

QByteArray hugeJpegHeader(int width, int height)
{
    QByteArray bytes("\xFF\xD8", 2);
    auto segment = [&](uchar marker, const QByteArray &body) {
        bytes.append(char(0xFF));
        bytes.append(char(marker));
        const int length = int(body.size()) + 2;
        bytes.append(char(length >> 8));
        bytes.append(char(length & 0xFF));
        bytes.append(body);
    };
    for (char table : {0, 1})
        segment(0xDB, char(table) + QByteArray(64, 1)); // quantisation tables
    QByteArray frame;
    frame.append(char(8));
    frame.append(char(height >> 8)).append(char(height & 0xFF));
    frame.append(char(width >> 8)).append(char(width & 0xFF));
    frame.append(QByteArray("\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01", 10)); // Y 2x2, Cb, Cr
    segment(0xC0, frame);
    segment(0xDA, QByteArray("\x03\x01\x00\x02\x11\x03\x11\x00\x3F\x00", 10));
    bytes.append(QByteArray(16, '\0'));
    return bytes;
}

QByteArray expectedRow(const QImage &picture, int y, const QString &gray, bool utf8)
{
    QString row;
    for (int x = 0; x < picture.width(); ++x) {
        const QRgb c = picture.pixel(x, y);
        row += GrayToChar(gray, ColorToGray(RGB(qRed(c), qGreen(c), qBlue(c))));
    }
    return utf8 ? row.toUtf8() : TextCodec::encode(row);
}

} // namespace ArtFixtures
