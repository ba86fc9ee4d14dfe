#include "x11clipboard.h"

#include <X11/Xatom.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

namespace platform::x11 {

namespace {

Atom atom(Display *display, const char *name)
{
    return XInternAtom(display, name, False);
}

// Bytes Xlib uses in memory for one item of a property format.
std::size_t itemSize(int format)
{
    switch (format) {
    case 16:
        return sizeof(short);
    case 32:
        return sizeof(long);
    default:
        return 1;
    }
}

// Targets that are requests about the selection, not forms of its contents.
bool isMetaTarget(Display *display, Atom target)
{
    for (const char *name : {"TARGETS", "MULTIPLE", "TIMESTAMP", "DELETE", "INSERT_SELECTION", "INSERT_PROPERTY",
                             "SAVE_TARGETS"}) {
        if (target == atom(display, name))
            return true;
    }
    return false;
}

bool isTextTarget(Display *display, Atom target)
{
    for (const char *name : {"UTF8_STRING", "text/plain;charset=utf-8", "TEXT", "STRING", "text/plain"}) {
        if (target == atom(display, name))
            return true;
    }
    return false;
}

// Reads the forms of the clipboard one request at a time, on a window of
// the caller's connection.
//
// Answers are told apart by the selection, the target, the property (each
// target is asked into a property of its own name) and the time of the
// request: a late answer to an earlier request, of this read or of one
// before, is dropped instead of being taken for the answer awaited now.
class ClipboardReader
{
public:
    ClipboardReader(Display *display, Window helper, const ClipboardLimits &limits,
                    const std::function<void()> &whileWaiting)
        : m_display(display)
        , m_helper(helper)
        , m_clipboard(atom(display, "CLIPBOARD"))
        , m_incr(atom(display, "INCR"))
        , m_limits(limits)
        , m_whileWaiting(whileWaiting)
        , m_end(Clock::now() + limits.whole)
    {
        XSelectInput(m_display, m_helper, PropertyChangeMask);
        m_time = serverTime();
    }

    // False when the owner did not answer in time: it is slow or hangs, and
    // the other forms are not asked for.
    bool responsive() const { return m_responsive; }
    bool timeLeft() const { return Clock::now() < m_end; }

    // Asks for `target` and reads the answer, whole or in pieces, within
    // `room` bytes; false when the owner refused, did not answer in time, or
    // the form is larger than `room`.
    bool read(Atom target, std::size_t room, SelectionFormat *out)
    {
        out->target = target;
        XConvertSelection(m_display, m_clipboard, target, target, m_helper, m_time);
        XFlush(m_display);
        const auto deadline = std::min(Clock::now() + m_limits.answer, m_end);
        Atom property = None;
        const bool answered = wait(deadline, [&] {
            XEvent event;
            while (XCheckTypedWindowEvent(m_display, m_helper, SelectionNotify, &event)) {
                const XSelectionEvent &n = event.xselection;
                // Owners answer with the request's time; some with none at all.
                if (n.selection == m_clipboard && n.target == target && (n.time == m_time || n.time == CurrentTime)
                    && (n.property == target || n.property == None)) {
                    property = n.property;
                    return true;
                }
            }
            return false;
        });
        if (!answered) {
            m_responsive = false;
            return false;
        }
        // None: the owner refused this form.
        return property != None && takeAnswer(property, room, out);
    }

private:
    // A time the server gave now: requests made with it are later than any
    // made before, and its answers are recognised by it.
    Time serverTime()
    {
        const Atom stamp = atom(m_display, "ZANTORIA_TIMESTAMP");
        XChangeProperty(m_display, m_helper, stamp, XA_STRING, 8, PropModeAppend, nullptr, 0);
        XFlush(m_display);
        XEvent event;
        Time time = CurrentTime;
        // The server answers at once: no other program is involved.
        wait(Clock::now() + m_limits.answer, [&] {
            while (XCheckTypedWindowEvent(m_display, m_helper, PropertyNotify, &event)) {
                if (event.xproperty.atom == stamp) {
                    time = event.xproperty.time;
                    return true;
                }
            }
            return false;
        });
        return time;
    }

    template<typename Done>
    bool wait(Clock::time_point deadline, Done &&done)
    {
        for (;;) {
            if (done())
                return true;
            if (Clock::now() >= deadline)
                return false;
            if (m_whileWaiting)
                m_whileWaiting();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    struct Piece
    {
        Atom type = None;
        int format = 8;
        unsigned long items = 0;
        std::string data;
        bool complete = false; // nothing was left unread
    };

    // Reads the property (up to `room` bytes), deleting it when `remove`
    // and it was read whole.
    bool fetch(Atom property, std::size_t room, bool remove, Piece *piece)
    {
        Atom type = None;
        int format = 0;
        unsigned long items = 0;
        unsigned long after = 0;
        unsigned char *data = nullptr;
        const long longs = static_cast<long>(std::min<std::size_t>(room, kClipboardCap) / 4 + 1);
        if (XGetWindowProperty(m_display, m_helper, property, 0, longs, remove ? True : False, AnyPropertyType, &type,
                               &format, &items, &after, &data) != Success)
            return false;
        piece->type = type;
        piece->format = format;
        piece->items = items;
        piece->data.assign(data ? reinterpret_cast<const char *>(data) : "", data ? items * itemSize(format) : 0);
        piece->complete = after == 0;
        if (data)
            XFree(data);
        return type != None;
    }

    bool takeAnswer(Atom property, std::size_t room, SelectionFormat *out)
    {
        Piece piece;
        if (!fetch(property, room, false, &piece))
            return false;
        if (piece.type != m_incr) {
            XDeleteProperty(m_display, m_helper, property);
            if (!piece.complete || piece.data.size() > room)
                return false;
            out->type = piece.type;
            out->format = piece.format;
            out->items = piece.items;
            out->data = std::move(piece.data);
            return true;
        }
        // Sent in pieces. The owner says at least how large the whole is: a
        // form beyond the room is never started (the owner gives up on it
        // by itself; deleting the property would set it going).
        if (piece.format != 32 || piece.items < 1)
            return false;
        long announced = 0;
        std::memcpy(&announced, piece.data.data(), sizeof announced);
        if (announced < 0 || static_cast<unsigned long>(announced) > room)
            return false;
        return takeIncremental(property, room, out);
    }

    // Deleting the property asks for the next piece; an empty piece ends.
    bool takeIncremental(Atom property, std::size_t room, SelectionFormat *out)
    {
        // Changes seen so far are the announcement's; only later ones count.
        XSync(m_display, False);
        XEvent event;
        while (XCheckTypedWindowEvent(m_display, m_helper, PropertyNotify, &event)) {
        }
        XDeleteProperty(m_display, m_helper, property);
        XFlush(m_display);
        bool fits = true;
        std::string whole;
        for (;;) {
            const bool arrived = wait(std::min(Clock::now() + m_limits.answer, m_end), [&] {
                while (XCheckTypedWindowEvent(m_display, m_helper, PropertyNotify, &event)) {
                    if (event.xproperty.atom == property && event.xproperty.state == PropertyNewValue)
                        return true;
                }
                return false;
            });
            if (!arrived) {
                m_responsive = false;
                return false;
            }
            Piece piece;
            // A piece beyond the room is still taken off (and dropped), so
            // that the owner finishes and nothing of it is left to arrive later.
            if (!fetch(property, fits ? room - whole.size() : 0, true, &piece))
                continue;
            if (!piece.complete) {
                XDeleteProperty(m_display, m_helper, property);
                fits = false;
            }
            if (piece.items == 0)
                break;
            if (fits && piece.data.size() <= room - whole.size()) {
                whole += piece.data;
                out->type = piece.type;
                out->format = piece.format;
                out->items += piece.items;
            } else {
                fits = false;
            }
            XFlush(m_display);
        }
        if (!fits)
            return false;
        out->data = std::move(whole);
        return true;
    }

    Display *m_display;
    Window m_helper;
    Atom m_clipboard;
    Atom m_incr;
    ClipboardLimits m_limits;
    const std::function<void()> &m_whileWaiting;
    Clock::time_point m_end;
    Time m_time = CurrentTime;
    bool m_responsive = true;
};

} // namespace

ClipboardContents readClipboard(Display *display, Window helper, const ClipboardLimits &limits,
                                const std::function<void()> &whileWaiting)
{
    ClipboardContents contents;
    if (XGetSelectionOwner(display, atom(display, "CLIPBOARD")) == None)
        return contents;
    contents.owned = true;
    ClipboardReader reader(display, helper, limits, whileWaiting);

    SelectionFormat targets;
    if (!reader.read(atom(display, "TARGETS"), 64 * 1024, &targets) || targets.format != 32)
        return contents;
    std::vector<Atom> offered;
    for (unsigned long i = 0; i < targets.items; ++i) {
        long target = 0;
        std::memcpy(&target, targets.data.data() + i * sizeof(long), sizeof target);
        const Atom a = static_cast<Atom>(target);
        if (a != None && !isMetaTarget(display, a) && std::find(offered.begin(), offered.end(), a) == offered.end())
            offered.push_back(a);
    }
    // The text is asked for first, so that a large picture or a slow form
    // cannot crowd it out; the forms are kept in the owner's order.
    std::vector<Atom> asked = offered;
    std::stable_partition(asked.begin(), asked.end(), [&](Atom a) { return isTextTarget(display, a); });
    std::vector<SelectionFormat> read;
    std::size_t room = kClipboardCap;
    for (Atom target : asked) {
        if (!reader.responsive() || !reader.timeLeft() || room == 0)
            break;
        SelectionFormat form;
        if (reader.read(target, room, &form)) {
            room -= form.data.size();
            read.push_back(std::move(form));
        }
    }
    for (Atom target : offered) {
        const auto form =
            std::find_if(read.begin(), read.end(), [&](const SelectionFormat &f) { return f.target == target; });
        if (form != read.end())
            contents.formats.push_back(std::move(*form));
    }
    return contents;
}

std::vector<SelectionFormat> textFormats(Display *display, const std::string &utf8)
{
    const Atom utf8String = atom(display, "UTF8_STRING");
    std::vector<SelectionFormat> forms;
    for (const char *name : {"UTF8_STRING", "text/plain;charset=utf-8", "TEXT"}) {
        SelectionFormat form;
        form.target = atom(display, name);
        form.type = name == std::string("text/plain;charset=utf-8") ? form.target : utf8String;
        form.format = 8;
        form.items = utf8.size();
        form.data = utf8;
        forms.push_back(std::move(form));
    }
    return forms;
}

ClipboardServer::ClipboardServer(const std::string &displayName, std::vector<SelectionFormat> formats,
                                 unsigned long watchedClient, unsigned long resourceMask)
    : m_formats(std::move(formats))
    , m_watchedClient(watchedClient)
    , m_resourceMask(resourceMask)
{
    if (pipe2(m_stopPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        m_state = State::Failed;
        return;
    }
    m_thread = std::thread(&ClipboardServer::run, this, displayName);
}

ClipboardServer::~ClipboardServer()
{
    if (m_stopPipe[1] >= 0) {
        const char stop = 1;
        [[maybe_unused]] const auto written = write(m_stopPipe[1], &stop, 1);
    }
    if (m_thread.joinable())
        m_thread.join();
    for (int fd : m_stopPipe) {
        if (fd >= 0)
            close(fd);
    }
}

void ClipboardServer::run(std::string displayName)
{
    Display *display = XOpenDisplay(displayName.c_str());
    if (!display) {
        m_state = State::Failed;
        return;
    }
    const Window root = DefaultRootWindow(display);
    const Window window = XCreateSimpleWindow(display, root, -10, -10, 1, 1, 0, 0, 0);
    XSelectInput(display, window, PropertyChangeMask);
    const Atom clipboard = atom(display, "CLIPBOARD");
    const Atom targetsAtom = atom(display, "TARGETS");
    const Atom timestampAtom = atom(display, "TIMESTAMP");

    // Owning with a real timestamp (the time of a change to our own window),
    // so that requests made before we owned it are told apart.
    const Atom stamp = atom(display, "ZANTORIA_TIMESTAMP");
    XChangeProperty(display, window, stamp, XA_STRING, 8, PropModeAppend, nullptr, 0);
    XEvent event;
    XWindowEvent(display, window, PropertyChangeMask, &event);
    const Time ownTime = event.xproperty.time;
    XSetSelectionOwner(display, clipboard, window, ownTime);
    if (XGetSelectionOwner(display, clipboard) != window) {
        m_state = State::Failed;
        XDestroyWindow(display, window);
        XCloseDisplay(display);
        return;
    }
    m_state = State::Owning;

    // The one text answer we wait to see read: requestor window and property.
    Window pendingWindow = None;
    Atom pendingProperty = None;
    const int fd = ConnectionNumber(display);
    bool stop = false;
    while (!stop) {
        while (!stop && XPending(display)) {
            XNextEvent(display, &event);
            if (event.type == SelectionClear && event.xselectionclear.selection == clipboard) {
                m_state = State::Lost;
                stop = true;
            } else if (event.type == PropertyNotify && event.xproperty.state == PropertyDelete
                       && event.xproperty.window == pendingWindow && event.xproperty.atom == pendingProperty) {
                m_taken = true;
                XSelectInput(display, pendingWindow, NoEventMask);
                pendingWindow = None;
            } else if (event.type == SelectionRequest) {
                const XSelectionRequestEvent &request = event.xselectionrequest;
                XSelectionEvent answer{};
                answer.type = SelectionNotify;
                answer.display = display;
                answer.requestor = request.requestor;
                answer.selection = request.selection;
                answer.target = request.target;
                answer.time = request.time;
                answer.property = None;
                // Clients from before the ICCCM name no property: use the target.
                const Atom property = request.property == None ? request.target : request.property;
                // Requests stamped before we owned the clipboard are answered
                // too: toolkits stamp them with the last input they saw, which
                // may well be older than a send made without any input.
                if (request.selection == clipboard) {
                    if (request.target == targetsAtom) {
                        std::vector<long> list = {long(targetsAtom), long(timestampAtom)};
                        for (const SelectionFormat &form : m_formats)
                            list.push_back(long(form.target));
                        XChangeProperty(display, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                                        reinterpret_cast<const unsigned char *>(list.data()), int(list.size()));
                        answer.property = property;
                    } else if (request.target == timestampAtom) {
                        const long time = long(ownTime);
                        XChangeProperty(display, request.requestor, property, XA_INTEGER, 32, PropModeReplace,
                                        reinterpret_cast<const unsigned char *>(&time), 1);
                        answer.property = property;
                    } else {
                        const auto form = std::find_if(m_formats.cbegin(), m_formats.cend(),
                                                       [&](const SelectionFormat &f) { return f.target == request.target; });
                        if (form != m_formats.cend()) {
                            const bool watched = m_watchedClient != 0 && isTextTarget(display, request.target)
                                                 && (request.requestor & ~m_resourceMask) == m_watchedClient;
                            // Watch before the text is there, so that reading it cannot be missed.
                            if (watched) {
                                XSelectInput(display, request.requestor, PropertyChangeMask);
                                pendingWindow = request.requestor;
                                pendingProperty = property;
                            }
                            XChangeProperty(display, request.requestor, property, form->type, form->format,
                                            PropModeReplace, reinterpret_cast<const unsigned char *>(form->data.data()),
                                            int(form->items));
                            answer.property = property;
                        }
                    }
                }
                XSendEvent(display, request.requestor, False, NoEventMask, reinterpret_cast<XEvent *>(&answer));
                XFlush(display);
            }
        }
        if (stop)
            break;
        pollfd fds[2] = {{fd, POLLIN, 0}, {m_stopPipe[0], POLLIN, 0}};
        if (poll(fds, 2, 500) < 0 && errno != EINTR)
            break;
        if (fds[1].revents & POLLIN)
            stop = true;
    }
    if (m_state == State::Owning && XGetSelectionOwner(display, clipboard) == window)
        XSetSelectionOwner(display, clipboard, None, CurrentTime);
    if (pendingWindow != None)
        XSelectInput(display, pendingWindow, NoEventMask);
    XDestroyWindow(display, window);
    XCloseDisplay(display);
}

} // namespace platform::x11
