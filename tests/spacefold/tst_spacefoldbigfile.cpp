// Spacefold on a real X server with files of 10 MB: the window keeps
// repainting while it opens and compresses them, and its memory stays
// below ten times the file.

#include "scripteddialogs.h"

#include "shell/core/fonts.h"
#include "shell/core/largeblocks.h"
#include "shell/widgets/displayarea.h"
#include "spacefold/spacefoldwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGroupBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/resource.h>

namespace {

// The most memory the process has held since the last reset (Linux keeps
// that mark per process and lets it be reset, so each row measures itself).
void resetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

qint64 peakMemoryBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
        }
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return qint64(usage.ru_maxrss) * 1024;
}

// Counts paints anywhere in the window.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

class TestSpacefoldBigFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void opensAndCompressesWhileRepainting_data();
    void opensAndCompressesWhileRepainting();
};

void TestSpacefoldBigFile::initTestCase()
{
    QVERIFY2(qgetenv("QT_QPA_PLATFORM") != "offscreen", "this suite needs a real X server");
}

void TestSpacefoldBigFile::opensAndCompressesWhileRepainting_data()
{
    QTest::addColumn<QByteArray>("piece");
    QTest::addColumn<int>("repeats");
    QTest::addColumn<qsizetype>("openedSize");
    QTest::addColumn<qsizetype>("foldedSize");
    // Ten megabytes on one line: every blank column of a single line goes.
    QTest::newRow("one line of 10 MB") << QByteArray("   ab") << 2 * 1024 * 1024 << qsizetype(10 * 1024 * 1024)
                                       << qsizetype(4 * 1024 * 1024);
    // A million short lines with LF line ends, 10 MB again: the blank columns that
    // run through every line go, leaving "abc" on each.
    QTest::newRow("a million lines") << QByteArray("    ab  c\n") << 1024 * 1024 << qsizetype(1024 * 1024 * 11)
                                     << qsizetype(1024 * 1024 * 5 - 2);
}

void TestSpacefoldBigFile::opensAndCompressesWhileRepainting()
{
    QFETCH(QByteArray, piece);
    QFETCH(int, repeats);
    QFETCH(qsizetype, openedSize);
    QFETCH(qsizetype, foldedSize);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.txt"));
    {
        // Written a piece at a time: the test keeps no copy of its own.
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QByteArray block = piece.repeated(4096);
        for (int i = 0; i < repeats / 4096; ++i)
            QCOMPARE(file.write(block), block.size());
        QCOMPARE(file.write(piece.repeated(repeats % 4096)), piece.size() * (repeats % 4096));
    }
    const qint64 fileSize = QFileInfo(path).size();

    ScriptedDialogs *dialogs = ScriptedDialogs::install();
    dialogs->files.enqueue(path);
    SpacefoldWindow window;
    window.Form_Load();
    window.chk(1)->setChecked(true);
    window.chk(2)->setChecked(true);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    PaintCounter counter;
    for (QWidget *w : window.findChildren<QWidget *>())
        w->installEventFilter(&counter);
    window.installEventFilter(&counter);

    // A timer of the test ticks all along; it sees each status the window
    // shows and how long the window ever went without letting it run.
    QStringList statuses;
    qint64 longestGap = 0;
    QElapsedTimer clock;
    clock.start();
    qint64 lastTick = 0;
    QTimer tick;
    tick.setInterval(10);
    connect(&tick, &QTimer::timeout, this, [&] {
        const qint64 now = clock.elapsed();
        longestGap = std::max(longestGap, now - lastTick);
        lastTick = now;
        const QString status = window.frame(1)->title();
        if (statuses.isEmpty() || statuses.last() != status)
            statuses << status;
    });
    tick.start();

    QTest::qWait(50);
    resetPeakMemory();
    const int paintsBefore = counter.paints;
    window.Btn_Click(1);
    QTRY_VERIFY_WITH_TIMEOUT(!window.isOpening(), 60000);
    QVERIFY(window.textBox()->isLargeText());
    QCOMPARE(window.textBox()->text().size(), openedSize);
    QTRY_VERIFY(counter.paints > paintsBefore); // the opened text is drawn
    const int paintsOpened = counter.paints;
    window.Btn_Click(2);
    QTRY_VERIFY(counter.paints > paintsOpened);
    QTest::qWait(50);
    tick.stop();

    QCOMPARE(window.textBox()->text().size(), foldedSize);
    QVERIFY2(statuses.contains(QStringLiteral("文本状态：正在打开文件...")), qPrintable(statuses.join(u'|')));
    QVERIFY2(statuses.contains(QStringLiteral("文本状态：正在压缩后置空格...")), qPrintable(statuses.join(u'|')));
    QVERIFY2(statuses.contains(QStringLiteral("文本状态：正在压缩中间空格...")), qPrintable(statuses.join(u'|')));
    // Generous: the build machine is shared, and a second there is no freeze.
    QVERIFY2(longestGap < 1500, qPrintable(QStringLiteral("the window froze for %1 ms").arg(longestGap)));
    const qint64 peak = peakMemoryBytes();
    QVERIFY2(peak < 10 * fileSize,
             qPrintable(QStringLiteral("peak memory %1 MB for a file of %2 MB").arg(peak >> 20).arg(fileSize >> 20)));
    QVERIFY(dialogs->shown.size() == 1); // the open dialog, no failure
}

int main(int argc, char **argv)
{
    returnLargeBlocksWhenFreed(); // as the program starts
    Fonts::installSubstitutions();
    QApplication app(argc, argv);
    TestSpacefoldBigFile test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_spacefoldbigfile.moc"
