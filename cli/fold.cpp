#include "commands.h"

#include "shell/core/textcodec.h"
#include "spacefold/spacezip.h"
#include "spacefold/zipstatistics.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

const char kUsage[] =
    "usage: zantoria-cli fold [--leading] [--trailing] [--inner] [--blank-lines] [--stats]\n"
    "                         [--cp936 | --input-encoding utf-8|cp936|auto] [FILE]\n"
    "\n"
    "Folds the blanks of the text art in FILE (standard input without FILE)\n"
    "and writes the result to standard output.\n"
    "\n"
    "  --blank-lines  drop the lines that hold blanks only\n"
    "  --trailing     strip the blanks at the end of each line\n"
    "  --leading      remove the blank columns that all lines share at the left\n"
    "  --inner        remove the blank columns that run through every line\n"
    "  --stats        print the sizes and the ratio on standard error\n"
    "  --cp936        read and write the Chinese code page with CR LF line ends,\n"
    "                 byte for byte what Spacefold saves (default: UTF-8, LF);\n"
    "                 a bare LF or CR in the input ends a line as CR LF does\n"
    "  --input-encoding utf-8|cp936|auto\n"
    "                 utf-8 and cp936 as above; auto finds the encoding as the\n"
    "                 windows do (a UTF-8 or UTF-16 byte-order mark, else valid\n"
    "                 UTF-8 with at least one non-ASCII character, else the code\n"
    "                 page) and writes the result in it, with its mark and its\n"
    "                 line ends (LF when it had mostly LF, else CR LF)\n"
    "\n"
    "The passes run in the order above whatever the order of the options;\n"
    "without any of them, --leading alone.\n";

// Pieces of this size keep the temporary buffers of the conversions small
// beside the text itself.
constexpr qsizetype kChunk = qsizetype(1) << 20;

enum class Input { Utf8, CodePage, Auto };

struct Arguments
{
    ZipOptions options;
    bool stats = false;
    Input input = Input::Utf8;
    QString file; // empty: standard input
};

enum class Parse { Run, Help, Error };

Parse parseArguments(int argc, char **argv, Arguments *args)
{
    ZipOptions chosen;
    chosen.optLeading = false;
    bool haveFile = false;
    for (int i = 1; i < argc; ++i) {
        const char *a = argv[i];
        if (std::strcmp(a, "--leading") == 0) {
            chosen.optLeading = true;
        } else if (std::strcmp(a, "--trailing") == 0) {
            chosen.optTrailing = true;
        } else if (std::strcmp(a, "--inner") == 0) {
            chosen.optInner = true;
        } else if (std::strcmp(a, "--blank-lines") == 0) {
            chosen.optBlankLines = true;
        } else if (std::strcmp(a, "--stats") == 0) {
            args->stats = true;
        } else if (std::strcmp(a, "--cp936") == 0) {
            args->input = Input::CodePage;
        } else if (std::strcmp(a, "--input-encoding") == 0 || std::strncmp(a, "--input-encoding=", 17) == 0) {
            const char *value = a[16] == '=' ? a + 17 : i + 1 < argc ? argv[++i] : nullptr;
            if (!value) {
                std::fputs("zantoria-cli fold: --input-encoding needs utf-8, cp936 or auto\n", stderr);
                return Parse::Error;
            }
            if (std::strcmp(value, "utf-8") == 0 || std::strcmp(value, "utf8") == 0) {
                args->input = Input::Utf8;
            } else if (std::strcmp(value, "cp936") == 0) {
                args->input = Input::CodePage;
            } else if (std::strcmp(value, "auto") == 0) {
                args->input = Input::Auto;
            } else {
                std::fprintf(stderr, "zantoria-cli fold: unknown encoding '%s' (utf-8, cp936 or auto)\n", value);
                return Parse::Error;
            }
        } else if (std::strcmp(a, "--help") == 0 || std::strcmp(a, "-h") == 0) {
            return Parse::Help;
        } else if (a[0] == '-' && a[1] != '\0') {
            std::fprintf(stderr, "zantoria-cli fold: unknown option '%s'\n", a);
            return Parse::Error;
        } else if (haveFile) {
            std::fputs("zantoria-cli fold: only one FILE can be folded at a time\n", stderr);
            return Parse::Error;
        } else {
            haveFile = true;
            if (std::strcmp(a, "-") != 0)
                args->file = QString::fromLocal8Bit(a);
        }
    }
    if (!chosen.any())
        chosen.optLeading = true; // as the window starts
    args->options = chosen;
    return Parse::Run;
}

bool readInput(const QString &path, QByteArray *bytes)
{
    QFile file;
    bool opened = false;
    if (path.isEmpty()) {
        opened = file.open(stdin, QIODevice::ReadOnly);
    } else {
        file.setFileName(path);
        opened = file.open(QIODevice::ReadOnly);
    }
    if (opened) {
        *bytes = file.readAll();
        if (file.error() == QFileDevice::NoError)
            return true;
    }
    const QString what = path.isEmpty() ? QStringLiteral("standard input") : u'\'' + path + u'\'';
    std::fprintf(stderr, "zantoria-cli fold: cannot read %s: %s\n", what.toLocal8Bit().constData(),
                 file.errorString().toLocal8Bit().constData());
    return false;
}

QString decodeUtf8(QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text(decoder.requiredSpace(bytes.size()), Qt::Uninitialized);
    const QChar *end = decoder.appendToBuffer(text.data(), bytes);
    text.truncate(end - text.constData());
    bytes = QByteArray();
    TextCodec::toCrLf(text);
    return text;
}

QString decodeCodePage(QByteArray &bytes)
{
    // An LF byte is never part of a longer code, so the text can be decoded
    // piece by piece, each piece ending after an LF.
    QString text;
    text.reserve(bytes.size());
    const qsizetype n = bytes.size();
    for (qsizetype start = 0; start < n;) {
        const qsizetype lf = start + kChunk < n ? bytes.indexOf('\n', start + kChunk) : -1;
        const qsizetype end = lf < 0 ? n : lf + 1;
        text += TextCodec::decode(QByteArrayView(bytes).sliced(start, end - start));
        start = end;
    }
    bytes = QByteArray();
    // A file with LF (or lone CR) line ends folds as the window folds it,
    // line by line, and comes back with the CR LF the window saves.
    TextCodec::toCrLf(text);
    return text;
}

bool writeOut(const QByteArray &bytes)
{
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size());
}

// In auto mode: the result in the Format the input came in, piece by piece
// after the mark.
bool writeAuto(QString &result, TextCodec::Format format)
{
    if (format.lineEnd == TextCodec::LineEnd::Lf)
        TextCodec::toLf(result);
    bool ok = true;
    if (format.byteOrderMark)
        ok = writeOut(TextCodec::encode(QString(), format));
    format.byteOrderMark = false;
    format.lineEnd = TextCodec::LineEnd::CrLf; // as they stand now
    const qsizetype n = result.size();
    for (qsizetype start = 0; start < n && ok;) {
        qsizetype end = std::min(n, start + kChunk);
        if (end < n && result.at(end - 1).isHighSurrogate())
            ++end;
        ok = writeOut(TextCodec::encode(QStringView(result).sliced(start, end - start), format));
        start = end;
    }
    return std::fflush(stdout) == 0 && ok;
}

bool writeResult(QString &result, bool cp936)
{
    if (!cp936)
        TextCodec::toLf(result);
    QStringEncoder utf8(QStringEncoder::Utf8);
    const qsizetype n = result.size();
    bool ok = true;
    for (qsizetype start = 0; start < n && ok;) {
        qsizetype end = std::min(n, start + kChunk);
        if (end < n && result.at(end - 1).isHighSurrogate())
            ++end;
        const QStringView piece = QStringView(result).sliced(start, end - start);
        ok = writeOut(cp936 ? TextCodec::encode(piece) : QByteArray(utf8.encode(piece)));
        start = end;
    }
    return std::fflush(stdout) == 0 && ok;
}

void printStatistics(qint64 before, qint64 after)
{
    const qint64 reported = ZipStatistics::reportedSizeAfter(before, after);
    const QString lines = ZipStatistics::sizeBeforeText(before) + u'\n' + ZipStatistics::sizeAfterText(reported)
                          + u'\n' + ZipStatistics::zipRateText(before, reported) + u'\n';
    std::fputs(lines.toUtf8().constData(), stderr);
}

} // namespace

int runFold(int argc, char **argv)
{
    Arguments args;
    switch (parseArguments(argc, argv, &args)) {
    case Parse::Help:
        std::fputs(kUsage, stdout);
        return 0;
    case Parse::Error:
        std::fputs(kUsage, stderr);
        return 2;
    case Parse::Run:
        break;
    }

    QByteArray bytes;
    if (!readInput(args.file, &bytes))
        return 1;
    TextCodec::Format format;
    QString text;
    if (args.input == Input::Auto) {
        text = TextCodec::decode(bytes, &format);
        bytes = QByteArray();
        TextCodec::toCrLf(text);
    } else {
        text = args.input == Input::CodePage ? decodeCodePage(bytes) : decodeUtf8(bytes);
    }
    // The sizes only when asked for: counting them reads the text twice more.
    const qint64 before = args.stats ? ZipStatistics::textSize(text) : 0;
    QString result = Zip(std::move(text), args.options);
    const qint64 after = args.stats ? ZipStatistics::textSize(result) : 0;

    const bool written = args.input == Input::Auto ? writeAuto(result, format)
                                                   : writeResult(result, args.input == Input::CodePage);
    if (!written) {
        std::fputs("zantoria-cli fold: cannot write the result\n", stderr);
        return 1;
    }
    if (args.stats)
        printStatistics(before, after);
    return 0;
}
