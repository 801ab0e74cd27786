// SPDX-License-Identifier: GPL-3.0-or-later
// The screen's scale: program pixels to screen pixels and back at whole and
// fractional factors, the area-averaging reduction of frames, and custom
// cursors enlarged to the factor.

#include "platform/sdl/screen_scale.h"

#include <gtest/gtest.h>

#include <utility>

namespace platform::sdl {
namespace {

TEST(ScreenScale, WholeFactorsMapExactlyAndFractionsRound) {
    const ScreenScale two(2, 2.0);
    EXPECT_FALSE(two.Reduces());
    EXPECT_EQ(two.ToScreen(600), 1200);
    EXPECT_EQ(two.ToScreen(-3), -6);
    // A screen pixel belongs to the program pixel it lies in, left of 0 too.
    const std::pair<int32_t, int32_t> back[] = {{-5, -3}, {-4, -2}, {-1, -1},
                                                {0, 0},   {1, 0},   {7, 3}};
    for (const auto& [screen, program] : back) EXPECT_EQ(two.FromScreen(screen), program) << screen;

    const ScreenScale half(2, 1.5);
    EXPECT_TRUE(half.Reduces());
    EXPECT_EQ(half.ToScreen(600), 900);
    EXPECT_EQ(half.ToScreen(499), 748);
    EXPECT_EQ(half.ToScreen(Rect{1, 2, 3, 4}), (Rect{1, 3, 4, 6}));
    // A screen pixel lies inside a mapped rectangle (a window, a piece of
    // its shape) exactly when the program pixel the pointer there is
    // taken for does.
    const Rect r{-3, 1, 5, 6};
    const Rect on_screen = half.ToScreen(r);
    for (int32_t v = -10; v < 12; ++v) {
        EXPECT_EQ(v >= on_screen.left && v < on_screen.right,
                  r.left <= half.FromScreen(v) && half.FromScreen(v) < r.right)
            << v;
    }
    // Every program position comes back from where it went, negative ones
    // (a window off the screen's left edge) too, and every screen pixel
    // belongs to the program pixel under its centre.
    for (int32_t v = -40; v <= 40; ++v) ASSERT_EQ(half.FromScreen(half.ToScreen(v)), v) << v;
    EXPECT_EQ(half.FromScreen(0), 0);
    EXPECT_EQ(half.FromScreen(1), 1);  // centre 1.5 / 1.5 = program 1
    EXPECT_EQ(half.FromScreen(2), 1);
    EXPECT_EQ(half.FromScreen(-1), -1);
    EXPECT_EQ(half.FromScreen(2880), 1920);
    // Frame pixels (drawn at 2) to the screen pixels showing them.
    EXPECT_EQ(half.FrameToScreen({0, 0, 4, 4}), (Rect{0, 0, 3, 3}));
    EXPECT_EQ(half.FrameToScreen({3, 5, 4, 6}), (Rect{2, 3, 3, 5}));

    // Out-of-range factors are held to 1..drawing.
    EXPECT_DOUBLE_EQ(ScreenScale(2, 3.0).factor(), 2.0);
    EXPECT_DOUBLE_EQ(ScreenScale(2, 0.5).factor(), 1.0);
    EXPECT_EQ(ScreenScale(9, 9.0).drawing(), kMaxDeviceScale);
}

TEST(ScreenScale, ReductionAveragesTheCoveredAreaWithoutLosingStrokes) {
    // A frame drawn at 2 for 6 x 2 program pixels: one-device-pixel black
    // columns every third pixel on white.
    Surface frame = Surface::AtScale(6, 2, 2, 0xFFFFFF);
    for (int32_t y = 0; y < frame.height(); ++y)
        for (int32_t x = 0; x < frame.width(); x += 3) frame.set_pixel(x, y, 0);
    const ScreenScale scale(2, 1.5);
    Surface screen(scale.ToScreen(6), scale.ToScreen(2), Rgb(1, 2, 3));
    ASSERT_EQ(screen.width(), 9);
    ReduceFrame(frame, scale, screen, screen.bounds());
    // Screen pixel i covers frame pixels [4i/3, 4(i+1)/3): each stroke
    // lands with all of its weight, a third of a screen pixel's area...
    int64_t ink = 0;
    for (int32_t x = 0; x < 9; ++x) ink += 255 - RedOf(screen.pixel(x, 0));
    EXPECT_NEAR(static_cast<double>(ink), 4 * 255 * 3.0 / 4.0, 4.0);
    // ...pixel 0 holds all of column 0's stroke (3/4 of it covered by
    // white), and pixel 2 holds column 3's from [8/3, 4).
    EXPECT_EQ(RedOf(screen.pixel(0, 0)), 64);
    EXPECT_EQ(screen.pixel(1, 0), Rgb(255, 255, 255));
    EXPECT_EQ(RedOf(screen.pixel(2, 0)), 64);
    // Every row is the same: the strokes run the whole height.
    for (int32_t y = 1; y < 3; ++y)
        for (int32_t x = 0; x < 9; ++x) EXPECT_EQ(screen.pixel(x, y), screen.pixel(x, 0));

    // Only the given area is written; a flat frame stays flat.
    Surface flat = Surface::AtScale(6, 2, 2, Rgb(10, 200, 30));
    Surface part(9, 3, Rgb(1, 2, 3));
    ReduceFrame(flat, scale, part, {2, 1, 4, 2});
    EXPECT_EQ(part.pixel(2, 1), Rgb(10, 200, 30));
    EXPECT_EQ(part.pixel(3, 1), Rgb(10, 200, 30));
    EXPECT_EQ(part.pixel(4, 1), Rgb(1, 2, 3));
    EXPECT_EQ(part.pixel(2, 0), Rgb(1, 2, 3));
    // Screen pixels past the frame (a window larger than its last frame)
    // are left alone, as are areas outside the screen.
    Surface wide(12, 3, Rgb(1, 2, 3));
    ReduceFrame(flat, scale, wide, {0, 0, 50, 50});
    EXPECT_EQ(wide.pixel(8, 2), Rgb(10, 200, 30));
    EXPECT_EQ(wide.pixel(10, 2), Rgb(1, 2, 3));

    // With a shape, what it cuts away lends no colour: a red window whose
    // cut-away left column is drawn in the skin's magenta keeps a red edge.
    Surface skin = Surface::AtScale(6, 2, 2, Rgb(200, 0, 0));
    for (int32_t y = 0; y < skin.height(); ++y) {
        skin.set_pixel(0, y, Rgb(255, 0, 255));
        skin.set_pixel(1, y, Rgb(255, 0, 255));
    }
    const Region shape = Region::FromRect({1, 0, 6, 2});
    Surface cut(9, 3, Rgb(1, 2, 3));
    ReduceFrame(skin, scale, cut, cut.bounds(), &shape);
    // Screen pixel 1 covers frame [4/3, 8/3): magenta then red.
    EXPECT_EQ(cut.pixel(1, 1), Rgb(200, 0, 0));
    EXPECT_EQ(cut.pixel(0, 1), Rgb(1, 2, 3));  // wholly cut away: untouched
    ReduceFrame(skin, scale, cut, cut.bounds());
    EXPECT_NE(cut.pixel(1, 1), Rgb(200, 0, 0));
}

TEST(ScreenScale, CursorsGrowSmoothlyWithTheirHotSpot) {
    // 2 x 2: white, black / transparent, red.
    Surface px(2, 2, 0xFFFFFF);
    px.set_pixel(1, 0, 0);
    px.set_pixel(1, 1, Rgb(255, 0, 0));
    Picture icon(std::move(px), PictureKind::kIcon);
    icon.set_mask({1, 1, 0, 1});

    const CursorPixels one = ScaleCursor(icon, {1, 1}, 1.0);
    ASSERT_EQ(one.width, 2);
    EXPECT_EQ(one.hotspot, (Point{1, 1}));
    EXPECT_EQ(one.argb[0], 0xFFFFFFFFu);
    EXPECT_EQ(one.argb[1], 0xFF000000u);
    EXPECT_EQ(one.argb[2], 0u);
    EXPECT_EQ(one.argb[3], 0xFFFF0000u);

    const CursorPixels two = ScaleCursor(icon, {1, 1}, 2.0);
    ASSERT_EQ(two.width, 4);
    ASSERT_EQ(two.argb.size(), 16u);
    EXPECT_EQ(two.hotspot, (Point{3, 3}));
    const auto at = [&](int32_t x, int32_t y) { return two.argb[static_cast<size_t>(y) * 4 + x]; };
    EXPECT_EQ(at(0, 0), 0xFFFFFFFFu);  // corners keep their pixel
    EXPECT_EQ(at(3, 3), 0xFFFF0000u);
    EXPECT_EQ(at(0, 3), 0u);
    // Between white and black a grey; beside the transparent pixel a
    // partly transparent edge that takes no colour from it.
    EXPECT_GT(at(1, 0) & 0xFF, 0u);
    EXPECT_LT(at(1, 0) & 0xFF, 255u);
    const uint32_t edge = at(1, 3);
    EXPECT_GT(edge >> 24, 0u);
    EXPECT_LT(edge >> 24, 255u);
    EXPECT_EQ(edge & 0xFFFFFF, 0xFF0000u);

    const CursorPixels half = ScaleCursor(icon, {0, 0}, 1.5);
    EXPECT_EQ(half.width, 3);
    EXPECT_EQ(half.hotspot, (Point{0, 0}));
    EXPECT_TRUE(ScaleCursor(Picture(), {0, 0}, 2.0).argb.empty());
}

}  // namespace
}  // namespace platform::sdl
