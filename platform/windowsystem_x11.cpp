// X11 backend. It keeps a connection of its own to the display named by
// DISPLAY, so that it works the same whether or not Qt itself runs on xcb
// (tests run widgets offscreen and still look for real windows).

#include "windowsystem.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstring>
#include <vector>

namespace platform {

namespace {

// Xlib reports protocol errors through a process-wide handler that exits by
// default; a window that vanishes between two requests must not end the program.
int ignoreXError(Display *, XErrorEvent *)
{
    return 0;
}

class X11WindowSystem final : public WindowSystem
{
public:
    X11WindowSystem()
        : m_display(XOpenDisplay(nullptr))
    {
        if (m_display)
            XSetErrorHandler(ignoreXError);
    }

    ~X11WindowSystem() override
    {
        if (m_display)
            XCloseDisplay(m_display);
    }

    bool isAvailable() const override { return m_display != nullptr; }

    WindowId findTopLevelWindow(const std::string &title) override
    {
        if (!m_display)
            return 0;
        // A window manager lists the windows it manages; without one, the
        // children of the root (and their children, for frames) are looked at.
        for (Window w : clientList()) {
            if (titleOf(w) == title)
                return w;
        }
        for (Window w : childrenOf(root())) {
            if (titleOf(w) == title)
                return w;
            for (Window c : childrenOf(w)) {
                if (titleOf(c) == title)
                    return c;
            }
        }
        return 0;
    }

    bool restoreWindow(WindowId window) override
    {
        if (!m_display || !window)
            return false;
        const Window w = static_cast<Window>(window);
        changeState(w, false, "_NET_WM_STATE_HIDDEN");
        XMapRaised(m_display, w);
        XEvent ev{};
        ev.xclient.type = ClientMessage;
        ev.xclient.window = w;
        ev.xclient.message_type = atom("_NET_ACTIVE_WINDOW");
        ev.xclient.format = 32;
        ev.xclient.data.l[0] = 2; // request from a pager-like tool: honoured at once
        ev.xclient.data.l[1] = CurrentTime;
        sendToRoot(ev);
        XFlush(m_display);
        return true;
    }

    bool setTopMost(WindowId window, bool topMost) override
    {
        if (!m_display || !window)
            return false;
        changeState(static_cast<Window>(window), topMost, "_NET_WM_STATE_ABOVE");
        XFlush(m_display);
        return true;
    }

    bool isMinimized(WindowId window) override
    {
        if (!m_display || !window)
            return false;
        const Window w = static_cast<Window>(window);
        const Atom wmState = atom("WM_STATE");
        bool iconic = false;
        forEachProperty(w, wmState, wmState, [&](const long *data, unsigned long n) {
            iconic = n >= 1 && data[0] == IconicState;
        });
        if (iconic)
            return true;
        const Atom hidden = atom("_NET_WM_STATE_HIDDEN");
        forEachProperty(w, atom("_NET_WM_STATE"), XA_ATOM, [&](const long *data, unsigned long n) {
            for (unsigned long i = 0; i < n; ++i)
                iconic = iconic || static_cast<Atom>(data[i]) == hidden;
        });
        return iconic;
    }

    bool minimizeWindow(WindowId window) override
    {
        if (!m_display || !window)
            return false;
        const bool ok = XIconifyWindow(m_display, static_cast<Window>(window), DefaultScreen(m_display));
        XFlush(m_display);
        return ok;
    }

    WindowId childWindowAt(WindowId parent, int x, int y) override
    {
        if (!m_display || !parent)
            return 0;
        Window current = static_cast<Window>(parent);
        int cx = x;
        int cy = y;
        for (;;) {
            Window child = 0;
            int nx = 0;
            int ny = 0;
            if (!XTranslateCoordinates(m_display, current, current, cx, cy, &nx, &ny, &child))
                return 0;
            if (!child)
                return current;
            int tx = 0;
            int ty = 0;
            Window ignored = 0;
            XTranslateCoordinates(m_display, current, child, cx, cy, &tx, &ty, &ignored);
            current = child;
            cx = tx;
            cy = ty;
        }
    }

    bool sendText(WindowId, const std::string &, bool) override
    {
        // Typing into another client needs the send tool's clipboard route;
        // until it is wired in, report that nothing was sent.
        return false;
    }

private:
    Window root() const { return DefaultRootWindow(m_display); }

    Atom atom(const char *name) const { return XInternAtom(m_display, name, False); }

    template<typename F>
    void forEachProperty(Window w, Atom property, Atom type, F &&use)
    {
        Atom actualType = 0;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char *data = nullptr;
        if (XGetWindowProperty(m_display, w, property, 0, 4096, False, type, &actualType, &format,
                               &count, &after, &data) == Success && data) {
            if (format == 32)
                use(reinterpret_cast<const long *>(data), count);
            XFree(data);
        }
    }

    std::vector<Window> clientList()
    {
        std::vector<Window> list;
        forEachProperty(root(), atom("_NET_CLIENT_LIST"), XA_WINDOW, [&](const long *data, unsigned long n) {
            list.assign(data, data + n);
        });
        return list;
    }

    std::vector<Window> childrenOf(Window w)
    {
        Window rootReturn = 0;
        Window parentReturn = 0;
        Window *children = nullptr;
        unsigned int n = 0;
        std::vector<Window> list;
        if (XQueryTree(m_display, w, &rootReturn, &parentReturn, &children, &n) && children) {
            list.assign(children, children + n);
            XFree(children);
        }
        return list;
    }

    std::string titleOf(Window w)
    {
        Atom actualType = 0;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char *data = nullptr;
        std::string title;
        if (XGetWindowProperty(m_display, w, atom("_NET_WM_NAME"), 0, 1024, False, atom("UTF8_STRING"),
                               &actualType, &format, &count, &after, &data) == Success && data) {
            title.assign(reinterpret_cast<const char *>(data), count);
            XFree(data);
            return title;
        }
        XTextProperty prop{};
        if (XGetWMName(m_display, w, &prop) && prop.value) {
            char **list = nullptr;
            int n = 0;
            if (Xutf8TextPropertyToTextList(m_display, &prop, &list, &n) >= Success && list && n > 0)
                title = list[0];
            if (list)
                XFreeStringList(list);
            XFree(prop.value);
        }
        return title;
    }

    void changeState(Window w, bool add, const char *state)
    {
        XEvent ev{};
        ev.xclient.type = ClientMessage;
        ev.xclient.window = w;
        ev.xclient.message_type = atom("_NET_WM_STATE");
        ev.xclient.format = 32;
        ev.xclient.data.l[0] = add ? 1 : 0;
        ev.xclient.data.l[1] = static_cast<long>(atom(state));
        ev.xclient.data.l[3] = 2;
        sendToRoot(ev);
    }

    void sendToRoot(XEvent &ev)
    {
        XSendEvent(m_display, root(), False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
    }

    Display *m_display;
};

} // namespace

std::unique_ptr<WindowSystem> createNativeWindowSystem()
{
    auto ws = std::make_unique<X11WindowSystem>();
    if (!ws->isAvailable())
        return createNullWindowSystem();
    return ws;
}

} // namespace platform
