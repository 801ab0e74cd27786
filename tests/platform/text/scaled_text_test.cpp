// Text on a surface with a device scale is rasterised by the engine at
// scale x the size: the same pixels as text drawn directly at that size,
// laid out in program pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
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
    Surface small;   // scale 1 at the size
};

Drawn DrawBoth(const std::string& face, float points, const std::string& text, bool draw_text) {
    Drawn out{Surface(240, 80, kWhite), Surface::AtScale(120, 40, 2, kWhite),
              Surface(120, 40, kWhite)};
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
    DC small(out.small);
    small.SetFont(scaled.font());
    small.SetTextColor(kInk);
    small.SetBkMode(BkMode::kTransparent);
    if (draw_text) {
        Rect r{3, 2, 117, 38};
        scaled.DrawText(text, r, DT_LEFT | DT_TOP | DT_NOPREFIX);
        small.DrawText(text, r, DT_LEFT | DT_TOP | DT_NOPREFIX);
        Rect n{6, 4, 234, 76};
        native.DrawText(text, n, DT_LEFT | DT_TOP | DT_NOPREFIX);
    } else {
        scaled.TextOut(3, 2, text);
        small.TextOut(3, 2, text);
        native.TextOut(6, 4, text);
    }
    return out;
}

// The summed difference of the green channel between `a` and `b` (or `b`
// enlarged `enlarge` times), with `b` moved by up to two pixels each way to
// where it fits best.
int64_t Distance(const Surface& a, const Surface& b, int32_t enlarge = 1) {
    int64_t best = INT64_MAX;
    for (int32_t dy = -2; dy <= 2; ++dy) {
        for (int32_t dx = -2; dx <= 2; ++dx) {
            int64_t n = 0;
            for (int32_t y = 2; y + 2 < a.height(); ++y) {
                for (int32_t x = 2; x + 2 < a.width(); ++x) {
                    const Color other = b.pixel((x + dx) / enlarge, (y + dy) / enlarge);
                    n += std::abs(int{GreenOf(a.pixel(x, y))} - int{GreenOf(other)});
                }
            }
            best = std::min(best, n);
        }
    }
    return best;
}

class ScaledTextTest : public ::testing::Test {
  protected:
    void SetUp() override { text::InstallFontEngine(); }
};

// Glyphs stand where they stand at scale 1 (doubled), so they may sit a
// pixel or so off the native rendering at twice the size, whose advances
// and ascent are rounded at that size; but the shapes are the native ones:
// far closer to it than the scale-1 text enlarged.
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
            const int64_t to_native = Distance(d.native, d.scaled);
            const int64_t enlarged = Distance(d.native, d.small, 2);
            EXPECT_LT(to_native * 2, enlarged) << face << " DrawText " << draw_text;
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
