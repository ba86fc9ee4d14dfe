#include "pictotextconverter.h"

#include "pictureloader.h"

#include "shell/core/pixelsurface.h"
#include "shell/core/savefile.h"

#include <QFile>

#include <cstring>

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
            if (m_yield)
                m_yield();
            if (StopPicToText && askToStop())
                return Outcome::Stopped;
            qsizetype length = table.convertRow(band, y, line.data());
            std::memcpy(line.data() + length, format.lineEnd.constData(), format.lineEnd.size());
            length += format.lineEnd.size();
            if (out.write(line.constData(), length) != length)
                return Outcome::WriteFailed;
        }
    }
}

PicToTextConverter::Outcome PicToTextConverter::PicToText(const QImage &picture, const QString &path,
                                                          QStringView grey, bool addMode)
{
    return PicToText(singleBand(picture), path, grey, addMode);
}

PicToTextConverter::Outcome PicToTextConverter::PicToText(const BandSource &bands, const QString &path,
                                                          QStringView grey, bool addMode, SaveFile::Special special)
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
    const Outcome outcome = convert(bands, grey, file.device(), Format());
    if (outcome != Outcome::Done && outcome != Outcome::Stopped) {
        file.cancel();
        return outcome;
    }
    return file.commit() ? outcome : Outcome::WriteFailed;
}

PicToTextConverter::Outcome PicToTextConverter::PicToText(const PixelSurface &picture, const QString &path,
                                                          QStringView grey, bool addMode)
{
    return PicToText(picture.image(), path, grey, addMode);
}
