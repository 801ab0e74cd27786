// Drawing at a device scale: every primitive drawn on a scale-2 surface
// must match the same drawing at scale 1 enlarged pixel for pixel (curves
// may differ along their edge only, being traced at device resolution).
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/dc.h"
#include "platform/device_scale.h"
#include "platform/picture.h"
#include "platform/region.h"
#include "platform/surface.h"

namespace platform {
namespace {

constexpr Color kWhite = 0xFFFFFF;
constexpr int32_t kW = 64;
constexpr int32_t kH = 48;

using Scene = std::function<void(DC&)>;

Surface Draw(int32_t scale, const Scene& scene, Point origin = {0, 0}) {
    Surface s = Surface::AtScale(kW, kH, scale, kWhite);
    DC dc(s, origin, Region::FromRect(s.program_bounds()));
    scene(dc);
    return s;
}

// Device pixels of `big` that differ from `small` enlarged by `scale`.
int64_t Mismatches(const Surface& small, const Surface& big, int32_t scale) {
    int64_t out = 0;
    for (int32_t y = 0; y < big.height(); ++y) {
        for (int32_t x = 0; x < big.width(); ++x) {
            if (big.pixel(x, y) != small.pixel(x / scale, y / scale)) ++out;
        }
    }
    return out;
}

void ExpectExactUpsample(const Scene& scene, Point origin = {0, 0}) {
    const Surface one = Draw(1, scene, origin);
    for (int32_t scale : {2, 3}) {
        const Surface big = Draw(scale, scene, origin);
        ASSERT_EQ(big.width(), kW * scale);
        EXPECT_EQ(Mismatches(one, big, scale), 0) << "scale " << scale;
    }
}

TEST(DeviceScale, SurfacesKnowTheirScaleAndProgramBounds) {
    const Surface s = Surface::AtScale(10, 7, 2, kWhite);
    EXPECT_EQ(s.width(), 20);
    EXPECT_EQ(s.height(), 14);
    EXPECT_EQ(s.program_bounds(), (Rect{0, 0, 10, 7}));
    EXPECT_EQ(Surface::AtScale(10, 7, 99).scale(), kMaxDeviceScale);
    EXPECT_EQ(Surface::AtScale(1 << 30, 1, 4).width(), kMaxSurfaceSide);
    DC dc(const_cast<Surface&>(s));
    EXPECT_EQ(dc.ClipBox(), (Rect{0, 0, 10, 7}));
    const Surface off = dc.CreateCompatibleSurface(5, 3, kWhite);
    EXPECT_EQ(off.scale(), 2);
    EXPECT_EQ(off.width(), 10);
}

TEST(DeviceScale, RectanglesLinesAndPolygonsEnlargeExactly) {
    ExpectExactUpsample([](DC& dc) {
        dc.FillRect({3, 4, 20, 11}, Rgb(200, 0, 0));
        dc.FrameRect({1, 1, 30, 20}, Rgb(0, 0, 200));
        dc.InvertRect({10, 2, 40, 8});
        dc.SetPixel(50, 40, Rgb(1, 2, 3));
        dc.SetPen({PenStyle::kSolid, 1, Rgb(0, 128, 0)});
        dc.MoveTo(2, 30);
        dc.LineTo(60, 45);
        dc.SetPen({PenStyle::kDot, 1, Rgb(9, 9, 9)});
        dc.MoveTo(5, 46);
        dc.LineTo(60, 46);
        dc.SetPen({PenStyle::kSolid, 3, Rgb(50, 50, 0)});
        dc.MoveTo(40, 10);
        dc.LineTo(55, 30);
        dc.SetBrush({false, Rgb(0, 200, 200)});
        dc.SetPen({PenStyle::kSolid, 2, Rgb(80, 0, 80)});
        dc.Rectangle({22, 22, 38, 34});
        dc.Polygon({{42, 34}, {62, 36}, {50, 47}});
        dc.DrawFocusRect({4, 24, 19, 37});
        dc.FillRegion(Region::FromRect({60, 0, 64, 4}), Rgb(7, 7, 7));
    });
}

TEST(DeviceScale, OriginAndClipsAreProgramPixels) {
    ExpectExactUpsample(
        [](DC& dc) {
            dc.IntersectClip({0, 0, 30, 30});
            dc.FillRect({-5, -5, 50, 50}, Rgb(10, 100, 10));
            dc.SetClip(Region::Combine(Region::FromRect({0, 0, 40, 40}),
                                       Region::FromRect({10, 10, 20, 20}), RegionOp::kDiff));
            dc.FillRect({5, 5, 25, 25}, Rgb(100, 10, 10));
            EXPECT_EQ(dc.GetPixel(2, 2), Rgb(10, 100, 10));
            EXPECT_EQ(dc.GetPixel(12, 12), 0xFFFFFFFFu);  // the hole in the clip
            EXPECT_EQ(dc.GetPixel(6, 6), Rgb(100, 10, 10));
            EXPECT_EQ(dc.GetPixel(100, 6), 0xFFFFFFFFu);
        },
        Point{7, 3});
}

TEST(DeviceScale, BlitsBetweenCompatibleSurfacesEnlargeExactly) {
    ExpectExactUpsample([](DC& dc) {
        Surface off = dc.CreateCompatibleSurface(16, 12, Rgb(0, 0, 90));
        DC odc(off);
        odc.FillRect({2, 2, 8, 6}, Rgb(250, 250, 0));
        odc.SetPixel(15, 11, Rgb(3, 3, 3));
        dc.BitBlt(5, 5, 16, 12, odc, 0, 0);
        dc.BitBlt(30, 5, 10, 10, odc, 2, 1, SRCINVERT);
        dc.StretchBlt(5, 20, 32, 24, odc, 0, 0, 16, 12);
        dc.StretchBlt(45, 30, -8, 6, odc, 0, 0, 8, 6);
        // A blit of a context onto itself reads the pixels before writing.
        dc.BitBlt(40, 20, 10, 10, dc, 36, 16);
    });
}

TEST(DeviceScale, CurvesFollowTheEnlargedShapeAlongTheirEdges) {
    const Scene scene = [](DC& dc) {
        dc.SetBrush({false, Rgb(0, 150, 0)});
        dc.SetPen({PenStyle::kSolid, 2, Rgb(0, 0, 0)});
        dc.Ellipse({4, 4, 40, 30});
        dc.RoundRect({30, 20, 62, 46}, 12, 10);
    };
    const Surface one = Draw(1, scene);
    const Surface two = Draw(2, scene);
    // Only edge pixels may differ: a small share of the shapes' area.
    EXPECT_LT(Mismatches(one, two, 2), int64_t{kW} * kH * 4 / 20);
    EXPECT_EQ(two.pixel(44, 34), Rgb(0, 150, 0));  // inside the ellipse
    EXPECT_EQ(two.pixel(0, 0), kWhite);
}

TEST(DeviceScale, DeviceIndependentRowsRoundTripWithoutTouchingDetail) {
    Surface s = Surface::AtScale(8, 8, 2, kWhite);
    // Device detail that no program pixel can hold: one device pixel.
    s.set_pixel(3, 3, Rgb(1, 2, 3));
    DC dc(s);
    std::vector<uint8_t> bits = dc.GetDIBits24({0, 0, 8, 8});
    ASSERT_EQ(bits.size(), static_cast<size_t>(DC::DibRowBytes(8) * 8));
    // Row 1 from the top holds the block with the detail; its middle
    // sample is (3, 3).
    const size_t at = static_cast<size_t>(DC::DibRowBytes(8)) * 6 + 3;
    EXPECT_EQ(bits[at + 2], 1);
    dc.SetDIBits24({0, 0, 8, 8}, bits);
    EXPECT_EQ(s.pixel(2, 2), kWhite);  // untouched: it read back unchanged
    // A changed pixel fills its whole block.
    bits[0] = bits[1] = bits[2] = 0;  // bottom-left program pixel
    dc.SetDIBits24({0, 0, 8, 8}, bits);
    for (int32_t y : {14, 15})
        for (int32_t x : {0, 1}) EXPECT_EQ(s.pixel(x, y), 0u);
    EXPECT_EQ(s.pixel(2, 14), kWhite);
}

TEST(DeviceScale, DeviceRowsReadAndWriteEveryDevicePixel) {
    Surface s = Surface::AtScale(5, 3, 2, kWhite);
    s.set_pixel(3, 3, Rgb(1, 2, 3));
    // Logical (0, 0) at program (1, 0); program pixel (2, 1) is clipped.
    const Region clip = Region::Combine(Region::FromRect({0, 0, 5, 3}),
                                        Region::FromRect({2, 1, 3, 2}), RegionOp::kDiff);
    DC dc(s, Point{1, 0}, clip);
    // Three by two program pixels: six by four device pixels, bottom-up.
    std::vector<uint8_t> bits = dc.GetDeviceBits24({0, 0, 3, 2});
    const size_t stride = static_cast<size_t>(DC::DibRowBytes(6));
    ASSERT_EQ(bits.size(), stride * 4);
    EXPECT_EQ(bits[0 * stride + 1 * 3 + 2], 1);  // device (3, 3): column 1, bottom row
    EXPECT_EQ(bits[1 * stride + 1 * 3 + 2], 255);
    // Past the surface's right edge reads black.
    const std::vector<uint8_t> edge = dc.GetDeviceBits24({3, 0, 5, 1});
    EXPECT_EQ(edge[3], 255);
    EXPECT_EQ(edge[2 * 3], 0);

    // One device pixel changes on its own; the clipped block stays.
    bits[3 * stride + 0] = 0;  // device (2, 0), top row
    for (size_t row = 0; row < 4; ++row)
        for (size_t k = 0; k < 3; ++k) bits[row * stride + 3 * 3 + k] = 7;  // device column 5
    dc.SetDeviceBits24({0, 0, 3, 2}, bits);
    EXPECT_EQ(s.pixel(2, 0), Rgb(255, 255, 0));
    EXPECT_EQ(s.pixel(3, 0), kWhite);
    EXPECT_EQ(s.pixel(3, 3), Rgb(1, 2, 3));
    EXPECT_EQ(s.pixel(5, 0), Rgb(7, 7, 7));
    EXPECT_EQ(s.pixel(5, 2), kWhite);  // program (2, 1) is outside the clip
    // A short buffer writes only the rows it holds.
    std::vector<uint8_t> one_row(stride, 0);
    dc.SetDeviceBits24({0, 0, 3, 2}, one_row);
    EXPECT_EQ(s.pixel(2, 3), 0u);
    EXPECT_EQ(s.pixel(2, 2), kWhite);
    // Rows larger than any surface are refused.
    EXPECT_TRUE(dc.GetDeviceBits24({0, 0, kMaxSurfaceSide, 1}).empty());

    // At scale 1 they are the program-pixel rows.
    Surface flat(3, 2, Rgb(9, 8, 7));
    flat.set_pixel(1, 0, kWhite);
    DC flat_dc(flat);
    EXPECT_EQ(flat_dc.GetDeviceBits24({0, 0, 3, 2}), flat_dc.GetDIBits24({0, 0, 3, 2}));
}

TEST(DeviceScale, PicturesAreScaledSmoothlyAndMasksKept) {
    Surface pixels(4, 1, 0);
    pixels.set_pixel(2, 0, kWhite);
    pixels.set_pixel(3, 0, kWhite);
    Picture pic(std::move(pixels), PictureKind::kBitmap);
    Surface s = Surface::AtScale(6, 2, 2, Rgb(255, 0, 0));
    DC dc(s);
    dc.DrawPicture(pic, 1, 0);
    EXPECT_EQ(s.pixel(2, 0), 0u);
    EXPECT_EQ(s.pixel(9, 1), kWhite);
    // Between black and white a smooth ramp, not a hard step.
    const Color mid = s.pixel(5, 0);
    EXPECT_GT(RedOf(mid), 0);
    EXPECT_LT(RedOf(mid), 255);
    EXPECT_EQ(s.pixel(0, 0), Rgb(255, 0, 0));
    EXPECT_EQ(s.pixel(10, 0), Rgb(255, 0, 0));

    pic.set_mask({1, 0, 1, 1});
    Surface m = Surface::AtScale(4, 1, 2, Rgb(255, 0, 0));
    DC mdc(m);
    mdc.DrawPicture(pic, 0, 0);
    EXPECT_EQ(m.pixel(2, 0), Rgb(255, 0, 0));
    EXPECT_EQ(m.pixel(3, 1), Rgb(255, 0, 0));
    EXPECT_EQ(m.pixel(0, 0), 0u);
}

// A picture drawn at twice the resolution is a picture of half its pixels:
// at scale 2 every device pixel is shown as drawn (sharp, masked or not),
// at scale 1 each program pixel is its 2 x 2 block's mean, and at scale 4
// it is enlarged smoothly.
TEST(DeviceScale, PicturesDrawnAtTwiceTheResolutionKeepTheirDetail) {
    Surface pixels = Surface::AtScale(3, 2, 2, kWhite);
    for (int32_t x = 0; x < pixels.width(); x += 2) pixels.set_pixel(x, 1, 0);
    Picture pic(std::move(pixels), PictureKind::kBitmap);
    EXPECT_EQ(pic.width_px(), 3);
    EXPECT_EQ(pic.height_px(), 2);
    for (const bool masked : {false, true}) {
        SCOPED_TRACE(masked ? "masked" : "plain");
        if (masked) {
            std::vector<uint8_t> mask(24, 1);
            mask[0] = 0;
            pic.set_mask(std::move(mask));
        }
        Surface at2 = Surface::AtScale(4, 2, 2, Rgb(255, 0, 0));
        DC dc2(at2);
        dc2.DrawPicture(pic, 1, 0);
        EXPECT_EQ(at2.pixel(2, 0), masked ? Rgb(255, 0, 0) : kWhite);
        EXPECT_EQ(at2.pixel(3, 0), kWhite);
        EXPECT_EQ(at2.pixel(2, 1), 0u);
        EXPECT_EQ(at2.pixel(3, 1), kWhite);
        EXPECT_EQ(at2.pixel(1, 1), Rgb(255, 0, 0));
    }
    pic.set_mask({});
    Surface at1(3, 2, Rgb(255, 0, 0));
    DC dc1(at1);
    dc1.DrawPicture(pic, 0, 0);
    EXPECT_EQ(RedOf(at1.pixel(1, 0)), 191);  // three white, one black
    EXPECT_EQ(at1.pixel(1, 1), kWhite);
    Surface at4 = Surface::AtScale(3, 2, 4, Rgb(255, 0, 0));
    DC dc4(at4);
    dc4.DrawPicture(pic, 0, 0);
    EXPECT_EQ(at4.pixel(0, 0), kWhite);
    const Color between = at4.pixel(4, 2);
    EXPECT_GT(RedOf(between), 0);
    EXPECT_LT(RedOf(between), 255);
}

TEST(DeviceScale, RegionsScaleToBlocks) {
    const Region r = Region::Combine(Region::FromRect({0, 0, 4, 4}), Region::FromRect({1, 1, 2, 2}),
                                     RegionOp::kDiff);
    const Region s = r.Scaled(3);
    EXPECT_EQ(s.bounds(), (Rect{0, 0, 12, 12}));
    for (int32_t y = 0; y < 12; ++y)
        for (int32_t x = 0; x < 12; ++x) EXPECT_EQ(s.contains(x, y), r.contains(x / 3, y / 3));
    EXPECT_EQ(Region::FromRect({1, 2, 3, 4}).Scaled(2), Region::FromRect({2, 4, 6, 8}));
    EXPECT_EQ(r.Scaled(1), r);
}

}  // namespace
}  // namespace platform

namespace platform {
namespace {

TEST(DeviceScaleChoice, ForcedThenXftThenGdkThenQtRoundedUp) {
    ScaleSources s;
    EXPECT_EQ(ChooseDeviceScale(s), 1);
    s.qt_scale_factor = "1.25";
    EXPECT_EQ(ChooseDeviceScale(s), 2);
    s.gdk_scale = "3";
    EXPECT_EQ(ChooseDeviceScale(s), 3);
    s.xft_dpi = "192";
    EXPECT_EQ(ChooseDeviceScale(s), 2);
    s.xft_dpi = "96";
    EXPECT_EQ(ChooseDeviceScale(s), 1);
    s.forced = "2";
    EXPECT_EQ(ChooseDeviceScale(s), 2);
    // Nonsense is passed over, not taken as a scale.
    s.forced = "big";
    s.xft_dpi = "-5";
    EXPECT_EQ(ChooseDeviceScale(s), 3);
    s.gdk_scale = "nan";
    s.qt_scale_factor = "0";
    EXPECT_EQ(ChooseDeviceScale(s), 1);
    EXPECT_EQ(ParseScale("1.5"), 2);
    EXPECT_EQ(ParseScale("2 "), 2);
    EXPECT_EQ(ParseScale("1e9"), std::nullopt);
    EXPECT_EQ(ParseScale("2x"), std::nullopt);
    EXPECT_EQ(ParseScale("inf"), std::nullopt);
}

// Only plain decimal numbers in a sane range are scales; anything else is
// passed over with one line naming it, and the next source is asked.
TEST(DeviceScaleChoice, OnlyDecimalNumbersTheScreenHoldsAreTaken) {
    struct Case {
        std::optional<std::string> forced, xft_dpi;
        double max_factor;
        int32_t drawing;
        double factor;
        const char* ignored;  // the line about the first source, or ""
    };
    const Case cases[] = {
        {"2", {}, 4, 2, 2, ""},
        {" 1.5 ", {}, 4, 2, 1.5, ""},
        {".5", {}, 4, 1, 1, ""},
        {"0x2", {}, 4, 1, 1, "KOVELIN_SCALE 0x2 is not a scale from 0.5 to 4; ignored"},
        {"1e308", {}, 4, 1, 1, "KOVELIN_SCALE 1e308 is not a scale from 0.5 to 4; ignored"},
        {"12345678901234567890123456789012345678", {}, 4, 1, 1, "is not a scale"},
        {"+2", {}, 4, 1, 1, "is not a scale"},
        {"2e0", {}, 4, 1, 1, "is not a scale"},
        {"1.2.3", {}, 4, 1, 1, "is not a scale"},
        {"0.1", {}, 4, 1, 1, "is not a scale"},
        {"nan", {}, 4, 1, 1, "is not a scale"},
        // Beyond what the screen holds (2880 x 1800 holds 600 x 499 at 3.6),
        // and on to the next source.
        {"4", "144", 3.6, 2, 1.5,
         "KOVELIN_SCALE 4 is not a scale from 0.5 to 3.6 (what the screen holds); ignored"},
        {{},
         "1e308",
         3.6,
         1,
         1,
         "Xft.dpi 1e308 is not a resolution from 48 to 345.6 (what the screen holds); ignored"},
        {{}, "0x90", 4, 1, 1, "Xft.dpi 0x90 is not a resolution from 48 to 384; ignored"},
    };
    for (const Case& c : cases) {
        ScaleSources s;
        s.forced = c.forced;
        s.xft_dpi = c.xft_dpi;
        s.max_factor = c.max_factor;
        const ScaleChoice choice = ChooseScale(s);
        const std::string name = c.forced ? *c.forced : *c.xft_dpi;
        EXPECT_EQ(choice.drawing, c.drawing) << name;
        EXPECT_DOUBLE_EQ(choice.factor, c.factor) << name;
        if (*c.ignored == '\0') {
            EXPECT_TRUE(choice.ignored.empty()) << name;
        } else {
            ASSERT_EQ(choice.ignored.size(), 1u) << name;
            EXPECT_NE(choice.ignored[0].find(c.ignored), std::string::npos) << choice.ignored[0];
        }
    }
}

TEST(DeviceScaleChoice, TheTrueFactorBesideTheWholeScale) {
    ScaleSources s;
    s.xft_dpi = "144";
    ScaleChoice c = ChooseScale(s);
    EXPECT_EQ(c.drawing, 2);
    EXPECT_DOUBLE_EQ(c.factor, 1.5);
    EXPECT_EQ(ChooseDeviceScale(s), 2);
    s.forced = "2.25";
    c = ChooseScale(s);
    EXPECT_EQ(c.drawing, 3);
    EXPECT_DOUBLE_EQ(c.factor, 2.25);
    // Whole factors, and factors a hair above one, are whole.
    s.forced = "2";
    EXPECT_DOUBLE_EQ(ChooseScale(s).factor, 2.0);
    s.forced.reset();
    s.xft_dpi = "96.00001";
    c = ChooseScale(s);
    EXPECT_EQ(c.drawing, 1);
    EXPECT_DOUBLE_EQ(c.factor, 1.0);
    // Below one is one; beyond the largest scale is no scale.
    s.xft_dpi = "48";
    EXPECT_DOUBLE_EQ(ChooseScale(s).factor, 1.0);
    s.xft_dpi = "384";
    c = ChooseScale(s);
    EXPECT_EQ(c.drawing, kMaxDeviceScale);
    EXPECT_DOUBLE_EQ(c.factor, kMaxDeviceScale);
    s.xft_dpi = "960";
    EXPECT_EQ(ChooseScale(s).drawing, 1);
    // A bad source is passed over for the next one's factor.
    s.xft_dpi = "x";
    s.qt_scale_factor = "1.75";
    c = ChooseScale(s);
    EXPECT_EQ(c.drawing, 2);
    EXPECT_DOUBLE_EQ(c.factor, 1.75);
}

}  // namespace
}  // namespace platform

namespace platform {
namespace {

TEST(DeviceScale, BitmapsOfALowerScaleAreBlittedSmoothly) {
    Surface bitmap(4, 1, 0);  // a picture read from a file: scale 1
    bitmap.set_pixel(2, 0, kWhite);
    bitmap.set_pixel(3, 0, kWhite);
    Surface s = Surface::AtScale(6, 2, 2, Rgb(255, 0, 0));
    DC dc(s);
    DC src(bitmap);
    dc.BitBlt(1, 0, 4, 1, src, 0, 0);
    EXPECT_EQ(s.pixel(2, 0), 0u);
    EXPECT_EQ(s.pixel(9, 1), kWhite);
    const Color mid = s.pixel(5, 0);
    EXPECT_GT(RedOf(mid), 0);
    EXPECT_LT(RedOf(mid), 255);
    EXPECT_EQ(s.pixel(1, 0), Rgb(255, 0, 0));
    EXPECT_EQ(s.pixel(10, 0), Rgb(255, 0, 0));
    EXPECT_EQ(s.pixel(4, 2 + 1), Rgb(255, 0, 0));
    // Past the bitmap's edge nothing is drawn.
    dc.BitBlt(0, 1, 6, 1, src, 2, 0);
    EXPECT_EQ(s.pixel(0, 2), kWhite);
    EXPECT_EQ(s.pixel(4, 2), Rgb(255, 0, 0));
}

}  // namespace
}  // namespace platform
