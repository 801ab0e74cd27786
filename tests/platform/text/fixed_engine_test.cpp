// SPDX-License-Identifier: GPL-3.0-or-later
// The fixed-metrics engine: layout tests elsewhere compute pixel positions
// from its rules, so the rules are checked to the pixel here.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "platform/font.h"
#include "platform/region.h"
#include "platform/surface.h"
#include "platform/text.h"

namespace platform {
namespace {

constexpr Color kWhite = 0xFFFFFF;
constexpr Color kInk = Rgb(10, 20, 30);

FontDesc TestFont(float points) {
    FontDesc f;
    f.name = kTestFontName;
    f.size = points;
    return f;
}

// 12 pt is 16 px: advance 8, height 16, ascent 13, descent 3.
TEST(FixedEngine, MetricsFollowThePixelSize) {
    auto engine = MakeFixedMetricsEngine();
    const FontMetrics m = engine->Metrics(TestFont(12));
    EXPECT_EQ(m.height, 16);
    EXPECT_EQ(m.ascent, 13);
    EXPECT_EQ(m.descent, 3);
    EXPECT_EQ(m.underline_offset, 13);
    EXPECT_EQ(m.strikeout_offset, 6);
    const TextExtent e = engine->Measure(TestFont(12), "ab c");
    EXPECT_EQ(e.width, 32);
    EXPECT_EQ(e.height, 16);
    EXPECT_EQ(engine->Measure(TestFont(12), "").width, 0);

    // Tiny, absurd and broken sizes stay usable: one pixel at least, and
    // never larger than the engines agree to draw.
    for (float size : {0.1f, 0.0f, -5.0f, std::numeric_limits<float>::quiet_NaN()}) {
        const TextExtent tiny = engine->Measure(TestFont(size), "abc");
        EXPECT_EQ(tiny.width, 3) << size;
        EXPECT_EQ(tiny.height, 1) << size;
    }
    const TextExtent huge = engine->Measure(TestFont(1e30f), "a");
    EXPECT_EQ(huge.height, kMaxPixelSize);
}

TEST(FixedEngine, DrawsBoxesAtExactCells) {
    auto engine = MakeFixedMetricsEngine();
    Surface s(40, 24, kWhite);
    const Region clip = Region::FromRect(s.bounds());
    // The pen starts at the rounded position: (2, 4).
    engine->Draw(s, clip, 2.4f, 3.6f, TestFont(12), "a b", kInk);
    for (int32_t y = 0; y < 24; ++y) {
        for (int32_t x = 0; x < 40; ++x) {
            const bool in_rows = y >= 4 && y < 17;
            const bool in_a = x >= 2 && x < 9;    // cell [2, 10), last column empty
            const bool in_b = x >= 18 && x < 25;  // the space cell [10, 18) draws nothing
            const Color want = in_rows && (in_a || in_b) ? kInk : kWhite;
            ASSERT_EQ(s.pixel(x, y), want) << x << "," << y;
        }
    }
}

TEST(FixedEngine, UnderlineStrikeoutAndClip) {
    auto engine = MakeFixedMetricsEngine();
    Surface s(40, 24, kWhite);
    FontDesc f = TestFont(12);
    f.underline = true;
    f.strikethrough = true;
    engine->Draw(s, Region::FromRect(s.bounds()), 0, 0, f, "  ", kInk);
    for (int32_t x = 0; x < 40; ++x) {
        EXPECT_EQ(s.pixel(x, 13), x < 16 ? kInk : kWhite) << x;  // underline
        EXPECT_EQ(s.pixel(x, 6), x < 16 ? kInk : kWhite) << x;   // strike-through
        EXPECT_EQ(s.pixel(x, 5), kWhite) << x;
    }

    // Only pixels inside the clip change, even for text running off the
    // surface on every side.
    Surface t(20, 20, kWhite);
    const Rect window{5, 5, 9, 12};
    engine->Draw(t, Region::FromRect(window), -3.0f, -2.0f, TestFont(30), "WWWW", kInk);
    for (int32_t y = 0; y < 20; ++y) {
        for (int32_t x = 0; x < 20; ++x) {
            ASSERT_EQ(t.pixel(x, y), window.contains(Point{x, y}) ? kInk : kWhite) << x << "," << y;
        }
    }
}

TEST(FixedEngine, SmallestSizeStillDrawsUnderline) {
    auto engine = MakeFixedMetricsEngine();
    FontDesc f = TestFont(0.5f);  // one pixel: no descent, underline on the only row
    f.underline = true;
    Surface s(4, 2, kWhite);
    engine->Draw(s, Region::FromRect(s.bounds()), 0, 0, f, "  ", kInk);
    EXPECT_EQ(s.pixel(0, 0), kInk);
    EXPECT_EQ(s.pixel(1, 0), kInk);
    EXPECT_EQ(s.pixel(2, 0), kWhite);
    EXPECT_EQ(s.pixel(0, 1), kWhite);
}

TEST(FixedEngine, KnowsTheFaceTableAndNothingElse) {
    auto engine = MakeFixedMetricsEngine();
    EXPECT_TRUE(engine->FaceExists(kTestFontName));
    EXPECT_TRUE(engine->FaceExists("arial"));
    EXPECT_TRUE(engine->FaceExists(" OrvSoft "));
    EXPECT_FALSE(engine->FaceExists("Arial Narrowish"));
    EXPECT_FALSE(engine->FaceExists(""));
    EXPECT_TRUE(engine->IsPreetiFace("ORVPREETI"));
    EXPECT_FALSE(engine->IsPreetiFace("Arial"));
}

// Any byte may end a line, except inside a syllable of Preeti text.
TEST(FixedEngine, CutsEveryByteButInsidePreetiSyllables) {
    auto engine = MakeFixedMetricsEngine();
    std::vector<double> cuts;
    EXPECT_TRUE(engine->MeasureCuts(TestFont(12), "lzt", cuts));
    EXPECT_EQ(cuts, (std::vector<double>{0, 8, 16, 24}));
    FontDesc preeti = TestFont(12);
    preeti.name = "OrvPreeti";
    EXPECT_TRUE(engine->MeasureCuts(preeti, "lzt", cuts));
    EXPECT_EQ(cuts, (std::vector<double>{0, TextEngine::kNoCut, 16, 24}));
}

TEST(FontObject, RefusesUnknownFacesAndBadSizes) {
    Font font(TestFont(10));
    const Status bad = font.set_name("No Such Face At All");
    EXPECT_FALSE(bad.ok());
    EXPECT_EQ(bad.error().code, ErrorCode::kInvalidCall);
    EXPECT_EQ(font.name(), kTestFontName);
    EXPECT_FALSE(font.set_name("").ok());
    EXPECT_EQ(font.name(), kTestFontName);
    EXPECT_TRUE(font.set_name("OrvSoft").ok());
    EXPECT_EQ(font.name(), "OrvSoft");

    for (float size : {0.0f, -1.0f, std::numeric_limits<float>::infinity(),
                       std::numeric_limits<float>::quiet_NaN()}) {
        EXPECT_FALSE(font.set_size(size).ok()) << size;
        EXPECT_EQ(font.size(), 10.0f);
    }
    EXPECT_TRUE(font.set_size(14.25f).ok());
    EXPECT_EQ(font.size(), 14.25f);
    EXPECT_EQ(font.pixel_size(), 19.0f);
}

}  // namespace
}  // namespace platform
