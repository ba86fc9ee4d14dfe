#include "picturebands.h"

#include <QFile>
#include <QImageIOHandler>
#include <QImageReader>

#include <algorithm>

namespace {

constexpr int kMinBandRows = 16;

} // namespace

PictureBands::PictureBands(const QString &path)
    : m_path(path)
{
}

bool PictureBands::isProgressiveJpeg(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(256 * 1024);
    const auto *b = reinterpret_cast<const uchar *>(head.constData());
    const qsizetype n = head.size();
    if (n < 4 || b[0] != 0xFF || b[1] != 0xD8)
        return false;
    qsizetype i = 2;
    while (i + 4 <= n) {
        if (b[i] != 0xFF) {
            ++i;
            continue;
        }
        const uchar marker = b[i + 1];
        if (marker == 0xFF) {
            ++i; // fill byte
            continue;
        }
        if (marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE)
            return true;
        if ((marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            || marker == 0xDA)
            return false; // another frame type, or the scan data begins
        i += 2 + ((qsizetype(b[i + 2]) << 8) | b[i + 3]);
    }
    return false;
}

PictureBands::Band PictureBands::next(QImage &band)
{
    if (!m_started) {
        m_started = true;
        QImageReader reader;
        m_status = PictureLoader::inspect(reader, m_path);
        if (!m_status.ok())
            return Band::Failed;
        m_size = m_status.claimedSize;
        m_banded = m_size.isValid() && !m_size.isEmpty() && reader.format() == "jpeg"
            && reader.supportsOption(QImageIOHandler::ClipRect) && !isProgressiveJpeg(m_path);
        if (!m_banded) {
            m_status = PictureLoader::read(reader, band);
            if (!m_status.ok())
                return Band::Failed;
            m_size = band.size();
            m_nextRow = m_size.height();
            return Band::Ready;
        }
        m_bandRows = int(std::clamp<qsizetype>(kBandBytes / (qsizetype(m_size.width()) * 4), kMinBandRows,
                                               m_size.height()));
    }
    if (m_nextRow >= m_size.height())
        return Band::End;
    // Each band is read afresh: a reader reads its picture once.
    QImageReader reader;
    m_status = PictureLoader::inspect(reader, m_path);
    if (!m_status.ok())
        return Band::Failed;
    const int rows = std::min(m_bandRows, m_size.height() - m_nextRow);
    reader.setClipRect(QRect(0, m_nextRow, m_size.width(), rows));
    m_status = PictureLoader::read(reader, band);
    if (!m_status.ok())
        return Band::Failed;
    if (band.size() != QSize(m_size.width(), rows)) {
        m_status.problem = PictureLoader::Problem::Unreadable;
        m_status.detail = QStringLiteral("the picture changed while it was being read");
        return Band::Failed;
    }
    m_nextRow += rows;
    return Band::Ready;
}
