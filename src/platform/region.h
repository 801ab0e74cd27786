// SPDX-License-Identifier: GPL-3.0-or-later
// Regions: sets of pixels used to clip painting and hit-testing.
//
// A region is held as horizontal spans, row by row, which keeps every shape
// the program uses (rectangles, rounded rectangles, ellipses, masks, and
// their differences) exact to the pixel. Right and bottom edges are outside,
// as with rectangles.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/color.h"
#include "platform/geometry.h"

namespace platform {

class Surface;

enum class RegionOp { kAnd, kOr, kXor, kDiff, kCopy };

class Region {
  public:
    struct Span {
        int32_t x0;  // inside
        int32_t x1;  // outside

        friend bool operator==(const Span&, const Span&) = default;
    };

    // Coordinates are clamped to +-kCoordLimit, so degenerate or hostile
    // sizes give a bounded region rather than a huge allocation.
    static constexpr int32_t kCoordLimit = 32768;

    Region() = default;  // empty

    static Region FromRect(const Rect& r);
    // The rounded rectangle the platform's CreateRoundRectRgn makes: corners
    // are quarter ellipses of the given width and height.
    static Region RoundRect(int32_t left, int32_t top, int32_t right, int32_t bottom,
                            int32_t ellipse_width, int32_t ellipse_height);
    // The ellipse inscribed in the rectangle (CreateEllipticRgn).
    static Region Ellipse(const Rect& r);
    // Every pixel of the mask whose colour differs from `transparent`.
    static Region FromMask(const Surface& mask, Color transparent);

    // kCopy gives a; kDiff gives the pixels of a that are not in b.
    static Region Combine(const Region& a, const Region& b, RegionOp op);

    bool empty() const { return rows_.empty() && !rect_; }
    Rect bounds() const { return bounds_; }
    bool contains(Point p) const;
    bool contains(int32_t x, int32_t y) const { return contains(Point{x, y}); }
    bool is_rect() const;

    Region offset(int32_t dx, int32_t dy) const;
    // Every pixel becomes a factor x factor block (program pixels to device
    // pixels); factors below 2 give the region unchanged.
    Region Scaled(int32_t factor) const;
    Region intersect(const Rect& r) const;

    // Spans of row y (empty when the row holds no pixel).
    std::span<const Span> spans(int32_t y) const;

    friend bool operator==(const Region& a, const Region& b);

  private:
    Rect bounds_;                          // tight bounds; rows_ covers [top, bottom)
    std::vector<std::vector<Span>> rows_;  // sorted, non-overlapping, non-touching spans
    // A plain rectangle (the common case in painting) keeps one span for
    // all its rows and allocates nothing; rows_ is then empty.
    bool rect_ = false;
    Span rect_row_{0, 0};

    static Region Rectangle(const Rect& r);  // r not empty, not clamped

    void Normalise();
};

}  // namespace platform
