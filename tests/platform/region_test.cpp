// SPDX-License-Identifier: GPL-3.0-or-later
// Region shapes, set operations and hit-testing.
#include "platform/region.h"

#include <gtest/gtest.h>

#include "platform/surface.h"

namespace platform {
namespace {

int64_t PixelCount(const Region& r) {
    int64_t n = 0;
    for (int32_t y = r.bounds().top; y < r.bounds().bottom; ++y) {
        for (const auto& s : r.spans(y)) n += s.x1 - s.x0;
    }
    return n;
}

// Checks that the region looks the same mirrored left-right and top-bottom
// inside its rectangle.
void ExpectSymmetric(const Region& r, const Rect& box) {
    for (int32_t y = box.top; y < box.bottom; ++y) {
        for (int32_t x = box.left; x < box.right; ++x) {
            const int32_t mx = box.left + box.right - 1 - x;
            const int32_t my = box.top + box.bottom - 1 - y;
            ASSERT_EQ(r.contains(x, y), r.contains(mx, y)) << x << "," << y;
            ASSERT_EQ(r.contains(x, y), r.contains(x, my)) << x << "," << y;
        }
    }
}

TEST(RegionShapes, RectCoversLeftTopButNotRightBottom) {
    const Region r = Region::FromRect({2, 3, 6, 5});
    EXPECT_TRUE(r.contains(2, 3));
    EXPECT_TRUE(r.contains(5, 4));
    EXPECT_FALSE(r.contains(6, 4));
    EXPECT_FALSE(r.contains(5, 5));
    EXPECT_FALSE(r.contains(1, 3));
    EXPECT_EQ(PixelCount(r), 8);
    EXPECT_TRUE(r.is_rect());
}

TEST(RegionShapes, RoundRectCornersAreCutSymmetrically) {
    const Rect box{0, 0, 120, 40};
    const Region r = Region::RoundRect(0, 0, 120, 40, 20, 20);
    EXPECT_EQ(r.bounds(), box);
    ExpectSymmetric(r, box);
    // The corners are cut, the edge midpoints and the middle rows are whole.
    EXPECT_FALSE(r.contains(0, 0));
    EXPECT_FALSE(r.contains(119, 39));
    EXPECT_FALSE(r.contains(1, 1));
    EXPECT_TRUE(r.contains(60, 0));
    EXPECT_TRUE(r.contains(0, 20));
    EXPECT_EQ(r.spans(20).size(), 1u);
    EXPECT_EQ(r.spans(20)[0], (Region::Span{0, 120}));
    // Beyond the corner ellipse's half-height every row is full width.
    for (int32_t y = 10; y < 30; ++y) EXPECT_EQ(r.spans(y)[0], (Region::Span{0, 120})) << y;
    // The top row's cut is about the corner radius minus the arc's run-out.
    const Region::Span top = r.spans(0)[0];
    EXPECT_GT(top.x0, 3);
    EXPECT_LT(top.x0, 10);
    EXPECT_FALSE(r.is_rect());
}

TEST(RegionShapes, RoundRectDegenerateCornersAndReversedInput) {
    EXPECT_EQ(Region::RoundRect(0, 0, 10, 10, 0, 0), Region::FromRect({0, 0, 10, 10}));
    EXPECT_EQ(Region::RoundRect(10, 10, 0, 0, 4, 4), Region::RoundRect(0, 0, 10, 10, 4, 4));
    // An oversized corner ellipse is the inscribed ellipse.
    EXPECT_EQ(Region::RoundRect(0, 0, 30, 16, 500, 500), Region::Ellipse({0, 0, 30, 16}));
    EXPECT_TRUE(Region::RoundRect(5, 5, 5, 20, 4, 4).empty());
}

TEST(RegionShapes, EllipseIsSymmetricAndTouchesEachSideOfItsBox) {
    for (const Rect box : {Rect{0, 0, 21, 13}, Rect{3, 4, 43, 24}, Rect{0, 0, 2, 2}}) {
        const Region e = Region::Ellipse(box);
        EXPECT_EQ(e.bounds(), box);
        ExpectSymmetric(e, box);
        // Each row is one run (the shape is convex).
        for (int32_t y = box.top; y < box.bottom; ++y) EXPECT_EQ(e.spans(y).size(), 1u);
    }
    const Region e = Region::Ellipse({0, 0, 40, 20});
    EXPECT_FALSE(e.contains(0, 0));
    EXPECT_TRUE(e.contains(20, 10));
    EXPECT_TRUE(e.contains(0, 10));
    EXPECT_TRUE(e.contains(39, 9));
}

TEST(RegionShapes, MaskKeepsEveryNonTransparentPixel) {
    Surface mask(6, 3, Rgb(255, 0, 255));
    mask.set_pixel(0, 0, 0);
    mask.set_pixel(1, 0, 0);
    mask.set_pixel(3, 0, Rgb(1, 2, 3));
    mask.set_pixel(5, 2, 0);
    const Region r = Region::FromMask(mask, Rgb(255, 0, 255));
    EXPECT_EQ(r.bounds(), (Rect{0, 0, 6, 3}));
    ASSERT_EQ(r.spans(0).size(), 2u);
    EXPECT_EQ(r.spans(0)[0], (Region::Span{0, 2}));
    EXPECT_EQ(r.spans(0)[1], (Region::Span{3, 4}));
    EXPECT_TRUE(r.spans(1).empty());
    EXPECT_TRUE(r.contains(5, 2));
    EXPECT_EQ(PixelCount(r), 4);
    // A system colour value as the key is translated first.
    Surface white(2, 2, Rgb(255, 255, 255));
    EXPECT_TRUE(Region::FromMask(white, kSystemColorFlag | COLOR_WINDOW).empty());
}

TEST(RegionOps, CombineTwoOverlappingRects) {
    const Region a = Region::FromRect({0, 0, 10, 10});
    const Region b = Region::FromRect({5, 5, 15, 15});
    EXPECT_EQ(Region::Combine(a, b, RegionOp::kAnd), Region::FromRect({5, 5, 10, 10}));
    EXPECT_EQ(PixelCount(Region::Combine(a, b, RegionOp::kOr)), 175);
    EXPECT_EQ(PixelCount(Region::Combine(a, b, RegionOp::kXor)), 150);
    const Region diff = Region::Combine(a, b, RegionOp::kDiff);
    EXPECT_EQ(PixelCount(diff), 75);
    EXPECT_TRUE(diff.contains(4, 9));
    EXPECT_FALSE(diff.contains(5, 5));
    EXPECT_EQ(diff.bounds(), (Rect{0, 0, 10, 10}));
    EXPECT_EQ(Region::Combine(a, b, RegionOp::kCopy), a);
    EXPECT_TRUE(Region::Combine(a, a, RegionOp::kDiff).empty());
    EXPECT_TRUE(Region::Combine(a, Region(), RegionOp::kAnd).empty());
    EXPECT_EQ(Region::Combine(Region(), b, RegionOp::kOr), b);
}

TEST(RegionOps, TouchingPiecesMergeIntoOneCanonicalShape) {
    const Region left = Region::FromRect({0, 0, 5, 4});
    const Region right = Region::FromRect({5, 0, 9, 4});
    const Region below = Region::FromRect({0, 4, 9, 6});
    const Region all =
        Region::Combine(Region::Combine(left, right, RegionOp::kOr), below, RegionOp::kOr);
    EXPECT_EQ(all, Region::FromRect({0, 0, 9, 6}));
    EXPECT_TRUE(all.is_rect());
    // Cutting a hole and filling it again gives back the same region.
    const Region hole = Region::FromRect({3, 2, 4, 3});
    const Region cut = Region::Combine(all, hole, RegionOp::kDiff);
    EXPECT_FALSE(cut.is_rect());
    EXPECT_EQ(cut.spans(2).size(), 2u);
    EXPECT_EQ(Region::Combine(cut, hole, RegionOp::kOr), all);
}

TEST(RegionOps, CornerPixelsRemovedFromAButtonRectangle) {
    // The shape of a button with its four corner pixels cut away.
    const int32_t w = 75;
    const int32_t h = 23;
    Region r = Region::FromRect({0, 0, w, h});
    for (const Point p : {Point{0, 0}, Point{w - 1, 0}, Point{0, h - 1}, Point{w - 1, h - 1}}) {
        r = Region::Combine(r, Region::FromRect({p.x, p.y, p.x + 1, p.y + 1}), RegionOp::kDiff);
    }
    EXPECT_EQ(PixelCount(r), w * h - 4);
    EXPECT_FALSE(r.contains(w - 1, h - 1));
    EXPECT_TRUE(r.contains(w - 2, h - 1));
    EXPECT_EQ(r.bounds(), (Rect{0, 0, w, h}));
    ExpectSymmetric(r, r.bounds());
}

TEST(RegionOps, OffsetAndIntersect) {
    const Region e = Region::Ellipse({0, 0, 20, 10});
    const Region moved = e.offset(-5, 7);
    EXPECT_EQ(moved.bounds(), (Rect{-5, 7, 15, 17}));
    EXPECT_EQ(moved.contains(5, 12), e.contains(10, 5));
    EXPECT_EQ(moved.offset(5, -7), e);
    const Region clipped = e.intersect({10, 0, 100, 100});
    EXPECT_EQ(clipped.bounds().left, 10);
    EXPECT_EQ(clipped, Region::Combine(e, Region::FromRect({10, 0, 100, 100}), RegionOp::kAnd));
    EXPECT_TRUE(e.intersect({100, 100, 200, 200}).empty());
    // A shift past any drawable area empties the region instead of wrapping.
    EXPECT_TRUE(e.offset(INT32_MAX, 0).empty());
}

TEST(RegionShapes, DegenerateAndHugeInputStaysBounded) {
    EXPECT_TRUE(Region::FromRect({10, 10, 0, 0}).empty());
    EXPECT_TRUE(Region::Ellipse({0, 0, 0, 10}).empty());
    EXPECT_EQ(Region::Ellipse({0, 0, -5, 10}), Region::Ellipse({-5, 0, 0, 10}));
    EXPECT_FALSE(Region().contains(0, 0));
    EXPECT_FALSE(Region().is_rect());
    const Region huge = Region::FromRect({INT32_MIN, -5, INT32_MAX, 5});
    EXPECT_EQ(huge.bounds(), (Rect{-Region::kCoordLimit, -5, Region::kCoordLimit, 5}));
    const Region tall = Region::RoundRect(0, INT32_MIN, 4, INT32_MAX, INT32_MIN, 3);
    EXPECT_EQ(tall.bounds().height(), 2 * Region::kCoordLimit);
    EXPECT_TRUE(Region().spans(0).empty());
}

}  // namespace
}  // namespace platform
