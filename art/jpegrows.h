#pragma once

// The rows of a JPEG file straight from the JPEG library, a band at a time:
// no whole picture in memory and no second pass over the rows above a band.
// The pixels are those the image plug-in decodes (same library, same
// settings), which the tests check. Only colour spaces the plug-in maps
// one to one are taken (grey, YCbCr, RGB); others return false from open().

#include <QImage>
#include <QSize>
#include <QString>

#include <memory>

class JpegRows
{
public:
    explicit JpegRows(const QString &path);
    ~JpegRows();
    JpegRows(const JpegRows &) = delete;
    JpegRows &operator=(const JpegRows &) = delete;

    // True when the library is built in; otherwise open() always fails.
    static bool available();

    // Reads the header. False for a file this class leaves to the plug-in.
    bool open();
    QSize size() const { return m_size; }

    // The next rows (at most `rows`) into `band`, RGB32 or Grayscale8, which
    // keeps its buffer when the size stays. False on a decoding error.
    bool read(QImage &band, int rows);
    int nextRow() const { return m_nextRow; }
    QString error() const { return m_error; }

private:
    struct Decoder;
    std::unique_ptr<Decoder> m_decoder;
    QString m_path;
    QSize m_size;
    int m_nextRow = 0;
    bool m_grey = false;
    QString m_error;
};
