#pragma once

// The X11 clipboard from outside any toolkit: reading everything the current
// owner offers, and owning the clipboard on a connection and thread of our
// own, so that it keeps answering while the caller's thread waits or returns.

#include <X11/Xlib.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace platform::x11 {

using Clock = std::chrono::steady_clock;

// One form of the clipboard's contents, kept as Xlib hands it over (format
// 32 items are longs in memory), so that it can be offered again unchanged.
struct SelectionFormat
{
    Atom target = None;
    Atom type = None;
    int format = 8;
    unsigned long items = 0;
    std::string data;
};

struct ClipboardContents
{
    bool owned = false; // somebody owned the clipboard
    std::vector<SelectionFormat> formats;
};

// What the clipboard holds at most when it is taken and given back: a
// picture copied from a photo program is kept, a film is not.
constexpr std::size_t kClipboardCap = 8 * 1024 * 1024;

struct ClipboardLimits
{
    // The longest wait for one answer, or for one piece of an answer sent
    // in pieces; an owner that keeps us waiting longer is asked no more.
    Clock::duration answer = std::chrono::seconds(2);
    // The whole read: forms not asked for by then are left out.
    Clock::duration whole = std::chrono::seconds(8);
};

// Asks the owner of CLIPBOARD for every form it offers, through `helper` (a
// window of `display`, whose property changes the read selects), the text
// forms first. Forms sent in pieces (INCR) are put together; forms larger
// than the cap that is left are left out. `whileWaiting` runs again and
// again while an answer is awaited.
ClipboardContents readClipboard(Display *display, Window helper, const ClipboardLimits &limits,
                                const std::function<void()> &whileWaiting);

// The forms a plain text is offered in.
std::vector<SelectionFormat> textFormats(Display *display, const std::string &utf8);

// Owns CLIPBOARD with fixed contents until another client takes it or the
// server is destroyed. It can watch for one client (by its resource base) to
// take a text form: that client has then read the text.
class ClipboardServer
{
public:
    ClipboardServer(const std::string &displayName, std::vector<SelectionFormat> formats,
                    unsigned long watchedClient = 0, unsigned long resourceMask = 0);
    // Stops answering; the clipboard is given up if it is still ours.
    ~ClipboardServer();
    ClipboardServer(const ClipboardServer &) = delete;
    ClipboardServer &operator=(const ClipboardServer &) = delete;

    // Owning failed, or ownership was taken by another client.
    bool settled() const { return m_state.load() != State::Starting; }
    bool owns() const { return m_state.load() == State::Owning; }

    // The watched client asked for a text form and read it (it deleted
    // the property the text was put in).
    bool taken() const { return m_taken.load(); }

private:
    enum class State { Starting, Owning, Lost, Failed };

    void run(std::string displayName);

    std::vector<SelectionFormat> m_formats;
    unsigned long m_watchedClient;
    unsigned long m_resourceMask;
    std::atomic<State> m_state{State::Starting};
    std::atomic<bool> m_taken{false};
    int m_stopPipe[2] = {-1, -1};
    std::thread m_thread;
};

} // namespace platform::x11
