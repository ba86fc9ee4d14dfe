// Two real copies of Spacefold on an X server with a window manager: the
// second brings the first back from the task bar and ends.

#include "platform/windowsystem.h"
#include "processes.h"

#include <QProcess>
#include <QTest>


namespace {

const std::string kCaption = "空格压缩器(Spacefold) V1.0 For Zantoria";

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
    ProcessGuard firstGuard(first);
    QVERIFY(first.waitForStarted());
    platform::WindowId window = 0;
    QVERIFY2(waitUntil([&] { return (window = ws.findTopLevelWindow(kCaption)) != 0; }, 20000),
             "the first copy never showed its window");

    QVERIFY2(minimizeUntilItTakes(ws, window), "the first copy was never minimised");

    QProcess second;
    second.setProcessChannelMode(QProcess::ForwardedChannels);
    ProcessGuard secondGuard(second);
    second.start(program, {});
    QVERIFY2(second.waitForFinished(15000), "the second copy kept running");
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);

    QVERIFY2(waitUntil([&] { return !ws.isMinimized(window); }, 5000), "the first copy was not restored");
    QCOMPARE(first.state(), QProcess::Running);
    QCOMPARE(ws.findTopLevelWindow(kCaption), window);
}

QTEST_GUILESS_MAIN(TestSpacefoldInstance)
#include "tst_spacefoldinstance.moc"
