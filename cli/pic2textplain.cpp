// zantoria-cli pic2text for the common case, with QtCore alone: a JPEG or
// plain BMP read straight from its file, the grey string ordered by the
// cached inks (or given --ordered), the text on standard output. The bytes
// are those runPic2Text writes. Anything else, and any picture that does
// not open cleanly, is left to runPic2Text before a byte is written.

#include "commands.h"
#include "inkcache.h"
#include "pic2textoptions.h"

#include "art/bmprows.h"
#include "art/graytable.h"
#include "art/inkorder.h"
#include "art/jpegrows.h"
#include "art/levelstotext.h"
#include "art/picturebands.h"
#include "art/pictureloader.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

using namespace Pic2Text;

namespace {

constexpr int kMinBandRows = 16;

// A reader for what runPic2Text would read straight from the file as well:
// a regular file named .jpg, .jpeg or .bmp that holds such a picture (the
// image reader goes by the suffix first), of an acceptable size.
std::unique_ptr<RowReader> plainReader(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable())
        return nullptr;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    const QByteArray magic = file.read(3);
    file.close();
    const QString suffix = info.suffix().toLower();
    std::unique_ptr<RowReader> reader;
    if ((suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) && magic == "\xFF\xD8\xFF"
        && JpegRows::available())
        reader = std::make_unique<JpegRows>(path);
    else if (suffix == QLatin1String("bmp") && magic.startsWith("BM"))
        reader = std::make_unique<BmpRows>(path);
    if (!reader || !reader->open() || reader->size().isEmpty() || !PictureLoader::acceptableSize(reader->size()))
        return nullptr;
    return reader;
}

// Rows of the picture as grey levels, a band at a time.
class LevelBands
{
public:
    explicit LevelBands(RowReader &reader)
        : m_reader(reader)
        , m_width(reader.size().width())
        , m_bandRows(int(std::clamp<qsizetype>(PictureBands::kBandBytes / (qsizetype(m_width) * 4), kMinBandRows,
                                               reader.size().height())))
    {
    }

    int bandRows() const { return m_bandRows; }

    // The next rows (at most bandRows()) as levels into `out`, one row after
    // the other; false on a decoding error or failed allocation.
    bool next(uchar *out, int rows)
    {
        if (m_reader.grey())
            return m_reader.readRows(out, m_width, rows);
        const std::size_t room = std::size_t(m_width) * m_bandRows;
        if (m_rgb.size() < room) {
            try {
                m_rgb.resize(room);
            } catch (const std::bad_alloc &) {
                return false;
            }
        }
        if (!m_reader.readRows(reinterpret_cast<uchar *>(m_rgb.data()), qsizetype(m_width) * 4, rows))
            return false;
        for (int y = 0; y < rows; ++y)
            GrayTable::grayLevels(m_rgb.data() + std::size_t(y) * m_width, m_width, out + std::size_t(y) * m_width);
        return true;
    }

private:
    RowReader &m_reader;
    int m_width;
    int m_bandRows;
    std::vector<quint32> m_rgb;
};

// Lines of text to standard output through one buffer, one character a
// pixel or shaped by the options.
class TextOut
{
public:
    TextOut(const QString &gray, QSize picture, const PicToTextOptions &shape)
        : m_table(gray, GrayTable::Encoding::Utf8)
        , m_width(picture.width())
        , m_buffer(std::size_t(std::max<qsizetype>(kBuffer, m_table.rowBytes(m_width) + 1)))
    {
        if (!shape.plain())
            m_shaper = std::make_unique<LevelsToText>(picture, shape, gray, GrayTable::Encoding::Utf8);
    }

    bool rows(const uchar *levels, int count)
    {
        if (m_shaper) {
            for (int y = 0; y < count && m_ok; ++y)
                m_ok = m_shaper->addRow(levels + std::size_t(y) * m_width, m_line);
            return m_ok;
        }
        const qsizetype room = m_table.rowBytes(m_width) + 1;
        for (int y = 0; y < count && m_ok; ++y) {
            if (qsizetype(m_buffer.size()) - m_used < room)
                flush();
            m_used += m_table.convertLevels(levels + std::size_t(y) * m_width, m_width, m_buffer.data() + m_used);
            m_buffer[std::size_t(m_used++)] = '\n';
        }
        return m_ok;
    }

    bool finish()
    {
        if (m_shaper && m_ok)
            m_ok = m_shaper->finish(m_line);
        flush();
        return m_ok && std::fflush(stdout) == 0;
    }

private:
    static constexpr qsizetype kBuffer = qsizetype(1) << 20;

    void flush()
    {
        if (m_ok && m_used > 0)
            m_ok = std::fwrite(m_buffer.data(), 1, std::size_t(m_used), stdout) == std::size_t(m_used);
        m_used = 0;
    }

    bool line(const char *bytes, qsizetype length)
    {
        if (qsizetype(m_buffer.size()) - m_used < length + 1)
            flush();
        if (qsizetype(m_buffer.size()) < length + 1)
            m_buffer.resize(std::size_t(length) + 1);
        std::memcpy(m_buffer.data() + m_used, bytes, std::size_t(length));
        m_used += length;
        m_buffer[std::size_t(m_used++)] = '\n';
        return m_ok;
    }

    GrayTable m_table;
    int m_width;
    std::unique_ptr<LevelsToText> m_shaper;
    const LevelsToText::LineSink m_line = [this](const char *bytes, qsizetype length) { return line(bytes, length); };
    std::vector<char> m_buffer;
    qsizetype m_used = 0;
    bool m_ok = true;
};

int cannotWrite()
{
    return fail(QStringLiteral("standard output: cannot write"));
}

} // namespace

std::optional<int> runPic2TextPlain(int argc, char **argv)
{
    Options o;
    QString gray;
    if (const auto status = parse(argc, argv, o, gray))
        return *status;
    if (!o.output.isEmpty())
        return std::nullopt;
    if (!o.ordered) {
        const auto inks = InkCache::covering(gray);
        if (!inks)
            return std::nullopt;
        gray = orderByInk(gray, [&](char32_t c) { return inks->value(c); });
    }
    const std::unique_ptr<RowReader> reader = plainReader(o.image);
    if (!reader)
        return std::nullopt;
    const int width = reader->size().width();
    const int height = reader->size().height();
    if (const auto problem = sizeProblem(reader->size(), o, gray))
        return fail(o.image + QStringLiteral(": ") + *problem);
    LevelBands bands(*reader);
    TextOut out(gray, reader->size(), o.shape);

    if (o.ordered) {
        // Streamed as runPic2Text streams it: once the first band is read,
        // the rows go out as they come.
        std::vector<uchar> levels(std::size_t(width) * bands.bandRows());
        for (int row = 0; row < height;) {
            const int rows = std::min(bands.bandRows(), height - row);
            if (!bands.next(levels.data(), rows)) {
                if (row == 0)
                    return std::nullopt;
                out.finish();
                return fail(o.image + QStringLiteral(": cannot decode the picture (%1)").arg(reader->error()));
            }
            if (row == 0 && o.printGray)
                std::fprintf(stderr, "%s\n", qUtf8Printable(gray));
            if (!out.rows(levels.data(), rows))
                return cannotWrite();
            row += rows;
        }
        return out.finish() ? 0 : cannotWrite();
    }

    // The whole picture first: nothing is written before it proved readable.
    std::unique_ptr<uchar[]> levels(new (std::nothrow) uchar[std::size_t(width) * height]);
    if (!levels)
        return std::nullopt;
    for (int row = 0; row < height;) {
        const int rows = std::min(bands.bandRows(), height - row);
        if (!bands.next(levels.get() + std::size_t(row) * width, rows))
            return std::nullopt;
        row += rows;
    }
    if (o.printGray)
        std::fprintf(stderr, "%s\n", qUtf8Printable(gray));
    if (!out.rows(levels.get(), height) || !out.finish())
        return cannotWrite();
    return 0;
}
