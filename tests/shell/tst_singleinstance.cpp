// Two real copies of Zantoria on a real X server with a window manager.

#include "platform/windowsystem.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QTest>
#include <QThread>

namespace {

const std::string kTitle = "『Zantoria』";

platform::WindowId waitForWindow(int ms)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        if (const auto id = platform::windowSystem().findTopLevelWindow(kTitle))
            return id;
        QThread::msleep(100);
    }
    return 0;
}

bool waitFor(const std::function<bool()> &condition, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        if (condition())
            return true;
        QThread::msleep(100);
    }
    return condition();
}

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void secondCopyRestoresTheFirstAndEnds();
};

void TestSingleInstance::secondCopyRestoresTheFirstAndEnds()
{
    auto &ws = platform::windowSystem();
    if (!ws.isAvailable())
        QSKIP("needs an X server (DISPLAY)");
    QVERIFY2(!ws.findTopLevelWindow(kTitle), "another Zantoria already runs on this display");

    const QString program = QStringLiteral(ZANTORIA_PROGRAM_DIR "/Zantoria");
    QProcess first;
    first.setProcessChannelMode(QProcess::ForwardedChannels);
    first.start(program, {});
    QVERIFY(first.waitForStarted());
    const auto window = waitForWindow(30000);
    QVERIFY2(window, "the first copy never showed its main window");

    QVERIFY(ws.minimizeWindow(window));
    QVERIFY(waitFor([&] { return ws.isMinimized(window); }, 5000));

    QProcess second;
    second.setProcessChannelMode(QProcess::ForwardedChannels);
    second.start(program, {});
    QVERIFY(second.waitForFinished(15000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);

    QVERIFY2(waitFor([&] { return !ws.isMinimized(window); }, 5000), "the first copy was not restored");
    QCOMPARE(first.state(), QProcess::Running);
    QCOMPARE(ws.findTopLevelWindow(kTitle), window);

    first.terminate();
    if (!first.waitForFinished(5000)) {
        first.kill();
        first.waitForFinished(5000);
    }
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
