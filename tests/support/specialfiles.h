#pragma once

#include <QString>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

// A FIFO at a path, for readers and writers that must never wait on one.
// Should one open it and block all the same, the guard lets it go after a
// while by opening the other end, and remembers that it had to: a test
// fails instead of hanging.
class FifoGuard
{
public:
    explicit FifoGuard(const QString &path, std::chrono::milliseconds patience = std::chrono::seconds(3));
    ~FifoGuard();
    FifoGuard(const FifoGuard &) = delete;
    FifoGuard &operator=(const FifoGuard &) = delete;

    bool made() const { return m_made; }
    // True when somebody was waiting on the FIFO past the patience.
    bool heldUp() const { return m_heldUp; }

private:
    QString m_path;
    bool m_made = false;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_heldUp{false};
    std::thread m_thread;
};

// What a test of refusals puts at a path, by kind: "fifo" a guarded FIFO,
// "dir" a directory, "device" a device that never ends (the path becomes
// /dev/zero). Anything else leaves the path as it is.
class SpecialFile
{
public:
    SpecialFile(const QString &kind, const QString &path);

    // False where this system has no such thing: skip the test then.
    bool available() const { return m_available; }
    QString path() const { return m_path; }
    // True when somebody waited on the FIFO.
    bool heldUp() const { return m_fifo && m_fifo->heldUp(); }

private:
    QString m_path;
    bool m_available = true;
    std::unique_ptr<FifoGuard> m_fifo;
};
