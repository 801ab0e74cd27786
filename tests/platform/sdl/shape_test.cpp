// SPDX-License-Identifier: GPL-3.0-or-later
// Region to native-shape rectangles: the rectangles must cover exactly the
// region's pixels, without overlap, in bands the X server accepts unsorted.

#include "platform/sdl/shape.h"

#include <gtest/gtest.h>

namespace platform::sdl {
namespace {

// Every pixel of the region's bounds (plus a margin) is covered by exactly
// as many rectangles as the region says: one inside, none outside.
void ExpectExactCover(const Region& region, const std::vector<Rect>& rects) {
    const Rect b = region.bounds().inflate(2, 2);
    for (int32_t y = b.top; y < b.bottom; ++y)
        for (int32_t x = b.left; x < b.right; ++x) {
            int covered = 0;
            for (const Rect& r : rects) covered += r.contains(Point{x, y}) ? 1 : 0;
            ASSERT_EQ(covered, region.contains(x, y) ? 1 : 0) << "at " << x << "," << y;
        }
}

// Bands: rectangles sharing a top share a bottom, and come left to right;
// bands come top to bottom.
void ExpectBanded(const std::vector<Rect>& rects) {
    for (size_t i = 1; i < rects.size(); ++i) {
        const Rect& a = rects[i - 1];
        const Rect& b = rects[i];
        if (a.top == b.top) {
            EXPECT_EQ(a.bottom, b.bottom);
            EXPECT_LE(a.right, b.left);
        } else {
            EXPECT_LE(a.bottom, b.top);
        }
    }
}

TEST(SdlShape, CoversShapesExactlyInBands) {
    const Region ellipse = Region::Ellipse({0, 0, 120, 80});
    const Region round = Region::RoundRect(5, 7, 90, 60, 20, 16);
    // A ring: two spans on the middle rows.
    const Region ring = Region::Combine(Region::Ellipse({0, 0, 60, 60}),
                                        Region::Ellipse({20, 20, 40, 40}), RegionOp::kDiff);
    const Region offset = Region::Ellipse({-30, -10, 30, 50});
    for (const Region* r : {&ellipse, &round, &ring, &offset}) {
        std::vector<Rect> rects = RegionToRects(*r);
        ExpectExactCover(*r, rects);
        ExpectBanded(rects);
    }
}

TEST(SdlShape, MergesRowsWithTheSameSpans) {
    EXPECT_EQ(RegionToRects(Region::FromRect({3, 4, 50, 40})), (std::vector<Rect>{{3, 4, 50, 40}}));
    // A rounded rectangle's straight middle is one band however tall it is.
    std::vector<Rect> rr = RegionToRects(Region::RoundRect(0, 0, 100, 1000, 10, 10));
    EXPECT_LT(rr.size(), 20u);
    // An ellipse needs at most one rectangle a row.
    EXPECT_LE(RegionToRects(Region::Ellipse({0, 0, 200, 150})).size(), 150u);
}

TEST(SdlShape, EmptyRegionGivesNoRectangles) {
    EXPECT_TRUE(RegionToRects(Region()).empty());
    EXPECT_TRUE(RegionToRects(Region::FromRect({10, 10, 10, 30})).empty());
}

}  // namespace
}  // namespace platform::sdl
