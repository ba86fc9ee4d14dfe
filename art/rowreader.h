#pragma once

// A picture file read from the top, a few rows at a time, by a decoder of
// the project's own (the image plug-ins only read whole pictures).

#include <QImage>
#include <QSize>
#include <QString>

class RowReader
{
public:
    virtual ~RowReader() = default;

    // Reads the header. False for a file the reader leaves to the image
    // plug-in, with error() empty, or for one that cannot be read, with
    // error() saying why.
    virtual bool open() = 0;
    virtual QSize size() const = 0;

    // The next rows (at most `rows`) into `band`, RGB32 or Grayscale8 and
    // opaque, which keeps its buffer when the size stays. False on a
    // decoding error.
    virtual bool read(QImage &band, int rows) = 0;
    virtual QString error() const = 0;
};
