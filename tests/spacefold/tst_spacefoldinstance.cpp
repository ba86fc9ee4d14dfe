// Two real copies of Spacefold on an X server with a window manager: the
// second brings the first back from the task bar and ends.

#include "platform/windowsystem.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QTest>
#include <QThread>

#include <functional>

namespace {

const std::string kCaption = "空格压缩器(Spacefold) V1.0 For Zantoria";

bool waitFor(const std::function<bool()> &condition, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        if (condition())
            return true;
        QThread::msleep(50);
    }
    return condition();
}

void stop(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

} // namespace

class TestSpacefoldInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void secondCopyRestoresTheFirstAndEnds();
};

void TestSpacefoldInstance::secondCopyRestoresTheFirstAndEnds()
{
    auto &ws = platform::windowSystem();
    if (!ws.isAvailable())
        QSKIP("needs an X server (DISPLAY)");
    QVERIFY2(!ws.findTopLevelWindow(kCaption), "another Spacefold already runs on this display");

    const QString program = QStringLiteral(ZANTORIA_PROGRAM_DIR "/Spacefold");
    QProcess first;
    first.setProcessChannelMode(QProcess::ForwardedChannels);
    first.start(program, {});
    QVERIFY(first.waitForStarted());
    platform::WindowId window = 0;
    QVERIFY2(waitFor([&] { return (window = ws.findTopLevelWindow(kCaption)) != 0; }, 20000),
             "the first copy never showed its window");

    QVERIFY(ws.minimizeWindow(window));
    QVERIFY(waitFor([&] { return ws.isMinimized(window); }, 5000));

    QProcess second;
    second.setProcessChannelMode(QProcess::ForwardedChannels);
    second.start(program, {});
    const bool secondEnded = second.waitForFinished(15000);
    if (!secondEnded)
        stop(second);
    QVERIFY2(secondEnded, "the second copy kept running");
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);

    const bool restored = waitFor([&] { return !ws.isMinimized(window); }, 5000);
    const bool firstRuns = first.state() == QProcess::Running;
    const platform::WindowId found = ws.findTopLevelWindow(kCaption);
    stop(first);
    QVERIFY2(restored, "the first copy was not restored");
    QVERIFY(firstRuns);
    QCOMPARE(found, window);
}

QTEST_GUILESS_MAIN(TestSpacefoldInstance)
#include "tst_spacefoldinstance.moc"
