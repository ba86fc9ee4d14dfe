#pragma once

#include <QProcess>

#include <functional>

// Polls `condition` until it holds or `ms` milliseconds have passed; the
// answer is the condition's last value.
bool waitUntil(const std::function<bool()> &condition, int ms);

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
