// SPDX-License-Identifier: GPL-3.0-or-later
// The window region as rectangles, the form native shaping calls take.
#pragma once

#include <vector>

#include "platform/geometry.h"
#include "platform/region.h"

namespace platform::sdl {

// Disjoint rectangles covering exactly the region's pixels, sorted top to
// bottom and left to right. Consecutive rows with the same spans share one
// rectangle, so an ellipse takes about as many rectangles as it has
// distinct rows, and a rectangle takes one.
std::vector<Rect> RegionToRects(const Region& region);

}  // namespace platform::sdl
