// X11 backend. It keeps a connection of its own to the display named by
// DISPLAY, so that it works the same whether or not Qt itself runs on xcb
// (tests run widgets offscreen and still look for real windows).

#include "windowsystem.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xlib-xcb.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>

#include "x11clipboard.h"

#include <chrono>
#include <cstring>
#include <thread>
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
        m_keeper.reset();
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
        // Under a window manager, a window it does not list yet is one it
        // has still to take over: a request sent to it now (iconify, say)
        // would be lost. Only windows on screen that it leaves alone
        // (override-redirect ones) are taken from the tree then.
        const bool managed = windowManagerRuns();
        const auto matches = [&](Window w) { return (!managed || isViewable(w)) && titleOf(w) == title; };
        for (Window w : childrenOf(root())) {
            if (matches(w))
                return w;
            for (Window c : childrenOf(w)) {
                if (matches(c))
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

    std::vector<WindowInfo> topLevelWindows() override
    {
        std::vector<WindowInfo> list;
        if (!m_display)
            return list;
        std::vector<Window> windows = clientList();
        // A window manager that keeps no list (XWayland's) has put WM_STATE
        // on the windows it took over; without one, the root's children are
        // the programs' windows.
        if (windows.empty()) {
            const bool managed = windowManagerRuns();
            for (Window w : childrenOf(root())) {
                if (!isViewable(w) || isOverrideRedirect(w))
                    continue;
                if (const Window client = clientWindowIn(w, 2))
                    windows.push_back(client);
                else if (!managed)
                    windows.push_back(w);
            }
        }
        for (Window w : windows) {
            if (auto info = windowInfo(w))
                list.push_back(std::move(*info));
        }
        return list;
    }

    std::optional<WindowInfo> windowInfo(WindowId window) override
    {
        const Window w = static_cast<Window>(window);
        if (!m_display || !w || !exists(w))
            return std::nullopt;
        WindowInfo info;
        info.window = window;
        info.title = titleOf(w);
        XClassHint hint{};
        if (XGetClassHint(m_display, w, &hint)) {
            const char *name = hint.res_class && *hint.res_class ? hint.res_class : hint.res_name;
            if (name)
                info.windowClass = name;
            if (hint.res_name)
                XFree(hint.res_name);
            if (hint.res_class)
                XFree(hint.res_class);
        }
        // Gone while it was read: what was read may be empty, not its own.
        if (!exists(w))
            return std::nullopt;
        return info;
    }

    std::optional<PointedWindow> topLevelAt(int x, int y) override
    {
        if (!m_display)
            return std::nullopt;
        Window child = None;
        int rx = 0;
        int ry = 0;
        if (!XTranslateCoordinates(m_display, root(), root(), x, y, &rx, &ry, &child) || child == None)
            return std::nullopt;
        // Under a window manager the root's child is its frame: the window
        // a program made is the one inside that carries WM_STATE.
        Window client = clientWindowIn(child, 4);
        if (client == None) {
            if (windowManagerRuns() && !isOverrideRedirect(child))
                return std::nullopt; // the window manager's own (a panel, the desktop)
            client = child;
        }
        PointedWindow pointed;
        pointed.window = client;
        Window ignored = None;
        if (!XTranslateCoordinates(m_display, root(), client, x, y, &pointed.x, &pointed.y, &ignored))
            return std::nullopt;
        return pointed;
    }

    SendResult sendText(const SendRequest &request) override
    {
        const Window target = static_cast<Window>(request.target);
        if (!m_display || !target || !exists(target))
            return SendResult::NoTarget;
        int eventBase = 0;
        int errorBase = 0;
        int major = 0;
        int minor = 0;
        if (!XTestQueryExtension(m_display, &eventBase, &errorBase, &major, &minor))
            return SendResult::Failed;
        const auto wait = [&](const std::function<bool()> &done) {
            const auto deadline = x11::Clock::now() + request.waitLimit;
            for (;;) {
                if (done())
                    return true;
                if (x11::Clock::now() >= deadline)
                    return false;
                if (request.whileWaiting)
                    request.whileWaiting();
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        };

        // The text travels through the clipboard, because typing it would
        // lose every character the keyboard map lacks. The user's own
        // clipboard is read first, to be given back afterwards.
        const x11::ClipboardLimits limits{request.waitLimit, 4 * request.waitLimit};
        x11::ClipboardContents saved = x11::readClipboard(m_display, helper(), limits, request.whileWaiting);
        const unsigned long mask = resourceMask();
        auto server = std::make_unique<x11::ClipboardServer>(DisplayString(m_display),
                                                             x11::textFormats(m_display, request.utf8Text),
                                                             target & ~mask, mask);
        wait([&] { return server->settled(); });
        const auto giveBack = [&](SendResult result) {
            restoreClipboard(std::move(saved), std::move(server));
            if (result != SendResult::Sent && !exists(target))
                return SendResult::NoTarget;
            return result;
        };
        if (!server->owns())
            return giveBack(SendResult::Failed);

        activate(target);
        wait([&] { return !exists(target) || focusIsOn(target); });
        if (!exists(target))
            return giveBack(SendResult::NoTarget);
        if (clickInside(target, request.editX, request.editY)) {
            // The chat window moves its keyboard focus to the box on the
            // click; keys sent before it has done so land where it was.
            const auto settled = x11::Clock::now() + std::chrono::milliseconds(150);
            wait([&] { return x11::Clock::now() >= settled || !exists(target); });
        }

        // Select all, so that the paste replaces what stood in the box.
        if (!pressKeys(target, XK_a, true) || !pressKeys(target, XK_v, true))
            return giveBack(SendResult::Failed);
        // The chat window reads the clipboard while it handles Ctrl+V. Only
        // a text it has read stands in its box: Return before that would
        // send whatever stood there, or nothing.
        wait([&] { return server->taken() || !exists(target); });
        if (!server->taken())
            return giveBack(SendResult::Failed);
        if (!request.pasteOnly && !pressKeys(target, XK_Return, false))
            return giveBack(SendResult::Failed);
        return giveBack(SendResult::Sent);
    }

private:
    // Our own clipboard server answers at once: this is only a bound.
    static constexpr std::chrono::milliseconds kOwnServerLimit{2000};

    Window root() const { return DefaultRootWindow(m_display); }

    bool exists(Window w)
    {
        XWindowAttributes attributes;
        return XGetWindowAttributes(m_display, w, &attributes) != 0;
    }

    bool isOverrideRedirect(Window w)
    {
        XWindowAttributes attributes;
        return XGetWindowAttributes(m_display, w, &attributes) != 0 && attributes.override_redirect;
    }

    // `w` or the first of its descendants, `depth` levels down at most,
    // that carries WM_STATE: a window the window manager took over.
    Window clientWindowIn(Window w, int depth)
    {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char *data = nullptr;
        const bool managed = XGetWindowProperty(m_display, w, atom("WM_STATE"), 0, 0, False, AnyPropertyType, &type,
                                                &format, &count, &after, &data) == Success
                             && type != None;
        if (data)
            XFree(data);
        if (managed)
            return w;
        if (depth <= 0)
            return None;
        for (Window c : childrenOf(w)) {
            if (const Window found = clientWindowIn(c, depth - 1))
                return found;
        }
        return None;
    }

    bool isViewable(Window w)
    {
        XWindowAttributes attributes;
        return XGetWindowAttributes(m_display, w, &attributes) != 0 && attributes.map_state == IsViewable;
    }

    // An unmapped window of our own that clipboard answers are sent to.
    Window helper()
    {
        if (!m_helper)
            m_helper = XCreateSimpleWindow(m_display, root(), -10, -10, 1, 1, 0, 0, 0);
        return m_helper;
    }

    // Every window a client creates shares the client's resource base: the
    // bits above this mask.
    unsigned long resourceMask() const
    {
        const xcb_setup_t *setup = xcb_get_setup(XGetXCBConnection(m_display));
        return setup ? setup->resource_id_mask : 0;
    }

    // The parent of `w`; None for the root, and when `w` is gone.
    Window parentOf(Window w)
    {
        Window rootReturn = None;
        Window parent = None;
        Window *children = nullptr;
        unsigned int n = 0;
        if (!XQueryTree(m_display, w, &rootReturn, &parent, &children, &n))
            return None;
        if (children)
            XFree(children);
        return parent;
    }

    // The ancestor of `w` just below the root: the frame a window manager
    // put around a window, or the window itself when none did. None when
    // `w` is gone (or is the root).
    Window topLevelOf(Window w)
    {
        for (Window parent = parentOf(w); parent != None; parent = parentOf(w)) {
            if (parent == root())
                return w;
            w = parent;
        }
        return None;
    }

    bool focusIsOn(Window target)
    {
        Window focus = None;
        int revert = 0;
        XGetInputFocus(m_display, &focus, &revert);
        if (focus == None || focus == PointerRoot)
            return false;
        const Window top = topLevelOf(target);
        return top != None && topLevelOf(focus) == top;
    }

    bool windowManagerRuns()
    {
        Window check = None;
        forEachProperty(root(), atom("_NET_SUPPORTING_WM_CHECK"), XA_WINDOW, [&](const long *data, unsigned long n) {
            if (n >= 1)
                check = static_cast<Window>(data[0]);
        });
        return check != None && exists(check);
    }

    // Brings the window forward and gives it the keyboard: through the
    // window manager when one runs (it would undo anything done behind its
    // back), directly otherwise.
    void activate(Window target)
    {
        if (windowManagerRuns()) {
            restoreWindow(target);
        } else {
            XMapRaised(m_display, target);
            XSetInputFocus(m_display, target, RevertToParent, CurrentTime);
        }
        XSync(m_display, False);
    }

    bool isInside(Window w, Window ancestor)
    {
        for (; w != None; w = parentOf(w)) {
            if (w == ancestor)
                return true;
        }
        return false;
    }

    // Clicks into the edit box, unless another window (ours, kept on top,
    // for one) covers the point; the pointer goes back where it was.
    bool clickInside(Window target, int x, int y)
    {
        int rootX = 0;
        int rootY = 0;
        Window ignored = None;
        if (!XTranslateCoordinates(m_display, target, root(), x, y, &rootX, &rootY, &ignored))
            return false;
        const WindowId under = childWindowAt(root(), rootX, rootY);
        if (!under || !isInside(static_cast<Window>(under), target))
            return false;
        Window rootReturn = None;
        Window childReturn = None;
        int pointerX = 0;
        int pointerY = 0;
        int winX = 0;
        int winY = 0;
        unsigned int buttons = 0;
        const bool known = XQueryPointer(m_display, root(), &rootReturn, &childReturn, &pointerX, &pointerY, &winX,
                                         &winY, &buttons);
        const int screen = DefaultScreen(m_display);
        XTestFakeMotionEvent(m_display, screen, rootX, rootY, CurrentTime);
        XTestFakeButtonEvent(m_display, Button1, True, CurrentTime);
        XTestFakeButtonEvent(m_display, Button1, False, CurrentTime);
        if (known)
            XTestFakeMotionEvent(m_display, screen, pointerX, pointerY, CurrentTime);
        XSync(m_display, False);
        return true;
    }

    // Presses `key` (with Control held when `control`) into the target, and
    // nothing at all when the keyboard is elsewhere: keys meant for the chat
    // window must never land in whatever the user is typing into.
    bool pressKeys(Window target, KeySym key, bool control)
    {
        const KeyCode code = XKeysymToKeycode(m_display, key);
        const KeyCode ctrl = XKeysymToKeycode(m_display, XK_Control_L);
        if (!code || (control && !ctrl) || !focusIsOn(target))
            return false;
        if (control)
            XTestFakeKeyEvent(m_display, ctrl, True, CurrentTime);
        const bool stillThere = !control || focusIsOn(target);
        if (stillThere) {
            XTestFakeKeyEvent(m_display, code, True, CurrentTime);
            XTestFakeKeyEvent(m_display, code, False, CurrentTime);
        }
        if (control)
            XTestFakeKeyEvent(m_display, ctrl, False, CurrentTime);
        XSync(m_display, False);
        return stillThere;
    }

    // Gives the user's clipboard back: the same forms offered by a server
    // of ours, or no owner at all when there was none. The text server
    // hands over only once the new owner stands, so nothing else slips in.
    void restoreClipboard(x11::ClipboardContents saved, std::unique_ptr<x11::ClipboardServer> textServer)
    {
        m_keeper.reset();
        if (saved.owned && !saved.formats.empty()) {
            m_keeper = std::make_unique<x11::ClipboardServer>(DisplayString(m_display), std::move(saved.formats));
            const auto deadline = x11::Clock::now() + kOwnServerLimit;
            while (!m_keeper->settled() && x11::Clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        textServer.reset();
    }

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
    Window m_helper = None;
    // Serves the user's clipboard after a send, until someone else copies.
    std::unique_ptr<x11::ClipboardServer> m_keeper;
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
