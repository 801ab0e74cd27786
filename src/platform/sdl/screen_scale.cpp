// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sdl/screen_scale.h"

#include <algorithm>
#include <cmath>

namespace platform::sdl {

namespace {

int32_t Clamp32(double v) {
    return static_cast<int32_t>(
        std::clamp(v, static_cast<double>(INT32_MIN / 2), static_cast<double>(INT32_MAX / 2)));
}

// The frame pixels one screen pixel covers along an axis, with the share
// of the screen pixel each covers.
struct Taps {
    int32_t first = 0;
    int32_t count = 0;
    float weight[kMaxDeviceScale + 2] = {};
};

// Screen pixel i covers frame pixels [i * k, (i + 1) * k), k = drawing /
// factor; pixels at or past `limit` are left out and the rest reweighted.
Taps TapsFor(int32_t i, double k, int32_t limit) {
    Taps t;
    const double from = i * k;
    const double to = (i + 1) * k;
    const auto first = static_cast<int32_t>(std::floor(from));
    const auto last = std::min(static_cast<int32_t>(std::ceil(to)) - 1, limit - 1);
    t.first = std::max(first, 0);
    double total = 0;
    for (int32_t j = t.first; j <= last && t.count < kMaxDeviceScale + 2; ++j) {
        const double w = std::min<double>(to, j + 1) - std::max<double>(from, j);
        if (w <= 0) continue;
        if (t.count == 0) t.first = j;
        t.weight[t.count++] = static_cast<float>(w);
        total += w;
    }
    for (int32_t n = 0; n < t.count; ++n) t.weight[n] = static_cast<float>(t.weight[n] / total);
    return t;
}

}  // namespace

ScreenScale::ScreenScale(int32_t drawing, double factor)
    : drawing_(std::clamp<int32_t>(drawing, 1, kMaxDeviceScale)),
      factor_(std::isfinite(factor) ? std::clamp(factor, 1.0, static_cast<double>(drawing_))
                                    : static_cast<double>(drawing_)) {
}

int32_t ScreenScale::ToScreen(int32_t program) const {
    if (!Reduces()) return Clamp32(static_cast<double>(program) * drawing_);
    // Halves round down: then a screen pixel lies inside a mapped edge
    // exactly when the program pixel under its centre does (FromScreen).
    return Clamp32(std::ceil(program * factor_ - 0.5));
}

Rect ScreenScale::ToScreen(const Rect& program) const {
    return {ToScreen(program.left), ToScreen(program.top), ToScreen(program.right),
            ToScreen(program.bottom)};
}

int32_t ScreenScale::FromScreen(int32_t screen) const {
    if (!Reduces()) {
        const int32_t s = drawing_;
        return screen >= 0 ? screen / s : -((-screen + s - 1) / s);
    }
    return Clamp32(std::floor((screen + 0.5) / factor_));
}

Point ScreenScale::FromScreen(Point screen) const {
    return {FromScreen(screen.x), FromScreen(screen.y)};
}

Rect ScreenScale::FrameToScreen(const Rect& area) const {
    if (!Reduces()) return area;
    const double k = factor_ / drawing_;
    return {Clamp32(std::floor(area.left * k)), Clamp32(std::floor(area.top * k)),
            Clamp32(std::ceil(area.right * k)), Clamp32(std::ceil(area.bottom * k))};
}

void ReduceFrame(const Surface& frame, const ScreenScale& scale, Surface& screen, Rect area,
                 const Region* shape) {
    area = area.intersect(screen.bounds());
    if (area.empty() || frame.empty()) return;
    const int32_t d = scale.drawing();
    const double k = d / scale.factor();
    std::vector<Taps> columns;
    columns.reserve(static_cast<size_t>(area.width()));
    for (int32_t x = area.left; x < area.right; ++x)
        columns.push_back(TapsFor(x, k, frame.width()));
    // The program columns the taps reach, for the shape's rows.
    const int32_t pc0 = columns.front().first / d;
    const int32_t pc1 = (columns.back().first + std::max(columns.back().count, 1)) / d + 1;
    const auto width = static_cast<size_t>(area.width());
    // Frame rows reduced along x, kept for the next screen row, which shares
    // some of them: per screen column the weighted red, green and blue of
    // the pixels the shape keeps (only those lend colour, so what is cut
    // away never tints the edge), and their weight.
    constexpr int32_t kKept = kMaxDeviceScale + 2;
    std::vector<float> kept(static_cast<size_t>(kKept) * width * 4);
    int32_t kept_row[kKept];
    std::fill(std::begin(kept_row), std::end(kept_row), -1);
    std::vector<uint8_t> inside(static_cast<size_t>(pc1 - pc0));
    const auto reduced_row = [&](int32_t fy) -> const float* {
        const int32_t slot = fy % kKept;
        float* h = &kept[static_cast<size_t>(slot) * width * 4];
        if (kept_row[slot] == fy) return h;
        kept_row[slot] = fy;
        if (shape != nullptr) {
            std::fill(inside.begin(), inside.end(), 0);
            for (const auto& span : shape->spans(fy / d)) {
                for (int32_t x = std::max(span.x0, pc0); x < std::min(span.x1, pc1); ++x)
                    inside[static_cast<size_t>(x - pc0)] = 1;
            }
        }
        const uint32_t* in = frame.row(fy);
        for (size_t i = 0; i < width; ++i) {
            const Taps& c = columns[i];
            float sum[4] = {0, 0, 0, 0};
            for (int32_t n = 0; n < c.count; ++n) {
                const int32_t fx = c.first + n;
                if (shape != nullptr && inside[static_cast<size_t>(fx / d - pc0)] == 0) continue;
                const uint32_t p = in[fx];
                const float w = c.weight[n];
                sum[0] += w * static_cast<float>((p >> 16) & 0xFF);
                sum[1] += w * static_cast<float>((p >> 8) & 0xFF);
                sum[2] += w * static_cast<float>(p & 0xFF);
                sum[3] += w;
            }
            std::copy(std::begin(sum), std::end(sum), h + i * 4);
        }
        return h;
    };
    std::vector<float> sums(width * 4);
    for (int32_t y = area.top; y < area.bottom; ++y) {
        const Taps rows = TapsFor(y, k, frame.height());
        uint32_t* out = screen.row(y);
        if (rows.count == 0) continue;
        std::fill(sums.begin(), sums.end(), 0.0f);
        for (int32_t r = 0; r < rows.count; ++r) {
            const float* h = reduced_row(rows.first + r);
            const float wr = rows.weight[r];
            for (size_t i = 0; i < width * 4; ++i) sums[i] += wr * h[i];
        }
        // Rounded to nearest; the sums are never negative.
        auto channel = [](float v) { return static_cast<uint32_t>(std::min(v, 255.0f) + 0.5f); };
        for (int32_t i = 0; i < area.width(); ++i) {
            const float* s = &sums[static_cast<size_t>(i) * 4];
            // A pixel the shape cuts away wholly is not shown; it keeps
            // what it had.
            if (columns[static_cast<size_t>(i)].count == 0 || s[3] <= 0) continue;
            const float scale_back = 1.0f / s[3];
            out[area.left + i] = 0xFF000000u | (channel(s[0] * scale_back) << 16) |
                                 (channel(s[1] * scale_back) << 8) | channel(s[2] * scale_back);
        }
    }
}

CursorPixels ScaleCursor(const Picture& picture, Point hotspot, double factor) {
    const Surface& px = picture.pixels();
    CursorPixels out;
    if (px.empty()) return out;
    if (!std::isfinite(factor) || factor < 1) factor = 1;
    const int32_t w = px.width();
    const int32_t h = px.height();
    out.width = std::max(1, static_cast<int32_t>(std::lround(w * factor)));
    out.height = std::max(1, static_cast<int32_t>(std::lround(h * factor)));
    const auto place = [factor](int32_t v, int32_t size) {
        const auto at = static_cast<int32_t>(std::floor((v + 0.5) * factor));
        return std::clamp(at, 0, size - 1);
    };
    out.hotspot = {place(std::clamp(hotspot.x, 0, w - 1), out.width),
                   place(std::clamp(hotspot.y, 0, h - 1), out.height)};
    out.argb.resize(static_cast<size_t>(out.width) * out.height);
    // Bilinear sampling of premultiplied colour, so transparent pixels lend
    // no colour to the edge.
    const auto sample = [&](int32_t x, int32_t y, int shift) -> double {
        const bool opaque = !picture.has_mask() || picture.opaque_at(x, y);
        if (shift < 0) return opaque ? 255.0 : 0.0;
        return opaque ? static_cast<double>((px.row(y)[x] >> shift) & 0xFF) : 0.0;
    };
    const double sx = static_cast<double>(w) / out.width;
    const double sy = static_cast<double>(h) / out.height;
    for (int32_t y = 0; y < out.height; ++y) {
        const double fy = std::clamp((y + 0.5) * sy - 0.5, 0.0, static_cast<double>(h - 1));
        const auto y0 = static_cast<int32_t>(fy);
        const int32_t y1 = std::min(y0 + 1, h - 1);
        const double ay = fy - y0;
        for (int32_t x = 0; x < out.width; ++x) {
            const double fx = std::clamp((x + 0.5) * sx - 0.5, 0.0, static_cast<double>(w - 1));
            const auto x0 = static_cast<int32_t>(fx);
            const int32_t x1 = std::min(x0 + 1, w - 1);
            const double ax = fx - x0;
            auto blend = [&](int shift) {
                const double top = sample(x0, y0, shift) * (1 - ax) + sample(x1, y0, shift) * ax;
                const double bottom = sample(x0, y1, shift) * (1 - ax) + sample(x1, y1, shift) * ax;
                return top * (1 - ay) + bottom * ay;
            };
            const double alpha = blend(-1);
            uint32_t p = static_cast<uint32_t>(std::lround(alpha)) << 24;
            if (alpha > 0) {
                for (int shift : {16, 8, 0}) {
                    // Back from premultiplied to straight colour.
                    const double v = blend(shift) * 255.0 / alpha;
                    p |= static_cast<uint32_t>(std::clamp(std::lround(v), 0L, 255L)) << shift;
                }
            }
            out.argb[static_cast<size_t>(y) * out.width + x] = p;
        }
    }
    return out;
}

}  // namespace platform::sdl
