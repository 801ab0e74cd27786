// SPDX-License-Identifier: GPL-3.0-or-later
// Region to rectangles: rows are merged into bands while their spans stay
// the same, which keeps the list short for the smooth shapes windows use.

#include "platform/sdl/shape.h"

#include <algorithm>
#include <span>

namespace platform::sdl {

std::vector<Rect> RegionToRects(const Region& region) {
    std::vector<Rect> out;
    if (region.empty()) return out;
    const Rect b = region.bounds();
    int32_t y = b.top;
    while (y < b.bottom) {
        const std::span<const Region::Span> spans = region.spans(y);
        int32_t end = y + 1;
        while (end < b.bottom && std::ranges::equal(region.spans(end), spans)) ++end;
        for (const Region::Span& s : spans) out.push_back({s.x0, y, s.x1, end});
        y = end;
    }
    return out;
}

}  // namespace platform::sdl
