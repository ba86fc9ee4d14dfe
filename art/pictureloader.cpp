#include "pictureloader.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

// Mebibytes the decoder may allocate: the largest picture allowed at four
// bytes a pixel, and a little room for the decoder's own buffers.
constexpr int kAllocationLimitMiB = int(PictureLoader::kMaxPixels * 4 / (1024 * 1024)) + 8;

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

} // namespace

bool PictureLoader::acceptableSize(QSize size)
{
    return size.width() <= kMaxSide && size.height() <= kMaxSide
        && qint64(size.width()) * size.height() <= kMaxPixels;
}

QImage PictureLoader::flatten(const QImage &picture)
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
    if (!picture.hasAlphaChannel())
        return picture.convertToFormat(picture.allGray() && picture.depth() <= 8 ? QImage::Format_Grayscale8
                                                                                  : QImage::Format_RGB32);
    // Onto white by hand: no painter, so no GUI application is needed.
    QImage opaque = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < opaque.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(opaque.scanLine(y));
        for (int x = 0; x < opaque.width(); ++x) {
            const QRgb c = line[x];
            const int a = qAlpha(c);
            const auto over = [a](int v) { return (v * a + 255 * (255 - a) + 127) / 255; };
            line[x] = qRgb(over(qRed(c)), over(qGreen(c)), over(qBlue(c)));
        }
    }
    opaque.reinterpretAsFormat(QImage::Format_RGB32);
    return opaque;
}

PictureLoader::Result PictureLoader::inspect(QImageReader &reader, const QString &path)
{
    Result result;
    const QFileInfo info(path);
    if (!info.isFile()) {
        result.problem = Problem::Missing;
        result.detail = QStringLiteral("no such file");
        return result;
    }
    // The suffix first, then the content: asking every plug-in about the
    // content would load every plug-in.
    reader.setFileName(path);
    reader.setAllocationLimit(kAllocationLimitMiB);
    if (!reader.canRead()) {
        result.problem = Problem::Unreadable;
        result.detail = QStringLiteral("not a picture this program can read");
        return result;
    }
    QSize claimed = reader.size();
    if (!claimed.isValid())
        claimed = bmpClaim(path); // the BMP reader gives no size for a header it dislikes
    result.claimedSize = claimed;
    if (claimed.isValid() && !acceptableSize(claimed))
        tooLarge(result, claimed);
    return result;
}

void PictureLoader::tooLarge(Result &result, QSize size)
{
    result.problem = Problem::TooLarge;
    result.claimedSize = size;
    result.detail = QStringLiteral("picture too large (%1 x %2 pixels; at most %3 pixels a side and %4 megapixels)")
                        .arg(size.width())
                        .arg(size.height())
                        .arg(kMaxSide)
                        .arg(kMaxPixels / 1'000'000);
}

PictureLoader::Result PictureLoader::read(QImageReader &reader, QImage &into)
{
    Result result;
    if (!reader.read(&into) || into.isNull()) {
        into = QImage();
        result.problem = Problem::Unreadable;
        result.detail = QStringLiteral("cannot decode the picture (%1)").arg(reader.errorString());
        return result;
    }
    if (!acceptableSize(into.size())) {
        tooLarge(result, into.size());
        into = QImage();
        return result;
    }
    into = flatten(into);
    return result;
}

PictureLoader::Result PictureLoader::load(const QString &path)
{
    QImageReader reader;
    Result result = inspect(reader, path);
    if (!result.ok())
        return result;
    const QSize claimed = result.claimedSize;
    QImage image;
    result = read(reader, image);
    result.image = image;
    if (!result.claimedSize.isValid())
        result.claimedSize = claimed;
    return result;
}
