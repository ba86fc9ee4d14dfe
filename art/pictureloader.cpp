#include "pictureloader.h"

#include "decodermessages.h"
#include "picturebands.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

// Mebibytes an image plug-in may allocate for one picture: the largest it
// may decode whole at eight bytes a pixel (a PNG of 16 bits a channel), and a
// little room for its own buffers. (A limit for every reader of the process,
// pictures inside others included, such as a PNG inside an icon.)
constexpr int kAllocationLimitMiB = int(PictureLoader::kMaxWholePixels * 8 / (1024 * 1024)) + 8;

// The size a BMP file claims in its header; invalid for anything else.
QSize bmpClaim(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QSize();
    const QByteArray head = file.read(26);
    if (head.size() < 26 || !head.startsWith("BM"))
        return QSize();
    // A negative height means top-down rows. The most negative value has no
    // positive int; it is absurd anyway, so it reads as the largest.
    const auto side = [](qint32 v) {
        return int(std::min<qint64>(std::abs(qint64(v)), std::numeric_limits<int>::max()));
    };
    return QSize(side(qFromLittleEndian<qint32>(head.constData() + 18)),
                 side(qFromLittleEndian<qint32>(head.constData() + 22)));
}

// The logical screen of a GIF file: the plug-in reports the size of the
// first frame but decodes onto the whole screen.
QSize gifScreen(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QSize();
    const QByteArray head = file.read(10);
    if (head.size() < 10 || !head.startsWith("GIF"))
        return QSize();
    return QSize(qFromLittleEndian<quint16>(head.constData() + 6), qFromLittleEndian<quint16>(head.constData() + 8));
}

} // namespace

QImage PictureLoader::flatten(QImage picture)
{
    if (picture.isNull())
        return picture;
    switch (picture.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_Grayscale8:
        return picture;
    default:
        break;
    }
    // Converted in place where the new format takes no more room a pixel
    // (from 16 bits a channel, say), so the picture is never held twice.
    if (!picture.hasAlphaChannel()) {
        const auto target = picture.allGray() && picture.depth() <= 8 ? QImage::Format_Grayscale8 : QImage::Format_RGB32;
        return std::move(picture).convertToFormat(target);
    }
    // Onto white by hand: no painter, so no GUI application is needed.
    if (picture.depth() == 64) {
        // Sixteen bits a channel: laid onto white where it stands, then
        // narrowed in place as an opaque picture is.
        QImage wide = std::move(picture).convertToFormat(QImage::Format_RGBA64);
        for (int y = 0; y < wide.height(); ++y) {
            auto *line = reinterpret_cast<QRgba64 *>(wide.scanLine(y));
            for (int x = 0; x < wide.width(); ++x) {
                const quint64 a = line[x].alpha();
                const auto over = [a](quint64 v) { return quint16((v * a + 65535 * (65535 - a) + 32767) / 65535); };
                line[x] = QRgba64::fromRgba64(over(line[x].red()), over(line[x].green()), over(line[x].blue()), 65535);
            }
        }
        wide.reinterpretAsFormat(QImage::Format_RGBX64);
        return std::move(wide).convertToFormat(QImage::Format_RGB32);
    }
    QImage opaque = std::move(picture).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < opaque.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(opaque.scanLine(y));
        for (int x = 0; x < opaque.width(); ++x)
            line[x] = overWhite(line[x]);
    }
    opaque.reinterpretAsFormat(QImage::Format_RGB32);
    return opaque;
}

PictureLoader::Result PictureLoader::inspect(QImageReader &reader, const QString &path)
{
    Result result;
    const QFileInfo info(path);
    if (!info.exists()) {
        result.problem = Problem::Missing;
        result.detail = QStringLiteral("no such file");
        return result;
    }
    if (!info.isFile()) {
        // A directory, a device, a FIFO: reading one would fail, never end
        // or wait for a writer.
        result.problem = Problem::NotAFile;
        result.detail = info.isDir() ? QStringLiteral("is a directory") : QStringLiteral("not a regular file");
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.problem = Problem::Unreadable;
        result.detail = info.isReadable() ? QStringLiteral("cannot open the file (%1)").arg(file.errorString())
                                          : QStringLiteral("permission denied");
        return result;
    }
    file.close();
    // The suffix first, then the content: asking every plug-in about the
    // content would load every plug-in.
    reader.setFileName(path);
    reader.setAllocationLimit(kAllocationLimitMiB);
    // The header is read here already: what a decoding library says of a
    // damaged one is caught as it is while decoding, never printed.
    DecoderMessages headerLines;
    if (!reader.canRead()) {
        result.problem = Problem::Unreadable;
        result.detail = QStringLiteral("not a picture this program can read");
        return result;
    }
    QSize claimed = reader.size();
    const QStringList caught = headerLines.take();
    if (!claimed.isValid() && !caught.isEmpty()) {
        result.problem = Problem::Unreadable;
        result.detail = QStringLiteral("cannot decode the picture (%1)").arg(caught.last());
        return result;
    }
    bool bmpHeader = false;
    if (!claimed.isValid()) {
        claimed = bmpClaim(path); // the BMP reader gives no size for a header it dislikes
        bmpHeader = claimed.isValid();
    }
    if (reader.format() == "gif")
        claimed = claimed.expandedTo(gifScreen(path));
    result.claimedSize = claimed;
    // Only JPEG and BMP are read band by band; anything else is decoded
    // whole, and its message says that limit.
    const QByteArray format = reader.format();
    const bool inBands = bmpHeader || format == "jpeg" || format == "jpg" || format == "bmp";
    if (claimed.isValid() && !acceptableSize(claimed))
        tooLarge(result, claimed, inBands ? kMaxPixels : kMaxWholePixels);
    return result;
}

void PictureLoader::tooLarge(Result &result, QSize size, qint64 maxPixels)
{
    result.problem = Problem::TooLarge;
    result.claimedSize = size;
    result.pixelLimit = maxPixels;
    result.detail = QStringLiteral("picture too large (%1 x %2 pixels; at most %3 pixels a side and %4 megapixels%5)")
                        .arg(size.width())
                        .arg(size.height())
                        .arg(kMaxSide)
                        .arg(maxPixels / 1'000'000)
                        .arg(maxPixels == kMaxPixels ? QString()
                                                     : QStringLiteral(" for a picture that is not a JPEG or plain BMP"));
}

PictureLoader::Result PictureLoader::read(QImageReader &reader, QImage &into, QSize claimed)
{
    Result result;
    const auto wholeOk = [](QSize size) {
        return acceptableSize(size) && qint64(size.width()) * size.height() <= kMaxWholePixels;
    };
    if (claimed.isValid() && !wholeOk(claimed)) {
        into = QImage();
        tooLarge(result, claimed, kMaxWholePixels);
        return result;
    }
    DecoderMessages libraryLines;
    const bool decoded = reader.read(&into) && !into.isNull();
    const QStringList caught = libraryLines.take();
    if (!decoded) {
        into = QImage();
        result.problem = Problem::Unreadable;
        // The library knows best what is wrong with the file.
        result.detail = QStringLiteral("cannot decode the picture (%1)")
                            .arg(caught.isEmpty() ? reader.errorString() : caught.last());
        return result;
    }
    if (!wholeOk(into.size())) {
        tooLarge(result, into.size(), kMaxWholePixels);
        into = QImage();
        return result;
    }
    into = flatten(std::move(into));
    return result;
}

PictureLoader::Result PictureLoader::load(const QString &path)
{
    // The same way every reader takes, band after band, here put together.
    PictureBands bands(path);
    QImage band;
    Result result;
    int row = 0;
    for (;;) {
        const PictureBands::Band got = bands.next(band);
        if (got == PictureBands::Band::Failed) {
            result = bands.status();
            result.image = QImage();
            return result;
        }
        if (got == PictureBands::Band::End)
            break;
        if (result.image.isNull()) {
            if (band.height() == bands.size().height()) {
                result.image = band; // one band is the whole picture
                row = band.height();
                continue;
            }
            result.image = QImage(bands.size(), band.format());
        }
        for (int y = 0; y < band.height(); ++y)
            std::memcpy(result.image.scanLine(row + y), band.constScanLine(y), size_t(band.bytesPerLine()));
        row += band.height();
    }
    result.claimedSize = bands.status().claimedSize.isValid() ? bands.status().claimedSize : bands.size();
    return result;
}
