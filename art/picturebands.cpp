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

PictureBands::~PictureBands() = default;

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

PictureBands::Band PictureBands::fail(const QString &detail)
{
    m_status.problem = PictureLoader::Problem::Unreadable;
    m_status.detail = detail;
    return Band::Failed;
}

PictureBands::Band PictureBands::start(QImage &band)
{
    m_started = true;
    QImageReader reader;
    m_status = PictureLoader::inspect(reader, m_path);
    if (!m_status.ok())
        return Band::Failed;
    m_size = m_status.claimedSize;
    const bool jpeg = m_size.isValid() && !m_size.isEmpty() && reader.format() == "jpeg";
    if (jpeg && JpegRows::available()) {
        m_direct = std::make_unique<JpegRows>(m_path);
        if (m_direct->open() && m_direct->size() == m_size)
            m_way = Way::Direct;
        else
            m_direct.reset();
    }
    if (m_way != Way::Direct && jpeg && reader.supportsOption(QImageIOHandler::ClipRect)
        && !isProgressiveJpeg(m_path))
        m_way = Way::PluginBands;
    if (m_way == Way::Whole) {
        m_status = PictureLoader::read(reader, band);
        if (!m_status.ok())
            return Band::Failed;
        m_size = band.size();
        m_nextRow = m_size.height();
        return Band::Ready;
    }
    const qsizetype bandBytes = m_way == Way::Direct ? kDirectBandBytes : kBandBytes;
    m_bandRows = int(std::clamp<qsizetype>(bandBytes / (qsizetype(m_size.width()) * 4), kMinBandRows,
                                           m_size.height()));
    return next(band);
}

PictureBands::Band PictureBands::next(QImage &band)
{
    if (!m_started)
        return start(band);
    if (m_nextRow >= m_size.height())
        return Band::End;
    const int rows = std::min(m_bandRows, m_size.height() - m_nextRow);
    if (m_way == Way::Direct) {
        if (!m_direct->read(band, rows))
            return fail(QStringLiteral("cannot decode the picture (%1)").arg(m_direct->error()));
    } else {
        // Each band is read afresh: a reader reads its picture once.
        QImageReader reader;
        m_status = PictureLoader::inspect(reader, m_path);
        if (!m_status.ok())
            return Band::Failed;
        reader.setClipRect(QRect(0, m_nextRow, m_size.width(), rows));
        m_status = PictureLoader::read(reader, band);
        if (!m_status.ok())
            return Band::Failed;
        if (band.size() != QSize(m_size.width(), rows))
            return fail(QStringLiteral("the picture changed while it was being read"));
    }
    m_nextRow += rows;
    return Band::Ready;
}
