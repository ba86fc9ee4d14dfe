#pragma once

// Reads picture files (BMP, JPEG, GIF, ICO and whatever else Qt decodes)
// without trusting them: the size in the header is checked before anything
// is decoded, and the decoder may not allocate more than that size needs.

#include <QImage>
#include <QString>

class QImageReader;

class PictureLoader
{
public:
    static constexpr int kMaxSide = 16384;
    static constexpr qint64 kMaxPixels = 64'000'000;

    enum class Problem { None, Missing, Unreadable, TooLarge };

    struct Result
    {
        // Opaque: RGB32, or Grayscale8 for grey pictures; transparent pixels
        // read as white.
        QImage image;
        Problem problem = Problem::None;
        QSize claimedSize; // from the header, when it could be read
        QString detail; // what went wrong, in plain words (English)

        bool ok() const { return problem == Problem::None; }
    };

    static Result load(const QString &path);

    // The checks before decoding: `reader` is pointed at `path` and limited;
    // the result tells whether to go on (its image stays null).
    static Result inspect(QImageReader &reader, const QString &path);
    // Decodes what `reader` is set up for into `into` (reusing its buffer
    // when size and format agree), then flattens it.
    static Result read(QImageReader &reader, QImage &into);

    // A picture the converter reads row by row: opaque, RGB32 or Grayscale8.
    static QImage flatten(const QImage &picture);

    static bool acceptableSize(QSize size);

private:
    static void tooLarge(Result &result, QSize size);
};
