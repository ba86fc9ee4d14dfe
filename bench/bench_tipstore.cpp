// The tips library on disk: listing a kind that holds thousands of tips
// (every refill of the list does it), and reading and saving a large text
// picture (every pick of a tip, every save on leaving it).

#include "library/tipstore.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// A text picture of about `bytes` bytes in the code page: full-width rows.
QString picture(qint64 bytes)
{
    const QString row = QString(40, QChar(0x25A0)) + QString(20, QChar(0x3000)) + QStringLiteral("\r\n");
    QString text;
    text.reserve(bytes);
    while (text.size() * 2 < bytes)
        text += row;
    return text;
}

struct Library
{
    QTemporaryDir dir;
    TipStore store{dir.path()};

    explicit Library(int tips)
    {
        QDir().mkpath(dir.path() + QStringLiteral("/data/Zantoria秘笈/Pictures"));
        for (int i = 0; i < tips; ++i) {
            QFile f(store.path(TipKind::Pictures, QStringLiteral("秘笈%1.txt").arg(i)));
            (void)f.open(QIODevice::WriteOnly);
        }
    }
};

void listKind(benchmark::State &state)
{
    Library library(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(library.store.list(TipKind::Pictures));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(listKind)->Arg(100)->Arg(5000)->Unit(benchmark::kMillisecond);

void readTip(benchmark::State &state)
{
    Library library(0);
    const QString path = library.store.path(TipKind::Pictures, QStringLiteral("big.txt"));
    TipStore::save(path, picture(state.range(0)));
    for (auto _ : state) {
        QString text;
        benchmark::DoNotOptimize(TipStore::read(path, &text));
    }
    state.SetBytesProcessed(state.iterations() * QFile(path).size());
}
BENCHMARK(readTip)->Arg(4 << 20)->Unit(benchmark::kMillisecond);

// Every save writes: the text alternates with one a character longer (a
// save of the text the file holds is a read and a comparison only).
void saveTip(benchmark::State &state)
{
    Library library(0);
    const QString path = library.store.path(TipKind::Pictures, QStringLiteral("big.txt"));
    const QString texts[] = {picture(state.range(0)), picture(state.range(0)) + QStringLiteral("x")};
    int turn = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(TipStore::save(path, texts[turn++ % 2]));
    state.SetBytesProcessed(state.iterations() * QFile(path).size());
}
BENCHMARK(saveTip)->Arg(4 << 20)->Unit(benchmark::kMillisecond);

void saveUnchangedTip(benchmark::State &state)
{
    Library library(0);
    const QString path = library.store.path(TipKind::Pictures, QStringLiteral("big.txt"));
    const QString text = picture(state.range(0));
    TipStore::save(path, text);
    for (auto _ : state)
        benchmark::DoNotOptimize(TipStore::save(path, text));
    state.SetBytesProcessed(state.iterations() * QFile(path).size());
}
BENCHMARK(saveUnchangedTip)->Arg(4 << 20)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
