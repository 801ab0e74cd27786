// SPDX-License-Identifier: GPL-3.0-or-later
// Span-based regions: construction from shapes and masks, set operations,
// hit-testing.
//
// Each row keeps its spans sorted, non-overlapping and non-touching, and the
// row list is trimmed so that the first and last rows hold pixels. With that
// invariant two equal pixel sets have equal representations, so equality is
// a plain comparison.
#include "platform/region.h"

#include <algorithm>
#include <cmath>

#include "platform/surface.h"

namespace platform {

namespace {

using Spans = std::vector<Region::Span>;

int32_t ClampCoord(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, -Region::kCoordLimit, Region::kCoordLimit));
}

// Appends [x0, x1) to a row whose spans all lie to the left of x1, joining
// it to the last span when they touch or overlap.
void AppendSpan(Spans& row, int32_t x0, int32_t x1) {
    if (x1 <= x0) return;
    if (!row.empty() && x0 <= row.back().x1) {
        row.back().x1 = std::max(row.back().x1, x1);
        return;
    }
    row.push_back({x0, x1});
}

bool Apply(RegionOp op, bool in_a, bool in_b) {
    switch (op) {
        case RegionOp::kAnd:
            return in_a && in_b;
        case RegionOp::kOr:
            return in_a || in_b;
        case RegionOp::kXor:
            return in_a != in_b;
        case RegionOp::kDiff:
            return in_a && !in_b;
        case RegionOp::kCopy:
            return in_a;
    }
    return false;
}

// Combines two rows by sweeping over every span edge of either: between two
// neighbouring edges membership in a and in b is constant.
Spans CombineRow(std::span<const Region::Span> a, std::span<const Region::Span> b, RegionOp op) {
    std::vector<int32_t> edges;
    edges.reserve((a.size() + b.size()) * 2);
    for (const auto& s : a) edges.insert(edges.end(), {s.x0, s.x1});
    for (const auto& s : b) edges.insert(edges.end(), {s.x0, s.x1});
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

    Spans out;
    size_t ia = 0;
    size_t ib = 0;
    for (size_t i = 0; i + 1 < edges.size(); ++i) {
        const int32_t x = edges[i];
        while (ia < a.size() && a[ia].x1 <= x) ++ia;
        while (ib < b.size() && b[ib].x1 <= x) ++ib;
        const bool in_a = ia < a.size() && a[ia].x0 <= x;
        const bool in_b = ib < b.size() && b[ib].x0 <= x;
        if (Apply(op, in_a, in_b)) AppendSpan(out, x, edges[i + 1]);
    }
    return out;
}

// How far the row k rows in from the top (or bottom) edge of a rounded
// rectangle is cut in at each side. A pixel belongs to the corner when its
// centre lies inside the corner ellipse, which makes the shape symmetric
// left to right and top to bottom.
int32_t CornerInset(int32_t k, double a, double b) {
    const double yc = k + 0.5;
    if (yc >= b) return 0;
    const double dy = (b - yc) / b;
    const double dx = a * std::sqrt(std::max(0.0, 1.0 - dy * dy));
    return std::max(0, static_cast<int32_t>(std::ceil(a - dx - 0.5)));
}

}  // namespace

void Region::Normalise() {
    size_t first = 0;
    while (first < rows_.size() && rows_[first].empty()) ++first;
    size_t last = rows_.size();
    while (last > first && rows_[last - 1].empty()) --last;
    if (first == last) {
        rows_.clear();
        bounds_ = Rect{};
        return;
    }
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(last), rows_.end());
    rows_.erase(rows_.begin(), rows_.begin() + static_cast<std::ptrdiff_t>(first));
    const int32_t top = bounds_.top + static_cast<int32_t>(first);
    int32_t left = rows_.front().front().x0;
    int32_t right = rows_.front().back().x1;
    for (const auto& row : rows_) {
        if (row.empty()) continue;
        left = std::min(left, row.front().x0);
        right = std::max(right, row.back().x1);
    }
    bounds_ = {left, top, right, top + static_cast<int32_t>(rows_.size())};
    const bool rectangular = std::all_of(rows_.begin(), rows_.end(), [&](const Spans& row) {
        return row.size() == 1 && row[0].x0 == left && row[0].x1 == right;
    });
    if (rectangular) *this = Rectangle(bounds_);
}

Region Region::Rectangle(const Rect& r) {
    Region out;
    out.bounds_ = r;
    out.rect_ = true;
    out.rect_row_ = Span{r.left, r.right};
    return out;
}

Region Region::FromRect(const Rect& r) {
    const Rect c{ClampCoord(r.left), ClampCoord(r.top), ClampCoord(r.right), ClampCoord(r.bottom)};
    if (c.empty()) return {};
    return Rectangle(c);
}

Region Region::RoundRect(int32_t left, int32_t top, int32_t right, int32_t bottom,
                         int32_t ellipse_width, int32_t ellipse_height) {
    // Reversed corners describe the same rectangle.
    int32_t l = ClampCoord(std::min(left, right));
    int32_t r = ClampCoord(std::max(left, right));
    int32_t t = ClampCoord(std::min(top, bottom));
    int32_t b = ClampCoord(std::max(top, bottom));
    const int32_t w = r - l;
    const int32_t h = b - t;
    Region out;
    if (w <= 0 || h <= 0) return out;

    const int64_t ew = std::min<int64_t>(std::abs(static_cast<int64_t>(ellipse_width)), w);
    const int64_t eh = std::min<int64_t>(std::abs(static_cast<int64_t>(ellipse_height)), h);
    const double a = static_cast<double>(ew) / 2.0;
    const double bb = static_cast<double>(eh) / 2.0;

    out.bounds_ = {l, t, r, b};
    out.rows_.resize(static_cast<size_t>(h));
    for (int32_t i = 0; i < h; ++i) {
        const int32_t inset = (ew < 2 || eh < 2) ? 0 : CornerInset(std::min(i, h - 1 - i), a, bb);
        if (2 * inset < w) out.rows_[static_cast<size_t>(i)].push_back({l + inset, r - inset});
    }
    out.Normalise();
    return out;
}

Region Region::Ellipse(const Rect& r) {
    return RoundRect(r.left, r.top, r.right, r.bottom, r.width(), r.height());
}

Region Region::FromMask(const Surface& mask, Color transparent) {
    const Color key = TranslateColor(transparent);
    Region out;
    if (mask.empty()) return out;
    out.bounds_ = mask.bounds();
    out.rows_.resize(static_cast<size_t>(mask.height()));
    for (int32_t y = 0; y < mask.height(); ++y) {
        const uint32_t* px = mask.row(y);
        Spans& row = out.rows_[static_cast<size_t>(y)];
        int32_t x = 0;
        while (x < mask.width()) {
            while (x < mask.width() && ColorFromArgb(px[x]) == key) ++x;
            const int32_t start = x;
            while (x < mask.width() && ColorFromArgb(px[x]) != key) ++x;
            AppendSpan(row, start, x);
        }
    }
    out.Normalise();
    return out;
}

Region Region::Combine(const Region& a, const Region& b, RegionOp op) {
    if (op == RegionOp::kCopy) return a;
    if (a.empty() && b.empty()) return {};
    if (op == RegionOp::kAnd) {
        if (a.empty() || b.empty()) return {};
        if (b.rect_) return a.intersect(b.bounds_);
        if (a.rect_) return b.intersect(a.bounds_);
    }
    if (op == RegionOp::kOr) {
        // Invalidation adds rectangles to what is already dirty; the usual
        // cases need no new rows.
        if (a.empty()) return b;
        if (b.empty()) return a;
        if (a.rect_ && b.rect_) {
            if (a.bounds_.intersect(b.bounds_) == b.bounds_) return a;
            if (a.bounds_.intersect(b.bounds_) == a.bounds_) return b;
        }
    }
    // Rows outside both regions are empty in the result for every operation.
    int32_t top = 0;
    int32_t bottom = 0;
    if (a.empty()) {
        top = b.bounds_.top;
        bottom = b.bounds_.bottom;
    } else if (b.empty()) {
        top = a.bounds_.top;
        bottom = a.bounds_.bottom;
    } else {
        top = std::min(a.bounds_.top, b.bounds_.top);
        bottom = std::max(a.bounds_.bottom, b.bounds_.bottom);
    }
    Region out;
    out.bounds_ = {0, top, 0, bottom};
    out.rows_.resize(static_cast<size_t>(bottom - top));
    for (int32_t y = top; y < bottom; ++y) {
        out.rows_[static_cast<size_t>(y - top)] = CombineRow(a.spans(y), b.spans(y), op);
    }
    out.Normalise();
    return out;
}

std::span<const Region::Span> Region::spans(int32_t y) const {
    if (y < bounds_.top || y >= bounds_.bottom) return {};
    if (rect_) return {&rect_row_, 1};
    if (rows_.empty()) return {};
    return rows_[static_cast<size_t>(y - bounds_.top)];
}

bool Region::contains(Point p) const {
    const std::span<const Span> row = spans(p.y);
    // The first span ending to the right of x is the only one that can hold it.
    auto it = std::upper_bound(row.begin(), row.end(), p.x,
                               [](int32_t x, const Span& s) { return x < s.x1; });
    return it != row.end() && it->x0 <= p.x;
}

bool Region::is_rect() const {
    if (rect_) return true;
    if (empty()) return false;
    return std::all_of(rows_.begin(), rows_.end(), [this](const Spans& row) {
        return row.size() == 1 && row[0].x0 == bounds_.left && row[0].x1 == bounds_.right;
    });
}

Region Region::offset(int32_t dx, int32_t dy) const {
    if (empty()) return {};
    // Far beyond any surface nothing can be drawn or hit, so a shift that
    // would overflow simply empties the region.
    constexpr int64_t kFar = int64_t{1} << 30;
    const int64_t l = static_cast<int64_t>(bounds_.left) + dx;
    const int64_t r = static_cast<int64_t>(bounds_.right) + dx;
    const int64_t t = static_cast<int64_t>(bounds_.top) + dy;
    const int64_t b = static_cast<int64_t>(bounds_.bottom) + dy;
    if (l < -kFar || r > kFar || t < -kFar || b > kFar) return {};
    if (rect_) return Rectangle(bounds_.offset(dx, dy));
    Region out = *this;
    out.bounds_ = bounds_.offset(dx, dy);
    for (auto& row : out.rows_) {
        for (auto& s : row) {
            s.x0 += dx;
            s.x1 += dx;
        }
    }
    return out;
}

Region Region::Scaled(int32_t factor) const {
    if (factor < 2 || empty()) return *this;
    // Regions stay inside +-kCoordLimit, so the products fit in 32 bits for
    // any factor a surface can have.
    if (rect_) {
        return Rectangle({bounds_.left * factor, bounds_.top * factor, bounds_.right * factor,
                          bounds_.bottom * factor});
    }
    Region out;
    out.bounds_ = {bounds_.left * factor, bounds_.top * factor, bounds_.right * factor,
                   bounds_.bottom * factor};
    out.rows_.reserve(rows_.size() * static_cast<size_t>(factor));
    for (const Spans& row : rows_) {
        Spans wide = row;
        for (Span& s : wide) {
            s.x0 *= factor;
            s.x1 *= factor;
        }
        for (int32_t k = 0; k < factor; ++k) out.rows_.push_back(wide);
    }
    return out;
}

Region Region::intersect(const Rect& r) const {
    if (empty() || r.empty()) return {};
    if (rect_) {
        const Rect c = bounds_.intersect(r);
        return c.empty() ? Region() : Rectangle(c);
    }
    // Rows wholly outside the rectangle are skipped rather than combined.
    const int32_t top = std::max(bounds_.top, r.top);
    const int32_t bottom = std::min(bounds_.bottom, r.bottom);
    if (top >= bottom) return {};
    Region out;
    out.bounds_ = {0, top, 0, bottom};
    out.rows_.resize(static_cast<size_t>(bottom - top));
    for (int32_t y = top; y < bottom; ++y) {
        Spans& row = out.rows_[static_cast<size_t>(y - top)];
        for (const auto& s : spans(y)) {
            AppendSpan(row, std::max(s.x0, r.left), std::min(s.x1, r.right));
        }
    }
    out.Normalise();
    return out;
}

bool operator==(const Region& a, const Region& b) {
    if (a.bounds_ != b.bounds_) return false;
    if (a.rect_ && b.rect_) return true;
    for (int32_t y = a.bounds_.top; y < a.bounds_.bottom; ++y)
        if (!std::ranges::equal(a.spans(y), b.spans(y))) return false;
    return true;
}

}  // namespace platform
