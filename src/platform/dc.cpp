// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing context's shapes, blits and device-independent pixel rows
// (text lives in dc_text.cpp).
//
// Everything here works in surface pixels after adding the origin, and
// writes only pixels inside both the clip and the surface. Loops are bounded
// by the clip before they start, so a shape with absurd coordinates costs no
// more than one covering the visible area.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/dc.h"
#include "platform/picture.h"

namespace platform {

namespace {

__extension__ using Wide = unsigned __int128;

constexpr Color kInvalidColor = 0xFFFFFFFFu;
constexpr uint32_t kRgbMask = 0x00FFFFFFu;

uint32_t ArgbOf(Color c) {
    return ArgbFromColor(TranslateColor(c));
}

// Runs f on each pixel of surface row y in [x0, x1) that the clip allows.
template <class F>
void ForEachInRow(Surface& s, const Region& clip, int64_t y, int64_t x0, int64_t x1, F&& f) {
    if (y < 0 || y >= s.height()) return;
    const auto row_y = static_cast<int32_t>(y);
    x0 = std::max<int64_t>(x0, 0);
    x1 = std::min<int64_t>(x1, s.width());
    if (x0 >= x1) return;
    uint32_t* row = s.row(row_y);
    for (const auto& span : clip.spans(row_y)) {
        const int64_t a = std::max<int64_t>(x0, span.x0);
        const int64_t b = std::min<int64_t>(x1, span.x1);
        for (int64_t x = a; x < b; ++x) f(row[x]);
    }
}

// The pixels of a pen or brush stamp, relative to the point it is centred on.
std::vector<Point> PenStamp(int32_t width) {
    const int32_t half = width / 2;
    const Region dot = Region::Ellipse({-half, -half, width - half, width - half});
    std::vector<Point> out;
    for (int32_t y = dot.bounds().top; y < dot.bounds().bottom; ++y) {
        for (const auto& s : dot.spans(y)) {
            for (int32_t x = s.x0; x < s.x1; ++x) out.push_back({x, y});
        }
    }
    return out;
}

// On and off run lengths of the styled one-pixel pens.
std::vector<int32_t> DashPattern(PenStyle style) {
    switch (style) {
        case PenStyle::kDash:
            return {18, 6};
        case PenStyle::kDot:
            return {3, 3};
        default:
            return {};
    }
}

Rect Normalised(const Rect& r) {
    return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
            std::max(r.top, r.bottom)};
}

// A rectangle shrunk by d on every side, or an empty one when nothing is left.
Rect Deflated(const Rect& r, int32_t d) {
    const Rect out{r.left + d, r.top + d, r.right - d, r.bottom - d};
    return out.empty() ? Rect{} : out;
}

uint32_t ApplyRop(uint32_t rop, uint32_t s, uint32_t d) {
    switch (rop) {
        case SRCCOPY:
            return s;
        case SRCPAINT:
            return s | d;
        case SRCAND:
            return s & d;
        case SRCINVERT:
            return s ^ d;
        case SRCERASE:
            return s & ~d;
        case NOTSRCCOPY:
            return ~s;
        case NOTSRCERASE:
            return ~(s | d);
        case MERGEPAINT:
            return ~s | d;
        case DSTINVERT:
            return ~d;
        case BLACKNESS:
            return 0;
        case WHITENESS:
            return kRgbMask;
        default:
            return d;
    }
}

bool KnownRop(uint32_t rop) {
    switch (rop) {
        case SRCCOPY:
        case SRCPAINT:
        case SRCAND:
        case SRCINVERT:
        case SRCERASE:
        case NOTSRCCOPY:
        case NOTSRCERASE:
        case MERGEPAINT:
        case DSTINVERT:
        case BLACKNESS:
        case WHITENESS:
            return true;
        default:
            return false;
    }
}

bool RopUsesSource(uint32_t rop) {
    return rop != DSTINVERT && rop != BLACKNESS && rop != WHITENESS;
}

// A copy of part of a surface, taken before a blit writes anything, so a
// blit from a surface onto itself reads the original pixels even where the
// source and destination overlap.
struct Snapshot {
    Rect area;  // surface coordinates, inside the surface
    std::vector<uint32_t> pixels;

    Snapshot(const Surface& s, const Rect& want) : area(want.intersect(s.bounds())) {
        pixels.resize(static_cast<size_t>(area.width()) * static_cast<size_t>(area.height()));
        for (int32_t y = area.top; y < area.bottom; ++y) {
            std::copy_n(s.row(y) + area.left, area.width(),
                        pixels.data() + static_cast<size_t>(y - area.top) * area.width());
        }
    }
    bool has(int64_t x, int64_t y) const {
        return x >= area.left && x < area.right && y >= area.top && y < area.bottom;
    }
    uint32_t at(int64_t x, int64_t y) const {
        return pixels[static_cast<size_t>(y - area.top) * area.width() +
                      static_cast<size_t>(x - area.left)];
    }
};

// Clamps a 64-bit coordinate into int32 range for building rectangles; the
// clip bounds every loop, so only the order of the values matters here.
int32_t Clamp32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN / 2, INT32_MAX / 2));
}

// A rectangle in program pixels as device pixels.
Rect ToDevice(const Rect& r, int32_t scale) {
    if (scale == 1) return r;
    return {Clamp32(int64_t{r.left} * scale), Clamp32(int64_t{r.top} * scale),
            Clamp32(int64_t{r.right} * scale), Clamp32(int64_t{r.bottom} * scale)};
}

// The colour of a smoothly scaled picture at device pixel (dx, dy): the
// source is sampled bilinearly under the device pixel's centre.
// Samples inside `area` (surface pixels, not empty, inside the surface) at
// the fractional position (fx, fy), edges clamped.
uint32_t SampleBilinearIn(const Surface& src, const Rect& area, double fx, double fy) {
    const double cx =
        std::clamp(fx, static_cast<double>(area.left), static_cast<double>(area.right - 1));
    const double cy =
        std::clamp(fy, static_cast<double>(area.top), static_cast<double>(area.bottom - 1));
    const auto x0 = static_cast<int32_t>(cx);
    const auto y0 = static_cast<int32_t>(cy);
    const int32_t x1 = std::min(x0 + 1, area.right - 1);
    const int32_t y1 = std::min(y0 + 1, area.bottom - 1);
    const double ax = cx - x0;
    const double ay = cy - y0;
    const uint32_t p00 = src.row(y0)[x0];
    const uint32_t p10 = src.row(y0)[x1];
    const uint32_t p01 = src.row(y1)[x0];
    const uint32_t p11 = src.row(y1)[x1];
    uint32_t out = 0xFF000000u;
    for (int shift = 0; shift <= 16; shift += 8) {
        auto ch = [shift](uint32_t p) { return static_cast<double>((p >> shift) & 0xFF); };
        const double top = ch(p00) + (ch(p10) - ch(p00)) * ax;
        const double bottom = ch(p01) + (ch(p11) - ch(p01)) * ax;
        const auto v = static_cast<uint32_t>(std::lround(top + (bottom - top) * ay));
        out |= std::min<uint32_t>(v, 255) << shift;
    }
    return out;
}

// The source under the centre of device pixel (dx, dy) of a drawing at
// `to` device pixels per program pixel, the source holding `from`.
uint32_t SampleBilinear(const Surface& src, int64_t dx, int64_t dy, int32_t from, int32_t to) {
    const double k = static_cast<double>(from) / to;
    return SampleBilinearIn(src, src.bounds(), (static_cast<double>(dx) + 0.5) * k - 0.5,
                            (static_cast<double>(dy) + 0.5) * k - 0.5);
}

}  // namespace

// --- construction and clipping ----------------------------------------------

namespace {
// Storage of destroyed contexts. The window system runs on one thread; a
// context made on another would only miss the pool, never share it.
struct ContextPool {
    std::vector<void*> free;
    ContextPool() = default;
    ContextPool(const ContextPool&) = delete;
    ContextPool& operator=(const ContextPool&) = delete;
    ~ContextPool() {
        for (void* p : free) ::operator delete(p);
    }
};
thread_local ContextPool g_contexts;
constexpr size_t kKeptContexts = 16;
}  // namespace

void* DC::operator new(size_t size) {
    std::vector<void*>& free = g_contexts.free;
    if (size == sizeof(DC) && !free.empty()) {
        void* p = free.back();
        free.pop_back();
        return p;
    }
    return ::operator new(size);
}

void DC::operator delete(void* p, size_t size) noexcept {
    if (p == nullptr) return;
    std::vector<void*>& free = g_contexts.free;
    if (size == sizeof(DC) && free.size() < kKeptContexts) {
        // Room for the kept contexts is reserved once, so keeping one never
        // allocates (and so never throws).
        if (free.capacity() < kKeptContexts) {
            try {
                free.reserve(kKeptContexts);
            } catch (...) {
                ::operator delete(p);
                return;
            }
        }
        free.push_back(p);
        return;
    }
    ::operator delete(p);
}

DC::DC(Surface& target, Point origin, Region clip)
    : target_(&target),
      origin_(origin),
      clip_(clip.intersect(target.program_bounds())),
      base_clip_(clip_),
      scale_(target.scale()) {
    UpdateDeviceClip();
}

Surface DC::CreateCompatibleSurface(int32_t width, int32_t height, Color fill) const {
    if (scale_ == 1) return Surface(width, height, TranslateColor(fill));
    return Surface::AtScale(width, height, scale_, TranslateColor(fill));
}

DC::DC(Surface& target) : DC(target, Point{0, 0}, Region::FromRect(target.program_bounds())) {
}

void DC::UpdateDeviceClip() {
    if (scale_ > 1) device_clip_ = clip_.Scaled(scale_);
}

template <class F>
void DC::ForEachProgramPixel(int64_t y, int64_t x0, int64_t x1, F&& f) {
    if (scale_ == 1) {
        ForEachInRow(*target_, clip_, y, x0, x1, f);
        return;
    }
    // Rows beyond the surface are dropped here, before multiplying.
    const Rect program = target_->program_bounds();
    if (y < 0 || y >= program.bottom) return;
    x0 = std::max<int64_t>(x0, 0);
    x1 = std::min<int64_t>(x1, program.right);
    for (int32_t k = 0; k < scale_; ++k) {
        ForEachInRow(*target_, device_clip_, y * scale_ + k, x0 * scale_, x1 * scale_, f);
    }
}

void DC::FillDeviceRegion(const Region& device, Color c) {
    const uint32_t argb = ArgbOf(c);
    const Region area = Region::Combine(device, DeviceClip(), RegionOp::kAnd);
    for (int32_t y = area.bounds().top; y < area.bounds().bottom; ++y) {
        for (const auto& s : area.spans(y)) {
            ForEachInRow(*target_, area, y, s.x0, s.x1, [argb](uint32_t& p) { p = argb; });
        }
    }
}

void DC::IntersectClip(const Rect& logical) {
    clip_ = clip_.intersect(logical.offset(origin_));
    UpdateDeviceClip();
}

void DC::SetClip(const Region& logical) {
    clip_ = Region::Combine(logical.offset(origin_.x, origin_.y), base_clip_, RegionOp::kAnd);
    UpdateDeviceClip();
}

Rect DC::ClipBox() const {
    if (clip_.empty()) return {};
    return clip_.bounds().offset(-origin_.x, -origin_.y);
}

// --- rectangles and pixels ---------------------------------------------------

void DC::FillRect(const Rect& r, Color c) {
    const uint32_t argb = ArgbOf(c);
    const Region& clip = DeviceClip();
    const Rect box = ToDevice(r.offset(origin_), scale_).intersect(clip.bounds());
    for (int32_t y = box.top; y < box.bottom; ++y) {
        uint32_t* row = target_->row(y);
        for (const auto& span : clip.spans(y)) {
            const int32_t a = std::max(span.x0, box.left);
            const int32_t b = std::min(span.x1, box.right);
            if (a < b) std::fill(row + a, row + b, argb);
        }
    }
}

void DC::FrameRect(const Rect& r, Color c) {
    if (r.empty()) return;
    FillRect({r.left, r.top, r.right, r.top + 1}, c);
    FillRect({r.left, r.bottom - 1, r.right, r.bottom}, c);
    FillRect({r.left, r.top + 1, r.left + 1, r.bottom - 1}, c);
    FillRect({r.right - 1, r.top + 1, r.right, r.bottom - 1}, c);
}

void DC::InvertRect(const Rect& r) {
    const Region& clip = DeviceClip();
    const Rect box = ToDevice(r.offset(origin_), scale_).intersect(clip.bounds());
    for (int32_t y = box.top; y < box.bottom; ++y) {
        ForEachInRow(*target_, clip, y, box.left, box.right, [](uint32_t& p) { p ^= kRgbMask; });
    }
}

void DC::SetPixel(int32_t x, int32_t y, Color c) {
    const int64_t sx = int64_t{x} + origin_.x;
    const uint32_t argb = ArgbOf(c);
    ForEachProgramPixel(int64_t{y} + origin_.y, sx, sx + 1, [argb](uint32_t& p) { p = argb; });
}

Color DC::GetPixel(int32_t x, int32_t y) const {
    const int64_t sx = int64_t{x} + origin_.x;
    const int64_t sy = int64_t{y} + origin_.y;
    if (sx < INT32_MIN || sx > INT32_MAX || sy < INT32_MIN || sy > INT32_MAX) return kInvalidColor;
    const Point p{static_cast<int32_t>(sx), static_cast<int32_t>(sy)};
    if (!target_->program_bounds().contains(p) || !clip_.contains(p)) return kInvalidColor;
    // At a device scale the middle of the pixel's block stands for it.
    const int32_t mid = scale_ / 2;
    return target_->pixel(p.x * scale_ + mid, p.y * scale_ + mid);
}

void DC::FillRegion(const Region& rgn, Color c) {
    const uint32_t argb = ArgbOf(c);
    const Region area = Region::Combine(rgn.offset(origin_.x, origin_.y), clip_, RegionOp::kAnd);
    if (scale_ > 1) {
        FillDeviceRegion(area.Scaled(scale_), c);
        return;
    }
    for (int32_t y = area.bounds().top; y < area.bounds().bottom; ++y) {
        for (const auto& s : area.spans(y)) {
            ForEachInRow(*target_, clip_, y, s.x0, s.x1, [argb](uint32_t& p) { p = argb; });
        }
    }
}

// --- lines -------------------------------------------------------------------

void DC::LineTo(int32_t x, int32_t y) {
    const Point from = pos_;
    pos_ = {x, y};
    if (pen_.style == PenStyle::kNull || pen_.width < 0) return;

    const uint32_t argb = ArgbOf(pen_.color);
    const int32_t width = std::max(pen_.width, 1);
    const bool wide = width > 1;
    const int64_t dx = int64_t{x} - from.x;
    const int64_t dy = int64_t{y} - from.y;
    const int64_t adx = std::abs(dx);
    const int64_t ady = std::abs(dy);
    const bool x_major = adx >= ady;
    const int64_t n = std::max(adx, ady);  // steps along the major axis
    const int64_t minor_len = x_major ? ady : adx;
    const int64_t major_dir = (x_major ? dx : dy) < 0 ? -1 : 1;
    const int64_t minor_dir = (x_major ? dy : dx) < 0 ? -1 : 1;
    // A wide pen also paints the end point (its round cap covers it); a
    // one-pixel pen leaves the end point out, as the platform does.
    const int64_t last = wide ? n : n - 1;
    if (last < 0) return;

    // Only steps whose major coordinate falls inside the clip (widened by
    // the pen) can paint anything; skip straight to them.
    const Rect cb = clip_.bounds();
    const int64_t margin = width;
    const int64_t start_major =
        (x_major ? from.x + int64_t{origin_.x} : from.y + int64_t{origin_.y});
    const int64_t lo = (x_major ? cb.left : cb.top) - margin;
    const int64_t hi = (x_major ? cb.right : cb.bottom) + margin;
    int64_t i0 = 0;
    int64_t i1 = last;
    if (major_dir > 0) {
        i0 = std::max<int64_t>(i0, lo - start_major);
        i1 = std::min<int64_t>(i1, hi - start_major);
    } else {
        i0 = std::max<int64_t>(i0, start_major - hi);
        i1 = std::min<int64_t>(i1, start_major - lo);
    }

    const std::vector<int32_t> dashes = wide ? std::vector<int32_t>{} : DashPattern(pen_.style);
    int64_t dash_period = 0;
    for (int32_t d : dashes) dash_period += d;
    const std::vector<Point> stamp = wide ? PenStamp(width) : std::vector<Point>{{0, 0}};

    for (int64_t i = i0; i <= i1; ++i) {
        if (dash_period > 0) {
            int64_t phase = i % dash_period;
            bool on = true;
            for (int32_t d : dashes) {
                if (phase < d) break;
                phase -= d;
                on = !on;
            }
            if (!on) continue;
        }
        // The minor coordinate is i * minor_len / n rounded to nearest, with
        // exact halves staying on the start point's side.
        // Both factors can approach 2^33, so the product needs 128 bits.
        const auto minor = static_cast<int64_t>(
            n == 0 ? 0
                   : (Wide{2} * static_cast<Wide>(i) * static_cast<Wide>(minor_len) +
                      static_cast<Wide>(n) - 1) /
                         (Wide{2} * static_cast<Wide>(n)));
        const int64_t px =
            from.x + int64_t{origin_.x} + (x_major ? i * major_dir : minor * minor_dir);
        const int64_t py =
            from.y + int64_t{origin_.y} + (x_major ? minor * minor_dir : i * major_dir);
        for (const Point& o : stamp) {
            ForEachProgramPixel(py + o.y, px + o.x, px + o.x + 1,
                                [argb](uint32_t& p) { p = argb; });
        }
    }
}

// --- filled shapes ------------------------------------------------------------

void DC::Rectangle(const Rect& r) {
    Rect box = Normalised(r);
    const bool has_pen = pen_.style != PenStyle::kNull;
    if (!has_pen) {
        // Without a pen the platform fills one pixel less to the right and
        // bottom, where the outline would have been.
        box.right -= 1;
        box.bottom -= 1;
        if (!brush_.null && !box.empty()) FillRect(box, brush_.color);
        return;
    }
    if (box.empty()) return;
    const int32_t pw = std::max(pen_.width, 1);
    if (!brush_.null) FillRect(Deflated(box, pw), brush_.color);
    // The outline is drawn as pen-wide bands inside the rectangle.
    for (int32_t i = 0; i < pw && !Deflated(box, i).empty(); ++i) {
        FrameRect(Deflated(box, i), pen_.color);
    }
}

void DC::Ellipse(const Rect& r) {
    const Rect box = Normalised(r);
    if (scale_ > 1) {
        // The curve is traced at device resolution, the pen scaled with it.
        const Rect dev = ToDevice(box.offset(origin_), scale_);
        const Region outer = Region::Ellipse(dev);
        if (pen_.style == PenStyle::kNull) {
            if (!brush_.null) FillDeviceRegion(outer, brush_.color);
            return;
        }
        const Region inner = Region::Ellipse(Deflated(dev, std::max(pen_.width, 1) * scale_));
        if (!brush_.null) FillDeviceRegion(inner, brush_.color);
        FillDeviceRegion(Region::Combine(outer, inner, RegionOp::kDiff), pen_.color);
        return;
    }
    const Region outer = Region::Ellipse(box);
    if (pen_.style == PenStyle::kNull) {
        if (!brush_.null) FillRegion(outer, brush_.color);
        return;
    }
    const int32_t pw = std::max(pen_.width, 1);
    const Region inner = Region::Ellipse(Deflated(box, pw));
    if (!brush_.null) FillRegion(inner, brush_.color);
    FillRegion(Region::Combine(outer, inner, RegionOp::kDiff), pen_.color);
}

void DC::RoundRect(const Rect& r, int32_t ellipse_width, int32_t ellipse_height) {
    const Rect box = Normalised(r);
    if (scale_ > 1) {
        const Rect dev = ToDevice(box.offset(origin_), scale_);
        const int32_t ew = Clamp32(int64_t{ellipse_width} * scale_);
        const int32_t eh = Clamp32(int64_t{ellipse_height} * scale_);
        const Region outer = Region::RoundRect(dev.left, dev.top, dev.right, dev.bottom, ew, eh);
        if (pen_.style == PenStyle::kNull) {
            if (!brush_.null) FillDeviceRegion(outer, brush_.color);
            return;
        }
        const int32_t pw = std::max(pen_.width, 1) * scale_;
        const Rect in = Deflated(dev, pw);
        const Region inner = Region::RoundRect(in.left, in.top, in.right, in.bottom,
                                               std::max(0, ew - 2 * pw), std::max(0, eh - 2 * pw));
        if (!brush_.null) FillDeviceRegion(inner, brush_.color);
        FillDeviceRegion(Region::Combine(outer, inner, RegionOp::kDiff), pen_.color);
        return;
    }
    const Region outer =
        Region::RoundRect(box.left, box.top, box.right, box.bottom, ellipse_width, ellipse_height);
    if (pen_.style == PenStyle::kNull) {
        if (!brush_.null) FillRegion(outer, brush_.color);
        return;
    }
    const int32_t pw = std::max(pen_.width, 1);
    const Rect in = Deflated(box, pw);
    const Region inner =
        Region::RoundRect(in.left, in.top, in.right, in.bottom, std::max(0, ellipse_width - 2 * pw),
                          std::max(0, ellipse_height - 2 * pw));
    if (!brush_.null) FillRegion(inner, brush_.color);
    FillRegion(Region::Combine(outer, inner, RegionOp::kDiff), pen_.color);
}

void DC::Polygon(const std::vector<Point>& points) {
    if (points.size() < 2) return;
    if (!brush_.null && points.size() >= 3) {
        // Even-odd fill: a pixel is inside when its centre is, so right and
        // bottom edges stay outside as with rectangles.
        const uint32_t argb = ArgbOf(brush_.color);
        int64_t min_y = INT64_MAX;
        int64_t max_y = INT64_MIN;
        for (const Point& p : points) {
            min_y = std::min<int64_t>(min_y, p.y);
            max_y = std::max<int64_t>(max_y, p.y);
        }
        const Rect cb = ClipBox();
        min_y = std::max<int64_t>(min_y, cb.top);
        max_y = std::min<int64_t>(max_y, cb.bottom);
        std::vector<double> xs;
        for (int64_t y = min_y; y < max_y; ++y) {
            const double yc = static_cast<double>(y) + 0.5;
            xs.clear();
            for (size_t i = 0; i < points.size(); ++i) {
                const Point a = points[i];
                const Point b = points[(i + 1) % points.size()];
                if (a.y == b.y) continue;
                const double ya = a.y;
                const double yb = b.y;
                if (yc < std::min(ya, yb) || yc >= std::max(ya, yb)) continue;
                xs.push_back(a.x + (yc - ya) * (static_cast<double>(b.x) - a.x) / (yb - ya));
            }
            std::sort(xs.begin(), xs.end());
            for (size_t k = 0; k + 1 < xs.size(); k += 2) {
                const double x0 = std::max(std::ceil(xs[k] - 0.5), cb.left - 1.0);
                const double x1 = std::min(std::ceil(xs[k + 1] - 0.5), cb.right + 1.0);
                if (x1 <= x0) continue;
                ForEachProgramPixel(y + origin_.y, static_cast<int64_t>(x0) + origin_.x,
                                    static_cast<int64_t>(x1) + origin_.x,
                                    [argb](uint32_t& p) { p = argb; });
            }
        }
    }
    const Point saved = pos_;
    MoveTo(points.back().x, points.back().y);
    for (const Point& p : points) LineTo(p.x, p.y);
    pos_ = saved;
}

void DC::DrawFocusRect(const Rect& r) {
    if (r.empty()) return;
    // Every other border pixel, counted from the top-left corner, is
    // inverted; inverting is its own undo, so a second call erases it. Each
    // border pixel is visited once even when the rectangle is one pixel
    // wide or high.
    const Rect cb = ClipBox();
    auto flip = [this, &r](int64_t x, int64_t y) {
        if (((x - r.left) + (y - r.top)) % 2 != 0) return;
        ForEachProgramPixel(y + origin_.y, x + origin_.x, x + origin_.x + 1,
                            [](uint32_t& p) { p ^= kRgbMask; });
    };
    const int64_t x_from = std::max<int64_t>(r.left, cb.left - 1);
    const int64_t x_to = std::min<int64_t>(r.right, cb.right + 1);
    for (int64_t x = x_from; x < x_to; ++x) {
        flip(x, r.top);
        if (r.bottom - 1 > r.top) flip(x, r.bottom - 1);
    }
    const int64_t y_from = std::max<int64_t>(int64_t{r.top} + 1, cb.top - 1);
    const int64_t y_to = std::min<int64_t>(int64_t{r.bottom} - 1, cb.bottom + 1);
    for (int64_t y = y_from; y < y_to; ++y) {
        flip(r.left, y);
        if (r.right - 1 > r.left) flip(r.right - 1, y);
    }
}

// --- blits --------------------------------------------------------------------

void DC::DrawPicture(const Picture& p, int32_t x, int32_t y) {
    // Masks speak of the picture's own pixels.
    if (p.pixels().scale() != scale_ || (scale_ > 1 && p.has_mask())) {
        DrawPictureScaled(p, x, y);
        return;
    }
    if (!p.has_mask()) {
        // Read-only: a source context never writes to its surface.
        DC src(const_cast<Surface&>(p.pixels()));
        BitBlt(x, y, p.width_px(), p.height_px(), src, 0, 0);
        return;
    }
    for (int32_t py = 0; py < p.height_px(); ++py)
        for (int32_t px = 0; px < p.width_px(); ++px)
            if (p.opaque_at(px, py)) SetPixel(x + px, y + py, p.pixels().pixel(px, py));
}

// A picture realised at another scale than the target is resampled smoothly
// (and one with a mask is drawn here at any scale above 1): each device
// pixel takes the bilinear blend of the picture under its centre, and a
// masked picture shows where the mask shows its pixel.
void DC::DrawPictureScaled(const Picture& p, int32_t x, int32_t y) {
    const Surface& src = p.pixels();
    if (src.empty()) return;
    const int32_t from = src.scale();
    const int32_t w = src.width() / from;
    const int32_t h = src.height() / from;
    const int64_t dl = (int64_t{x} + origin_.x) * scale_;
    const int64_t dt = (int64_t{y} + origin_.y) * scale_;
    const Region& clip = DeviceClip();
    const Rect dest = Rect{Clamp32(dl), Clamp32(dt), Clamp32(dl + int64_t{w} * scale_),
                           Clamp32(dt + int64_t{h} * scale_)}
                          .intersect(clip.bounds());
    // Device pixels per source pixel, as a ratio of scales.
    for (int32_t py = dest.top; py < dest.bottom; ++py) {
        uint32_t* row = target_->row(py);
        const int64_t ry = py - dt;
        for (const auto& span : clip.spans(py)) {
            const int32_t a = std::max(span.x0, dest.left);
            const int32_t b = std::min(span.x1, dest.right);
            for (int32_t px = a; px < b; ++px) {
                const int64_t rx = px - dl;
                if (p.has_mask() && !p.opaque_at(static_cast<int32_t>(rx * from / scale_),
                                                 static_cast<int32_t>(ry * from / scale_))) {
                    continue;
                }
                row[px] = SampleBilinear(src, rx, ry, from, scale_);
            }
        }
    }
}

bool DC::BitBlt(int32_t x, int32_t y, int32_t w, int32_t h, const DC& src, int32_t sx, int32_t sy,
                uint32_t rop) {
    if (!KnownRop(rop)) return false;
    if (w <= 0 || h <= 0) return true;
    return StretchBlt(x, y, w, h, src, sx, sy, w, h, rop);
}

bool DC::StretchBlt(int32_t x, int32_t y, int32_t w, int32_t h, const DC& src, int32_t sx,
                    int32_t sy, int32_t sw, int32_t sh, uint32_t rop) {
    if (!KnownRop(rop)) return false;
    const bool uses_source = RopUsesSource(rop);
    if (uses_source && (sw == 0 || sh == 0)) return false;
    if (w == 0 || h == 0) return true;

    // Negative sizes extend left or up from the given corner; when the
    // destination and source signs differ the picture is mirrored.
    // Program pixels become device pixels on each side, each at the scale
    // of its own surface; scale 1 leaves every value as it is.
    const int64_t ds = scale_;
    const int64_t ss = src.scale_;
    const int64_t dw = std::abs(int64_t{w}) * ds;
    const int64_t dh = std::abs(int64_t{h}) * ds;
    const int64_t dl = (int64_t{x} + (w < 0 ? w : 0) + origin_.x) * ds;
    const int64_t dt = (int64_t{y} + (h < 0 ? h : 0) + origin_.y) * ds;
    const int64_t aw = std::abs(int64_t{sw}) * ss;
    const int64_t ah = std::abs(int64_t{sh}) * ss;
    const int64_t sl = (int64_t{sx} + (sw < 0 ? sw : 0) + src.origin_.x) * ss;
    const int64_t st = (int64_t{sy} + (sh < 0 ? sh : 0) + src.origin_.y) * ss;
    const bool flip_x = (w < 0) != (sw < 0);
    const bool flip_y = (h < 0) != (sh < 0);

    const Region& clip = DeviceClip();
    const Rect dest =
        Rect{Clamp32(dl), Clamp32(dt), Clamp32(dl + dw), Clamp32(dt + dh)}.intersect(clip.bounds());
    if (dest.empty()) return true;
    if (rop == SRCCOPY && ss < ds && dw * ss == aw * ds && dh * ss == ah * ds && !flip_x &&
        !flip_y) {
        // A picture of a lower scale copied at its own program size (a
        // bitmap loaded from a file) is enlarged smoothly.
        const Rect area =
            Rect{Clamp32(sl), Clamp32(st), Clamp32(sl + aw), Clamp32(st + ah)}.intersect(
                src.surface().bounds());
        if (area.empty()) return true;
        // The scales differ, so the source is another surface and nothing
        // read here is written.
        const double k = static_cast<double>(ss) / static_cast<double>(ds);
        for (int32_t py = dest.top; py < dest.bottom; ++py) {
            const int64_t sy_dev = st + ((py - dt) * ss) / ds;
            // Pixels whose source lies off the source surface are left alone.
            if (sy_dev < area.top || sy_dev >= area.bottom) continue;
            uint32_t* row = target_->row(py);
            const double fy =
                static_cast<double>(st) + (static_cast<double>(py - dt) + 0.5) * k - 0.5;
            for (const auto& span : clip.spans(py)) {
                const int32_t a = std::max(span.x0, dest.left);
                const int32_t b = std::min(span.x1, dest.right);
                for (int32_t px = a; px < b; ++px) {
                    const int64_t sx_dev = sl + ((px - dl) * ss) / ds;
                    if (sx_dev < area.left || sx_dev >= area.right) continue;
                    const double fx =
                        static_cast<double>(sl) + (static_cast<double>(px - dl) + 0.5) * k - 0.5;
                    row[px] = SampleBilinearIn(src.surface(), area, fx, fy);
                }
            }
        }
        return true;
    }
    if (uses_source && dw == aw && dh == ah && !flip_x && !flip_y && &src.surface() != target_) {
        CopyUnscaled(dest, src.surface(), sl - dl, st - dt, rop);
        return true;
    }
    const Snapshot snap(src.surface(),
                        Rect{Clamp32(sl), Clamp32(st), Clamp32(sl + aw), Clamp32(st + ah)});

    // Nearest neighbour: destination pixel i samples the source pixel under
    // its centre.
    auto source_index = [](int64_t i, int64_t dst_len, int64_t src_len, bool flip) {
        const int64_t j = ((2 * i + 1) * src_len) / (2 * dst_len);
        return flip ? src_len - 1 - j : j;
    };
    for (int32_t py = dest.top; py < dest.bottom; ++py) {
        const int64_t src_y = st + source_index(py - dt, dh, ah, flip_y);
        uint32_t* row = target_->row(py);
        for (const auto& span : clip.spans(py)) {
            const int32_t a = std::max(span.x0, dest.left);
            const int32_t b = std::min(span.x1, dest.right);
            for (int32_t px = a; px < b; ++px) {
                uint32_t s = 0;
                if (uses_source) {
                    const int64_t src_x = sl + source_index(px - dl, dw, aw, flip_x);
                    // Pixels whose source lies off the source surface are
                    // left alone.
                    if (!snap.has(src_x, src_y)) continue;
                    s = snap.at(src_x, src_y);
                }
                row[px] = 0xFF000000u | (ApplyRop(rop, s, row[px]) & kRgbMask);
            }
        }
    }
    return true;
}

// A blit without scaling or mirroring from another surface: source pixel
// (x + dx, y + dy) lands on (x, y), row by row without sampling arithmetic.
void DC::CopyUnscaled(const Rect& dest, const Surface& source, int64_t dx, int64_t dy,
                      uint32_t rop) {
    // Destination columns whose source lies on the source surface.
    const int64_t left = std::max<int64_t>(dest.left, -dx);
    const int64_t right = std::min<int64_t>(dest.right, source.width() - dx);
    for (int32_t py = dest.top; py < dest.bottom; ++py) {
        const int64_t sy = py + dy;
        // Pixels whose source lies off the source surface are left alone.
        if (sy < 0 || sy >= source.height()) continue;
        uint32_t* row = target_->row(py);
        const uint32_t* from = source.row(static_cast<int32_t>(sy));
        for (const auto& span : DeviceClip().spans(py)) {
            const int64_t a = std::max<int64_t>(span.x0, left);
            const int64_t b = std::min<int64_t>(span.x1, right);
            if (rop == SRCCOPY) {
                for (int64_t px = a; px < b; ++px) row[px] = 0xFF000000u | from[px + dx];
            } else {
                for (int64_t px = a; px < b; ++px) {
                    row[px] = 0xFF000000u | (ApplyRop(rop, from[px + dx], row[px]) & kRgbMask);
                }
            }
        }
    }
}

// --- device-independent rows ---------------------------------------------------

std::vector<uint8_t> DC::GetDIBits24(const Rect& r) const {
    if (r.empty() || r.width() > kMaxSurfaceSide || r.height() > kMaxSurfaceSide) return {};
    const int32_t stride = DibRowBytes(r.width());
    std::vector<uint8_t> out(static_cast<size_t>(stride) * static_cast<size_t>(r.height()), 0);
    // Reads ignore the clip, like reading the bitmap itself; pixels off the
    // surface read as black.
    const Rect program = target_->program_bounds();
    const int32_t mid = scale_ / 2;
    for (int32_t i = 0; i < r.height(); ++i) {
        const int64_t sy = int64_t{r.bottom} - 1 - i + origin_.y;
        if (sy < 0 || sy >= program.bottom) continue;
        const uint32_t* row = target_->row(static_cast<int32_t>(sy * scale_ + mid));
        uint8_t* dst = out.data() + static_cast<size_t>(i) * stride;
        for (int32_t k = 0; k < r.width(); ++k) {
            const int64_t sxp = int64_t{r.left} + k + origin_.x;
            if (sxp < 0 || sxp >= program.right) continue;
            const uint32_t p = row[sxp * scale_ + mid];
            dst[k * 3 + 0] = static_cast<uint8_t>(p);
            dst[k * 3 + 1] = static_cast<uint8_t>(p >> 8);
            dst[k * 3 + 2] = static_cast<uint8_t>(p >> 16);
        }
    }
    return out;
}

void DC::SetDIBits24(const Rect& r, const std::vector<uint8_t>& bits) {
    if (r.empty() || r.width() > kMaxSurfaceSide || r.height() > kMaxSurfaceSide) return;
    const size_t stride = static_cast<size_t>(DibRowBytes(r.width()));
    if (scale_ > 1) {
        SetDIBits24Scaled(r, bits, stride);
        return;
    }
    // A short buffer writes only the pixels it fully holds.
    for (int32_t i = 0; i < r.height(); ++i) {
        const size_t row_start = static_cast<size_t>(i) * stride;
        if (row_start >= bits.size()) break;
        const int64_t sy = int64_t{r.bottom} - 1 - i + origin_.y;
        if (sy < 0 || sy >= target_->height()) continue;
        const int64_t sx0 = int64_t{r.left} + origin_.x;
        uint32_t* row = target_->row(static_cast<int32_t>(sy));
        for (const auto& span : clip_.spans(static_cast<int32_t>(sy))) {
            const int64_t a = std::max<int64_t>({span.x0, sx0, 0});
            const int64_t b = std::min<int64_t>({span.x1, sx0 + r.width(), target_->width()});
            for (int64_t px = a; px < b; ++px) {
                const size_t at = row_start + static_cast<size_t>(px - sx0) * 3;
                if (at + 3 > bits.size()) break;
                row[px] = 0xFF000000u | (uint32_t{bits[at + 2]} << 16) |
                          (uint32_t{bits[at + 1]} << 8) | bits[at];
            }
        }
    }
}

void DC::SetDIBits24Scaled(const Rect& r, const std::vector<uint8_t>& bits, size_t stride) {
    const Rect program = target_->program_bounds();
    const int32_t mid = scale_ / 2;
    for (int32_t i = 0; i < r.height(); ++i) {
        const size_t row_start = static_cast<size_t>(i) * stride;
        if (row_start >= bits.size()) break;
        const int64_t sy = int64_t{r.bottom} - 1 - i + origin_.y;
        if (sy < 0 || sy >= program.bottom) continue;
        const int64_t sx0 = int64_t{r.left} + origin_.x;
        const int64_t a = std::max<int64_t>(sx0, 0);
        const int64_t b = std::min<int64_t>(sx0 + r.width(), program.right);
        const uint32_t* sample = target_->row(static_cast<int32_t>(sy * scale_ + mid));
        for (int64_t px = a; px < b; ++px) {
            const size_t at = row_start + static_cast<size_t>(px - sx0) * 3;
            if (at + 3 > bits.size()) break;
            const uint32_t v = 0xFF000000u | (uint32_t{bits[at + 2]} << 16) |
                               (uint32_t{bits[at + 1]} << 8) | bits[at];
            // A block whose value reads back unchanged keeps its device
            // pixels (anti-aliased text, smoothly scaled pictures).
            if ((sample[px * scale_ + mid] | 0xFF000000u) == v) continue;
            ForEachProgramPixel(sy, px, px + 1, [v](uint32_t& p) { p = v; });
        }
    }
}

namespace {
// Where a logical rectangle lies in device pixels, or nothing when its
// device rows would be larger than any surface.
struct DeviceBox {
    int64_t left = 0;
    int64_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
};

std::optional<DeviceBox> DeviceBoxOf(const Rect& r, Point origin, int32_t scale) {
    if (r.empty()) return std::nullopt;
    const int64_t w = int64_t{r.width()} * scale;
    const int64_t h = int64_t{r.height()} * scale;
    if (w > kMaxSurfaceSide || h > kMaxSurfaceSide) return std::nullopt;
    return DeviceBox{(int64_t{r.left} + origin.x) * scale, (int64_t{r.top} + origin.y) * scale,
                     static_cast<int32_t>(w), static_cast<int32_t>(h)};
}
}  // namespace

std::vector<uint8_t> DC::GetDeviceBits24(const Rect& r) const {
    if (scale_ == 1) return GetDIBits24(r);
    const std::optional<DeviceBox> box = DeviceBoxOf(r, origin_, scale_);
    if (!box) return {};
    const int32_t stride = DibRowBytes(box->width);
    std::vector<uint8_t> out(static_cast<size_t>(stride) * static_cast<size_t>(box->height), 0);
    for (int32_t i = 0; i < box->height; ++i) {
        const int64_t sy = box->top + box->height - 1 - i;
        if (sy < 0 || sy >= target_->height()) continue;
        const uint32_t* row = target_->row(static_cast<int32_t>(sy));
        uint8_t* dst = out.data() + static_cast<size_t>(i) * stride;
        const int64_t a = std::max<int64_t>(box->left, 0);
        const int64_t b = std::min<int64_t>(box->left + box->width, target_->width());
        for (int64_t sx = a; sx < b; ++sx) {
            const uint32_t p = row[sx];
            uint8_t* d = dst + static_cast<size_t>(sx - box->left) * 3;
            d[0] = static_cast<uint8_t>(p);
            d[1] = static_cast<uint8_t>(p >> 8);
            d[2] = static_cast<uint8_t>(p >> 16);
        }
    }
    return out;
}

void DC::SetDeviceBits24(const Rect& r, const std::vector<uint8_t>& bits) {
    if (scale_ == 1) {
        SetDIBits24(r, bits);
        return;
    }
    const std::optional<DeviceBox> box = DeviceBoxOf(r, origin_, scale_);
    if (!box) return;
    const size_t stride = static_cast<size_t>(DibRowBytes(box->width));
    for (int32_t i = 0; i < box->height; ++i) {
        const size_t row_start = static_cast<size_t>(i) * stride;
        if (row_start >= bits.size()) break;
        const int64_t sy = box->top + box->height - 1 - i;
        if (sy < 0 || sy >= target_->height()) continue;
        uint32_t* row = target_->row(static_cast<int32_t>(sy));
        for (const auto& span : device_clip_.spans(static_cast<int32_t>(sy))) {
            const int64_t a = std::max<int64_t>({span.x0, box->left, 0});
            const int64_t b =
                std::min<int64_t>({span.x1, box->left + box->width, target_->width()});
            for (int64_t px = a; px < b; ++px) {
                const size_t at = row_start + static_cast<size_t>(px - box->left) * 3;
                if (at + 3 > bits.size()) break;
                row[px] = 0xFF000000u | (uint32_t{bits[at + 2]} << 16) |
                          (uint32_t{bits[at + 1]} << 8) | bits[at];
            }
        }
    }
}

Color DC::GetNearestColor(Color c) const {
    return TranslateColor(c);
}

}  // namespace platform
