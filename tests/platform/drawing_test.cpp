// SPDX-License-Identifier: GPL-3.0-or-later
// Colours, surfaces and the drawing context's pixel rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/color.h"
#include "platform/dc.h"
#include "platform/surface.h"

namespace platform {
namespace {

TEST(Colors, SystemValuesTranslateAndOthersLoseTheirHighByte) {
    EXPECT_EQ(TranslateColor(kSystemColorFlag | COLOR_BTNFACE), Rgb(192, 192, 192));
    EXPECT_EQ(TranslateColor(kSystemColorFlag | COLOR_3DLIGHT), Rgb(223, 223, 223));
    EXPECT_EQ(TranslateColor(kSystemColorFlag | COLOR_HIGHLIGHT), Rgb(0, 0, 128));
    EXPECT_EQ(TranslateColor(kSystemColorFlag | COLOR_INFOBK), Rgb(255, 255, 225));
    EXPECT_EQ(TranslateColor(kSystemColorFlag | 31), 0u);
    EXPECT_EQ(TranslateColor(kSystemColorFlag | 0x7FFFFFFF), 0u);
    EXPECT_EQ(TranslateColor(0x01123456), 0x123456u);
    EXPECT_EQ(GetSysColor(-1), 0u);
    EXPECT_EQ(GetSysColor(kSysColorCount), 0u);
}

TEST(Surfaces, PngRoundTripWorksWithoutAnyVideoInit) {
    Surface s(5, 3, Rgb(10, 20, 30));
    s.set_pixel(4, 2, Rgb(255, 0, 1));
    s.set_pixel(0, 0, Rgb(0, 254, 0));
    const std::string path =
        (std::filesystem::temp_directory_path() / "kovelin_drawing_roundtrip.png").string();
    ASSERT_TRUE(s.WritePng(path).ok());
    Result<Surface> back = Surface::ReadPng(path);
    std::remove(path.c_str());
    ASSERT_TRUE(back.ok()) << back.error().message;
    ASSERT_EQ(back->bounds(), s.bounds());
    for (int32_t y = 0; y < 3; ++y) {
        for (int32_t x = 0; x < 5; ++x) EXPECT_EQ(back->pixel(x, y), s.pixel(x, y));
    }
    EXPECT_FALSE(Surface().WritePng(path).ok());
    EXPECT_EQ(Surface::ReadPng(path + ".missing").error().code, ErrorCode::kFileNotFound);
}

TEST(Surfaces, ResizeKeepsOverlapAndClampsHugeOrNegativeSizes) {
    Surface s(3, 3, Rgb(1, 1, 1));
    s.set_pixel(2, 2, Rgb(9, 9, 9));
    s.resize(4, 5, Rgb(7, 7, 7));
    EXPECT_EQ(s.pixel(2, 2), Rgb(9, 9, 9));
    EXPECT_EQ(s.pixel(3, 0), Rgb(7, 7, 7));
    EXPECT_EQ(s.pixel(0, 4), Rgb(7, 7, 7));
    EXPECT_EQ(s.pixel(-1, 0), 0u);
    s.set_pixel(100, 100, 0);  // ignored, not a crash
    EXPECT_TRUE(Surface(-3, 10).empty());
    EXPECT_EQ(Surface(1, 1 << 30).height(), kMaxSurfaceSide);
}

constexpr Color kWhite = Rgb(255, 255, 255);
constexpr Color kBlack = Rgb(0, 0, 0);
constexpr Color kRed = Rgb(255, 0, 0);
constexpr Color kBlue = Rgb(0, 0, 255);

// The set pixels of a surface as rows of '#' (colour c) and '.' (anything
// else), which makes shape expectations readable.
std::string Picture(const Surface& s, Color c) {
    std::string out;
    for (int32_t y = 0; y < s.height(); ++y) {
        for (int32_t x = 0; x < s.width(); ++x) out += s.pixel(x, y) == c ? '#' : '.';
        out += '\n';
    }
    return out;
}

std::vector<Point> PixelsOf(const Surface& s, Color c) {
    std::vector<Point> out;
    for (int32_t y = 0; y < s.height(); ++y) {
        for (int32_t x = 0; x < s.width(); ++x) {
            if (s.pixel(x, y) == c) out.push_back({x, y});
        }
    }
    return out;
}

std::vector<Point> LinePixels(Point from, Point to, int32_t size = 12) {
    Surface s(size, size, kWhite);
    DC dc(s);
    dc.MoveTo(from.x, from.y);
    dc.LineTo(to.x, to.y);
    EXPECT_EQ(dc.current_position(), to);
    return PixelsOf(s, kBlack);
}

TEST(Lines, OnePixelPenLeavesOutTheEndPoint) {
    EXPECT_EQ(LinePixels({1, 2}, {5, 2}), (std::vector<Point>{{1, 2}, {2, 2}, {3, 2}, {4, 2}}));
    EXPECT_EQ(LinePixels({5, 2}, {1, 2}), (std::vector<Point>{{2, 2}, {3, 2}, {4, 2}, {5, 2}}));
    EXPECT_EQ(LinePixels({3, 1}, {3, 4}), (std::vector<Point>{{3, 1}, {3, 2}, {3, 3}}));
    EXPECT_EQ(LinePixels({0, 0}, {4, 4}), (std::vector<Point>{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
    EXPECT_EQ(LinePixels({4, 0}, {0, 4}), (std::vector<Point>{{4, 0}, {3, 1}, {2, 2}, {1, 3}}));
    EXPECT_TRUE(LinePixels({3, 3}, {3, 3}).empty());
}

TEST(Lines, SlopedLinesStepOncePerMajorPixelAndStayConnected) {
    for (const auto& [from, to] : std::vector<std::pair<Point, Point>>{
             {{0, 0}, {2, 6}}, {{1, 9}, {10, 2}}, {{9, 1}, {0, 4}}, {{2, 10}, {5, 0}}}) {
        const std::vector<Point> px = LinePixels(from, to);
        const int32_t steps = std::max(std::abs(to.x - from.x), std::abs(to.y - from.y));
        ASSERT_EQ(static_cast<int32_t>(px.size()), steps);
        EXPECT_NE(std::find(px.begin(), px.end(), from), px.end());
        EXPECT_EQ(std::find(px.begin(), px.end(), to), px.end());
        for (const Point& p : px) {
            // Every pixel lies within half a pixel of the ideal line.
            const double cross = static_cast<double>(to.x - from.x) * (p.y - from.y) -
                                 static_cast<double>(to.y - from.y) * (p.x - from.x);
            const double major = std::max(std::abs(to.x - from.x), std::abs(to.y - from.y));
            EXPECT_LE(std::abs(cross) / major, 0.5 + 1e-9);
        }
    }
    // Exact halves stay on the start point's side.
    EXPECT_EQ(LinePixels({0, 0}, {4, 2}), (std::vector<Point>{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
}

TEST(Lines, HugeCoordinatesDrawTheVisiblePartQuickly) {
    Surface s(8, 4, kWhite);
    DC dc(s);
    dc.MoveTo(-2000000000, 1);
    dc.LineTo(2000000000, 1);
    EXPECT_EQ(Picture(s, kBlack), "........\n########\n........\n........\n");
    dc.MoveTo(3, INT32_MIN);
    dc.LineTo(3, INT32_MAX);
    EXPECT_EQ(s.pixel(3, 3), kBlack);
    // A diagonal across the whole coordinate range still lands exactly.
    s.fill(kWhite);
    dc.MoveTo(INT32_MIN, INT32_MIN);
    dc.LineTo(INT32_MAX, INT32_MAX);
    EXPECT_EQ(Picture(s, kBlack), "#.......\n.#......\n..#.....\n...#....\n");
}

TEST(Lines, WidePenAndNullPen) {
    Surface s(8, 6, kWhite);
    DC dc(s);
    dc.SetPen({PenStyle::kSolid, 2, kRed});
    dc.MoveTo(1, 2);
    dc.LineTo(5, 2);
    EXPECT_EQ(Picture(s, kRed), "........\n######..\n######..\n........\n........\n........\n");
    dc.SetPen({PenStyle::kNull, 1, kBlue});
    dc.LineTo(5, 5);
    EXPECT_TRUE(PixelsOf(s, kBlue).empty());
    EXPECT_EQ(dc.current_position(), (Point{5, 5}));
}

TEST(Rects, FillAndFrameExcludeRightAndBottom) {
    Surface s(7, 6, kWhite);
    DC dc(s);
    dc.FillRect({1, 1, 4, 3}, kSystemColorFlag | COLOR_HIGHLIGHT);
    EXPECT_EQ(Picture(s, Rgb(0, 0, 128)), ".......\n.###...\n.###...\n.......\n.......\n.......\n");
    s.fill(kWhite);
    dc.FrameRect({1, 1, 6, 5}, kBlack);
    EXPECT_EQ(Picture(s, kBlack), ".......\n.#####.\n.#...#.\n.#...#.\n.#####.\n.......\n");
    s.fill(kWhite);
    dc.FrameRect({2, 2, 2, 5}, kBlack);  // empty: nothing
    dc.FillRect({5, 5, 1, 1}, kBlack);   // reversed: nothing
    EXPECT_TRUE(PixelsOf(s, kBlack).empty());
    dc.InvertRect({0, 0, 2, 1});
    EXPECT_EQ(s.pixel(1, 0), kBlack);
    EXPECT_EQ(s.pixel(2, 0), kWhite);
}

TEST(Rects, RectangleOutlinesWithPenAndFillsWithBrush) {
    Surface s(6, 5, kWhite);
    DC dc(s);
    dc.SetPen({PenStyle::kSolid, 1, kBlack});
    dc.SetBrush({false, kRed});
    dc.Rectangle({0, 0, 5, 4});
    EXPECT_EQ(Picture(s, kBlack), "#####.\n#...#.\n#...#.\n#####.\n......\n");
    EXPECT_EQ(Picture(s, kRed), "......\n.###..\n.###..\n......\n......\n");
    // A hollow brush leaves the inside alone.
    s.fill(kWhite);
    dc.SetBrush({true, kRed});
    dc.Rectangle({0, 0, 5, 4});
    EXPECT_TRUE(PixelsOf(s, kRed).empty());
}

TEST(Shapes, EllipseWithTwoPixelPenStaysInsideItsBox) {
    Surface s(24, 18, kWhite);
    DC dc(s);
    dc.SetPen({PenStyle::kSolid, 2, kBlack});
    dc.SetBrush({false, kRed});
    const Rect box{2, 2, 22, 16};
    dc.Ellipse(box);
    for (int32_t y = 0; y < s.height(); ++y) {
        for (int32_t x = 0; x < s.width(); ++x) {
            const Color c = s.pixel(x, y);
            if (!box.contains(Point{x, y})) {
                ASSERT_EQ(c, kWhite) << x << "," << y;
            }
            // Mirror symmetry in both axes.
            ASSERT_EQ(c, s.pixel(box.left + box.right - 1 - x, y)) << x << "," << y;
            ASSERT_EQ(c, s.pixel(x, box.top + box.bottom - 1 - y)) << x << "," << y;
        }
    }
    // Two pixels of pen at each side's middle, then the fill.
    EXPECT_EQ(s.pixel(2, 8), kBlack);
    EXPECT_EQ(s.pixel(3, 8), kBlack);
    EXPECT_EQ(s.pixel(4, 8), kRed);
    EXPECT_EQ(s.pixel(12, 2), kBlack);
    EXPECT_EQ(s.pixel(12, 3), kBlack);
    EXPECT_EQ(s.pixel(12, 4), kRed);
    EXPECT_EQ(s.pixel(21, 9), kBlack);
    EXPECT_EQ(s.pixel(2, 2), kWhite);
    EXPECT_EQ(s.pixel(12, 9), kRed);
    // No fill pixel touches the outside: the ring is closed.
    for (const Point& p : PixelsOf(s, kRed)) {
        for (const Point d : {Point{1, 0}, Point{-1, 0}, Point{0, 1}, Point{0, -1}}) {
            EXPECT_NE(s.pixel(p.x + d.x, p.y + d.y), kWhite) << p.x << "," << p.y;
        }
    }
}

TEST(Shapes, PolygonFillsByPixelCentresAndOutlinesWithPen) {
    Surface s(6, 6, kWhite);
    DC dc(s);
    dc.SetPen({PenStyle::kNull, 1, kBlack});
    dc.SetBrush({false, kRed});
    dc.Polygon({{1, 1}, {5, 1}, {5, 4}, {1, 4}});
    EXPECT_EQ(Picture(s, kRed), "......\n.####.\n.####.\n.####.\n......\n......\n");
    s.fill(kWhite);
    dc.SetPen({PenStyle::kSolid, 1, kBlack});
    dc.Polygon({{0, 0}, {4, 0}, {0, 4}});
    EXPECT_EQ(Picture(s, kBlack), "#####.\n#..#..\n#.#...\n##....\n#.....\n......\n");
    EXPECT_EQ(Picture(s, kRed), "......\n.#....\n......\n......\n......\n......\n");
}

TEST(Shapes, FocusRectInvertsEveryOtherBorderPixelAndUndoesItself) {
    Surface s(7, 5, kWhite);
    DC dc(s);
    dc.DrawFocusRect({1, 0, 6, 4});
    EXPECT_EQ(Picture(s, kBlack), ".#.#.#.\n.......\n.#...#.\n..#.#..\n.......\n");
    dc.DrawFocusRect({1, 0, 6, 4});
    EXPECT_TRUE(PixelsOf(s, kBlack).empty());
    // A one-pixel-high rectangle flips each pixel once, not twice.
    dc.DrawFocusRect({0, 4, 4, 5});
    EXPECT_EQ(Picture(s, kBlack), ".......\n.......\n.......\n.......\n#.#....\n");
}

TEST(Clipping, OriginAndClipLimitWhatIsWrittenAndRead) {
    Surface s(10, 10, kWhite);
    DC dc(s, {2, 3}, Region::FromRect({2, 3, 8, 7}));
    EXPECT_EQ(dc.ClipBox(), (Rect{0, 0, 6, 4}));
    dc.FillRect({-5, -5, 50, 50}, kBlack);
    EXPECT_EQ(PixelsOf(s, kBlack).size(), 24u);
    EXPECT_EQ(s.pixel(2, 3), kBlack);
    EXPECT_EQ(s.pixel(1, 3), kWhite);
    EXPECT_EQ(dc.GetPixel(0, 0), kBlack);
    EXPECT_EQ(dc.GetPixel(-1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(dc.GetPixel(6, 0), 0xFFFFFFFFu);
    dc.IntersectClip({1, 1, 3, 3});
    EXPECT_EQ(dc.ClipBox(), (Rect{1, 1, 3, 3}));
    // A new clip can never reach outside the one the context began with.
    dc.SetClip(Region::FromRect({-10, -10, 100, 100}));
    EXPECT_EQ(dc.ClipBox(), (Rect{0, 0, 6, 4}));
    dc.SetClip(Region::Ellipse({0, 0, 6, 4}));
    dc.SetPixel(0, 0, kRed);
    EXPECT_NE(s.pixel(2, 3), kRed);
    dc.FillRegion(Region::FromRect({0, 0, 100, 100}), kRed);
    EXPECT_EQ(s.pixel(2, 3), kBlack);
    EXPECT_EQ(s.pixel(5, 5), kRed);
    EXPECT_EQ(dc.GetNearestColor(kSystemColorFlag | COLOR_BTNSHADOW), Rgb(128, 128, 128));
}

TEST(Blits, EachRasterOpCombinesSourceAndDestination) {
    constexpr Color kSrc = 0x00F0AA0F;
    constexpr Color kDst = 0x00CC33C3;
    const std::vector<std::pair<uint32_t, Color>> cases = {
        {SRCCOPY, kSrc},
        {SRCPAINT, kSrc | kDst},
        {SRCAND, kSrc & kDst},
        {SRCINVERT, kSrc ^ kDst},
        {SRCERASE, kSrc & ~kDst & 0xFFFFFF},
        {NOTSRCCOPY, ~kSrc & 0xFFFFFF},
        {NOTSRCERASE, ~(kSrc | kDst) & 0xFFFFFF},
        {MERGEPAINT, (~kSrc | kDst) & 0xFFFFFF},
        {DSTINVERT, ~kDst & 0xFFFFFF},
        {BLACKNESS, 0},
        {WHITENESS, 0xFFFFFF},
    };
    Surface src_surface(2, 2, kSrc);
    DC src(src_surface);
    for (const auto& [rop, want] : cases) {
        Surface dst_surface(3, 3, kDst);
        DC dst(dst_surface);
        EXPECT_TRUE(dst.BitBlt(1, 1, 2, 2, src, 0, 0, rop));
        EXPECT_EQ(dst_surface.pixel(2, 2), want) << std::hex << rop;
        EXPECT_EQ(dst_surface.pixel(0, 0), kDst) << std::hex << rop;
    }
    Surface dst_surface(3, 3, kDst);
    DC dst(dst_surface);
    EXPECT_FALSE(dst.BitBlt(0, 0, 1, 1, src, 0, 0, 0x12345678));
    EXPECT_EQ(dst_surface.pixel(0, 0), kDst);
}

TEST(Blits, ClippingAndSourceOutsideItsSurface) {
    Surface a(4, 4, kRed);
    DC src(a);
    Surface b(6, 6, kWhite);
    DC dst(b, {0, 0}, Region::FromRect({0, 0, 3, 6}));
    EXPECT_TRUE(dst.BitBlt(1, 1, 4, 4, src, 2, 0));
    // Columns 1-2 come from source columns 2-3; the clip stops at column 3,
    // and source columns past 3 do not exist, so nothing else changes.
    EXPECT_EQ(Picture(b, kRed), "......\n.##...\n.##...\n.##...\n.##...\n......\n");
}

TEST(Blits, OverlappingBlitOntoItselfReadsOriginalPixels) {
    Surface s(8, 1);
    for (int32_t x = 0; x < 8; ++x) s.set_pixel(x, 0, Rgb(static_cast<uint8_t>(x), 0, 0));
    DC dc(s);
    ASSERT_TRUE(dc.BitBlt(2, 0, 6, 1, dc, 0, 0));
    for (int32_t x = 2; x < 8; ++x) EXPECT_EQ(RedOf(s.pixel(x, 0)), x - 2);
    ASSERT_TRUE(dc.BitBlt(0, 0, 6, 1, dc, 2, 0));
    for (int32_t x = 0; x < 6; ++x) EXPECT_EQ(RedOf(s.pixel(x, 0)), x);
}

TEST(Blits, StretchRepeatsShrinksAndMirrors) {
    Surface src_surface(3, 2);
    const Color row0[3] = {kRed, Rgb(0, 255, 0), kBlue};
    for (int32_t x = 0; x < 3; ++x) {
        src_surface.set_pixel(x, 0, row0[x]);
        src_surface.set_pixel(x, 1, kBlack);
    }
    DC src(src_surface);
    auto row_of = [](const Surface& s, int32_t y) {
        std::vector<Color> out;
        for (int32_t x = 0; x < s.width(); ++x) out.push_back(s.pixel(x, y));
        return out;
    };
    Surface wide(6, 2);
    DC dw(wide);
    ASSERT_TRUE(dw.StretchBlt(0, 0, 6, 2, src, 0, 0, 3, 2));
    EXPECT_EQ(row_of(wide, 0), (std::vector<Color>{kRed, kRed, row0[1], row0[1], kBlue, kBlue}));
    Surface mirrored(3, 2);
    DC dm(mirrored);
    ASSERT_TRUE(dm.StretchBlt(3, 2, -3, -2, src, 0, 0, 3, 2));
    EXPECT_EQ(row_of(mirrored, 1), (std::vector<Color>{kBlue, row0[1], kRed}));
    EXPECT_EQ(row_of(mirrored, 0), (std::vector<Color>(3, kBlack)));
    // Mirroring through the source's sign gives the same picture.
    Surface mirrored2(3, 2);
    DC dm2(mirrored2);
    ASSERT_TRUE(dm2.StretchBlt(0, 0, 3, 2, src, 3, 2, -3, -2));
    EXPECT_EQ(row_of(mirrored2, 1), row_of(mirrored, 1));
    Surface narrow(1, 1);
    DC dn(narrow);
    EXPECT_FALSE(dn.StretchBlt(0, 0, 1, 1, src, 0, 0, 0, 2));
}

TEST(DibRows, OddWidthsRoundTripBottomUpWithPaddedRows) {
    for (const int32_t w : {1, 2, 3, 5}) {
        const int32_t h = 3;
        Surface s(w, h);
        for (int32_t y = 0; y < h; ++y) {
            for (int32_t x = 0; x < w; ++x) {
                s.set_pixel(x, y,
                            Rgb(static_cast<uint8_t>(10 * x + 1), static_cast<uint8_t>(y + 1),
                                static_cast<uint8_t>(200 + x)));
            }
        }
        DC dc(s);
        const std::vector<uint8_t> bits = dc.GetDIBits24({0, 0, w, h});
        const size_t stride = static_cast<size_t>(DC::DibRowBytes(w));
        ASSERT_EQ(stride % 4, 0u);
        ASSERT_GE(stride, static_cast<size_t>(w) * 3);
        ASSERT_EQ(bits.size(), stride * h) << w;
        // The first row in the buffer is the bottom row, blue first.
        EXPECT_EQ(bits[0], 200);
        EXPECT_EQ(bits[1], h);
        EXPECT_EQ(bits[2], 1);
        EXPECT_EQ(bits[stride + (w - 1) * 3 + 2], 10 * (w - 1) + 1);
        Surface copy(w, h, kWhite);
        DC dc2(copy);
        dc2.SetDIBits24({0, 0, w, h}, bits);
        for (int32_t y = 0; y < h; ++y) {
            for (int32_t x = 0; x < w; ++x) EXPECT_EQ(copy.pixel(x, y), s.pixel(x, y)) << w;
        }
    }
}

TEST(DibRows, ShortBufferWritesOnlyWholePixelsAndOffSurfaceReadsBlack) {
    Surface s(3, 2, kWhite);
    DC dc(s);
    const std::vector<uint8_t> bits = {1, 2, 3, 4, 5, 6, 7};  // two and a third pixels
    dc.SetDIBits24({0, 0, 3, 2}, bits);
    EXPECT_EQ(s.pixel(0, 1), Rgb(3, 2, 1));
    EXPECT_EQ(s.pixel(1, 1), Rgb(6, 5, 4));
    EXPECT_EQ(s.pixel(2, 1), kWhite);
    EXPECT_EQ(s.pixel(0, 0), kWhite);
    dc.SetDIBits24({0, 0, 3, 2}, {});
    const std::vector<uint8_t> read = dc.GetDIBits24({2, 0, 4, 1});
    ASSERT_EQ(read.size(), 8u);
    EXPECT_EQ(read[0], 255);
    EXPECT_EQ(read[3], 0);
    EXPECT_TRUE(dc.GetDIBits24({0, 0, 0, 5}).empty());
}

}  // namespace
}  // namespace platform
