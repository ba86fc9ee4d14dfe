#pragma once

// The 256 grey levels mapped to the encoded bytes of their characters, built
// once per conversion so that converting a row is one table look-up per pixel.

#include <QByteArray>
#include <QImage>
#include <QStringView>

#include <array>

class GrayTable
{
public:
    enum class Encoding { Gb18030, Utf8 };

    GrayTable(QStringView grey, Encoding encoding);

    bool isEmpty() const { return m_empty; }

    // Bytes one row of `picture` takes, without the line end.
    qsizetype rowBytes(int width) const { return qsizetype(width) * m_maxBytes; }

    // Writes the characters of row `y` to `out` (room for rowBytes) and
    // returns the number of bytes written. The picture is in one of the
    // formats `supports` accepts.
    qsizetype convertRow(const QImage &picture, int y, char *out) const;

    // The same for a row of `width` grey levels, one byte a pixel. (This and
    // the constructor need no GUI library; the QImage functions live in
    // graytableimage.cpp.)
    qsizetype convertLevels(const uchar *levels, int width, char *out) const;

    // The grey levels of row `y` of `picture` (a supported format), one
    // byte a pixel: a picture of levels converts exactly as its original.
    static void grayLevels(const QImage &picture, int y, uchar *out);

    // The grey levels of `width` pixels 0xffRRGGBB.
    static void grayLevels(const quint32 *rgb, int width, uchar *out);

    // Formats read directly (no transparency); anything else is to be
    // flattened to QImage::Format_RGB32 first.
    static bool supports(QImage::Format format);

private:
    struct Entry
    {
        char bytes[4];
        unsigned char length;
    };

    std::array<Entry, 256> m_entries{};
    std::array<char, 256> m_single{}; // the first byte of each entry
    int m_maxBytes = 1;
    bool m_singleByte = true;
    bool m_empty = true;
};
