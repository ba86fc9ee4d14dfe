#pragma once

// A picture read in horizontal bands of rows, for turning large pictures
// into text without holding them whole: a baseline JPEG decodes a band of
// rows by itself (the rows above are skipped, not rebuilt). Other pictures
// come as one band.

#include "pictureloader.h"

#include <QImage>
#include <QString>

class PictureBands
{
public:
    // About this many bytes of decoded rows at a time.
    static constexpr qsizetype kBandBytes = qsizetype(4) << 20;

    explicit PictureBands(const QString &path);

    enum class Band { Ready, End, Failed };

    // The next rows into `band`, which keeps its buffer from one band to the
    // next while nothing else holds it. The first call checks the picture as
    // PictureLoader::load does; after Failed, status() says why.
    Band next(QImage &band);

    const PictureLoader::Result &status() const { return m_status; }
    QSize size() const { return m_size; }

    // True when the file is a JPEG whose frame is progressive (such a frame
    // cannot give a band without decoding everything before it).
    static bool isProgressiveJpeg(const QString &path);

private:
    QString m_path;
    PictureLoader::Result m_status;
    QSize m_size;
    int m_nextRow = 0;
    int m_bandRows = 0;
    bool m_started = false;
    bool m_banded = false;
};
