// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing context: the only way components draw.
//
// A DC targets a surface through an origin (where its logical (0, 0) lies on
// the surface) and a clip region in surface pixels. It follows the
// platform's pixel rules exactly: filled rectangles exclude their right and
// bottom edges, lines leave out their end point, and so on, because layout
// code written against those rules must come out the same to the pixel.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/color.h"
#include "platform/font.h"
#include "platform/geometry.h"
#include "platform/region.h"
#include "platform/surface.h"
#include "platform/text.h"

namespace platform {

class Picture;

// Raster operations for BitBlt and StretchBlt, platform values.
enum RasterOp : uint32_t {
    SRCCOPY = 0x00CC0020,
    SRCPAINT = 0x00EE0086,
    SRCAND = 0x008800C6,
    SRCINVERT = 0x00660046,
    SRCERASE = 0x00440328,
    NOTSRCCOPY = 0x00330008,
    NOTSRCERASE = 0x001100A6,
    MERGEPAINT = 0x00BB0226,
    DSTINVERT = 0x00550009,
    BLACKNESS = 0x00000042,
    WHITENESS = 0x00FF0062,
};

enum class BkMode { kTransparent = 1, kOpaque = 2 };

enum class PenStyle { kSolid = 0, kDash = 1, kDot = 2, kNull = 5 };

struct Pen {
    PenStyle style = PenStyle::kSolid;
    int32_t width = 1;
    Color color = 0;
};

struct Brush {
    bool null = false;  // a hollow brush fills nothing
    Color color = 0xFFFFFF;
};

class DC {
  public:
    // A context drawing onto `target` with logical (0, 0) at `origin` and
    // only the pixels of `clip` (surface coordinates) writable.
    DC(Surface& target, Point origin, Region clip);
    // A context covering the whole surface.
    explicit DC(Surface& target);
    // Origins, clips and every coordinate a context takes are program
    // pixels; a target with a device scale above 1 is drawn at that scale:
    // shapes and blits cover scale x scale device pixels per program pixel,
    // ellipses and text are rasterised at device resolution, and pictures
    // are scaled smoothly.

    // Painting makes and drops a context per window per paint; freed ones
    // are kept for the next, so a repaint allocates nothing once warm.
    static void* operator new(size_t size);
    static void operator delete(void* p, size_t size) noexcept;

    Surface& surface() { return *target_; }
    const Surface& surface() const { return *target_; }
    Point origin() const { return origin_; }
    // Device pixels per program pixel of the target.
    int32_t scale() const { return scale_; }
    const Region& clip() const { return clip_; }
    // Narrows the clip to a logical rectangle.
    void IntersectClip(const Rect& logical);
    // Replaces the clip with a logical region, still inside the original
    // bounds of this context.
    void SetClip(const Region& logical);
    // The clip's bounds in logical coordinates.
    Rect ClipBox() const;

    // --- state -----------------------------------------------------------
    void SetPen(const Pen& pen) { pen_ = pen; }
    const Pen& pen() const { return pen_; }
    void SetBrush(const Brush& brush) { brush_ = brush; }
    const Brush& brush() const { return brush_; }
    void SetTextColor(Color c) { text_color_ = c; }
    Color text_color() const { return text_color_; }
    void SetBkColor(Color c) { bk_color_ = c; }
    Color bk_color() const { return bk_color_; }
    void SetBkMode(BkMode m) { bk_mode_ = m; }
    BkMode bk_mode() const { return bk_mode_; }
    void SetFont(const FontDesc& font) { font_ = font; }
    const FontDesc& font() const { return font_; }

    // --- shapes (colour arguments may be system colour values) -------------
    void FillRect(const Rect& r, Color c);
    // A one-pixel border just inside r.
    void FrameRect(const Rect& r, Color c);
    void InvertRect(const Rect& r);
    void SetPixel(int32_t x, int32_t y, Color c);
    // Colour at a logical point, or 0xFFFFFFFF (CLR_INVALID) outside the clip.
    Color GetPixel(int32_t x, int32_t y) const;
    void MoveTo(int32_t x, int32_t y) { pos_ = {x, y}; }
    Point current_position() const { return pos_; }
    // Draws from the current position to (x, y) with the pen, leaving out
    // the end point, and moves the current position there.
    void LineTo(int32_t x, int32_t y);
    // Outline with the pen, inside filled with the brush (right and bottom
    // edges excluded, as the platform does).
    void Rectangle(const Rect& r);
    void Ellipse(const Rect& r);
    void RoundRect(const Rect& r, int32_t ellipse_width, int32_t ellipse_height);
    void Polygon(const std::vector<Point>& points);
    // The dotted focus rectangle (drawn by inversion, so drawing it twice
    // removes it).
    void DrawFocusRect(const Rect& r);
    // Fills a region (logical coordinates) with a colour.
    void FillRegion(const Region& rgn, Color c);

    // --- off-screen pictures ---------------------------------------------
    // A surface for drawing off-screen and blitting back into this context:
    // `width` x `height` program pixels, realised at the same device scale
    // as this context's target. Components make every off-screen picture
    // here and move pixels only through BitBlt/StretchBlt, never by
    // indexing the surface, so they keep working at any device scale.
    // `fill` may be a system colour value.
    Surface CreateCompatibleSurface(int32_t width, int32_t height, Color fill = 0) const;

    // --- blits -----------------------------------------------------------
    // Draws a picture at its own size with its top-left at (x, y): a bitmap
    // whole, an icon only where its mask shows it.
    void DrawPicture(const Picture& picture, int32_t x, int32_t y);
    bool BitBlt(int32_t x, int32_t y, int32_t w, int32_t h, const DC& src, int32_t sx, int32_t sy,
                uint32_t rop = SRCCOPY);
    // Nearest-neighbour stretch (the platform's default stretch mode for
    // colour pictures); negative sizes mirror.
    bool StretchBlt(int32_t x, int32_t y, int32_t w, int32_t h, const DC& src, int32_t sx,
                    int32_t sy, int32_t sw, int32_t sh, uint32_t rop = SRCCOPY);

    // 24-bit device-independent rows: bottom-up, blue-green-red, each row
    // padded to a multiple of 4 bytes. Reads/writes `height` rows of the
    // rectangle starting at logical (x, y). Rows are in program pixels: at
    // a device scale above 1 each pixel reads the middle of its block, and
    // a write changes only the blocks whose value differs from what a read
    // gives, so writing back what was read leaves the device pixels alone.
    static int32_t DibRowBytes(int32_t width) { return ((width * 3) + 3) & ~3; }
    std::vector<uint8_t> GetDIBits24(const Rect& r) const;
    void SetDIBits24(const Rect& r, const std::vector<uint8_t>& bits);
    // The same rows at device resolution: the logical rectangle r covers
    // r.width() x scale() by r.height() x scale() device pixels, each read
    // and written on its own (at scale 1 these are the calls above). Reads
    // ignore the clip and give black off the surface; writes keep to the
    // clip, and a short buffer writes only the pixels it fully holds.
    std::vector<uint8_t> GetDeviceBits24(const Rect& r) const;
    void SetDeviceBits24(const Rect& r, const std::vector<uint8_t>& bits);

    // The colour the surface would actually show for c (32-bit surfaces
    // show every colour exactly; system colours are translated).
    Color GetNearestColor(Color c) const;

    // --- text (uses the text engine) ---------------------------------------
    // Draws at (x, y), top-left of the line; opaque mode fills the text's
    // extent with the background colour first.
    void TextOut(float x, float y, std::string_view bytes);
    TextExtent GetTextExtent(std::string_view bytes) const;
    FontMetrics GetTextMetrics() const;
    // Text-box drawing; returns the height of the drawn text. With
    // DT_CALCRECT nothing is drawn and r is set to the text's bounds.
    int32_t DrawText(std::string_view bytes, Rect& r, uint32_t format);

  private:
    void CopyUnscaled(const Rect& dest, const Surface& source, int64_t dx, int64_t dy,
                      uint32_t rop);
    // The clip in device pixels.
    const Region& DeviceClip() const { return scale_ == 1 ? clip_ : device_clip_; }
    void UpdateDeviceClip();
    // Runs f on every device pixel of program row y in [x0, x1) (surface
    // coordinates) that the clip allows.
    template <class F>
    void ForEachProgramPixel(int64_t y, int64_t x0, int64_t x1, F&& f);
    // Fills a region in device pixels, inside the clip.
    void FillDeviceRegion(const Region& device, Color c);
    void DrawPictureScaled(const Picture& picture, int32_t x, int32_t y);
    void SetDIBits24Scaled(const Rect& r, const std::vector<uint8_t>& bits, size_t stride);

    Surface* target_;
    Point origin_;
    Region clip_;       // surface coordinates
    Region base_clip_;  // the clip the context was created with
    Pen pen_;
    Brush brush_;
    Color text_color_ = 0;
    Color bk_color_ = 0xFFFFFF;
    BkMode bk_mode_ = BkMode::kOpaque;
    FontDesc font_;
    Point pos_;
    int32_t scale_ = 1;
    Region device_clip_;  // clip_ scaled to device pixels when scale_ > 1

    friend class DCTestAccess;
};

}  // namespace platform
