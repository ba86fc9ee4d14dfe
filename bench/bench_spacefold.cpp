// Folding ten megabytes of text art, the size the window and the command
// line are meant to handle in well under a second.

#include "spacefold/spacezip.h"
#include "spacefold/zipstatistics.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <cmath>

namespace {

// Text art as the generators make it: a shared indent, a picture of mixed
// half-width and full-width characters with a blank gutter through every
// line, trailing blanks, and a blank line between the pictures.
QString makeArt(qint64 targetBytes)
{
    static const QString ink = QStringLiteral("　中国@#*+=-:. ");
    QString art;
    art.reserve(targetBytes);
    qint64 bytes = 0;
    for (int row = 0; bytes < targetBytes; ++row) {
        QString line = QStringLiteral("        ");
        if (row % 41 == 40) {
            line += QStringLiteral("    ");
        } else {
            for (int col = 0; col < 36; ++col) {
                const double v = std::sin(row * 0.21 + col * 0.13) * std::cos(col * 0.07 - row * 0.05);
                line += ink[int((v + 1) * 0.5 * (ink.size() - 1))];
                if (col == 17)
                    line += QStringLiteral("    ");
            }
            line += QStringLiteral("   ");
        }
        line += QStringLiteral("\r\n");
        bytes += ZipStatistics::textSize(line);
        art += line;
    }
    return art;
}

const QString &tenMegabytes()
{
    static const QString art = makeArt(10 * 1000 * 1000);
    return art;
}

void BM_Zip(benchmark::State &state)
{
    const QString &art = tenMegabytes();
    const int mask = int(state.range(0));
    ZipOptions options;
    options.optBlankLines = mask & 1;
    options.optTrailing = mask & 2;
    options.optLeading = mask & 4;
    options.optInner = mask & 8;
    qint64 after = 0;
    for (auto _ : state) {
        QString folded = Zip(art, options);
        after = ZipStatistics::textSize(folded);
        benchmark::DoNotOptimize(folded);
    }
    const qint64 before = ZipStatistics::textSize(art);
    state.SetBytesProcessed(state.iterations() * before);
    state.counters["bytes_before"] = double(before);
    state.counters["bytes_after"] = double(after);
}

} // namespace

// All four passes, then each pass alone.
BENCHMARK(BM_Zip)->Arg(15)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
