// X server access for the desktop smoke tests (see x11_probe.h).

#include "x11_probe.h"

#if KOVELIN_HAVE_XTEST

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace x11_probe {

namespace {

Display* Dpy() {
    static Display* d = XOpenDisplay(nullptr);
    return d;
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
void FocusWindowUnderPointer() {
}
void PaintRoot(uint32_t) {
}
Image Grab(int, int, int, int) {
    return {};
}

}  // namespace x11_probe

#endif
