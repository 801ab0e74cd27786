// SPDX-License-Identifier: GPL-3.0-or-later
// Native window shaping on X11. Kept behind this small interface because
// the X11 headers define macros (Status, None, Bool) that clash with the
// program's own names.
#pragma once

#include <vector>

#include "platform/geometry.h"

struct SDL_Window;

namespace platform::sdl {

// Sets the window's bounding shape (which also limits where it takes
// pointer input) to the rectangles, in window coordinates; null removes the
// shape. Returns false, changing nothing, where the window is not an X11
// window or the server has no SHAPE extension.
bool ShapeNativeWindow(SDL_Window* window, const std::vector<Rect>* rects);

}  // namespace platform::sdl
