#pragma once

// Pictures and files the picture-to-text tests make for themselves.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace ArtFixtures {

// A picture of one colour.
QImage filled(int width, int height, QRgb colour);

// Each pixel of row y, column x has grey level (x + y * width) % 256.
QImage greyRamp(int width, int height);

// Writes bytes to a file; false on failure.
bool writeBytes(const QString &path, const QByteArray &bytes);
QByteArray readBytes(const QString &path);

// A BMP file header that claims a picture of the given size and holds no
// pixels: a decoder that trusted it would allocate for the claim.
QByteArray hugeBmpHeader(int width, int height);
// The same for a GIF: screen and image descriptor, then one empty block.
QByteArray hugeGifHeader(int width, int height);
// The same for a baseline JPEG: tables, frame and scan headers, no data.
QByteArray hugeJpegHeader(int width, int height);

// Every character of an ordered grey string that a grey level selects,
// found the slow way, one level at a time.
QByteArray expectedRow(const QImage &picture, int y, const QString &gray, bool utf8);

} // namespace ArtFixtures
