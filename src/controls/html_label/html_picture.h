// The HTML label's off-screen picture (picHTML): the whole laid-out
// document, of which the viewport shows a part. Refresh runs the two layout
// passes into it; Paint copies a rectangle of it into another context.
//
// The picture needs no window, so tools and tests render documents with it
// directly. It is made through the context it will be copied into
// (DC::CreateCompatibleSurface) and read only through DC blits, so it keeps
// working at any device scale; its sizes are program pixels.
#pragma once

#include <cstdint>

#include "controls/html_label/html_layout.h"
#include "platform/color.h"
#include "platform/dc.h"
#include "platform/surface.h"

namespace html_label {

class HTMLLabel;

class HTMLPicture {
  public:
    // The picture's size in program pixels: what the document occupies,
    // never less than the viewport, never more than a surface holds.
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }

    // Makes the picture `width` x `height`; the pixels that still fit stay,
    // new area takes `back`.
    void Resize(const platform::DC& reference, int32_t width, int32_t height, platform::Color back);
    // Lays `label`'s document out: the measuring pass at the viewport's
    // size, then the drawing pass on the picture grown to the content size.
    // A label without elements leaves the picture at the viewport's size,
    // cleared to the document background.
    void Render(HTMLLabel& label, const platform::DC& reference, int32_t viewport_width,
                int32_t viewport_height);
    // Copies the w x h rectangle at (sx, sy) of the picture to (x, y) of
    // `dest`; what lies outside the picture is left as it was.
    bool Paint(platform::DC& dest, int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx,
               int32_t sy);
    // A context drawing on the picture, clipped to its size.
    platform::DC Context();

    // The pixels, for writing them to a file; components copy them with
    // Paint.
    const platform::Surface& surface() const { return surface_; }
    HTMLLayout& layout() { return layout_; }

  private:
    // Gives the picture the size, keeping the surface when it is large
    // enough and not much larger than needed.
    void EnsureSurface(const platform::DC& reference, int32_t width, int32_t height,
                       platform::Color back);

    platform::Surface surface_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    HTMLLayout layout_;
};

}  // namespace html_label
