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

// Waits for the owner's answer to one request on `helper`; false when none
// came in time or the owner refused.
bool awaitNotify(Display *display, Window helper, Clock::time_point deadline, const std::function<void()> &whileWaiting,
                 XSelectionEvent *notify)
{
    XEvent event;
    for (;;) {
        if (XCheckTypedWindowEvent(display, helper, SelectionNotify, &event)) {
            *notify = event.xselection;
            return notify->property != None;
        }
        if (Clock::now() >= deadline)
            return false;
        if (whileWaiting)
            whileWaiting();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

// Reads and deletes the answer; false for an answer sent in pieces (INCR)
// or one beyond `room` bytes.
bool takeProperty(Display *display, Window helper, Atom property, std::size_t room, SelectionFormat *out)
{
    Atom type = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char *data = nullptr;
    const long longs = static_cast<long>(std::min<std::size_t>(room, kClipboardCap) / 4 + 1);
    if (XGetWindowProperty(display, helper, property, 0, longs, True, AnyPropertyType, &type, &format, &items, &after,
                           &data) != Success)
        return false;
    const std::size_t bytes = items * itemSize(format);
    const bool ok = data && type != atom(display, "INCR") && after == 0 && bytes <= room;
    if (ok) {
        out->type = type;
        out->format = format;
        out->items = items;
        out->data.assign(reinterpret_cast<const char *>(data), bytes);
    }
    if (data)
        XFree(data);
    XDeleteProperty(display, helper, property);
    return ok;
}

} // namespace

ClipboardContents readClipboard(Display *display, Window helper, Clock::time_point deadline,
                                const std::function<void()> &whileWaiting)
{
    ClipboardContents contents;
    const Atom clipboard = atom(display, "CLIPBOARD");
    if (XGetSelectionOwner(display, clipboard) == None)
        return contents;
    contents.owned = true;
    const Atom property = atom(display, "ZANTORIA_CLIPBOARD");

    XSelectionEvent notify{};
    XConvertSelection(display, clipboard, atom(display, "TARGETS"), property, helper, CurrentTime);
    if (!awaitNotify(display, helper, deadline, whileWaiting, &notify))
        return contents;
    SelectionFormat targets;
    if (!takeProperty(display, helper, property, 64 * 1024, &targets) || targets.format != 32)
        return contents;
    std::vector<Atom> offered(targets.items);
    std::memcpy(offered.data(), targets.data.data(), targets.items * sizeof(long));

    std::size_t room = kClipboardCap;
    for (Atom target : offered) {
        if (target == None || isMetaTarget(display, target))
            continue;
        if (Clock::now() >= deadline || room == 0)
            break;
        XConvertSelection(display, clipboard, target, property, helper, CurrentTime);
        if (!awaitNotify(display, helper, deadline, whileWaiting, &notify))
            continue;
        SelectionFormat form;
        form.target = target;
        if (takeProperty(display, helper, property, room, &form)) {
            room -= form.data.size();
            contents.formats.push_back(std::move(form));
        }
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
                            if (watched)
                                m_requested = true;
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
