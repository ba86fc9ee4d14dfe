#include "picturelevels.h"

#include "graytable.h"
#include "pictureparticulars.h"

#include <cstring>
#include <vector>

namespace PictureLevels {

namespace {

// Averages every source pixel into the preview pixel it falls on.
class Shrinker
{
public:
    Shrinker(QSize source, QSize target)
        : m_source(source)
        , m_target(target)
        , m_sums(std::size_t(target.width()) * target.height() * 4, 0)
        , m_column(std::size_t(source.width()))
    {
        for (int x = 0; x < source.width(); ++x)
            m_column[std::size_t(x)] = int(qint64(x) * target.width() / source.width());
    }

    void add(const QImage &band, int firstRow)
    {
        for (int y = 0; y < band.height(); ++y) {
            const int ty = int(qint64(firstRow + y) * m_target.height() / m_source.height());
            quint64 *row = m_sums.data() + std::size_t(ty) * m_target.width() * 4;
            const bool grey = band.format() == QImage::Format_Grayscale8;
            const uchar *greys = band.constScanLine(y);
            const auto *colours = reinterpret_cast<const QRgb *>(greys);
            for (int x = 0; x < band.width(); ++x) {
                const QRgb c = grey ? qRgb(greys[x], greys[x], greys[x]) : colours[x];
                quint64 *s = row + std::size_t(m_column[std::size_t(x)]) * 4;
                s[0] += quint64(qRed(c));
                s[1] += quint64(qGreen(c));
                s[2] += quint64(qBlue(c));
                s[3] += 1;
            }
        }
    }

    QImage image() const
    {
        QImage out(m_target, QImage::Format_RGB32);
        for (int y = 0; y < m_target.height(); ++y) {
            for (int x = 0; x < m_target.width(); ++x) {
                const quint64 *s = m_sums.data() + (std::size_t(y) * m_target.width() + x) * 4;
                const quint64 n = s[3] ? s[3] : 1;
                out.setPixel(x, y, qRgb(int((s[0] + n / 2) / n), int((s[1] + n / 2) / n), int((s[2] + n / 2) / n)));
            }
        }
        return out;
    }

private:
    QSize m_source;
    QSize m_target;
    std::vector<quint64> m_sums;
    std::vector<int> m_column;
};

} // namespace

Result read(PictureBands &bands, QSize previewBox)
{
    Result result;
    QImage band;
    std::unique_ptr<Shrinker> shrinker;
    int row = 0;
    for (;;) {
        result.outcome = bands.next(band);
        if (result.outcome != PictureBands::Band::Ready)
            break;
        if (result.levels.isNull()) {
            result.levels = QImage(bands.size(), QImage::Format_Grayscale8);
            if (result.levels.isNull()) {
                result.outcome = PictureBands::Band::Failed;
                result.status.problem = PictureLoader::Problem::TooLarge;
                result.status.detail = QStringLiteral("not enough memory for the picture");
                return result;
            }
            const QSize shown = PictureParticulars::previewFit(bands.size(), previewBox).size();
            if (!previewBox.isEmpty() && !shown.isEmpty()) {
                if (shown == bands.size())
                    result.preview = QImage(shown, QImage::Format_RGB32);
                else
                    shrinker = std::make_unique<Shrinker>(bands.size(), shown);
            }
        }
        if (row + band.height() > result.levels.height() || band.width() != result.levels.width()) {
            result.outcome = PictureBands::Band::Failed;
            result.status.problem = PictureLoader::Problem::Unreadable;
            result.status.detail = QStringLiteral("the picture changed while it was being read");
            break;
        }
        const QImage rgb = GrayTable::supports(band.format()) ? band : band.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < rgb.height(); ++y)
            GrayTable::grayLevels(rgb, y, result.levels.scanLine(row + y));
        if (shrinker) {
            shrinker->add(rgb, row);
        } else if (!result.preview.isNull()) {
            const QImage colour = rgb.convertToFormat(QImage::Format_RGB32);
            for (int y = 0; y < colour.height(); ++y)
                std::memcpy(result.preview.scanLine(row + y), colour.constScanLine(y), size_t(colour.bytesPerLine()));
        }
        row += band.height();
    }
    if (result.outcome == PictureBands::Band::Failed) {
        result.status = result.status.ok() ? bands.status() : result.status;
        result.levels = QImage();
        result.preview = QImage();
        return result;
    }
    result.status = bands.status();
    if (shrinker)
        result.preview = shrinker->image();
    return result;
}

} // namespace PictureLevels
