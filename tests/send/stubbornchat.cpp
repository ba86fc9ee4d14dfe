// A chat window that asks for the pasted text on Ctrl+V but never reads it
// (it leaves the answer standing instead of deleting it, as a hung or
// broken client would), for the send tests. It writes "ready" to the
// record file once it has the keyboard, then a line for each paste it asked
// for ("requested") and for each Return it got ("return").
//
//   zantoria_stubbornchat --record FILE

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstring>
#include <fstream>
#include <string>

int main(int argc, char **argv)
{
    std::string record;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--record") == 0)
            record = argv[i + 1];
    }
    if (record.empty())
        return 2;
    const auto note = [&](const char *line) {
        std::ofstream(record, std::ios::app) << line << '\n';
    };

    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return 3;
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 40, 40, 440, 400, 0, 0,
                                              WhitePixel(display, DefaultScreen(display)));
    const std::string title = "发送消息";
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                    XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char *>(title.data()), int(title.size()));
    XWMHints hints{};
    hints.flags = InputHint;
    hints.input = True;
    XSetWMHints(display, window, &hints);
    XSelectInput(display, window, KeyPressMask | FocusChangeMask);
    XMapWindow(display, window);

    const Atom clipboard = XInternAtom(display, "CLIPBOARD", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const Atom pasted = XInternAtom(display, "ZANTORIA_STUBBORN_PASTE", False);
    bool ready = false;
    XEvent event;
    for (;;) {
        XNextEvent(display, &event);
        if (event.type == FocusIn && !ready) {
            ready = true;
            note("ready");
        } else if (event.type == KeyPress) {
            const KeySym key = XLookupKeysym(&event.xkey, 0);
            if (key == XK_v && (event.xkey.state & ControlMask)) {
                XConvertSelection(display, clipboard, utf8, pasted, window, event.xkey.time);
                note("requested");
            } else if (key == XK_Return) {
                note("return");
            }
        }
        // The SelectionNotify that answers is left alone, and so is the text.
    }
}
