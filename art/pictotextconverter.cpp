#include "pictotextconverter.h"

#include "pictureloader.h"

#include "shell/core/pixelsurface.h"
#include "shell/core/savefile.h"

#include <QFile>

#include <cstring>
#include <memory>
#include <vector>

namespace {

// Marks a conversion as running for as long as it lasts, however it ends.
class RunningGuard
{
public:
    explicit RunningGuard(bool &flag)
        : m_flag(flag)
    {
        m_flag = true;
    }
    ~RunningGuard() { m_flag = false; }
    RunningGuard(const RunningGuard &) = delete;
    RunningGuard &operator=(const RunningGuard &) = delete;

private:
    bool &m_flag;
};

bool copyInto(const QString &path, QIODevice &out)
{
    QFile old(path);
    // A FIFO or device has no earlier text to keep (and reading one would
    // wait or never end).
    if (!old.exists() || SaveFile::isSpecialFile(path))
        return true;
    if (!old.open(QIODevice::ReadOnly))
        return false;
    QByteArray chunk(1 << 16, Qt::Uninitialized);
    for (;;) {
        const qint64 got = old.read(chunk.data(), chunk.size());
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        if (out.write(chunk.constData(), got) != got)
            return false;
    }
}

} // namespace

bool PicToTextConverter::askToStop()
{
    if (!m_confirmStop || m_confirmStop())
        return true;
    StopPicToText = false;
    return false;
}

bool PicToTextConverter::carryOn()
{
    if (m_yield)
        m_yield();
    return !(StopPicToText && askToStop());
}

PicToTextConverter::BandSource PicToTextConverter::singleBand(const QImage &picture)
{
    return [picture, given = false](QImage &band) mutable {
        if (given)
            return PictureBands::Band::End;
        given = true;
        band = picture;
        return PictureBands::Band::Ready;
    };
}

PicToTextConverter::Outcome PicToTextConverter::convert(const QImage &picture, QStringView grey, QIODevice &out,
                                                        const Format &format)
{
    return convert(singleBand(picture), grey, out, format);
}

PicToTextConverter::Outcome PicToTextConverter::convert(const BandSource &bands, QStringView grey, QIODevice &out,
                                                        const Format &format)
{
    if (m_running)
        return Outcome::Busy;
    RunningGuard running(m_running);
    if (!format.options.plain())
        return convertShaped(bands, grey, out, format);
    const GrayTable table(grey, format.encoding);
    if (table.isEmpty())
        return Outcome::NoGray;

    QByteArray line;
    QImage band;
    for (;;) {
        const PictureBands::Band got = bands(band);
        if (got == PictureBands::Band::End)
            return Outcome::Done;
        if (got == PictureBands::Band::Failed)
            return Outcome::ReadFailed;
        if (!GrayTable::supports(band.format()))
            band = PictureLoader::flatten(std::move(band)).convertToFormat(QImage::Format_RGB32);
        const qsizetype room = table.rowBytes(band.width()) + format.lineEnd.size();
        if (line.size() < room)
            line.resize(room);
        for (int y = 0; y < band.height(); ++y) {
            if (!carryOn())
                return Outcome::Stopped;
            qsizetype length = table.convertRow(band, y, line.data());
            std::memcpy(line.data() + length, format.lineEnd.constData(), format.lineEnd.size());
            length += format.lineEnd.size();
            if (out.write(line.constData(), length) != length)
                return Outcome::WriteFailed;
        }
    }
}

PicToTextConverter::Outcome PicToTextConverter::convertShaped(const BandSource &bands, QStringView grey,
                                                              QIODevice &out, const Format &format)
{
    // Rows go through as grey levels; the lines come out as they complete.
    const LevelsToText::LineSink sink = [&](const char *bytes, qsizetype length) {
        return out.write(bytes, length) == length
            && out.write(format.lineEnd.constData(), format.lineEnd.size()) == format.lineEnd.size();
    };
    std::unique_ptr<LevelsToText> shaper;
    std::vector<uchar> levels;
    QImage band;
    for (;;) {
        const PictureBands::Band got = bands(band);
        if (got == PictureBands::Band::Failed)
            return Outcome::ReadFailed;
        if (got == PictureBands::Band::End)
            return !shaper || shaper->finish(sink) ? Outcome::Done : Outcome::WriteFailed;
        if (!GrayTable::supports(band.format()))
            band = PictureLoader::flatten(std::move(band)).convertToFormat(QImage::Format_RGB32);
        if (!shaper) {
            const QSize picture = format.picture.isValid() ? format.picture : band.size();
            shaper = std::make_unique<LevelsToText>(picture, format.options, grey, format.encoding);
            if (!shaper->isValid())
                return grey.isEmpty() && !format.options.braille ? Outcome::NoGray : Outcome::BadSize;
            levels.resize(std::size_t(picture.width()));
        }
        if (std::size_t(band.width()) != levels.size())
            return Outcome::ReadFailed;
        for (int y = 0; y < band.height(); ++y) {
            if (!carryOn())
                return Outcome::Stopped;
            GrayTable::grayLevels(band, y, levels.data());
            if (!shaper->addRow(levels.data(), sink))
                return Outcome::WriteFailed;
        }
    }
}

PicToTextConverter::Outcome PicToTextConverter::PicToText(const QImage &picture, const QString &path,
                                                          QStringView grey, bool addMode,
                                                          const PicToTextOptions &options)
{
    return PicToText(singleBand(picture), path, grey, addMode, SaveFile::Special::WriteInPlace, options,
                     picture.size());
}

PicToTextConverter::Outcome PicToTextConverter::PicToText(const BandSource &bands, const QString &path,
                                                          QStringView grey, bool addMode, SaveFile::Special special,
                                                          const PicToTextOptions &options, QSize picture)
{
    if (m_running)
        return Outcome::Busy;
    if (grey.isEmpty())
        return Outcome::NoGray;
    SaveFile file(path, special);
    if (!file.open())
        return Outcome::WriteFailed;
    if (addMode) {
        const QByteArray separator = QByteArray("\r\n").repeated(kAddModeSeparator);
        if (!copyInto(path, file.device()) || file.device().write(separator) != separator.size()) {
            file.cancel();
            return Outcome::WriteFailed;
        }
    }
    Format format;
    format.options = options;
    format.picture = picture;
    const Outcome outcome = convert(bands, grey, file.device(), format);
    if (outcome != Outcome::Done && outcome != Outcome::Stopped) {
        file.cancel();
        return outcome;
    }
    return file.commit() ? outcome : Outcome::WriteFailed;
}

PicToTextConverter::Outcome PicToTextConverter::PicToText(const PixelSurface &picture, const QString &path,
                                                          QStringView grey, bool addMode,
                                                          const PicToTextOptions &options)
{
    return PicToText(picture.image(), path, grey, addMode, options);
}
