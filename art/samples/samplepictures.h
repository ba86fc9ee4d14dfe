#pragma once

// The pictures the resource lists of the picture panel start with, drawn in
// code: three directories, each with a BMP, a JPEG, a GIF and an ICO file.

#include <QImage>
#include <QList>
#include <QString>

class SamplePictures
{
public:
    struct Sample
    {
        QString directory; // below the program directory, with slashes
        QString fileName;
        QImage image; // transparent where the format keeps transparency
    };

    static QList<Sample> all();

    // Writes every sample below `programDir`; false when any file failed.
    static bool writeAll(const QString &programDir);
};
