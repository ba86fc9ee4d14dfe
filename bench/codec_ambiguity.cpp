// How often code-page text is valid UTF-8 by chance, and so read as UTF-8 by
// the codec's detection rule: over the sample tips (whole files and each
// line that holds a full-width character) and over every ordered pair of
// the code page's two-byte characters.
#include "library/samples/sampletips.h"
#include "shell/core/textcodec.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

bool readAsUtf8(const QByteArray &bytes)
{
    return TextCodec::detect(bytes).encoding == TextCodec::Encoding::Utf8;
}

// Every two-byte code that reads as one character of the code page.
std::vector<QByteArray> twoByteCharacters(bool hanziOnly)
{
    std::vector<QByteArray> codes;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F || (hanziOnly && (lead < 0xB0 || lead > 0xF7 || trail < 0xA1)))
                continue;
            QByteArray code;
            code.append(char(lead)).append(char(trail));
            const QString c = TextCodec::decode(code);
            if (c.size() == 1 && !(c[0].unicode() >= 0xDC80 && c[0].unicode() <= 0xDCFF))
                codes.push_back(code);
        }
    }
    return codes;
}

void pairs(const char *what, bool hanziOnly)
{
    const std::vector<QByteArray> codes = twoByteCharacters(hanziOnly);
    qint64 single = 0;
    for (const QByteArray &c : codes)
        single += readAsUtf8(c);
    // Only a character that can start or end a UTF-8 sequence can be part of
    // a valid pair: the rest are skipped without changing the count.
    qint64 valid = 0;
    QByteArray four(4, '\0');
    for (const QByteArray &a : codes) {
        if (uchar(a[0]) < 0xC2 || uchar(a[0]) > 0xF4)
            continue;
        four[0] = a[0];
        four[1] = a[1];
        for (const QByteArray &b : codes) {
            four[2] = b[0];
            four[3] = b[1];
            valid += readAsUtf8(four);
        }
    }
    const double n = double(codes.size());
    std::printf("%s: %zu characters; alone valid UTF-8: %lld (%.2f%%); ordered pairs valid UTF-8: %lld of %.0f "
                "(%.3f%%)\n",
                what, codes.size(), single, 100.0 * double(single) / n, valid, n * n, 100.0 * double(valid) / (n * n));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int files = 0, filesUtf8 = 0, lines = 0, linesUtf8 = 0;
    for (const SampleTips::Sample &sample : SampleTips::all()) {
        ++files;
        filesUtf8 += readAsUtf8(TextCodec::encode(sample.text));
        for (const QString &line : TextCodec::splitLines(sample.text)) {
            const QByteArray bytes = TextCodec::encode(line);
            if (std::none_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) >= 0x80; }))
                continue;
            ++lines;
            linesUtf8 += readAsUtf8(bytes);
        }
    }
    std::printf("sample tips: %d of %d files and %d of %d lines with full-width characters read as UTF-8\n",
                filesUtf8, files, linesUtf8, lines);
    pairs("two-byte characters of the code page", false);
    pairs("GB2312 hanzi (B0A1-F7FE)", true);
    return 0;
}
