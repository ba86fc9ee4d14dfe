#pragma once

// A picture file read from the top, a few rows at a time, by a decoder of
// the project's own (the image plug-ins only read whole pictures). The
// decoders write into plain memory, so that a program without the GUI
// library can use them; read() hands the rows out as a QImage.

#include <QImage>
#include <QSize>
#include <QString>

#include <algorithm>

class RowReader
{
public:
    virtual ~RowReader() = default;

    // Reads the header. False for a file the reader leaves to the image
    // plug-in, with error() empty, or for one that cannot be read, with
    // error() saying why.
    virtual bool open() = 0;
    virtual QSize size() const = 0;

    // After open(): one byte a pixel (grey) or four (0xffRRGGBB, opaque).
    virtual bool grey() const = 0;
    // The next `rows` rows (no more than are left) into memory whose rows
    // start `bytesPerLine` apart. False on a decoding error.
    virtual bool readRows(uchar *first, qsizetype bytesPerLine, int rows) = 0;
    virtual QString error() const = 0;

    int rowsRead() const { return m_nextRow; }

    // The next rows (at most `rows`) into `band`, RGB32 or Grayscale8 and
    // opaque, which keeps its buffer when the size stays. False on a
    // decoding error.
    bool read(QImage &band, int rows)
    {
        rows = std::min(rows, size().height() - m_nextRow);
        if (rows <= 0)
            return false;
        const QImage::Format format = grey() ? QImage::Format_Grayscale8 : QImage::Format_RGB32;
        if (band.size() != QSize(size().width(), rows) || band.format() != format)
            band = QImage(size().width(), rows, format);
        return !band.isNull() && readRows(band.bits(), band.bytesPerLine(), rows);
    }

protected:
    int m_nextRow = 0;
};
