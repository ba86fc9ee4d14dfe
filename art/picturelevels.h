#pragma once

// A picture file read once, band by band, into what the converter needs:
// its grey levels, one byte a pixel (a Grayscale8 picture that converts to
// exactly the text the picture itself gives), and optionally a small colour
// preview, shrunk by averaging as the bands go by. The whole picture in
// colour is never held, so memory stays near its pixel count.

#include "picturebands.h"

#include <QImage>
#include <QSize>

namespace PictureLevels {

struct Result
{
    PictureBands::Band outcome = PictureBands::Band::End; // End: read whole; Failed: see status
    PictureLoader::Result status;
    QImage levels;
    QImage preview; // the picture fitted into the preview box, never enlarged
};

// Every band of `bands` into levels. With an empty `previewBox`, no preview.
Result read(PictureBands &bands, QSize previewBox = QSize());

} // namespace PictureLevels
