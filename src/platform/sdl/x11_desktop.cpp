// SPDX-License-Identifier: GPL-3.0-or-later
// The X11 side of the desktop backend (see x11_desktop.h).

#include "platform/sdl/x11_desktop.h"

#include <SDL.h>
#include <SDL_syswm.h>

#if KOVELIN_X11
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#endif

namespace platform::sdl {

#if KOVELIN_X11

std::optional<std::string> XftDpi() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return std::nullopt;
    std::optional<std::string> out;
    // The database is lines of "name:<blanks>value".
    if (const char* db = XResourceManagerString(display)) {
        const std::string text(db);
        size_t at = 0;
        while (at < text.size()) {
            size_t end = text.find('\n', at);
            if (end == std::string::npos) end = text.size();
            const std::string line = text.substr(at, end - at);
            at = end + 1;
            const std::string key = "Xft.dpi:";
            if (line.compare(0, key.size(), key) != 0) continue;
            const size_t v = line.find_first_not_of(" \t", key.size());
            if (v != std::string::npos) out = line.substr(v);
        }
    }
    XCloseDisplay(display);
    return out;
}

#else

std::optional<std::string> XftDpi() {
    return std::nullopt;
}

#endif

#if KOVELIN_X11

namespace {

struct X11Window {
    Display* display = nullptr;
    ::Window window = 0;
};

X11Window X11Of(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return {};
    return {info.info.x11.display, info.info.x11.window};
}

bool g_x_error = false;

int NoteError(Display* /*display*/, XErrorEvent* /*error*/) {
    g_x_error = true;
    return 0;
}

// Runs requests that may name windows of other clients, which can go away
// at any time; their errors are noted instead of ending the program. Returns
// whether all went through.
template <class F>
bool Trapped(Display* display, F&& requests) {
    XSync(display, False);
    g_x_error = false;
    auto* previous = XSetErrorHandler(NoteError);
    requests();
    XSync(display, False);
    XSetErrorHandler(previous);
    return !g_x_error;
}

// The window a window property of `w` names, or 0.
::Window WindowProperty(Display* display, ::Window w, Atom property) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    ::Window value = 0;
    Trapped(display, [&] {
        if (XGetWindowProperty(display, w, property, 0, 1, False, XA_WINDOW, &type, &format, &count,
                               &after, &data) == Success &&
            data && type == XA_WINDOW && format == 32 && count == 1)
            value = static_cast<::Window>(reinterpret_cast<unsigned long*>(data)[0]);
    });
    if (data) XFree(data);
    return value;
}

// The EWMH check: a running manager names a window on the root that names
// itself.
bool WindowManagerRunning(Display* display) {
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    const ::Window w = WindowProperty(display, DefaultRootWindow(display), check);
    return w && WindowProperty(display, w, check) == w;
}

}  // namespace

// --- the keyboard focus ---------------------------------------------------------

void MapKeepingFocus(SDL_Window* window, void (*map)(SDL_Window*)) {
    const X11Window x = X11Of(window);
    if (!x.display) {
        map(window);
        return;
    }
    ::Window before = 0;
    int revert_to = RevertToNone;
    XGetInputFocus(x.display, &before, &revert_to);
    map(window);
    ::Window after = 0;
    int after_revert = RevertToNone;
    XGetInputFocus(x.display, &after, &after_revert);
    if (after != x.window || before == x.window) return;
    Trapped(x.display, [&] { XSetInputFocus(x.display, before, revert_to, CurrentTime); });
}

void PassFocus(SDL_Window* from, SDL_Window* to) {
    const X11Window x = X11Of(from);
    const X11Window y = X11Of(to);
    if (!x.display || !y.display) return;
    ::Window focus = 0;
    int revert_to = RevertToNone;
    XGetInputFocus(x.display, &focus, &revert_to);
    if (focus != x.window) return;
    XWindowAttributes attrs;
    if (!XGetWindowAttributes(y.display, y.window, &attrs) || attrs.map_state != IsViewable) return;
    XSetInputFocus(y.display, y.window, RevertToParent, CurrentTime);
    XFlush(y.display);
}

void FocusIfUnmanaged(SDL_Window* window) {
    const X11Window x = X11Of(window);
    if (!x.display || WindowManagerRunning(x.display)) return;
    XWindowAttributes attrs;
    if (!XGetWindowAttributes(x.display, x.window, &attrs) || attrs.map_state != IsViewable) return;
    XSetInputFocus(x.display, x.window, RevertToParent, CurrentTime);
    XFlush(x.display);
}

// --- errors ---------------------------------------------------------------------

namespace {

// The handler that was in place before this one first was.
XErrorHandler g_next = nullptr;
bool g_installed = false;

int DropMessagesToDestroyedWindows(Display* display, XErrorEvent* error) {
    // A message sent to a window that no longer exists reaches nobody, and
    // nobody waits for it.
    if (error->request_code == X_SendEvent && error->error_code == BadWindow) return 0;
    return g_next ? g_next(display, error) : 0;
}

}  // namespace

void TolerateMessagesToDestroyedWindows() {
    // Put in place before SDL starts, SDL takes this handler for the one it
    // chains to and puts back when it stops, which is also when it closes
    // the connection that receives the rejections.
    const XErrorHandler previous = XSetErrorHandler(DropMessagesToDestroyedWindows);
    if (!g_installed) g_next = previous;
    g_installed = true;
}

// --- position -------------------------------------------------------------------

std::optional<Point> ScreenPosition(SDL_Window* window) {
    const X11Window x = X11Of(window);
    if (!x.display) return std::nullopt;
    int sx = 0;
    int sy = 0;
    ::Window child = 0;
    if (!XTranslateCoordinates(x.display, x.window, DefaultRootWindow(x.display), 0, 0, &sx, &sy,
                               &child))
        return std::nullopt;
    return Point{sx, sy};
}

#else

void MapKeepingFocus(SDL_Window* window, void (*map)(SDL_Window*)) {
    map(window);
}

void PassFocus(SDL_Window* /*from*/, SDL_Window* /*to*/) {
}

void FocusIfUnmanaged(SDL_Window* /*window*/) {
}

void TolerateMessagesToDestroyedWindows() {
}

std::optional<Point> ScreenPosition(SDL_Window* /*window*/) {
    return std::nullopt;
}

#endif

}  // namespace platform::sdl
