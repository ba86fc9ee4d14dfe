// The picture-to-text core on a decoded picture: building the grey table
// once and converting every row, or shaping it (a size, dithering, braille),
// written to a device that keeps nothing;
// and whole JPEG files, decoding included (kind 0 is CMYK, 1 progressive
// CMYK). Pixels per second are reported as items per second.

#include "art/graypresets.h"
#include "art/pictotextconverter.h"
#include "art/picturebands.h"
#include "hostilepictures.h"

#include <QIODevice>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

class NullDevice : public QIODevice
{
public:
    NullDevice() { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 len) override { return len; }
};

QImage noisyPicture(int side, QImage::Format format)
{
    QImage image(side, side, QImage::Format_RGB32);
    QRandomGenerator random(20240601);
    for (int y = 0; y < side; ++y) {
        auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
        for (int x = 0; x < side; ++x)
            line[x] = 0xFF000000u | (random.generate() & 0xFFFFFFu);
    }
    return image.convertToFormat(format);
}

void convert(benchmark::State &state, QImage::Format format, const QString &gray,
             GrayTable::Encoding encoding)
{
    const int side = int(state.range(0));
    const QImage picture = noisyPicture(side, format);
    PicToTextConverter converter;
    PicToTextConverter::Format out;
    out.encoding = encoding;
    NullDevice sink;
    for (auto _ : state) {
        const auto outcome = converter.convert(picture, gray, sink, out);
        benchmark::DoNotOptimize(outcome);
    }
    state.SetItemsProcessed(state.iterations() * qint64(side) * side);
}

void BM_ConvertColour(benchmark::State &state)
{
    convert(state, QImage::Format_RGB32, grayPresets()[0].raw, GrayTable::Encoding::Gb18030);
}

void BM_ConvertGrey(benchmark::State &state)
{
    convert(state, QImage::Format_Grayscale8, grayPresets()[1].raw, GrayTable::Encoding::Utf8);
}

void BM_ConvertFullWidth(benchmark::State &state)
{
    convert(state, QImage::Format_RGB32, QStringLiteral("黑墨灰淡白　＃＊"), GrayTable::Encoding::Gb18030);
}

// The shaped text of a decoded 2000 × 2000 grey picture (LevelsToText):
// argument 0 is 80 columns, 1 the same dithered, 2 braille at 80 columns,
// 3 braille a dot per pixel, 4 every pixel inverted and dithered.
void BM_ConvertShaped(benchmark::State &state)
{
    const int side = 2000;
    const QImage picture = noisyPicture(side, QImage::Format_Grayscale8);
    PicToTextConverter converter;
    PicToTextConverter::Format out;
    out.encoding = GrayTable::Encoding::Utf8;
    const PicToTextOptions cases[] = {{80, 0}, {80, 0, false, true}, {80, 0, false, false, true},
                                      {0, 0, false, false, true}, {0, 0, true, true}};
    out.options = cases[state.range(0)];
    NullDevice sink;
    for (auto _ : state) {
        const auto outcome = converter.convert(picture, grayPresets()[0].raw, sink, out);
        benchmark::DoNotOptimize(outcome);
    }
    state.SetItemsProcessed(state.iterations() * qint64(side) * side);
}

// A whole JPEG file to text: decoding band by band and converting, as
// zantoria-cli pic2text --ordered does. Arguments: side, kind, noise.
void BM_JpegFileToText(benchmark::State &state)
{
    const int side = int(state.range(0));
    const auto kind = HostilePictures::JpegKind(state.range(1));
    const bool noise = state.range(2) != 0;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("picture.jpg"));
    if (!HostilePictures::writeJpeg(file, side, side, kind, 95, noise)) {
        state.SkipWithError("cannot write the picture");
        return;
    }
    const QString gray = grayPresets()[0].raw;
    PicToTextConverter converter;
    NullDevice sink;
    for (auto _ : state) {
        PictureBands bands(file);
        const auto outcome = converter.convert([&bands](QImage &band) { return bands.next(band); }, gray, sink,
                                               PicToTextConverter::Format());
        if (outcome != PicToTextConverter::Outcome::Done)
            state.SkipWithError("the picture did not convert");
    }
    state.SetItemsProcessed(state.iterations() * qint64(side) * side);
}

} // namespace

BENCHMARK(BM_JpegFileToText)
    ->ArgNames({"side", "kind", "noise"})
    ->Args({4000, int(HostilePictures::JpegKind::Cmyk), 0})
    ->Args({4000, int(HostilePictures::JpegKind::Cmyk), 1})
    ->Args({4000, int(HostilePictures::JpegKind::ProgressiveCmyk), 0})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertColour)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertGrey)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertFullWidth)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertShaped)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
