// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program's pixels lie on the screen. The window system draws its
// frames at a whole device scale; the screen shows `factor` screen pixels
// per program pixel, which for a fractional desktop scale (1.5) is less
// than the drawing scale, so frames are reduced on their way to the screen
// and native positions, sizes, shapes and the pointer follow the factor.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/geometry.h"
#include "platform/picture.h"
#include "platform/region.h"
#include "platform/surface.h"

namespace platform::sdl {

class ScreenScale {
  public:
    ScreenScale() = default;
    // Frames drawn at `drawing` (clamped to 1..kMaxDeviceScale) shown at
    // `factor` screen pixels per program pixel (clamped to 1..drawing).
    ScreenScale(int32_t drawing, double factor);

    int32_t drawing() const { return drawing_; }
    double factor() const { return factor_; }
    // Whether frames are reduced on their way to the screen.
    bool Reduces() const { return factor_ < drawing_; }

    // A program position or size on the screen: times the factor, rounded
    // with halves down (exact for whole factors).
    int32_t ToScreen(int32_t program) const;
    Rect ToScreen(const Rect& program) const;
    // The program pixel under the centre of a screen pixel.
    int32_t FromScreen(int32_t screen) const;
    Point FromScreen(Point screen) const;
    // The screen pixels that show any of the frame's device pixels `area`.
    Rect FrameToScreen(const Rect& area) const;

  private:
    int32_t drawing_ = 1;
    double factor_ = 1.0;
};

// Reduces `frame` (drawn at scale.drawing()) onto the screen pixels `area`
// of `screen`: each screen pixel becomes the mean of the frame pixels it
// covers, each weighted by how much of it is covered, so thin strokes keep
// their weight and do not flicker between one and two pixels. `screen` is
// a surface of screen pixels whose top-left shows the frame's top-left;
// frame pixels beyond the frame's edge are left out of the mean, and so are
// those outside `shape` (the window's region, program pixels), so that
// what the shape cuts away never tints its edge.
void ReduceFrame(const Surface& frame, const ScreenScale& scale, Surface& screen, Rect area,
                 const Region* shape = nullptr);

// A custom cursor's pixels at a screen factor: the picture enlarged
// smoothly to `factor` times its size (rounded), 0xAARRGGBB words with the
// icon mask as smooth transparency, and the hot spot moved to the middle
// of its enlarged pixel.
struct CursorPixels {
    int32_t width = 0;
    int32_t height = 0;
    Point hotspot;
    std::vector<uint32_t> argb;
};
CursorPixels ScaleCursor(const Picture& picture, Point hotspot, double factor);

}  // namespace platform::sdl
