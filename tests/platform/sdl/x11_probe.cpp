// SPDX-License-Identifier: GPL-3.0-or-later
// X server access for the desktop smoke tests (see x11_probe.h).

#include "x11_probe.h"

#if KOVELIN_HAVE_XTEST

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace x11_probe {

namespace {

// One connection per thread, so a test may watch the server from a second
// thread while the first runs a modal loop.
struct Connection {
    Display* display = XOpenDisplay(nullptr);
    ~Connection() {
        if (display) XCloseDisplay(display);
    }
};

Display* Dpy() {
    thread_local Connection connection;
    return connection.display;
}

// The child of the root window that holds `w` (its frame under a window
// manager), or 0.
::Window TopAncestor(::Window w) {
    Display* d = Dpy();
    const ::Window root = DefaultRootWindow(d);
    while (w) {
        ::Window root_ret = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(d, w, &root_ret, &parent, &children, &count)) return 0;
        if (children) XFree(children);
        if (parent == root) return w;
        w = parent;
    }
    return 0;
}

int IgnoreErrors(Display*, XErrorEvent*) {
    return 0;
}

// The window named by a window property of `w` (0 when missing or gone).
::Window WindowProperty(::Window w, const char* name) {
    Display* d = Dpy();
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    ::Window value = 0;
    // The window a property names may be gone already; that is no error here.
    XSync(d, False);
    auto* previous = XSetErrorHandler(IgnoreErrors);
    if (XGetWindowProperty(d, w, XInternAtom(d, name, False), 0, 1, False, XA_WINDOW, &type,
                           &format, &count, &after, &data) == Success &&
        data && count == 1)
        value = reinterpret_cast<::Window*>(data)[0];
    if (data) XFree(data);
    XSync(d, False);
    XSetErrorHandler(previous);
    return value;
}

}  // namespace

bool Available() {
    Display* d = Dpy();
    if (!d) return false;
    int event_base = 0, error_base = 0, major = 0, minor = 0;
    return XTestQueryExtension(d, &event_base, &error_base, &major, &minor);
}

void Sync() {
    if (Dpy()) XSync(Dpy(), False);
}

void MovePointer(int x, int y) {
    XTestFakeMotionEvent(Dpy(), -1, x, y, CurrentTime);
    XSync(Dpy(), False);
}

void Button(int button, bool down) {
    XTestFakeButtonEvent(Dpy(), static_cast<unsigned>(button), down ? True : False, CurrentTime);
    XSync(Dpy(), False);
}

void Key(char latin1, bool down) {
    const KeyCode code =
        XKeysymToKeycode(Dpy(), static_cast<KeySym>(static_cast<unsigned char>(latin1)));
    if (!code) return;
    XTestFakeKeyEvent(Dpy(), code, down ? True : False, CurrentTime);
    XSync(Dpy(), False);
}

void TapKeysym(unsigned long keysym) {
    const KeyCode code = XKeysymToKeycode(Dpy(), static_cast<KeySym>(keysym));
    if (!code) return;
    XTestFakeKeyEvent(Dpy(), code, True, CurrentTime);
    XTestFakeKeyEvent(Dpy(), code, False, CurrentTime);
    XSync(Dpy(), False);
}

void FocusWindowUnderPointer() {
    Display* d = Dpy();
    ::Window root = DefaultRootWindow(d);
    ::Window root_ret = 0, child = 0;
    int rx = 0, ry = 0, wx = 0, wy = 0;
    unsigned mask = 0;
    if (XQueryPointer(d, root, &root_ret, &child, &rx, &ry, &wx, &wy, &mask) && child)
        XSetInputFocus(d, child, RevertToPointerRoot, CurrentTime);
    XSync(d, False);
}

XWindow XWindowOf(uint32_t sdl_window_id) {
    SDL_Window* w = SDL_GetWindowFromID(sdl_window_id);
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!w || !SDL_GetWindowWMInfo(w, &info) || info.subsystem != SDL_SYSWM_X11) return 0;
    return info.info.x11.window;
}

XWindow FocusedWindow() {
    ::Window focus = 0;
    int revert = 0;
    XGetInputFocus(Dpy(), &focus, &revert);
    return focus == PointerRoot ? 0 : focus;
}

std::pair<int, int> Origin(XWindow window) {
    Display* d = Dpy();
    int x = 0, y = 0;
    ::Window child = 0;
    XTranslateCoordinates(d, window, DefaultRootWindow(d), 0, 0, &x, &y, &child);
    return {x, y};
}

std::pair<int, int> Size(XWindow window) {
    XWindowAttributes a{};
    if (!XGetWindowAttributes(Dpy(), window, &a)) return {};
    return {a.width, a.height};
}

std::pair<int, int> ScreenSize() {
    Display* d = Dpy();
    return {DisplayWidth(d, DefaultScreen(d)), DisplayHeight(d, DefaultScreen(d))};
}

bool HasFocus(XWindow window) {
    Display* d = Dpy();
    for (::Window w = FocusedWindow(); w && window;) {
        if (w == window) return true;
        ::Window root_ret = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(d, w, &root_ret, &parent, &children, &count)) return false;
        if (children) XFree(children);
        w = parent == root_ret ? 0 : parent;
    }
    return false;
}

bool OverrideRedirect(XWindow window) {
    XWindowAttributes attrs;
    return XGetWindowAttributes(Dpy(), window, &attrs) && attrs.override_redirect;
}

XWindow TransientFor(XWindow window) {
    ::Window owner = 0;
    return XGetTransientForHint(Dpy(), window, &owner) ? owner : 0;
}

std::string WindowType(XWindow window) {
    Display* d = Dpy();
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string name;
    if (XGetWindowProperty(d, window, XInternAtom(d, "_NET_WM_WINDOW_TYPE", False), 0, 1, False,
                           XA_ATOM, &type, &format, &count, &after, &data) == Success &&
        data && count > 0) {
        if (char* n = XGetAtomName(d, reinterpret_cast<Atom*>(data)[0])) {
            name = n;
            XFree(n);
        }
    }
    if (data) XFree(data);
    return name;
}

bool StackedAbove(XWindow upper, XWindow lower) {
    Display* d = Dpy();
    const ::Window a = TopAncestor(upper);
    const ::Window b = TopAncestor(lower);
    if (!a || !b || a == b) return false;
    ::Window root_ret = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(d, DefaultRootWindow(d), &root_ret, &parent, &children, &count)) return false;
    // Bottom to top.
    int ia = -1, ib = -1;
    for (unsigned i = 0; i < count; ++i) {
        if (children[i] == a) ia = static_cast<int>(i);
        if (children[i] == b) ib = static_cast<int>(i);
    }
    if (children) XFree(children);
    return ia > ib && ib >= 0;
}

void SendMessageTo(XWindow window) {
    Display* d = Dpy();
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(d, "_KOVELIN_PROBE", False);
    event.xclient.format = 8;
    XSendEvent(d, window, False, NoEventMask, &event);
    XSync(d, False);
}

bool WindowManagerRunning() {
    // The EWMH check: the root names a window that names itself.
    const ::Window check = WindowProperty(DefaultRootWindow(Dpy()), "_NET_SUPPORTING_WM_CHECK");
    return check && WindowProperty(check, "_NET_SUPPORTING_WM_CHECK") == check;
}

void PaintRoot(uint32_t rgb) {
    Display* d = Dpy();
    ::Window root = DefaultRootWindow(d);
    XSetWindowBackground(d, root, rgb);
    XClearWindow(d, root);
    XSync(d, False);
}

Image Grab(int x, int y, int width, int height) {
    Image out;
    Display* d = Dpy();
    // The server refuses to read outside the screen.
    if (x < 0 || y < 0 || width <= 0 || height <= 0 ||
        x + width > DisplayWidth(d, DefaultScreen(d)) ||
        y + height > DisplayHeight(d, DefaultScreen(d)))
        return out;
    XImage* img = XGetImage(d, DefaultRootWindow(d), x, y, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (!img) return out;
    out.width = width;
    out.height = height;
    out.rgb.resize(static_cast<size_t>(width) * height);
    for (int yy = 0; yy < height; ++yy)
        for (int xx = 0; xx < width; ++xx)
            out.rgb[static_cast<size_t>(yy) * width + xx] =
                static_cast<uint32_t>(XGetPixel(img, xx, yy)) & 0xFFFFFFu;
    XDestroyImage(img);
    return out;
}

uint32_t PixelAt(int x, int y) {
    const Image img = Grab(x, y, 1, 1);
    return img.rgb.empty() ? kNoPixel : img.rgb[0];
}

}  // namespace x11_probe

#else

namespace x11_probe {

bool Available() {
    return false;
}
void Sync() {
}
void MovePointer(int, int) {
}
void Button(int, bool) {
}
void Key(char, bool) {
}
void TapKeysym(unsigned long) {
}
void FocusWindowUnderPointer() {
}
XWindow XWindowOf(uint32_t) {
    return 0;
}
XWindow FocusedWindow() {
    return 0;
}
std::pair<int, int> Origin(XWindow) {
    return {};
}
std::pair<int, int> Size(XWindow) {
    return {};
}
std::pair<int, int> ScreenSize() {
    return {};
}
bool HasFocus(XWindow) {
    return false;
}
bool OverrideRedirect(XWindow) {
    return false;
}
XWindow TransientFor(XWindow) {
    return 0;
}
std::string WindowType(XWindow) {
    return {};
}
bool StackedAbove(XWindow, XWindow) {
    return false;
}
void SendMessageTo(XWindow) {
}
bool WindowManagerRunning() {
    return false;
}
void PaintRoot(uint32_t) {
}
Image Grab(int, int, int, int) {
    return {};
}
uint32_t PixelAt(int, int) {
    return kNoPixel;
}

}  // namespace x11_probe

#endif
