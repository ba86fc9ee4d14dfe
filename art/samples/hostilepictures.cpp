#include "hostilepictures.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

namespace HostilePictures {

namespace {

struct JpegError
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

extern "C" void onCompressError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegError *>(info->err)->jump, 1);
}

unsigned char patternAt(int x, int y, int channel, bool noise, unsigned &seed)
{
    int v = (x * (channel + 1) / 64 + y / (16 + channel * 8)) % 256;
    if (((x / 97) + (y / 89)) % 5 == channel)
        v = 255 - v;
    if (noise) {
        seed = seed * 1664525u + 1013904223u;
        v += int(seed >> 27) - 16;
    }
    return static_cast<unsigned char>(std::clamp(v, 0, 255));
}

// The compression in a plain function: the library's errors jump here.
bool compress(jpeg_compress_struct *info, JpegError *err, std::FILE *file, JpegKind kind, int quality, bool noise,
              unsigned char *row)
{
    if (setjmp(err->jump))
        return false;
    jpeg_stdio_dest(info, file);
    const bool cmyk = kind != JpegKind::Progressive444;
    info->input_components = cmyk ? 4 : 3;
    info->in_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(info);
    jpeg_set_quality(info, quality, TRUE);
    for (int c = 0; c < info->num_components; ++c) {
        info->comp_info[c].h_samp_factor = 1;
        info->comp_info[c].v_samp_factor = 1;
    }
    if (kind != JpegKind::Cmyk)
        jpeg_simple_progression(info);
    jpeg_start_compress(info, TRUE);
    unsigned seed = 12345;
    const int channels = info->input_components;
    while (info->next_scanline < info->image_height) {
        const int y = int(info->next_scanline);
        for (int x = 0; x < int(info->image_width); ++x)
            for (int c = 0; c < channels; ++c)
                row[x * channels + c] = patternAt(x, y, c, noise, seed);
        JSAMPROW rows[1] = {row};
        jpeg_write_scanlines(info, rows, 1);
    }
    jpeg_finish_compress(info);
    return true;
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

bool writeJpeg(const QString &path, int width, int height, JpegKind kind, int quality, bool noise)
{
    std::FILE *file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!file)
        return false;
    jpeg_compress_struct info{};
    JpegError err{};
    info.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onCompressError;
    jpeg_create_compress(&info);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    std::vector<unsigned char> row(std::size_t(width) * 4);
    const bool ok = compress(&info, &err, file, kind, quality, noise, row.data());
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0 && ok;
}

bool writeAlphaBmp(const QString &path, int width, int height)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    constexpr int kFileHeader = 14;
    constexpr int kInfoHeader = 124; // version 5
    const qint64 rowBytes = qint64(width) * 4;
    QByteArray head(kFileHeader + kInfoHeader, '\0');
    char *h = head.data();
    h[0] = 'B';
    h[1] = 'M';
    qToLittleEndian<quint32>(quint32(head.size() + rowBytes * height), h + 2);
    qToLittleEndian<quint32>(quint32(head.size()), h + 10);
    char *i = h + kFileHeader;
    qToLittleEndian<quint32>(kInfoHeader, i);
    qToLittleEndian<qint32>(width, i + 4);
    qToLittleEndian<qint32>(height, i + 8); // bottom-up
    qToLittleEndian<quint16>(1, i + 12);
    qToLittleEndian<quint16>(32, i + 14);
    qToLittleEndian<quint32>(3, i + 16); // bit fields
    qToLittleEndian<quint32>(quint32(rowBytes * height), i + 20);
    qToLittleEndian<quint32>(0x00FF0000, i + 40);
    qToLittleEndian<quint32>(0x0000FF00, i + 44);
    qToLittleEndian<quint32>(0x000000FF, i + 48);
    qToLittleEndian<quint32>(0xFF000000, i + 52);
    qToLittleEndian<quint32>(0x73524742, i + 56); // 'sRGB'
    if (file.write(head) != head.size())
        return false;
    QByteArray row(rowBytes, Qt::Uninitialized);
    unsigned seed = 1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uchar *p = reinterpret_cast<uchar *>(row.data()) + x * 4;
            p[0] = patternAt(x, y, 2, false, seed);
            p[1] = patternAt(x, y, 1, false, seed);
            p[2] = patternAt(x, y, 0, false, seed);
            p[3] = uchar((x + y) % 256);
        }
        if (file.write(row) != row.size())
            return false;
    }
    return file.flush();
}

bool writeTinyFrameGif(const QString &path, int screenWidth, int screenHeight)
{
    QByteArray gif("GIF89a");
    const auto word = [&gif](int v) {
        gif += char(v & 0xFF);
        gif += char((v >> 8) & 0xFF);
    };
    word(screenWidth);
    word(screenHeight);
    gif += char(0x80); // a global colour table of two entries
    gif += char(0); // background colour index
    gif += char(0);
    gif += QByteArray::fromHex("000000ffffff");
    gif += QByteArray::fromHex("21f9040000000000"); // graphic control, nothing transparent
    gif += char(0x2C);
    word(0);
    word(0);
    word(1);
    word(1);
    gif += char(0);
    // Minimum code size 2: clear (4), index 0, end (5) in three-bit codes.
    gif += QByteArray::fromHex("0202440100");
    gif += char(0x3B);
    return writeAll(path, gif);
}

QStringList writeMemorySet(const QString &dir)
{
    constexpr int kWidth = 16384;
    constexpr int kHeight = 3906;
    const QStringList paths = {dir + QStringLiteral("/progressive-cmyk.jpg"),
                               dir + QStringLiteral("/progressive-444.jpg"), dir + QStringLiteral("/alpha.bmp"),
                               dir + QStringLiteral("/tiny-frame.gif")};
    const bool ok = writeJpeg(paths[0], kWidth, kHeight, JpegKind::ProgressiveCmyk, 75)
                    && writeJpeg(paths[1], kWidth, kHeight, JpegKind::Progressive444, 75)
                    && writeAlphaBmp(paths[2], kWidth, kHeight) && writeTinyFrameGif(paths[3], kWidth, kHeight);
    return ok ? paths : QStringList();
}

} // namespace HostilePictures
