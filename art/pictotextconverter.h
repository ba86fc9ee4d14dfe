#pragma once

// Turns a picture into character art: one character per pixel, one line per
// row. Rows are streamed to the output as they are made, so memory beyond
// the picture stays at one row.

#include "graytable.h"
#include "levelstotext.h"
#include "picturebands.h"

#include "shell/core/savefile.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>

class PixelSurface;
class QIODevice;

class PicToTextConverter
{
public:
    enum class Outcome {
        Done,
        Stopped, // the user confirmed the stop question; the rows so far are kept
        Busy, // a conversion is running already (we were called from its yield)
        NoGray, // the grey string is empty
        WriteFailed, // the file could not be opened or written; it is as it was
        ReadFailed, // the picture broke off while its bands were read
        BadSize, // the size asked for is out of bounds (LevelsToText::layout)
    };

    // Hands out the picture band by band (see PictureBands); a single
    // picture is one band.
    using BandSource = std::function<PictureBands::Band(QImage &band)>;

    struct Format
    {
        GrayTable::Encoding encoding = GrayTable::Encoding::Gb18030;
        QByteArray lineEnd = QByteArrayLiteral("\r\n");
        // The text's size, invert, dithering, braille (LevelsToText).
        PicToTextOptions options;
        // The whole picture's size, needed with options when the bands are
        // several; a single band is the whole picture.
        QSize picture;
    };

    // Empty lines that separate earlier text from a picture added to it.
    static constexpr int kAddModeSeparator = 51;

    // The stop flag: the stop button sets it; the converter asks whether to
    // stop before the next row and clears it when the answer is No.
    bool StopPicToText = false;

    // Runs once before every row, so that the window can repaint and the
    // stop button can act.
    void setYield(std::function<void()> hook) { m_yield = std::move(hook); }

    // Asked when the stop flag is found set: true stops the conversion.
    // Without one, a set flag stops at once.
    void setConfirmStop(std::function<bool()> hook) { m_confirmStop = std::move(hook); }

    bool isRunning() const { return m_running; }

    // The rows of the picture written to `out` as they are made.
    Outcome convert(const QImage &picture, QStringView grey, QIODevice &out, const Format &format);
    Outcome convert(const BandSource &bands, QStringView grey, QIODevice &out, const Format &format);

    // The generators' temporary-file way: `path` written anew, or in add mode
    // the old text, 51 empty lines and the new picture. Written through
    // SaveFile, so a failure leaves an old regular file untouched; a FIFO or
    // device is written in place (in add mode without earlier text); a
    // FIFO nobody reads fails at once unless `special` says to wait.
    // `options` and `picture` as in Format.
    Outcome PicToText(const QImage &picture, const QString &path, QStringView grey, bool addMode,
                      const PicToTextOptions &options = {});
    Outcome PicToText(const PixelSurface &picture, const QString &path, QStringView grey, bool addMode,
                      const PicToTextOptions &options = {});
    Outcome PicToText(const BandSource &bands, const QString &path, QStringView grey, bool addMode,
                      SaveFile::Special special = SaveFile::Special::WriteInPlace,
                      const PicToTextOptions &options = {}, QSize picture = {});

    static BandSource singleBand(const QImage &picture);

private:
    bool askToStop();
    // A row is about to be made: the yield and the stop question. False: stop.
    bool carryOn();
    Outcome convertShaped(const BandSource &bands, QStringView grey, QIODevice &out, const Format &format);

    std::function<void()> m_yield;
    std::function<bool()> m_confirmStop;
    bool m_running = false;
};
