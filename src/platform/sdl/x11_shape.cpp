// SPDX-License-Identifier: GPL-3.0-or-later
// X11 shaping through the SHAPE extension on the window SDL created. SDL's
// own shaped-window calls report success under Xvfb yet leave the window
// rectangular, so the shape is set on the X window directly.

#include "platform/sdl/x11_shape.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <limits>

#if KOVELIN_X11
#include <X11/Xlib.h>
#include <X11/extensions/shape.h>
#endif

namespace platform::sdl {

#if KOVELIN_X11

namespace {

short ClampShort(int32_t v) {
    if (v < std::numeric_limits<short>::min()) return std::numeric_limits<short>::min();
    if (v > std::numeric_limits<short>::max()) return std::numeric_limits<short>::max();
    return static_cast<short>(v);
}

unsigned short ClampExtent(int32_t v) {
    if (v <= 0) return 0;
    if (v > std::numeric_limits<unsigned short>::max())
        return std::numeric_limits<unsigned short>::max();
    return static_cast<unsigned short>(v);
}

}  // namespace

bool ShapeNativeWindow(SDL_Window* window, const std::vector<Rect>* rects) {
    if (!window) return false;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
    Display* display = info.info.x11.display;
    ::Window xwin = info.info.x11.window;
    int event_base = 0;
    int error_base = 0;
    if (!display || !XShapeQueryExtension(display, &event_base, &error_base)) return false;
    if (!rects) {
        XShapeCombineMask(display, xwin, ShapeBounding, 0, 0, 0 /* no mask: unshaped */, ShapeSet);
    } else {
        std::vector<XRectangle> xr;
        xr.reserve(rects->size());
        for (const Rect& r : *rects) {
            XRectangle x;
            x.x = ClampShort(r.left);
            x.y = ClampShort(r.top);
            x.width = ClampExtent(r.width());
            x.height = ClampExtent(r.height());
            if (x.width && x.height) xr.push_back(x);
        }
        // An empty list makes the window wholly transparent, which is what
        // an empty region means. The rectangles come in y-x order with equal
        // heights per band, so the server can skip sorting them.
        XShapeCombineRectangles(display, xwin, ShapeBounding, 0, 0, xr.data(),
                                static_cast<int>(xr.size()), ShapeSet, YXBanded);
    }
    XFlush(display);
    return true;
}

#else

bool ShapeNativeWindow(SDL_Window* /*window*/, const std::vector<Rect>* /*rects*/) {
    return false;
}

#endif

}  // namespace platform::sdl
