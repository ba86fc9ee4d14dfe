#pragma once

#include "platform/windowsystem.h"

#include <QProcess>

#include <functional>

// Polls `condition` until it holds or `ms` milliseconds have passed; the
// answer is the condition's last value.
bool waitUntil(const std::function<bool()> &condition, int ms);

// Minimises another program's window, asking again until it takes: a
// window manager that has only just taken the window over may not have
// seen the first request. False when it never did within `ms`.
bool minimizeUntilItTakes(platform::WindowSystem &ws, platform::WindowId window, int ms = 10000);

// What a run of the build's zantoria-cli gave back; status is -1 when the
// program did not end normally in time.
struct CliRun
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// The build's zantoria-cli.
QString cliPath();

// Runs zantoria-cli with `arguments`, `input` on its standard input.
CliRun runCli(const QStringList &arguments, const QByteArray &input = QByteArray(), int timeoutMs = 60000);

// Ends a process: politely first, then by force.
void stopProcess(QProcess &process);

// Ends the process when the test returns, also when an assertion fails half
// way, so that no copy of a program outlives its test and confuses the next.
class ProcessGuard
{
public:
    explicit ProcessGuard(QProcess &process) : m_process(process) {}
    ~ProcessGuard() { stopProcess(m_process); }
    ProcessGuard(const ProcessGuard &) = delete;
    ProcessGuard &operator=(const ProcessGuard &) = delete;

private:
    QProcess &m_process;
};
