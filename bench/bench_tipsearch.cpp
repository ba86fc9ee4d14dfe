// The library's search: building the index from a library of 10,000 tips of
// about 2 KB each (Chinese and ASCII mixed, as written by the program), the
// time a keystroke in the search box takes, and what the index holds against
// the text it indexes.

#include "library/tipindex.h"
#include "library/tipsearch.h"
#include "library/tipstore.h"
#include "shell/core/textcodec.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThreadPool>

#include <malloc.h>
#include <time.h>

#include <algorithm>
#include <iostream>

namespace {

constexpr int kTips = 10000;
constexpr qint64 kTipBytes = 2048;

// Everyday characters: what chat texts are made of.
const QString kHan = QStringLiteral(
    "的一是在不了有和人这中大为上个国我以要他时来用们生到作地于出就分对成会可主发年动同工也能下过子说产种面而方后多定行学法所民"
    "得经十三之进着等部度家电力里如水化高自二理起小物现实加量都两体制机当使点从业本去把性好应开它合还因由其些然前外天政四日那社义"
    "事平形相全表间样与关各重新线内数正心反你明看原又么利比或但质气第向道命此变条只没结解问意建月公无系军很情者最立代想已通并提直"
    "题党程展五果料象员革位入常文总次品式活设及管特件长求老头基资边流路级少图山统接知较将组见计别她手角期根论运农指几九区强放决西"
    "被干做必战先回则任取据处队南给色光门即保治北造百规热领七海口东导器压志世金增争济阶油思术极交受联什认六共权收证改清己美再采转"
    "更单风切打白教速花带安场身车例真务具万每目至达走积示议声报斗完类八离华名确才科张信马节话米整空元况今集温传土许步群广石记需段"
    "研界拉林律叫且究观越织装影算低持音众书布复容儿须际商非验连断深难近矿千周委素技备半办青省列习响约支般史感劳便团往酸历市克何除"
    "消构府称太准精值号率族维划选标写存候毛亲快效斯院查江型眼王按格养易置派层片始却专状育厂京识适属圆包火住调满县局照参红细引听该"
    "铁价严龙飞祝福乐笑哈呵");
const QStringList kWords = {QStringLiteral("hello"), QStringLiteral("QQ"),   QStringLiteral("2026"),
                            QStringLiteral("smile"), QStringLiteral(":)"),   QStringLiteral("Zantoria"),
                            QStringLiteral("art"),   QStringLiteral("ｏｋ"), QStringLiteral("，"),
                            QStringLiteral("。"),    QStringLiteral("！"),   QStringLiteral("~")};

// One tip's text: runs of Chinese with a word between, lines of about 40
// bytes, about kTipBytes in the code page.
QString tipText(QRandomGenerator &random)
{
    QString text;
    qint64 bytes = 0;
    int line = 0;
    while (bytes < kTipBytes) {
        QString piece;
        if (random.bounded(4) == 0) {
            piece = kWords[random.bounded(kWords.size())] + u' ';
        } else {
            for (int n = 2 + int(random.bounded(6)); n > 0; --n)
                piece += kHan[random.bounded(kHan.size())];
        }
        text += piece;
        const qint64 b = TextCodec::byteLength(piece);
        bytes += b;
        line += int(b);
        if (line >= 40) {
            text += QStringLiteral("\r\n");
            bytes += 2;
            line = 0;
        }
    }
    return text;
}

// The library, written once per run.
struct Library
{
    QTemporaryDir dir;
    TipStore store{dir.path()};
    qint64 fileBytes = 0;

    Library()
    {
        QRandomGenerator random(2026);
        for (const TipKind kind : {TipKind::Pictures, TipKind::Words})
            QDir().mkpath(store.directory(kind));
        QDir().mkpath(QFileInfo(store.favouritesPath()).path());
        for (int i = 0; i < kTips; ++i) {
            QString name;
            for (int n = 2 + int(random.bounded(3)); n > 0; --n)
                name += kHan[random.bounded(kHan.size())];
            name += QString::number(i);
            const QString path = store.path(i % 2 ? TipKind::Words : TipKind::Pictures, name + QStringLiteral(".txt"));
            TipStore::save(path, tipText(random));
            fileBytes += QFileInfo(path).size();
        }
    }
    static Library &get()
    {
        static Library library;
        return library;
    }
};

std::size_t heapInUse()
{
    return mallinfo2().uordblks;
}

void buildIndex(benchmark::State &state)
{
    Library &library = Library::get();
    // The readings are made once per process; the first build pays for them.
    QElapsedTimer first;
    first.start();
    (void)HanReadings::icu();
    state.counters["readings_ms"] = double(first.nsecsElapsed()) / 1e6;
    double memory = 0, accounted = 0, text = 0;
    for (auto _ : state) {
        const std::size_t before = heapInUse();
        std::unique_ptr<TipIndex> index = TipSearch::buildIndex(library.store);
        const std::size_t after = heapInUse();
        memory = double(after - before);
        accounted = double(index->memoryBytes());
        text = double(index->indexedTextBytes());
        if (index->size() != kTips)
            state.SkipWithError("tips missing");
        state.PauseTiming();
        index.reset();
        state.ResumeTiming();
    }
    state.counters["heap_per_text"] = memory / text;
    state.counters["accounted_per_text"] = accounted / text;
    state.counters["text_MiB"] = text / (1024 * 1024);
    state.counters["files_MiB"] = double(library.fileBytes) / (1024 * 1024);
}
BENCHMARK(buildIndex)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// What users type: pinyin, initials, characters, Latin words, a unit at a time.
const QStringList kTyped = {QStringLiteral("shengri"), QStringLiteral("sr"),      QStringLiteral("生日快乐"),
                            QStringLiteral("hello"),   QStringLiteral("zhongguo"), QStringLiteral("xiang"),
                            QStringLiteral("zgr"),     QStringLiteral("qq2026"),   QStringLiteral("kuaile"),
                            QStringLiteral("ＯＫ"),    QStringLiteral("wode"),     QStringLiteral("zhufu"),
                            QStringLiteral("meiyou"),  QStringLiteral("生r"),     QStringLiteral("zzz"),
                            QStringLiteral("jqxxzs")};

std::unique_ptr<TipIndex> &sharedIndex()
{
    static std::unique_ptr<TipIndex> index = TipSearch::buildIndex(Library::get().store);
    return index;
}

// Forgets what earlier searches found, as any change to the library does.
void forgetResults(TipIndex &index)
{
    index.put(TipSource::Favourites, QString(), TipIndex::kFavouritesName, u"");
}

// The processor time of this thread: with one thread doing all the work,
// what a keystroke costs whatever else the machine runs.
double threadMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Argument: the threads a search may use (1: the calling thread alone).
void keystroke(benchmark::State &state)
{
    TipIndex &index = *sharedIndex();
    const int threads = QThreadPool::globalInstance()->maxThreadCount();
    QThreadPool::globalInstance()->setMaxThreadCount(int(state.range(0)));
    std::vector<double> wall, cpu;
    qint64 hits = 0;
    for (auto _ : state) {
        for (const QString &query : kTyped) {
            forgetResults(index);
            for (qsizetype n = 1; n <= query.size(); ++n) {
                QElapsedTimer timer;
                const double cpuStart = threadMs();
                timer.start();
                const QList<TipHit> found = index.search(query.first(n));
                wall.push_back(double(timer.nsecsElapsed()) / 1e6);
                cpu.push_back(threadMs() - cpuStart);
                hits += found.size();
            }
        }
    }
    QThreadPool::globalInstance()->setMaxThreadCount(threads);
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    state.counters["median_ms"] = wall[wall.size() / 2];
    state.counters["worst_ms"] = wall.back();
    if (state.range(0) == 1) {
        state.counters["median_cpu_ms"] = cpu[cpu.size() / 2];
        state.counters["worst_cpu_ms"] = cpu.back();
    }
    state.counters["keystrokes"] = double(wall.size());
    state.counters["hits_per_key"] = double(hits) / double(wall.size());
}
BENCHMARK(keystroke)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// A whole query at once (pasted, or after a change to the library): no
// earlier result to narrow.
void wholeQuery(benchmark::State &state)
{
    TipIndex &index = *sharedIndex();
    // One thread, so that the processor time shown is all of it.
    const int threads = QThreadPool::globalInstance()->maxThreadCount();
    QThreadPool::globalInstance()->setMaxThreadCount(1);
    const QString query = kTyped[state.range(0)];
    qsizetype hits = 0;
    for (auto _ : state) {
        state.PauseTiming();
        forgetResults(index);
        state.ResumeTiming();
        hits = index.search(query).size();
    }
    QThreadPool::globalInstance()->setMaxThreadCount(threads);
    state.SetLabel(query.toStdString() + ", " + std::to_string(hits) + " hits");
}
BENCHMARK(wholeQuery)->DenseRange(0, 15)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
