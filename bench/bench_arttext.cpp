// Art text: drawing the words into cells and building the characters, and
// the command line's start-up against the least a Qt program must do.

#include "art/arttext.h"
#include "art/textcells.h"

#include "shell/core/fonts.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>

namespace {

void renderAndBuild(benchmark::State &state, const QString &text, double points)
{
    const QFont font = ArtTextFont(Fonts::kSongTi, points, false, false);
    const ArtText::Style style;
    qint64 cells = 0;
    for (auto _ : state) {
        TextCells grid;
        if (!RenderTextCells(text, font, grid)) {
            state.SkipWithError("refused");
            return;
        }
        const QString art = ArtText::Build(grid, text, style);
        benchmark::DoNotOptimize(art.constData());
        cells = grid.count();
    }
    state.counters["cells"] = double(cells);
}

QString latin(int n)
{
    const QString alphabet = QStringLiteral("The quick brown fox jumps over the lazy dog, 0123456789! ");
    QString s;
    for (int i = 0; i < n; ++i)
        s += alphabet[i % alphabet.size()];
    return s;
}

void BM_Latin1000At12(benchmark::State &state)
{
    renderAndBuild(state, latin(1000), 12);
}
void BM_Mixed200At72(benchmark::State &state)
{
    QString s;
    const QString mixed = QStringLiteral("聊天Art文字，Zantoria！");
    for (int i = 0; i < 200; ++i)
        s += mixed[i % mixed.size()];
    renderAndBuild(state, s, 72);
}
void BM_W1000At72(benchmark::State &state)
{
    renderAndBuild(state, QString(1000, u'W'), 72);
}
void BM_Zhong1000At72(benchmark::State &state)
{
    renderAndBuild(state, QString(1000, QChar(0x4E2D)), 72);
}
// The same cells either way round: the blank lines before the first
// character take that character, those after it the one before them.
void BM_BlankLinesThenX(benchmark::State &state)
{
    renderAndBuild(state, QString(int(state.range(0)), u'\n') + u'x', 4);
}
void BM_XThenBlankLines(benchmark::State &state)
{
    renderAndBuild(state, u'x' + QString(int(state.range(0)), u'\n'), 4);
}

// Near the cell bound, the shapes that once cost the most: a result one
// column wide and millions of rows tall (line breaks that draw nothing), and
// one line as wide as the bound allows.
void BM_BlankLinesAt72(benchmark::State &state)
{
    renderAndBuild(state, QString(131'000, u'\n') + QChar(0x200B), 72);
}
void BM_ZeroWidthLinesAt4(benchmark::State &state)
{
    renderAndBuild(state, QStringLiteral("\u200B\n").repeated(2'000'000), 4);
}
void BM_OneWideLineAt72(benchmark::State &state)
{
    renderAndBuild(state, QString(2300, u'W'), 72);
}
void BM_OneWideLineAt4(benchmark::State &state)
{
    renderAndBuild(state, QString(131'000, u'W'), 4);
}
void BM_MixedLinesAt72(benchmark::State &state)
{
    renderAndBuild(state, QStringLiteral("聊天Art文字\n").repeated(200), 72);
}

void runProgram(benchmark::State &state, const QString &program, const QStringList &args)
{
    for (auto _ : state) {
        QProcess process;
        process.start(program, args);
        if (!process.waitForFinished(60000) || process.exitCode() != 0) {
            state.SkipWithError("the program failed");
            return;
        }
        benchmark::DoNotOptimize(process.readAllStandardOutput().size());
    }
}

const QStringList kLine = {latin(100)};

void BM_CliArtText100At12(benchmark::State &state)
{
    runProgram(state, QStringLiteral(ZANTORIA_PROGRAM_DIR "/zantoria-cli"),
               QStringList{QStringLiteral("arttext"), QStringLiteral("--size"), QStringLiteral("12")} + kLine);
}
void BM_QtStartAndDraw(benchmark::State &state)
{
    runProgram(state, QStringLiteral(ZANTORIA_BENCH_DIR "/qt_start_draw"), kLine);
}
void BM_Toilet100(benchmark::State &state)
{
    const QString toilet = QStandardPaths::findExecutable(QStringLiteral("toilet"));
    if (toilet.isEmpty()) {
        state.SkipWithError("toilet is not installed");
        return;
    }
    runProgram(state, toilet, kLine);
}

} // namespace

BENCHMARK(BM_Latin1000At12)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mixed200At72)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_W1000At72)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Zhong1000At72)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BlankLinesThenX)->Unit(benchmark::kMillisecond)->Arg(30'000)->Arg(120'000);
BENCHMARK(BM_XThenBlankLines)->Unit(benchmark::kMillisecond)->Arg(30'000)->Arg(120'000);
BENCHMARK(BM_BlankLinesAt72)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZeroWidthLinesAt4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OneWideLineAt72)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OneWideLineAt4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MixedLinesAt72)->Unit(benchmark::kMillisecond);
// Side by side in one run, interleaved so that the load of the machine
// weighs on both alike.
BENCHMARK(BM_QtStartAndDraw)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20)->Repetitions(3);
BENCHMARK(BM_CliArtText100At12)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20)->Repetitions(3);
BENCHMARK(BM_Toilet100)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Fonts::installSubstitutions();
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
