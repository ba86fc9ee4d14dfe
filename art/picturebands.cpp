#include "picturebands.h"

#include "bmprows.h"
#include "jpegrows.h"

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
    const QByteArray format = reader.format();
    if (m_size.isValid() && !m_size.isEmpty()) {
        if (format == "jpeg" && JpegRows::available())
            m_direct = std::make_unique<JpegRows>(m_path);
        else if (format == "bmp")
            m_direct = std::make_unique<BmpRows>(m_path);
    }
    if (m_direct) {
        if (m_direct->open() && m_direct->size() == m_size)
            m_way = Way::Direct;
        else if (!m_direct->error().isEmpty())
            return fail(QStringLiteral("cannot decode the picture (%1)").arg(m_direct->error()));
        else
            m_direct.reset();
    }
    if (m_way == Way::Whole) {
        m_status = PictureLoader::read(reader, band, m_size);
        if (!m_status.ok())
            return Band::Failed;
        m_size = band.size();
        m_nextRow = m_size.height();
        return Band::Ready;
    }
    m_bandRows = int(std::clamp<qsizetype>(kBandBytes / (qsizetype(m_size.width()) * 4), kMinBandRows,
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
    if (!m_direct->read(band, rows))
        return fail(QStringLiteral("cannot decode the picture (%1)").arg(m_direct->error()));
    m_nextRow += rows;
    return Band::Ready;
}
