#pragma once

// The rows of an uncompressed BMP file read straight from the file, a band
// at a time, so a large one is never whole in memory. Taken: 24-bit, 32-bit
// (with an alpha channel only through bit fields, blended onto white as
// PictureLoader::flatten does) and 8-bit with a full palette of 256 colours;
// open() leaves every other kind to the image plug-in. The pixels are those
// the plug-in decodes, which the tests check.

#include "rowreader.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QRgb>

class BmpRows : public RowReader
{
public:
    explicit BmpRows(const QString &path);

    bool open() override;
    QSize size() const override { return m_size; }
    bool grey() const override { return false; }
    bool readRows(uchar *first, qsizetype bytesPerLine, int rows) override;
    QString error() const override { return m_error; }

private:
    enum class Kind { Bgr24, Bgrx32, Bgra32, Indexed8 };

    bool readRow(int y, QRgb *out);

    QFile m_file;
    QSize m_size;
    Kind m_kind = Kind::Bgr24;
    bool m_bottomUp = true;
    qint64 m_pixelOffset = 0;
    qint64 m_stride = 0;
    QList<QRgb> m_palette;
    QByteArray m_row;
    QString m_error;
};
