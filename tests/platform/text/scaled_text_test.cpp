// Text on a surface with a device scale is rasterised by the engine at
// scale x the size: the same pixels as text drawn directly at that size,
// laid out in program pixels.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/dc.h"
#include "platform/surface.h"
#include "platform/text/font_engine.h"

namespace platform {
namespace {

constexpr Color kWhite = 0xFFFFFF;
constexpr Color kInk = Rgb(20, 20, 20);

struct Drawn {
    Surface native;  // scale 1 at twice the size
    Surface scaled;  // scale 2
};

Drawn DrawBoth(const std::string& face, float points, const std::string& text, bool draw_text) {
    Drawn out{Surface(240, 80, kWhite), Surface::AtScale(120, 40, 2, kWhite)};
    FontDesc f;
    f.name = face;
    f.size = points;
    DC scaled(out.scaled);
    scaled.SetFont(f);
    scaled.SetTextColor(kInk);
    scaled.SetBkMode(BkMode::kTransparent);
    f.size = points * 2;
    DC native(out.native);
    native.SetFont(f);
    native.SetTextColor(kInk);
    native.SetBkMode(BkMode::kTransparent);
    if (draw_text) {
        Rect r{3, 2, 117, 38};
        scaled.DrawText(text, r, DT_LEFT | DT_TOP | DT_NOPREFIX);
        Rect n{6, 4, 234, 76};
        native.DrawText(text, n, DT_LEFT | DT_TOP | DT_NOPREFIX);
    } else {
        scaled.TextOut(3, 2, text);
        native.TextOut(6, 4, text);
    }
    return out;
}

int64_t Differences(const Surface& a, const Surface& b) {
    int64_t n = 0;
    for (int32_t y = 0; y < a.height(); ++y)
        for (int32_t x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    return n;
}

class ScaledTextTest : public ::testing::Test {
  protected:
    void SetUp() override { text::InstallFontEngine(); }
};

TEST_F(ScaledTextTest, MatchesTextDrawnNativelyAtTwiceTheSize) {
    for (bool draw_text : {false, true}) {
        // Preeti bytes for a Devanagari word, and Latin text.
        for (const auto& [face, text] :
             {std::pair<std::string, std::string>{"OrvPreeti", "s'df/"}, {"Arial", "Quick fox"}}) {
            const Drawn d = DrawBoth(face, 14, text, draw_text);
            int64_t inked = 0;
            for (int32_t y = 0; y < d.scaled.height(); ++y)
                for (int32_t x = 0; x < d.scaled.width(); ++x)
                    inked += d.scaled.pixel(x, y) != kWhite ? 1 : 0;
            EXPECT_GT(inked, 100) << face;
            EXPECT_EQ(Differences(d.native, d.scaled), 0) << face << " DrawText " << draw_text;
        }
    }
}

TEST_F(ScaledTextTest, OpaqueBackgroundAndUnderlineCoverTheirBlocks) {
    Surface s = Surface::AtScale(60, 20, 2, kWhite);
    DC dc(s);
    FontDesc f;
    f.name = kTestFontName;
    f.size = 12;  // cells 8 x 16 program pixels
    dc.SetFont(f);
    dc.SetBkColor(Rgb(200, 200, 0));
    dc.SetBkMode(BkMode::kOpaque);
    Rect r{0, 0, 60, 20};
    dc.DrawText("&ab", r, DT_LEFT | DT_TOP);
    // The background of two cells: 16 program pixels, 32 device pixels.
    EXPECT_EQ(s.pixel(31, 31), Rgb(200, 200, 0));
    EXPECT_EQ(s.pixel(32, 0), kWhite);
    EXPECT_EQ(dc.GetPixel(7, 1), Rgb(200, 200, 0));  // the gap column of a cell
    EXPECT_EQ(dc.GetPixel(1, 1), 0u);
}

}  // namespace
}  // namespace platform
