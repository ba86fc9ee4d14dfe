// Two real copies of Zantoria on a real X server with a window manager, and
// the per-user lock that stands in where no window system can be asked.

#include "platform/windowsystem.h"
#include "shell/core/singleinstance.h"
#include "processes.h"

#include <QCoreApplication>
#include <QLockFile>
#include <QProcess>
#include <QTest>

namespace {

const std::string kTitle = "『Zantoria』";

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void secondCopyRestoresTheFirstAndEnds();
    void withoutAWindowSystemEachTitleHasALockOfItsOwn();
    void withoutAWindowSystemTheSecondCopyEndsAtOnce();
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
    ProcessGuard firstGuard(first);
    first.start(program, {});
    QVERIFY(first.waitForStarted());
    platform::WindowId window = 0;
    QVERIFY2(waitUntil([&] { return (window = ws.findTopLevelWindow(kTitle)) != 0; }, 30000),
             "the first copy never showed its main window");

    QVERIFY2(minimizeUntilItTakes(ws, window), "the first copy was never minimised");

    QProcess second;
    second.setProcessChannelMode(QProcess::ForwardedChannels);
    ProcessGuard secondGuard(second);
    second.start(program, {});
    QVERIFY(second.waitForFinished(15000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);

    QVERIFY2(waitUntil([&] { return !ws.isMinimized(window); }, 5000), "the first copy was not restored");
    QCOMPARE(first.state(), QProcess::Running);
    QCOMPARE(ws.findTopLevelWindow(kTitle), window);

}

void TestSingleInstance::withoutAWindowSystemEachTitleHasALockOfItsOwn()
{
    auto previous = platform::setWindowSystem(platform::createNullWindowSystem());
    const QString title = QStringLiteral("『Zantoria』 lock test %1").arg(QCoreApplication::applicationPid());
    const QString other = title + QStringLiteral(" other");
    const QString elsewhere = title + QStringLiteral(" held elsewhere");

    QVERIFY(!Startup::anotherCopyRestored(title));
    // The copy holding the lock asks again and still finds no other copy.
    QVERIFY(!Startup::anotherCopyRestored(title));
    // Another title is another program: it gets a lock of its own.
    QVERIFY(!Startup::anotherCopyRestored(other));
    QVERIFY(Startup::instanceLockPath(other) != Startup::instanceLockPath(title));
    QLockFile otherCopy(Startup::instanceLockPath(elsewhere));
    QVERIFY(otherCopy.tryLock(0));
    QVERIFY(Startup::anotherCopyRestored(elsewhere));

    platform::setWindowSystem(std::move(previous));
}

void TestSingleInstance::withoutAWindowSystemTheSecondCopyEndsAtOnce()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const QString lockPath = Startup::instanceLockPath(QString::fromStdString(kTitle));
    {
        QLockFile leftOver(lockPath);
        leftOver.removeStaleLockFile();
    }

    const QString program = QStringLiteral(ZANTORIA_PROGRAM_DIR "/Zantoria");
    QProcess first;
    first.setProcessEnvironment(env);
    first.setProcessChannelMode(QProcess::ForwardedChannels);
    ProcessGuard firstGuard(first);
    first.start(program, {});
    QVERIFY(first.waitForStarted());
    QLockFile probe(lockPath);
    const auto heldByFirst = [&] {
        qint64 pid = 0;
        QString host;
        QString app;
        return probe.getLockInfo(&pid, &host, &app) && pid == first.processId();
    };
    QVERIFY2(waitUntil(heldByFirst, 30000), "the first copy never took the lock");

    QProcess second;
    second.setProcessEnvironment(env);
    second.setProcessChannelMode(QProcess::ForwardedChannels);
    ProcessGuard secondGuard(second);
    second.start(program, {});
    QVERIFY(second.waitForFinished(15000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);
    QVERIFY(heldByFirst());

    stopProcess(first);
    probe.removeStaleLockFile();
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
