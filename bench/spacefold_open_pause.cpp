// spacefold_open_pause [FILE... | --make DIR]: Spacefold opens each file as when the user
// picks it, and a timer ticking every 5 ms measures the longest the window
// went without answering, from the click until the text is drawn. Without
// FILE it makes two files of 250 MiB in a temporary folder: random bytes,
// and text art in the code page (--make DIR only writes them there). Runs on whatever platform QT_QPA_PLATFORM
// names (offscreen by default; an X server shows the painting too).

#include "scripteddialogs.h"

#include "shell/core/fonts.h"
#include "shell/core/largeblocks.h"
#include "shell/core/textcodec.h"
#include "shell/widgets/displayarea.h"
#include "spacefold/spacefoldwindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>
#include <cstdio>

namespace {

constexpr qint64 kFileBytes = qint64(250) << 20;

bool writeRandom(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QRandomGenerator random(250);
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (qint64 done = 0; done < kFileBytes; done += block.size()) {
        random.fillRange(reinterpret_cast<quint32 *>(block.data()), block.size() / 4);
        if (file.write(block) != block.size())
            return false;
    }
    return true;
}

// Text art as the generators make it: an indent, a picture of half-width and
// full-width characters, trailing blanks, CR LF.
bool writeArt(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    static const QString ink = QStringLiteral("　中国@#*+=-:. ");
    qint64 done = 0;
    QString lines;
    for (int row = 0; done < kFileBytes; ++row) {
        lines += QStringLiteral("        ");
        for (int col = 0; col < 60; ++col) {
            const double v = std::sin(row * 0.21 + col * 0.13) * std::cos(col * 0.07 - row * 0.05);
            lines += ink[int((v + 1) * 0.5 * (ink.size() - 1))];
        }
        lines += QStringLiteral("   \r\n");
        if (row % 4096 == 4095) {
            const QByteArray bytes = TextCodec::encode(lines).left(kFileBytes - done);
            if (file.write(bytes) != bytes.size())
                return false;
            done += bytes.size();
            lines.clear();
        }
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    returnLargeBlocksWhenFreed(); // as Spacefold starts
    QApplication app(argc, argv);
    Fonts::installSubstitutions();

    QStringList paths;
    for (int i = 1; i < argc; ++i)
        paths << QString::fromLocal8Bit(argv[i]);
    QTemporaryDir temporary;
    const bool makeOnly = paths.size() == 2 && paths[0] == QStringLiteral("--make");
    if (paths.isEmpty() || makeOnly) {
        const QDir dir(makeOnly ? paths[1] : temporary.path());
        paths = QStringList{dir.filePath(QStringLiteral("random.bin")), dir.filePath(QStringLiteral("art.txt"))};
        if (!writeRandom(paths[0]) || !writeArt(paths[1])) {
            std::fputs("spacefold_open_pause: cannot write the files to open\n", stderr);
            return 1;
        }
        if (makeOnly)
            return 0;
    }

    ScriptedDialogs *dialogs = ScriptedDialogs::install();
    SpacefoldWindow window;
    window.Form_Load();
    window.show();

    QElapsedTimer clock;
    clock.start();
    qint64 lastTick = 0;
    qint64 longest = 0;
    QTimer probe;
    probe.setInterval(5);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - lastTick);
        lastTick = now;
    });
    const auto settle = [](int ms) {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    };
    settle(300);

    std::printf("%-40s %10s %10s %16s\n", "file", "MiB", "open ms", "longest pause ms");
    int status = 0;
    for (const QString &path : paths) {
        dialogs->files.enqueue(path);
        probe.start();
        lastTick = clock.elapsed();
        longest = 0;
        const qint64 start = lastTick;
        qint64 opened = -1;
        QEventLoop loop;
        QTimer watch;
        watch.setInterval(1);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (!window.isOpening()) {
                opened = clock.elapsed() - start;
                loop.quit();
            }
        });
        QTimer::singleShot(0, &window, [&] {
            window.Btn_Click(1);
            watch.start();
        });
        loop.exec();
        watch.stop();
        settle(300); // the text drawn
        probe.stop();
        std::printf("%-40s %10.1f %10lld %16lld\n", qPrintable(QFileInfo(path).fileName()),
                    double(QFileInfo(path).size()) / (1 << 20), opened, longest);
        if (dialogs->shown.size() > 1) {
            std::fprintf(stderr, "spacefold_open_pause: %s was refused\n", qPrintable(path));
            status = 1;
        }
        dialogs->shown.clear();
    }
    return status;
}
