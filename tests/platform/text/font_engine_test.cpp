// SPDX-License-Identifier: GPL-3.0-or-later
// The FreeType engine with the fonts installed on the machine.
#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb-ft.h>
#include <hb.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "../preeti/examples.h"

#include "platform/dc.h"
#include "platform/font.h"
#include "platform/preeti/preeti.h"
#include "platform/region.h"
#include "platform/surface.h"
#include "platform/text.h"
#include "platform/text/face_resolver.h"
#include "platform/text/font_engine.h"
#include "platform/text/preeti_fit.h"

namespace platform {
namespace {

constexpr Color kWhite = 0xFFFFFF;
constexpr Color kBlack = 0;

FontDesc Desc(const char* name, float points, bool bold = false, bool italic = false) {
    FontDesc f;
    f.name = name;
    f.size = points;
    f.bold = bold;
    f.italic = italic;
    return f;
}

class FontEngineTest : public ::testing::Test {
  protected:
    void SetUp() override { text::InstallFontEngine(); }
    TextEngine& engine() { return TextEngine::Instance(); }
};

// Columns and rows that differ from the background.
struct Ink {
    int32_t left = INT32_MAX, right = INT32_MIN, top = INT32_MAX, bottom = INT32_MIN;
    int64_t count = 0;
};

Ink FindInk(const Surface& s, Color background) {
    Ink ink;
    for (int32_t y = 0; y < s.height(); ++y) {
        for (int32_t x = 0; x < s.width(); ++x) {
            if (s.pixel(x, y) == background) continue;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x + 1);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y + 1);
            ++ink.count;
        }
    }
    return ink;
}

// The advance of UTF-8 text shaped straight with HarfBuzz in one piece at
// `px`, or, with a fit box, at the size that fits Preeti text into that many
// rows: an independent reference for what the engine should report.
double ReferenceWidth(const std::string& path, int index, float px, const std::string& utf8,
                      const char* language = nullptr, int32_t fit_box = 0) {
    constexpr FT_Int32 kFlags = FT_LOAD_DEFAULT | FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP;
    FT_Library lib = nullptr;
    EXPECT_EQ(FT_Init_FreeType(&lib), 0);
    FT_Face face = nullptr;
    EXPECT_EQ(FT_New_Face(lib, path.c_str(), index, &face), 0);
    FT_Set_Char_Size(face, 0, std::lround(px * 64), 72, 72);
    hb_font_t* font = hb_ft_font_create_referenced(face);
    hb_ft_font_set_load_flags(font, kFlags);
    if (fit_box > 0) {
        text::FitPreetiFace(face, font, text::MeasurePreetiReach(face), fit_box, kFlags);
    }
    hb_buffer_t* buf = hb_buffer_create();
    hb_buffer_add_utf8(buf, utf8.data(), static_cast<int>(utf8.size()), 0, -1);
    if (language != nullptr) hb_buffer_set_language(buf, hb_language_from_string(language, -1));
    hb_buffer_guess_segment_properties(buf);
    hb_shape(font, buf, nullptr, 0);
    unsigned int n = 0;
    const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buf, &n);
    int64_t width = 0;
    for (unsigned int i = 0; i < n; ++i) width += pos[i].x_advance;
    hb_buffer_destroy(buf);
    hb_font_destroy(font);
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
    return static_cast<double>(width) / 64.0;
}

// Preeti text is shaped syllable by syllable; for real words that comes to
// exactly what shaping the whole Unicode text gives.
TEST_F(FontEngineTest, PreetiTextMeasuresAsItsUnicodeForm) {
    text::FaceResolver resolver;
    const std::optional<text::FaceFile> file = resolver.Resolve("OrvSoft", false, false);
    ASSERT_TRUE(file.has_value()) << "no Devanagari font installed";
    const std::string preeti_bytes = "g]kfn ;'Gb/";
    const std::string unicode =
        "\u0928\u0947\u092A\u093E\u0932 \u0938\u0941\u0928\u094D\u0926\u0930";
    ASSERT_EQ(preeti::ToUnicode(preeti_bytes), unicode);
    const float width = engine().Measure(Desc("OrvSoft", 12), preeti_bytes).width;
    // OrvSoft 12 is a 16-pixel line, the font scaled to fit it.
    EXPECT_NEAR(width, ReferenceWidth(file->path, file->index, 16.0f, unicode, nullptr, 16), 0.01);
    EXPECT_LT(width, ReferenceWidth(file->path, file->index, 16.0f, unicode));
    // Read as Windows-1252 the same bytes are Latin letters of another width.
    EXPECT_NE(width, engine().Measure(Desc("Arial", 12), preeti_bytes).width);

    // Nepali forms ("ne") differ from the default ones in a few conjuncts. A
    // word that starts with ि may start a pixel or two later, so its loop is
    // not cut off at the left.
    for (const auto& ex : preeti::testing::kExamples) {
        const double measured = engine().Measure(Desc("OrvSoft", 12), ex.preeti).width;
        const double reference =
            ReferenceWidth(file->path, file->index, 16.0f, ex.unicode, "ne", 16);
        if (std::string_view(ex.preeti).starts_with("l")) {
            EXPECT_GE(measured, reference) << ex.preeti;
            EXPECT_LE(measured, reference + 3) << ex.preeti;
        } else {
            EXPECT_NEAR(measured, reference, 0.01) << ex.preeti;
        }
    }
}

// The width between any two cuts of Preeti text is exactly the difference
// of their widths, so a paragraph is measured once and wrapped anywhere.
// Latin text is shaped whole: its cuts fall between clusters and only the
// whole is exact.
TEST_F(FontEngineTest, MeasureCutsFallBetweenClustersAndAddUp) {
    const FontDesc face = Desc("OrvPreeti", 14.25f);
    const std::string text = "k|sflzt s[lt j0f{ljGof;sf] qmd";
    std::vector<double> cuts;
    ASSERT_TRUE(engine().MeasureCuts(face, text, cuts));
    ASSERT_EQ(cuts.size(), text.size() + 1);
    std::vector<size_t> ends{0};
    while (ends.back() < text.size()) ends.push_back(preeti::SyllableEnd(text, ends.back()));
    for (size_t k = 0; k <= text.size(); ++k) {
        const bool end = std::find(ends.begin(), ends.end(), k) != ends.end();
        EXPECT_EQ(cuts[k] != TextEngine::kNoCut, end) << k;
    }
    for (size_t a = 0; a < ends.size(); ++a) {
        for (size_t b = a + 1; b < ends.size(); ++b) {
            const std::string part = text.substr(ends[a], ends[b] - ends[a]);
            const auto between = static_cast<float>(cuts[ends[b]] - cuts[ends[a]]);
            // A part that starts with ि starts later on its own, so its loop
            // is not cut off; by whole pixels, and only at the start.
            const float lead = engine().Measure(face, part).width - between;
            if (part.starts_with("l") && a > 0) {
                EXPECT_GE(lead, 0) << part;
                EXPECT_LE(lead, 3) << part;
                EXPECT_EQ(lead, std::round(lead)) << part;
            } else {
                EXPECT_EQ(lead, 0) << part;
            }
        }
    }

    const FontDesc latin = Desc("Arial", 12);
    EXPECT_FALSE(engine().MeasureCuts(latin, "AVAWA wave", cuts));
    ASSERT_EQ(cuts.size(), 11u);
    for (size_t k = 1; k < cuts.size(); ++k) EXPECT_GT(cuts[k], cuts[k - 1]) << k;
    EXPECT_EQ(static_cast<float>(cuts.back()), engine().Measure(latin, "AVAWA wave").width);
}

// A line far longer than the surface draws its visible start exactly as
// that start alone; the rest costs no rasterising.
TEST_F(FontEngineTest, VeryLongPreetiLineDrawsItsVisibleStart) {
    std::string line;
    while (line.size() < 200000) line += "k|sflzt s[lt j0f{ljGof;sf] qmd";
    const FontDesc face = Desc("OrvPreeti", 14.25f);
    Surface whole(200, 30, kWhite);
    Surface start(200, 30, kWhite);
    engine().Draw(whole, Region::FromRect(whole.bounds()), 2, 2, face, line, kBlack);
    engine().Draw(start, Region::FromRect(start.bounds()), 2, 2, face, line.substr(0, 300), kBlack);
    EXPECT_GT(FindInk(whole, kWhite).count, 100);
    for (int32_t y = 0; y < 30; ++y) {
        for (int32_t x = 0; x < 200; ++x) ASSERT_EQ(whole.pixel(x, y), start.pixel(x, y));
    }
}

TEST_F(FontEngineTest, DrawnInkStaysWithinTheMeasuredWidth) {
    struct Case {
        FontDesc font;
        const char* text;
    };
    const Case cases[] = {
        {Desc("Arial", 10), "Hello, World"},
        {Desc("MS Sans Serif", 8.25f), "Search history"},
        {Desc("Times New Roman", 14, true), "Bold Words"},
        {Desc("Courier New", 11), "mono spaced"},
        {Desc("Verdana", 9, false, true), "Slanted"},
        {Desc("OrvSoft", 12), "g]kfn ;'Gb/"},
        {Desc("OrvPreeti", 16, true), "k|sflzt s[lt"},
    };
    for (const Case& c : cases) {
        for (float x : {10.0f, 10.3f, 10.5f, 10.8f}) {
            Surface s(400, 60, kWhite);
            engine().Draw(s, Region::FromRect(s.bounds()), x, 5, c.font, c.text, kBlack);
            const TextExtent e = engine().Measure(c.font, c.text);
            const Ink ink = FindInk(s, kWhite);
            const int32_t start = static_cast<int32_t>(std::lround(x));
            SCOPED_TRACE(std::string(c.text) + " at " + std::to_string(x));
            ASSERT_GT(ink.count, 0);
            EXPECT_GE(ink.left, start - 1);
            // Anti-aliased fringes may reach one pixel past the pixel where
            // the advance ends.
            EXPECT_LE(ink.right, std::ceil(start + e.width) + 1);
            // ...and fills it: the last glyph ends near the measured end.
            EXPECT_GE(ink.right, start + e.width - 3);
            EXPECT_GE(ink.top, 5);
            EXPECT_LE(ink.bottom, 5 + e.height);
        }
    }
}

TEST_F(FontEngineTest, BoldIsWiderForRealAndSynthesisedBold) {
    for (const char* face : {"Arial", "OrvSoft", "Z003"}) {
        if (!engine().FaceExists(face)) continue;
        const char* sample = "Hello g]kfn";
        EXPECT_GT(engine().Measure(Desc(face, 12, true), sample).width,
                  engine().Measure(Desc(face, 12), sample).width)
            << face;
    }
    // "Arial Black" is heavy even when the font object says regular.
    EXPECT_GT(engine().Measure(Desc("Arial Black", 12), "Heavy").width,
              engine().Measure(Desc("Arial", 12, true), "Heavy").width);
}

TEST_F(FontEngineTest, DevanagariIsActuallyDrawn) {
    Surface s(120, 40, kWhite);
    engine().Draw(s, Region::FromRect(s.bounds()), 2, 2, Desc("OrvSoft", 14.25f), "g]kfn", kBlack);
    const Ink ink = FindInk(s, kWhite);
    EXPECT_GT(ink.count, 40);
    // Four letters with the headline bar joining them: wide, and near black
    // somewhere (the bar), not just grey fringes.
    EXPECT_GT(ink.right - ink.left, 25);
    int64_t solid = 0;
    for (int32_t y = 0; y < s.height(); ++y) {
        for (int32_t x = 0; x < s.width(); ++x) solid += (s.pixel(x, y) & 0xC0C0C0) == 0 ? 1 : 0;
    }
    EXPECT_GT(solid, 10);
}

TEST_F(FontEngineTest, DrawsOnlyInsideTheClip) {
    Surface s(200, 40, kWhite);
    const Rect window{20, 8, 60, 20};
    FontDesc f = Desc("Arial", 18);
    f.underline = true;
    f.strikethrough = true;
    engine().Draw(s, Region::FromRect(window), 0, 0, f, "WWWWWWWWWW", kBlack);
    const Ink ink = FindInk(s, kWhite);
    ASSERT_GT(ink.count, 0);
    EXPECT_GE(ink.left, window.left);
    EXPECT_LE(ink.right, window.right);
    EXPECT_GE(ink.top, window.top);
    EXPECT_LE(ink.bottom, window.bottom);
}

TEST_F(FontEngineTest, FaceNamesResolveOnlyToRealFamilies) {
    EXPECT_TRUE(engine().FaceExists("ARIAL"));
    EXPECT_TRUE(engine().FaceExists("Liberation Serif"));
    EXPECT_TRUE(engine().FaceExists("dejavu sans"));
    // fontconfig would substitute a default font for these; that is not
    // the face that was asked for.
    EXPECT_FALSE(engine().FaceExists("Kovelin No Such Face"));
    EXPECT_FALSE(engine().FaceExists("Helvetica Neue Ultra"));

    Font font(Desc("Arial", 10));
    EXPECT_FALSE(font.set_name("Kovelin No Such Face").ok());
    EXPECT_EQ(font.name(), "Arial");
    EXPECT_TRUE(font.set_name("DejaVu Serif").ok());
}

TEST_F(FontEngineTest, UnknownFacesDrawInTheDefaultSans) {
    // Faces a font object refuses can still reach the engine through a plain
    // FontDesc; they are drawn, in the sans the face table uses for Arial.
    EXPECT_EQ(engine().Measure(Desc("Kovelin No Such Face", 10, true), "Words").width,
              engine().Measure(Desc("Arial", 10, true), "Words").width);
}

TEST_F(FontEngineTest, TestFaceKeepsFixedMetricsUnderTheFontEngine) {
    const TextExtent e = engine().Measure(Desc(kTestFontName, 12), "abcd");
    EXPECT_EQ(e.width, 32);
    EXPECT_EQ(e.height, 16);
}

TEST_F(FontEngineTest, MetricsDescribeTheLineBox) {
    for (const char* face : {"Arial", "MS Sans Serif", "OrvSoft", "Courier"}) {
        FontDesc f = Desc(face, 10);
        const FontMetrics m = engine().Metrics(f);
        SCOPED_TRACE(face);
        EXPECT_EQ(m.height, m.ascent + m.descent);
        if (engine().IsPreetiFace(face)) {
            EXPECT_EQ(m.height, std::round(f.size * 96 / 72));  // the em box itself
        } else {
            EXPECT_GE(m.height, f.size * 96 / 72);
        }
        EXPECT_EQ(m.height, engine().Measure(f, "x").height);
        EXPECT_GE(m.underline_offset, m.ascent);
        EXPECT_LE(m.underline_offset + m.underline_thickness, m.height);
        EXPECT_GT(m.strikeout_offset, 0);
        EXPECT_LT(m.strikeout_offset, m.ascent);
        EXPECT_GT(m.average_char_width, 0);
    }
}

// Every word of a large Nepali word list, drawn in the Preeti faces at the
// sizes the program uses, keeps its ink inside the line box: reph and ि
// loops above, stacked ् ु ृ below. The line box is the em of the size.
TEST_F(FontEngineTest, EveryNepaliWordFitsThePreetiLineBox) {
    std::ifstream in("/usr/share/hunspell/ne_NP.dic");
    std::vector<std::string> words;
    for (std::string line; std::getline(in, line);) {
        line = line.substr(0, line.find('/'));
        if (std::optional<std::string> bytes = preeti::FromUnicode(line); bytes && !bytes->empty())
            words.push_back(*bytes);
    }
    if (words.empty()) GTEST_SKIP() << "Nepali hunspell dictionary not installed";
    // The words that reach furthest, and every byte after a consonant.
    for (int b = 0x21; b <= 0xFF; ++b) words.push_back(std::string("s") + static_cast<char>(b));
    for (const FontDesc& f :
         {Desc("OrvSoft", 16), Desc("OrvSoft", 14.25f), Desc("OrvPreeti", 14.25f, true),
          Desc("OrvPreeti", 12, false, true)}) {
        SCOPED_TRACE(std::string(f.name) + " " + std::to_string(f.size));
        const FontMetrics m = engine().Metrics(f);
        const auto h = static_cast<int32_t>(m.height);
        EXPECT_EQ(h, std::lround(f.size * 96 / 72));
        Surface s(900, 3 * h, kWhite);
        std::vector<std::string> spilled;
        int32_t highest = h, lowest = 2 * h;
        const Region clip = Region::FromRect(s.bounds());
        for (const std::string& w : words) {
            engine().Draw(s, clip, 4, static_cast<float>(h), f, w, kBlack);
            // Only the columns the word can reach need looking at.
            const auto right = std::min<int32_t>(
                s.width(), 8 + h + static_cast<int32_t>(engine().Measure(f, w).width));
            int32_t top = 3 * h, bottom = 0;
            for (int32_t y = 0; y < s.height(); ++y) {
                uint32_t* row = s.row(y);
                for (int32_t x = 0; x < right; ++x) {
                    if ((row[x] & 0xFFFFFF) == 0xFFFFFF) continue;
                    top = std::min(top, y);
                    bottom = y + 1;
                    row[x] = 0xFFFFFFFF;
                }
            }
            if (bottom == 0) continue;
            if (top < h || bottom > 2 * h) spilled.push_back(w);
            highest = std::min(highest, top);
            lowest = std::max(lowest, bottom);
        }
        EXPECT_TRUE(spilled.empty())
            << spilled.size() << " words spill, first " << preeti::ToUnicode(spilled.front())
            << "; rows " << highest - h << " to " << lowest - h << " of " << h;
    }
}

TEST_F(FontEngineTest, SyntheticItalicSlantsWithoutChangingAdvance) {
    // The Devanagari font has no italic file, so the outlines are slanted.
    const FontDesc upright = Desc("OrvSoft", 12);
    const FontDesc slanted = Desc("OrvSoft", 12, false, true);
    EXPECT_EQ(engine().Measure(slanted, "g]kfn").width, engine().Measure(upright, "g]kfn").width);
    Surface a(120, 40, kWhite);
    Surface b(120, 40, kWhite);
    engine().Draw(a, Region::FromRect(a.bounds()), 2, 2, upright, "g]kfn", kBlack);
    engine().Draw(b, Region::FromRect(b.bounds()), 2, 2, slanted, "g]kfn", kBlack);
    const Ink ia = FindInk(a, kWhite);
    const Ink ib = FindInk(b, kWhite);
    // The top leans right: the slanted headline ends further right.
    EXPECT_GT(ib.right, ia.right);
}

// Every byte value, in both kinds of face, through measuring, drawing and
// wrapping: nothing may crash, and the wrapped layout must keep its promise.
TEST_F(FontEngineTest, ArbitraryBytesKeepLayoutPromises) {
    std::string all;
    for (int i = 0; i < 256; ++i) all.push_back(static_cast<char>(i));
    uint32_t seed = 12345;
    std::string noise;
    for (int i = 0; i < 600; ++i) {
        seed = seed * 1103515245u + 12345u;
        noise.push_back(static_cast<char>((seed >> 16) % 5 == 0 ? ' ' : (seed >> 8) & 0xFF));
    }
    Surface s(300, 200, kWhite);
    for (const char* face : {"OrvSoft", "Arial"}) {
        for (const std::string& text : {all, noise}) {
            DC dc(s);
            FontDesc f = Desc(face, 10);
            dc.SetFont(f);
            const int32_t line = static_cast<int32_t>(std::lround(dc.GetTextMetrics().height));
            Rect r{3, 3, 123, 3};
            const int32_t h = dc.DrawText(text, r, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
            EXPECT_EQ(h % line, 0) << face;
            EXPECT_EQ(r.height(), h) << face;
            EXPECT_LE(r.width(), 120) << face;
            Rect box{3, 3, 123, 190};
            dc.DrawText(text, box, DT_WORDBREAK | DT_CENTER | DT_VCENTER);
            dc.TextOut(-7.3f, 150.6f, text);
            EXPECT_GT(dc.GetTextExtent(text).width, 0) << face;
        }
        // Absurd sizes are drawn at the largest size the engine rasterises.
        Surface big(64, 64, kWhite);
        engine().Draw(big, Region::FromRect(big.bounds()), -100, -300, Desc(face, 1e7f), "W\xe9g",
                      kBlack);
        EXPECT_GT(FindInk(big, kWhite).count, 0) << face;
    }
}

}  // namespace
}  // namespace platform
