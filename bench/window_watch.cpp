// window_watch: waits until a window of a process is on the screen and prints its id
// and the moment it was first seen there (nanoseconds since the epoch). It polls the
// window manager's list of client windows every half millisecond over one X
// connection, so that the moment is found to within that and no process is started
// per look (as a polling shell script would).
//
//   window_watch [--click-after MS] PID MINWIDTH [MAXWIDTH]
//
// A window counts when it belongs to PID (_NET_WM_PID), is viewable and is between
// MINWIDTH and MAXWIDTH pixels wide. With --click-after, it is clicked MS milliseconds
// after it was seen (20 pixels in from its top left corner, through the XTEST
// extension), as a user clicks a splash away, and the moment of the click is printed
// as a third number.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

// A window may go between being listed and being looked at.
int ignoreErrors(Display*, XErrorEvent*) {
    return 0;
}

// The CARDINAL or WINDOW values of a property, or none.
template <typename F> void forEachValue(Display* d, Window w, Atom property, Atom type, F f) {
    Atom actual = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(d, w, property, 0, 1 << 16, False, type, &actual, &format, &count,
                           &after, &data) == Success &&
        data && format == 32) {
        const auto* values = reinterpret_cast<const unsigned long*>(data);
        for (unsigned long i = 0; i < count; ++i)
            f(values[i]);
    }
    if (data)
        XFree(data);
}

} // namespace

int main(int argc, char** argv) {
    int clickAfter = -1;
    if (argc > 2 && std::strcmp(argv[1], "--click-after") == 0) {
        clickAfter = std::atoi(argv[2]);
        argc -= 2;
        argv += 2;
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: window_watch [--click-after MS] PID MINWIDTH [MAXWIDTH]\n");
        return 2;
    }
    const unsigned long pid = std::strtoul(argv[1], nullptr, 10);
    const int minWidth = std::atoi(argv[2]);
    const int maxWidth = argc > 3 ? std::atoi(argv[3]) : 1 << 30;
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fprintf(stderr, "window_watch: cannot open the display\n");
        return 1;
    }
    XSetErrorHandler(ignoreErrors);
    const Atom clients = XInternAtom(d, "_NET_CLIENT_LIST", False);
    const Atom wmPid = XInternAtom(d, "_NET_WM_PID", False);
    for (;;) {
        Window found = None;
        forEachValue(d, DefaultRootWindow(d), clients, XA_WINDOW, [&](unsigned long w) {
            if (found)
                return;
            bool mine = false;
            forEachValue(d, w, wmPid, XA_CARDINAL, [&](unsigned long p) { mine = p == pid; });
            XWindowAttributes a;
            if (mine && XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable &&
                a.width >= minWidth && a.width <= maxWidth)
                found = w;
        });
        if (found) {
            auto ns = [] {
                return static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::nanoseconds>(
                        std::chrono::system_clock::now().time_since_epoch())
                        .count());
            };
            const long long seen = ns();
            if (clickAfter < 0) {
                std::printf("%lu %lld\n", found, seen);
                return 0;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(clickAfter));
            int x = 0, y = 0;
            Window child = None;
            XTranslateCoordinates(d, found, DefaultRootWindow(d), 20, 20, &x, &y, &child);
            const long long clicked = ns();
            XTestFakeMotionEvent(d, DefaultScreen(d), x, y, CurrentTime);
            XTestFakeButtonEvent(d, 1, True, CurrentTime);
            XTestFakeButtonEvent(d, 1, False, CurrentTime);
            XSync(d, False);
            std::printf("%lu %lld %lld\n", found, seen, clicked);
            return 0;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
}
