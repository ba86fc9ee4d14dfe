#pragma once

// A picture read in horizontal bands of rows, for turning large pictures
// into text without holding them whole. A JPEG comes straight from the JPEG
// library where it is built in, decoded once from top to bottom, and a
// plain BMP straight from its file. Other pictures come as one band.

#include "pictureloader.h"
#include "rowreader.h"

#include <QImage>
#include <QString>

#include <memory>

class PictureBands
{
public:
    // About this many bytes of decoded rows at a time, so a band stays in
    // cache while it is turned into grey levels.
    static constexpr qsizetype kBandBytes = qsizetype(256) << 10;

    explicit PictureBands(const QString &path);
    ~PictureBands();

    enum class Band { Ready, End, Failed };

    // The next rows into `band`, which keeps its buffer from one band to the
    // next while nothing else holds it. The first call checks the picture as
    // PictureLoader::load does; after Failed, status() says why.
    Band next(QImage &band);

    const PictureLoader::Result &status() const { return m_status; }
    // True once the first band came straight from the file rather than from
    // an image plug-in decoding the whole picture.
    bool streamed() const { return m_way == Way::Direct; }
    QSize size() const { return m_size; }

private:
    enum class Way { Whole, Direct };

    Band start(QImage &band);
    Band fail(const QString &detail);

    QString m_path;
    PictureLoader::Result m_status;
    QSize m_size;
    int m_nextRow = 0;
    int m_bandRows = 0;
    bool m_started = false;
    Way m_way = Way::Whole;
    std::unique_ptr<RowReader> m_direct;
};
