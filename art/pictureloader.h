#pragma once

// Reads picture files (BMP, JPEG, GIF, ICO and whatever else Qt decodes)
// without trusting them: the size in the header is checked before anything
// is decoded, and the decoder may not allocate more than that size needs.
//
// JPEG and plain BMP pictures are read a band at a time (PictureBands) and
// may have up to kMaxPixels. Every other picture is decoded whole by an image
// plug-in, at four bytes a pixel and more, so it may have up to
// kMaxWholePixels: that keeps the memory of any accepted picture within its
// pixel count (the one byte a pixel of its grey levels) and 64 MiB.

#include <QImage>
#include <QString>

class QImageReader;

class PictureLoader
{
public:
    static constexpr int kMaxSide = 16384;
    static constexpr qint64 kMaxPixels = 64'000'000;
    static constexpr qint64 kMaxWholePixels = 6'000'000;

    enum class Problem { None, Missing, Unreadable, TooLarge, NotAFile };

    struct Result
    {
        // Opaque: RGB32, or Grayscale8 for grey pictures; transparent pixels
        // read as white.
        QImage image;
        Problem problem = Problem::None;
        QSize claimedSize; // from the header, when it could be read
        qint64 pixelLimit = 0; // with TooLarge: the most pixels such a picture may have
        QString detail; // what went wrong, in plain words (English)

        bool ok() const { return problem == Problem::None; }
    };

    static Result load(const QString &path);

    // The checks before decoding: `reader` is pointed at `path` and limited;
    // the result tells whether to go on (its image stays null).
    static Result inspect(QImageReader &reader, const QString &path);
    // Decodes what `reader` is set up for into `into` (reusing its buffer
    // when size and format agree), then flattens it. For pictures decoded
    // whole: more than kMaxWholePixels is refused, before decoding when the
    // header tells the size (`claimed`, as inspect() found it).
    static Result read(QImageReader &reader, QImage &into, QSize claimed);

    // A picture the converter reads row by row: opaque, RGB32 or Grayscale8.
    // Converted in place when the picture is handed over (std::move).
    static QImage flatten(QImage picture);
    // A colour with alpha as it shows on white, opaque.
    static QRgb overWhite(QRgb colour)
    {
        const int a = qAlpha(colour);
        const auto over = [a](int v) { return (v * a + 255 * (255 - a) + 127) / 255; };
        return qRgb(over(qRed(colour)), over(qGreen(colour)), over(qBlue(colour)));
    }

    static bool acceptableSize(QSize size)
    {
        return size.width() <= kMaxSide && size.height() <= kMaxSide
            && qint64(size.width()) * size.height() <= kMaxPixels;
    }

private:
    static void tooLarge(Result &result, QSize size, qint64 maxPixels = kMaxPixels);
};
