#pragma once

// A small GIF89a writer: Qt reads GIF but does not write it. One frame,
// one global palette of at most 256 colours, optional transparency
// (pixels with alpha below one half).

#include <QByteArray>
#include <QImage>
#include <QString>

class GifWriter
{
public:
    static QByteArray encode(const QImage &picture);
    static bool write(const QImage &picture, const QString &path);
};
