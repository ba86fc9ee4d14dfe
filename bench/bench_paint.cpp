// The paint grid's hot paths on the largest canvas (120 × 120): a cell
// painted by the drawing rule onto the canvas image, the whole grid drawn
// afresh, the grid as text and back, one stroke recorded for undo, and the
// tools: what one pointer move costs while a shape or a selection is
// dragged (drawn afresh on the grid the press found, the canvas repainted
// where it differs), and a fill of the whole canvas.

#include "paint/thgrid.h"
#include "paint/thhistory.h"
#include "paint/thimagesurface.h"
#include "paint/thrender.h"
#include "paint/thtext.h"
#include "paint/thtools.h"

#include "shell/core/fonts.h"

#include <QGuiApplication>
#include <QRandomGenerator>

#include <benchmark/benchmark.h>

namespace {

constexpr int kSide = 120;
const char32_t kBrushes[] = {U'#', U'a', U' ', U'中', U'★', U'⊙', U'国', U'Z'};

THGrid paintedGrid()
{
    THGrid grid(kSide, kSide);
    QRandomGenerator random(42);
    for (int i = 0; i < kSide * kSide; ++i)
        grid.thDrawChar(kBrushes[random.bounded(int(std::size(kBrushes)))], random.bounded(kSide),
                        random.bounded(kSide));
    return grid;
}

void BM_DrawCell(benchmark::State &state)
{
    THGrid grid(kSide, kSide);
    THImageSurface surface;
    THRenderGrid(surface, grid);
    QRandomGenerator random(1);
    for (auto _ : state) {
        const auto drawn = grid.thDrawChar(kBrushes[random.bounded(int(std::size(kBrushes)))],
                                           random.bounded(kSide), random.bounded(kSide), &surface);
        benchmark::DoNotOptimize(drawn);
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_RenderWholeGrid(benchmark::State &state)
{
    const THGrid grid = paintedGrid();
    THImageSurface surface;
    for (auto _ : state) {
        THRenderGrid(surface, grid);
        benchmark::DoNotOptimize(surface.image().constBits());
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

void BM_GridToText(benchmark::State &state)
{
    const THGrid grid = paintedGrid();
    for (auto _ : state) {
        const QString text = thGridToText(grid);
        benchmark::DoNotOptimize(text.constData());
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

void BM_TextToGrid(benchmark::State &state)
{
    const QString text = thGridToText(paintedGrid());
    for (auto _ : state) {
        const THTextSize size = thTextSize(text, kSide, kSide);
        const THGrid grid = thTextToGrid(text, size.rows, size.cols);
        benchmark::DoNotOptimize(grid.cells().data());
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

void BM_RecordStroke(benchmark::State &state)
{
    const THGrid before = paintedGrid();
    THGrid after = before;
    for (int c = 0; c < 40; ++c)
        after.thDrawChar(U'#', c, 60);
    THHistory history;
    for (auto _ : state)
        history.record(before, after);
}

// One pointer move of a drag: the tool's result on a copy of the grid the
// press found, and the canvas repainted from the previous move's.
template<typename Tool>
void dragStep(benchmark::State &state, Tool &&tool)
{
    const THGrid before = paintedGrid();
    THImageSurface surface;
    THRenderGrid(surface, before);
    THGrid shown = before;
    QRandomGenerator random(5);
    for (auto _ : state) {
        THGrid result = before;
        tool(result, QPoint(random.bounded(kSide), random.bounded(kSide)));
        THRepaintChanges(surface, shown, result);
        shown = std::move(result);
    }
}

void BM_DragRectangle(benchmark::State &state)
{
    dragStep(state, [](THGrid &grid, QPoint to) { thDrawRect(grid, U'★', QPoint(3, 3), to, false); });
}

void BM_DragLine(benchmark::State &state)
{
    dragStep(state, [](THGrid &grid, QPoint to) { thDrawLine(grid, U'#', QPoint(60, 60), to); });
}

void BM_DragSelection(benchmark::State &state)
{
    dragStep(state, [](THGrid &grid, QPoint to) { thMove(grid, QRect(40, 40, 40, 40), to - QPoint(60, 60)); });
}

void BM_FillWholeCanvas(benchmark::State &state)
{
    THGrid grid(kSide, kSide);
    const char32_t brushes[] = {U'#', U'■'};
    int i = 0;
    for (auto _ : state)
        thFill(grid, brushes[i++ % 2], QPoint(0, 0));
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}

} // namespace

BENCHMARK(BM_DrawCell)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RenderWholeGrid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridToText)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TextToGrid)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecordStroke)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DragLine)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DragRectangle)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DragSelection)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FillWholeCanvas)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    Fonts::installSubstitutions();
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
