// Reading description files: the list reads every file of the plug-in
// folder each time it is built, so a typical file, the largest file the
// reader accepts, and a whole read from disk.

#include "plugins/pluginfile.h"

#include "shell/core/textcodec.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QString kDir = QStringLiteral("/opt/Zantoria");

QByteArray typical()
{
    return TextCodec::encode(PluginFile::format(
        CJInfo{"Spacefold", "1.0", "{app.path}/Spacefold", "空格压缩器：折叠字符画里的空格，让字符画更小巧"}));
}

// The worst the cap lets through: every line holds every key.
QByteArray largest()
{
    QByteArray bytes = TextCodec::encode(QString(PluginFile::kMarker + QStringLiteral("\r\n")));
    const QByteArray line("  x[Name]=[Version]=[Path]={app.path}{app.path}[Description]=abc  \r\n");
    while (bytes.size() + line.size() <= PluginFile::kMaxFileSize)
        bytes += line;
    return bytes;
}

void BM_ParseTypical(benchmark::State &state)
{
    const QByteArray bytes = typical();
    for (auto _ : state)
        benchmark::DoNotOptimize(PluginFile::parseBytes(bytes, kDir));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ParseTypical);

void BM_ParseLargest(benchmark::State &state)
{
    const QByteArray bytes = largest();
    for (auto _ : state)
        benchmark::DoNotOptimize(PluginFile::parseBytes(bytes, kDir));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ParseLargest)->Unit(benchmark::kMicrosecond);

void BM_ReadTypicalFile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Spacefold.ini"));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(typical());
    f.close();
    for (auto _ : state)
        benchmark::DoNotOptimize(PluginFile::read(path, kDir));
}
BENCHMARK(BM_ReadTypicalFile)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
