// A window manager for tests on a virtual display, which has none. Windows map and
// configure themselves as they ask; what a program needs a window manager for here
// is full screen: a window that asks for the _NET_WM_STATE_FULLSCREEN state (the
// standard client message, or the property set before it maps) is moved and sized to
// cover the whole screen, and gets its earlier place and size back when it drops the
// state. It draws no frames and reparents nothing, so windows keep the geometry they
// asked for. It runs until its display closes.
//   test_window_manager            (on $DISPLAY)
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <map>

namespace {

Display* display = nullptr;
Atom wm_state = None, wm_fullscreen = None;

struct Saved {
    int x, y;
    unsigned width, height;
};
std::map<Window, Saved> fullscreen_windows;

bool wm_already_running = false;
int note_other_wm(Display*, XErrorEvent* e) {
    if (e->error_code == BadAccess) wm_already_running = true;
    return 0;
}
int ignore_errors(Display*, XErrorEvent*) { return 0; }

bool has_fullscreen_property(Window w) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, w, wm_state, 0, 64, False, XA_ATOM, &type, &format, &count, &left, &data) !=
            Success ||
        !data)
        return false;
    bool found = false;
    for (unsigned long i = 0; i < count; ++i) found |= reinterpret_cast<Atom*>(data)[i] == wm_fullscreen;
    XFree(data);
    return found;
}

void set_fullscreen(Window w, bool on) {
    const bool is_on = fullscreen_windows.count(w) != 0;
    if (on == is_on) return;
    if (on) {
        XWindowAttributes a;
        if (!XGetWindowAttributes(display, w, &a)) return;
        fullscreen_windows[w] = {a.x, a.y, static_cast<unsigned>(a.width), static_cast<unsigned>(a.height)};
        const Screen* s = DefaultScreenOfDisplay(display);
        XMoveResizeWindow(display, w, 0, 0, static_cast<unsigned>(s->width), static_cast<unsigned>(s->height));
        XRaiseWindow(display, w);
        XChangeProperty(display, w, wm_state, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&wm_fullscreen), 1);
    } else {
        const Saved saved = fullscreen_windows[w];
        fullscreen_windows.erase(w);
        XMoveResizeWindow(display, w, saved.x, saved.y, saved.width, saved.height);
        XChangeProperty(display, w, wm_state, XA_ATOM, 32, PropModeReplace, nullptr, 0);
    }
}

}  // namespace

int main() {
    display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "test_window_manager: no display\n");
        return 1;
    }
    const Window root = DefaultRootWindow(display);
    XSetErrorHandler(note_other_wm);
    XSelectInput(display, root, SubstructureRedirectMask | SubstructureNotifyMask);
    XSync(display, False);
    if (wm_already_running) {
        std::fprintf(stderr, "test_window_manager: another window manager runs\n");
        return 1;
    }
    XSetErrorHandler(ignore_errors);
    wm_state = XInternAtom(display, "_NET_WM_STATE", False);
    wm_fullscreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
    // Announced as the running window manager, with the one state it supports.
    const Atom supported = XInternAtom(display, "_NET_SUPPORTED", False);
    XChangeProperty(display, root, supported, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&wm_fullscreen), 1);
    std::printf("ready\n");
    std::fflush(stdout);

    for (;;) {
        XEvent e;
        XNextEvent(display, &e);
        switch (e.type) {
            case MapRequest:
                if (has_fullscreen_property(e.xmaprequest.window)) set_fullscreen(e.xmaprequest.window, true);
                XMapWindow(display, e.xmaprequest.window);
                break;
            case ConfigureRequest: {
                const XConfigureRequestEvent& r = e.xconfigurerequest;
                if (fullscreen_windows.count(r.window)) break;   // stays covering the screen
                XWindowChanges changes{r.x, r.y, r.width, r.height, r.border_width, r.above, r.detail};
                XConfigureWindow(display, r.window, static_cast<unsigned>(r.value_mask), &changes);
                break;
            }
            case ClientMessage:
                if (e.xclient.message_type == wm_state) {
                    const long action = e.xclient.data.l[0];   // 0 remove, 1 add, 2 toggle
                    const Window w = e.xclient.window;
                    if (static_cast<Atom>(e.xclient.data.l[1]) == wm_fullscreen ||
                        static_cast<Atom>(e.xclient.data.l[2]) == wm_fullscreen) {
                        set_fullscreen(w, action == 2 ? fullscreen_windows.count(w) == 0 : action == 1);
                    }
                }
                break;
            case DestroyNotify:
                fullscreen_windows.erase(e.xdestroywindow.window);
                break;
            default:
                break;
        }
        XFlush(display);
    }
}
