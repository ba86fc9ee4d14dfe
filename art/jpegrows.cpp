#include "jpegrows.h"

#ifdef ZANTORIA_HAVE_LIBJPEG

#include <QFile>

#include <csetjmp>
#include <cstdio>

extern "C" {
#include <jpeglib.h>
}

namespace {

struct ErrorManager
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

extern "C" void onJpegError(j_common_ptr info)
{
    auto *err = reinterpret_cast<ErrorManager *>(info->err);
    (*info->err->format_message)(info, err->message);
    std::longjmp(err->jump, 1);
}

extern "C" void onJpegMessage(j_common_ptr, int)
{
    // Warnings (a truncated file, say) are the plug-in's business as well:
    // it decodes on, and so do we.
}

} // namespace

struct JpegRows::Decoder
{
    jpeg_decompress_struct info{};
    ErrorManager err{};
    std::FILE *file = nullptr;
    bool created = false;
    bool started = false;

    ~Decoder()
    {
        if (created)
            jpeg_destroy_decompress(&info);
        if (file)
            std::fclose(file);
    }
};

bool JpegRows::available()
{
    return true;
}

namespace {

// The library reports errors by a long jump: keep the jump inside plain
// functions that own no C++ objects.
bool readHeader(jpeg_decompress_struct *info, ErrorManager *err, std::FILE *file)
{
    if (setjmp(err->jump))
        return false;
    jpeg_stdio_src(info, file);
    return jpeg_read_header(info, TRUE) == JPEG_HEADER_OK;
}

bool startDecompress(jpeg_decompress_struct *info, ErrorManager *err)
{
    if (setjmp(err->jump))
        return false;
    return jpeg_start_decompress(info);
}

bool readLines(jpeg_decompress_struct *info, ErrorManager *err, JSAMPROW *rows, int count)
{
    if (setjmp(err->jump))
        return false;
    int done = 0;
    while (done < count) {
        const JDIMENSION got = jpeg_read_scanlines(info, rows + done, JDIMENSION(count - done));
        if (got == 0)
            return false;
        done += int(got);
    }
    return true;
}

} // namespace

JpegRows::JpegRows(const QString &path)
    : m_path(path)
{
}

JpegRows::~JpegRows() = default;

bool JpegRows::open()
{
    m_decoder = std::make_unique<Decoder>();
    Decoder &d = *m_decoder;
    d.file = std::fopen(QFile::encodeName(m_path).constData(), "rb");
    if (!d.file)
        return false;
    d.info.err = jpeg_std_error(&d.err.pub);
    d.err.pub.error_exit = onJpegError;
    d.err.pub.emit_message = onJpegMessage;
    jpeg_create_decompress(&d.info);
    d.created = true;
    if (!readHeader(&d.info, &d.err, d.file))
        return false;
    switch (d.info.jpeg_color_space) {
    case JCS_GRAYSCALE:
        d.info.out_color_space = JCS_GRAYSCALE;
        m_grey = true;
        break;
    case JCS_YCbCr:
    case JCS_RGB:
        d.info.out_color_space = JCS_EXT_BGRA; // a 32-bit pixel in memory, opaque
        break;
    default:
        return false; // CMYK and the like: the plug-in knows their quirks
    }
    // The plug-in's settings at its default quality.
    d.info.dct_method = JDCT_ISLOW;
    d.info.do_fancy_upsampling = TRUE;
    if (!startDecompress(&d.info, &d.err))
        return false;
    d.started = true;
    m_size = QSize(int(d.info.output_width), int(d.info.output_height));
    return !m_size.isEmpty();
}

bool JpegRows::read(QImage &band, int rows)
{
    if (!m_decoder || !m_decoder->started)
        return false;
    rows = std::min(rows, m_size.height() - m_nextRow);
    if (rows <= 0)
        return false;
    const QImage::Format format = m_grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32;
    if (band.size() != QSize(m_size.width(), rows) || band.format() != format)
        band = QImage(m_size.width(), rows, format);
    if (band.isNull())
        return false;
    JSAMPROW lines[64];
    for (int done = 0; done < rows;) {
        const int n = std::min(rows - done, 64);
        for (int i = 0; i < n; ++i)
            lines[i] = band.scanLine(done + i);
        if (!readLines(&m_decoder->info, &m_decoder->err, lines, n)) {
            m_error = QString::fromLocal8Bit(m_decoder->err.message);
            if (m_error.isEmpty())
                m_error = QStringLiteral("the picture data ends early");
            return false;
        }
        done += n;
    }
    m_nextRow += rows;
    return true;
}

#else // no JPEG library: bands come from the image plug-in

struct JpegRows::Decoder
{
};

bool JpegRows::available()
{
    return false;
}

JpegRows::JpegRows(const QString &path)
    : m_path(path)
{
}

JpegRows::~JpegRows() = default;

bool JpegRows::open()
{
    return false;
}

bool JpegRows::read(QImage &, int)
{
    return false;
}

#endif
