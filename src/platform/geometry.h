// SPDX-License-Identifier: GPL-3.0-or-later
// Small value types for points, sizes and rectangles.
//
// Rectangles follow the platform convention the drawing rules depend on:
// left and top are inside, right and bottom are just outside.
#pragma once

#include <algorithm>
#include <cstdint>

namespace platform {

struct Point {
    int32_t x = 0;
    int32_t y = 0;

    friend bool operator==(const Point&, const Point&) = default;
    Point operator+(Point o) const { return {x + o.x, y + o.y}; }
    Point operator-(Point o) const { return {x - o.x, y - o.y}; }
};

struct Size {
    int32_t cx = 0;
    int32_t cy = 0;

    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    static Rect FromXYWH(int32_t x, int32_t y, int32_t w, int32_t h) {
        return {x, y, x + w, y + h};
    }

    friend bool operator==(const Rect&, const Rect&) = default;

    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    Size size() const { return {width(), height()}; }
    Point top_left() const { return {left, top}; }
    bool empty() const { return right <= left || bottom <= top; }

    bool contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    bool contains(const Rect& r) const {
        return r.left >= left && r.top >= top && r.right <= right && r.bottom <= bottom;
    }

    Rect offset(int32_t dx, int32_t dy) const {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    Rect offset(Point d) const { return offset(d.x, d.y); }
    Rect inflate(int32_t dx, int32_t dy) const {
        return {left - dx, top - dy, right + dx, bottom + dy};
    }

    // Empty results are normalised to a zero rectangle so they compare equal.
    Rect intersect(const Rect& o) const {
        Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
               std::min(bottom, o.bottom)};
        return r.empty() ? Rect{} : r;
    }
    Rect unite(const Rect& o) const {
        if (empty()) return o;
        if (o.empty()) return *this;
        return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right),
                std::max(bottom, o.bottom)};
    }
    bool intersects(const Rect& o) const { return !intersect(o).empty(); }
};

}  // namespace platform
