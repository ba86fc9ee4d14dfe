#include "processes.h"

#include <QDeadlineTimer>
#include <QThread>

bool waitUntil(const std::function<bool()> &condition, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        if (condition())
            return true;
        QThread::msleep(50);
    }
    return condition();
}

bool minimizeUntilItTakes(platform::WindowSystem &ws, platform::WindowId window, int ms)
{
    return waitUntil(
        [&] {
            ws.minimizeWindow(window);
            return ws.isMinimized(window);
        },
        ms);
}

QString cliPath()
{
    return QStringLiteral(ZANTORIA_PROGRAM_DIR "/zantoria-cli");
}

CliRun runCli(const QStringList &arguments, const QByteArray &input, int timeoutMs)
{
    QProcess process;
    process.start(cliPath(), arguments);
    CliRun run;
    if (!process.waitForStarted(timeoutMs))
        return run;
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs)) {
        stopProcess(process);
        return run;
    }
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

void stopProcess(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}
