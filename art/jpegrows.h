#pragma once

// The rows of a JPEG file straight from the JPEG library, a band at a time:
// each picture is decoded once, top to bottom, and never whole in memory.
// The pixels are those the image plug-in decodes (same library, same
// settings, its conversion of CMYK), which the tests check. Grey, YCbCr,
// RGB, CMYK and YCCK pictures are taken; open() refuses anything else.
// A progressive picture keeps its coefficients packed (only those that are
// not zero), within a budget: one that needs more is refused.

#include "rowreader.h"

#include <cstddef>
#include <memory>

class JpegRows : public RowReader
{
public:
    explicit JpegRows(const QString &path);
    ~JpegRows() override;
    JpegRows(const JpegRows &) = delete;
    JpegRows &operator=(const JpegRows &) = delete;

    // True when the library is built in; otherwise open() always fails.
    static bool available();

    bool open() override;
    QSize size() const override { return m_size; }
    bool grey() const override { return m_grey; }
    bool readRows(uchar *first, qsizetype bytesPerLine, int rows) override;
    QString error() const override { return m_error; }

    // Bytes the packed coefficients of a progressive picture may take; set
    // before open().
    static constexpr std::size_t kDefaultCoefficientBudget = std::size_t(40) << 20;
    void setCoefficientBudget(std::size_t bytes) { m_coefficientBudget = bytes; }

private:
    struct Decoder;
    std::unique_ptr<Decoder> m_decoder;
    QString m_path;
    QSize m_size;
    bool m_grey = false;
    QString m_error;
    std::size_t m_coefficientBudget = kDefaultCoefficientBudget;
    std::unique_ptr<uchar[]> m_cmykRows; // the library's rows before conversion
};
