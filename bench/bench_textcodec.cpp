// Reading text files by the detection rule: finding the format of 16 MiB
// and decoding by it, beside the plain code-page decode, for text art in
// the code page, in UTF-8, in UTF-16 and in ASCII alone (which the UTF-8
// scan has to read to its end).

#include "shell/core/textcodec.h"

#include <benchmark/benchmark.h>

#include <QStringEncoder>

namespace {

enum Kind { CodePage, Utf8, Utf16, Ascii };

QByteArray art(Kind kind)
{
    const QString row = kind == Ascii ? QString(QStringLiteral("  **  ##  ").repeated(6) + QStringLiteral("\r\n"))
                                      : QString(QString(40, QChar(0x25A0)) + QString(20, QChar(0x3000)) + QStringLiteral("ab\r\n"));
    QString text;
    while (text.size() < (16 << 20) / 2)
        text += row;
    switch (kind) {
    case Utf8:
        return text.toUtf8();
    case Utf16:
        return QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom).encode(text);
    default:
        return TextCodec::encode(text);
    }
}

void detectAndDecode(benchmark::State &state)
{
    const QByteArray bytes = art(Kind(state.range(0)));
    for (auto _ : state) {
        TextCodec::Format format;
        benchmark::DoNotOptimize(TextCodec::decode(bytes, &format));
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(detectAndDecode)->DenseRange(CodePage, Ascii)->Unit(benchmark::kMillisecond);

void detectOnly(benchmark::State &state)
{
    const QByteArray bytes = art(Kind(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(TextCodec::detect(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(detectOnly)->DenseRange(CodePage, Ascii)->Unit(benchmark::kMillisecond);

void codePageDecode(benchmark::State &state)
{
    const QByteArray bytes = art(Kind(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(TextCodec::decode(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(codePageDecode)->Arg(CodePage)->Arg(Ascii)->Unit(benchmark::kMillisecond);

void encodeBack(benchmark::State &state)
{
    const QByteArray bytes = art(Kind(state.range(0)));
    TextCodec::Format format;
    const QString text = TextCodec::decode(bytes, &format);
    for (auto _ : state)
        benchmark::DoNotOptimize(TextCodec::encode(text, format));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(encodeBack)->DenseRange(CodePage, Ascii)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
