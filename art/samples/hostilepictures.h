#pragma once

// Pictures inside the size limits that are built to cost a decoder much:
// large pictures in small files. The memory script and the benchmarks make
// them here instead of shipping them.

#include <QString>
#include <QStringList>

namespace HostilePictures {

enum class JpegKind {
    Cmyk, // baseline, four components, Adobe marker
    ProgressiveCmyk,
    Progressive444, // YCbCr without subsampling, progressive
};

// A w × h JPEG of smooth gradients with a light pattern; `noise` adds
// per-pixel noise, which makes the file (and its decoding) heavy.
bool writeJpeg(const QString &path, int width, int height, JpegKind kind, int quality, bool noise = false);

// A 32-bit BMP with an alpha channel (version 5 header, bit fields).
bool writeAlphaBmp(const QString &path, int width, int height);

// A 43-byte GIF: a huge logical screen holding one 1 × 1 frame.
bool writeTinyFrameGif(const QString &path, int screenWidth, int screenHeight);

// The four pictures of the memory check, 16384 × 3906 each, written into
// `dir`; returns their paths (empty on failure).
QStringList writeMemorySet(const QString &dir);

} // namespace HostilePictures
