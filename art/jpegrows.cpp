#include "jpegrows.h"

#ifdef ZANTORIA_HAVE_LIBJPEG

#include <QFile>
#include <QRgb>

#include <csetjmp>
#include <cstdio>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

extern "C" {
#include <jpeglib.h>
#include <jerror.h>
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

// A progressive JPEG (or one whose components come in separate scans) keeps
// the coefficients of the whole picture while its scans refine them: two
// bytes per coefficient, up to eight bytes a pixel for four components. The
// library's own store holds them all in memory, hundreds of megabytes for a
// picture whose file has a few hundred kilobytes. Most coefficients are zero
// and the others small (that is what makes the file small), so this store
// keeps each block row packed: per block, each coefficient that is not
// zero as the count of zeros before it and its value (two bytes as a rule),
// and an end mark. A small window of rows is unpacked for the
// library to work on. The packed rows may take at most the budget; a picture
// that needs more fails instead of taking the memory. The functions run
// inside the library and leave by its error jump: they hold nothing that
// needs a destructor.
struct jvirt_barray_control
{
    unsigned char **packed = nullptr; // one packed buffer per row (null: all zero)
    std::size_t *packedSize = nullptr;
    JBLOCK *windowBlocks = nullptr; // rows [firstRow, firstRow + windowRows)
    JBLOCKARRAY window = nullptr;
    JDIMENSION rows = 0;
    JDIMENSION blocksPerRow = 0;
    JDIMENSION maxAccess = 0;
    JDIMENSION windowRows = 0;
    JDIMENSION firstRow = 0;
    bool *dirtyRows = nullptr; // per window slot: written since it was unpacked
};

namespace {

constexpr int kMaxArrays = 16; // a JPEG has at most 10 components

struct CoefficientStore
{
    jvirt_barray_control arrays[kMaxArrays];
    int count = 0;
    std::size_t budget = 0;
    std::size_t used = 0;
    bool overBudget = false;
    unsigned char *scratch = nullptr; // one row packed at its largest
    JBLOCKROW *rotation = nullptr; // room to move a window's rows
    bool *rotationDirty = nullptr;
    void (*realizeOwn)(j_common_ptr) = nullptr; // the library's own arrays

    ~CoefficientStore()
    {
        for (int i = 0; i < count; ++i) {
            jvirt_barray_control &a = arrays[i];
            if (a.packed) {
                for (JDIMENSION r = 0; r < a.rows; ++r)
                    std::free(a.packed[r]);
            }
            std::free(a.packed);
            std::free(a.packedSize);
            std::free(a.windowBlocks);
            std::free(a.window);
            std::free(a.dirtyRows);
        }
        std::free(scratch);
        std::free(rotation);
        std::free(rotationDirty);
    }
};

CoefficientStore *storeOf(j_common_ptr info)
{
    return static_cast<CoefficientStore *>(info->client_data);
}

[[noreturn]] void failStore(j_common_ptr info, J_MESSAGE_CODE code)
{
    info->err->msg_code = code;
    info->err->msg_parm.i[0] = 0;
    (*info->err->error_exit)(info);
    std::abort(); // error_exit never returns
}

std::size_t largestPackedRow(JDIMENSION blocksPerRow)
{
    return std::size_t(blocksPerRow) * (1 + DCTSIZE2 * 4);
}

extern "C" jvirt_barray_ptr requestBlockArray(j_common_ptr info, int, boolean, JDIMENSION blocksPerRow,
                                              JDIMENSION rows, JDIMENSION maxAccess)
{
    // Rows never written read as zero, which is all the pre-zeroing asks.
    CoefficientStore *store = storeOf(info);
    if (store->count >= kMaxArrays || blocksPerRow == 0 || rows == 0 || maxAccess == 0)
        failStore(info, JERR_BAD_VIRTUAL_ACCESS);
    jvirt_barray_control *a = &store->arrays[store->count++];
    a->rows = rows;
    a->blocksPerRow = blocksPerRow;
    a->maxAccess = maxAccess;
    return a;
}

extern "C" void realizeArrays(j_common_ptr info)
{
    CoefficientStore *store = storeOf(info);
    store->realizeOwn(info);
    std::size_t widest = 0;
    JDIMENSION tallest = 0;
    for (int i = 0; i < store->count; ++i) {
        jvirt_barray_control *a = &store->arrays[i];
        if (a->window)
            continue;
        a->windowRows = std::min(a->rows, a->maxAccess);
        tallest = std::max(tallest, a->windowRows);
        a->packed = static_cast<unsigned char **>(std::calloc(a->rows, sizeof(unsigned char *)));
        a->packedSize = static_cast<std::size_t *>(std::calloc(a->rows, sizeof(std::size_t)));
        a->windowBlocks = static_cast<JBLOCK *>(
            std::calloc(std::size_t(a->windowRows) * a->blocksPerRow, sizeof(JBLOCK)));
        a->window = static_cast<JBLOCKARRAY>(std::malloc(sizeof(JBLOCKROW) * a->windowRows));
        a->dirtyRows = static_cast<bool *>(std::calloc(a->windowRows, sizeof(bool)));
        if (!a->packed || !a->packedSize || !a->windowBlocks || !a->window || !a->dirtyRows)
            failStore(info, JERR_OUT_OF_MEMORY);
        for (JDIMENSION r = 0; r < a->windowRows; ++r)
            a->window[r] = a->windowBlocks + std::size_t(r) * a->blocksPerRow;
        store->used += std::size_t(a->rows) * (sizeof(unsigned char *) + sizeof(std::size_t))
                       + std::size_t(a->windowRows) * a->blocksPerRow * sizeof(JBLOCK);
        widest = std::max(widest, largestPackedRow(a->blocksPerRow));
    }
    if (!store->scratch && widest) {
        store->scratch = static_cast<unsigned char *>(std::malloc(widest));
        store->rotation = static_cast<JBLOCKROW *>(std::malloc(sizeof(JBLOCKROW) * tallest));
        store->rotationDirty = static_cast<bool *>(std::malloc(sizeof(bool) * tallest));
        if (!store->scratch || !store->rotation || !store->rotationDirty)
            failStore(info, JERR_OUT_OF_MEMORY);
    }
}

constexpr unsigned char kEndOfBlock = 0xFF; // no run of zeros is that long

void packRow(j_common_ptr info, CoefficientStore *store, jvirt_barray_control *a, JDIMENSION row,
             const JBLOCK *blocks)
{
    unsigned char *out = store->scratch;
    bool any = false;
    for (JDIMENSION b = 0; b < a->blocksPerRow; ++b) {
        int next = 0; // the position after the last value written
        // Four coefficients at a time: most groups are all zero.
        for (int group = 0; group < DCTSIZE2; group += 4) {
            std::uint64_t four;
            std::memcpy(&four, &blocks[b][group], sizeof four);
            if (four == 0)
                continue;
            for (int k = group; k < group + 4; ++k) {
                const int v = blocks[b][k];
                if (v == 0)
                    continue;
                // The zeros before it, then the value zigzagged (small
                // magnitudes small) in 7-bit groups: nearly always one byte.
                *out++ = static_cast<unsigned char>(k - next);
                next = k + 1;
                unsigned u = unsigned(v < 0 ? ((-v) << 1) - 1 : v << 1);
                while (u >= 0x80) {
                    *out++ = static_cast<unsigned char>(u | 0x80);
                    u >>= 7;
                }
                *out++ = static_cast<unsigned char>(u);
                any = true;
            }
        }
        *out++ = kEndOfBlock;
    }
    const std::size_t size = any ? std::size_t(out - store->scratch) : 0;
    store->used -= a->packedSize[row];
    std::free(a->packed[row]);
    a->packed[row] = nullptr;
    a->packedSize[row] = 0;
    if (size == 0)
        return;
    store->used += size;
    if (store->used > store->budget) {
        store->overBudget = true;
        failStore(info, JERR_OUT_OF_MEMORY);
    }
    a->packed[row] = static_cast<unsigned char *>(std::malloc(size));
    if (!a->packed[row])
        failStore(info, JERR_OUT_OF_MEMORY);
    std::memcpy(a->packed[row], store->scratch, size);
    a->packedSize[row] = size;
}

void unpackRow(const jvirt_barray_control *a, JDIMENSION row, JBLOCK *blocks)
{
    std::memset(blocks, 0, std::size_t(a->blocksPerRow) * sizeof(JBLOCK));
    const unsigned char *in = a->packed[row];
    if (!in)
        return;
    for (JDIMENSION b = 0; b < a->blocksPerRow; ++b) {
        for (int k = 0;; ++k) {
            const unsigned char run = *in++;
            if (run == kEndOfBlock)
                break;
            k += run;
            unsigned u = 0;
            for (int shift = 0;; shift += 7) {
                const unsigned char byte = *in++;
                u |= unsigned(byte & 0x7F) << shift;
                if (!(byte & 0x80))
                    break;
            }
            blocks[b][k] = static_cast<JCOEF>((u & 1) ? -int((u + 1) >> 1) : int(u >> 1));
        }
    }
}

extern "C" JBLOCKARRAY accessBlockArray(j_common_ptr info, jvirt_barray_ptr a, JDIMENSION startRow,
                                        JDIMENSION rowCount, boolean writable)
{
    if (!a->window || rowCount > a->windowRows || startRow > a->rows || rowCount > a->rows - startRow)
        failStore(info, JERR_BAD_VIRTUAL_ACCESS);
    const JDIMENSION endRow = startRow + rowCount;
    if (startRow < a->firstRow || endRow > a->firstRow + a->windowRows) {
        // Forward sweeps start the window at the rows asked for; a step back
        // ends it there. Rows in both the old and the new window stay as they
        // are; the others are packed (when written) and their buffers reused.
        CoefficientStore *store = storeOf(info);
        JDIMENSION first = startRow > a->firstRow ? startRow : (endRow > a->windowRows ? endRow - a->windowRows : 0);
        first = std::min(first, a->rows - a->windowRows);
        const JDIMENSION oldFirst = a->firstRow;
        const JDIMENSION w = a->windowRows;
        const auto kept = [&](JDIMENSION row) { return row >= first && row < first + w; };
        for (JDIMENSION r = 0; r < w; ++r) {
            if (a->dirtyRows[r] && !kept(oldFirst + r))
                packRow(info, store, a, oldFirst + r, a->window[r]);
        }
        // Slot i comes to hold row first + i; freed buffers take the new rows.
        for (JDIMENSION r = 0; r < w; ++r) {
            store->rotation[r] = a->window[r];
            store->rotationDirty[r] = a->dirtyRows[r];
        }
        JDIMENSION spare = 0;
        for (JDIMENSION i = 0; i < w; ++i) {
            const JDIMENSION row = first + i;
            if (row >= oldFirst && row < oldFirst + w) {
                a->window[i] = store->rotation[row - oldFirst];
                a->dirtyRows[i] = store->rotationDirty[row - oldFirst];
                store->rotation[row - oldFirst] = nullptr;
            }
        }
        for (JDIMENSION i = 0; i < w; ++i) {
            const JDIMENSION row = first + i;
            if (row >= oldFirst && row < oldFirst + w)
                continue;
            while (!store->rotation[spare])
                ++spare;
            a->window[i] = store->rotation[spare++];
            a->dirtyRows[i] = false;
            unpackRow(a, row, a->window[i]);
        }
        a->firstRow = first;
    }
    if (writable) {
        for (JDIMENSION r = startRow; r < endRow; ++r)
            a->dirtyRows[r - a->firstRow] = true;
    }
    return a->window + (startRow - a->firstRow);
}

// Cyan, magenta, yellow and black as the image plug-in turns them into a
// colour: stored inverted, as the usual writers of such files store them.
void cmykToRgb32(const uchar *in, QRgb *out, int width)
{
    for (int x = 0; x < width; ++x, in += 4) {
        const int k = in[3];
        out[x] = qRgb(k * in[0] / 255, k * in[1] / 255, k * in[2] / 255);
    }
}

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

struct JpegRows::Decoder
{
    jpeg_decompress_struct info{};
    ErrorManager err{};
    CoefficientStore coefficients;
    std::FILE *file = nullptr;
    bool created = false;
    bool started = false;
    bool cmyk = false;

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
    d.info.client_data = &d.coefficients;
    d.coefficients.budget = m_coefficientBudget;
    d.coefficients.realizeOwn = d.info.mem->realize_virt_arrays;
    d.info.mem->request_virt_barray = requestBlockArray;
    d.info.mem->realize_virt_arrays = realizeArrays;
    d.info.mem->access_virt_barray = accessBlockArray;
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
    case JCS_CMYK:
    case JCS_YCCK:
        // The library turns YCCK into CMYK itself; the rest is ours.
        d.info.out_color_space = JCS_CMYK;
        d.cmyk = true;
        break;
    default:
        return false; // nothing the plug-in reads either
    }
    // The plug-in's settings at its default quality.
    d.info.dct_method = JDCT_ISLOW;
    d.info.do_fancy_upsampling = TRUE;
    m_size = QSize(int(d.info.image_width), int(d.info.image_height));
    if (!startDecompress(&d.info, &d.err)) {
        m_error = d.coefficients.overBudget
                      ? QStringLiteral("the progressive picture needs more than %1 MB to decode")
                            .arg(m_coefficientBudget >> 20)
                      : QString::fromLocal8Bit(d.err.message);
        return false;
    }
    d.started = true;
    m_size = QSize(int(d.info.output_width), int(d.info.output_height));
    return !m_size.isEmpty();
}

bool JpegRows::readRows(uchar *first, qsizetype bytesPerLine, int rows)
{
    if (!m_decoder || !m_decoder->started || rows <= 0 || rows > m_size.height() - m_nextRow)
        return false;
    constexpr int kChunk = 64;
    const int width = m_size.width();
    if (m_decoder->cmyk && !m_cmykRows)
        m_cmykRows.reset(new (std::nothrow) uchar[std::size_t(width) * 4 * kChunk]);
    if (m_decoder->cmyk && !m_cmykRows)
        return false;
    JSAMPROW lines[kChunk];
    Decoder &d = *m_decoder;
    for (int done = 0; done < rows;) {
        const int n = std::min(rows - done, kChunk);
        for (int i = 0; i < n; ++i)
            lines[i] = d.cmyk ? m_cmykRows.get() + std::size_t(i) * width * 4 : first + bytesPerLine * (done + i);
        if (!readLines(&d.info, &d.err, lines, n)) {
            m_error = QString::fromLocal8Bit(d.err.message);
            if (m_error.isEmpty())
                m_error = QStringLiteral("the picture data ends early");
            return false;
        }
        if (d.cmyk) {
            for (int i = 0; i < n; ++i)
                cmykToRgb32(lines[i], reinterpret_cast<QRgb *>(first + bytesPerLine * (done + i)), width);
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

bool JpegRows::readRows(uchar *, qsizetype, int)
{
    return false;
}

#endif
