// A clipboard owner for the tests, behaving as a toolkit program does: it
// offers a text in UTF8_STRING, sent in pieces (INCR) when it is larger than
// one piece, and, with --slow, first a form of its own that it answers only
// after that many milliseconds (answering nothing else meanwhile). It ends
// when another program takes the clipboard.
//
//   zantoria_testowner --text FILE [--piece BYTES] [--slow MS] [--ready FILE]
//
// --ready names a file created once the clipboard is owned.

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Transfer
{
    Window requestor;
    Atom property;
    std::size_t offset = 0;
    bool ending = false; // the empty piece that ends it is written
};

} // namespace

int main(int argc, char **argv)
{
    std::string textFile;
    std::string readyFile;
    std::size_t piece = 64 * 1024;
    int slowMs = -1;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--text")
            textFile = argv[i + 1];
        else if (option == "--piece")
            piece = std::strtoul(argv[i + 1], nullptr, 10);
        else if (option == "--slow")
            slowMs = std::atoi(argv[i + 1]);
        else if (option == "--ready")
            readyFile = argv[i + 1];
    }
    std::ifstream in(textFile, std::ios::binary);
    if (!in || piece == 0)
        return 2;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return 3;
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), -10, -10, 1, 1, 0, 0, 0);
    XSelectInput(display, window, PropertyChangeMask);
    const Atom clipboard = XInternAtom(display, "CLIPBOARD", False);
    const Atom targets = XInternAtom(display, "TARGETS", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const Atom incr = XInternAtom(display, "INCR", False);
    const Atom slow = XInternAtom(display, "application/x-zantoria-slow", False);

    XEvent event;
    XChangeProperty(display, window, XA_STRING, XA_STRING, 8, PropModeAppend, nullptr, 0);
    XWindowEvent(display, window, PropertyChangeMask, &event);
    XSetSelectionOwner(display, clipboard, window, event.xproperty.time);
    if (XGetSelectionOwner(display, clipboard) != window)
        return 4;
    if (!readyFile.empty())
        std::ofstream(readyFile) << "owner\n";

    std::vector<Transfer> transfers;
    for (;;) {
        XNextEvent(display, &event);
        if (event.type == SelectionClear)
            break;
        if (event.type == PropertyNotify && event.xproperty.state == PropertyDelete) {
            for (auto t = transfers.begin(); t != transfers.end(); ++t) {
                if (t->requestor != event.xproperty.window || t->property != event.xproperty.atom)
                    continue;
                if (t->ending) {
                    transfers.erase(t);
                    break;
                }
                const std::size_t n = std::min(piece, text.size() - t->offset);
                XChangeProperty(display, t->requestor, t->property, utf8, 8, PropModeReplace,
                                reinterpret_cast<const unsigned char *>(text.data() + t->offset), int(n));
                t->offset += n;
                t->ending = n == 0;
                XFlush(display);
                break;
            }
            continue;
        }
        if (event.type != SelectionRequest)
            continue;
        const XSelectionRequestEvent &request = event.xselectionrequest;
        XSelectionEvent answer{};
        answer.type = SelectionNotify;
        answer.requestor = request.requestor;
        answer.selection = request.selection;
        answer.target = request.target;
        answer.time = request.time;
        answer.property = request.property;
        if (request.target == targets) {
            std::vector<long> list = {long(targets)};
            if (slowMs >= 0)
                list.push_back(long(slow));
            list.push_back(long(utf8));
            XChangeProperty(display, request.requestor, request.property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char *>(list.data()), int(list.size()));
        } else if (request.target == slow && slowMs >= 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(slowMs));
            XChangeProperty(display, request.requestor, request.property, slow, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char *>("late"), 4);
        } else if (request.target == utf8 && text.size() > piece) {
            XSelectInput(display, request.requestor, PropertyChangeMask);
            const long size = long(text.size());
            XChangeProperty(display, request.requestor, request.property, incr, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char *>(&size), 1);
            transfers.push_back({request.requestor, request.property});
        } else if (request.target == utf8) {
            XChangeProperty(display, request.requestor, request.property, utf8, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char *>(text.data()), int(text.size()));
        } else {
            answer.property = None;
        }
        XSendEvent(display, request.requestor, False, NoEventMask, reinterpret_cast<XEvent *>(&answer));
        XFlush(display);
    }
    XCloseDisplay(display);
    return 0;
}
