// SPDX-License-Identifier: GPL-3.0-or-later
// Word wrapping of words wider than the line: where DrawText cuts them, with
// the fixed-metrics engine where exact positions matter and with the font
// engine for real Preeti and Latin text. A recording engine in front of the
// real one notes each line DrawText hands over for drawing.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/dc.h"
#include "platform/preeti/preeti.h"
#include "platform/text/font_engine.h"

namespace platform {
namespace {

struct Drawn {
    std::string bytes;
    float x;
    float y;
};

// Passes everything to another engine and notes what is drawn, and where.
class RecordingEngine final : public TextEngine {
  public:
    RecordingEngine(std::unique_ptr<TextEngine> inner, std::vector<Drawn>* log)
        : inner_(std::move(inner)), log_(log) {}

    bool FaceExists(std::string_view name) override { return inner_->FaceExists(name); }
    bool IsPreetiFace(std::string_view name) override { return inner_->IsPreetiFace(name); }
    FontMetrics Metrics(const FontDesc& font) override { return inner_->Metrics(font); }
    TextExtent Measure(const FontDesc& font, std::string_view bytes) override {
        return inner_->Measure(font, bytes);
    }
    bool MeasureCuts(const FontDesc& font, std::string_view bytes,
                     std::vector<double>& widths) override {
        return inner_->MeasureCuts(font, bytes, widths);
    }
    void Draw(Surface& target, const Region& clip, float x, float y, const FontDesc& font,
              std::string_view bytes, Color color) override {
        log_->push_back({std::string(bytes), x, y});
        inner_->Draw(target, clip, x, y, font, bytes, color);
    }

  private:
    std::unique_ptr<TextEngine> inner_;
    std::vector<Drawn>* log_;
};

using Lines = std::vector<std::string>;

class WrapTest : public ::testing::Test {
  protected:
    WrapTest() : surface_(400, 1200, 0xFFFFFF), dc_(surface_) {}
    // The other tests here draw real faces with the font engine: put one back.
    ~WrapTest() override { InstallTextEngine(text::MakeFontEngine()); }

    void Use(std::unique_ptr<TextEngine> inner, const char* face, float points) {
        InstallTextEngine(std::make_unique<RecordingEngine>(std::move(inner), &drawn_));
        FontDesc f;
        f.name = face;
        f.size = points;
        dc_.SetFont(f);
    }

    // Draws into a box `width` wide at (10, 10) and returns the lines drawn.
    Lines Wrap(std::string_view text, int32_t width, uint32_t format = DT_WORDBREAK) {
        drawn_.clear();
        Rect r{10, 10, 10 + width, 1190};
        dc_.DrawText(text, r, format);
        Lines out;
        for (const Drawn& d : drawn_) out.push_back(d.bytes);
        return out;
    }

    int32_t PixelWidth(std::string_view s) {
        return static_cast<int32_t>(
            std::ceil(TextEngine::Instance().Measure(dc_.font(), s).width - 1e-3));
    }
    int32_t LineHeight() { return static_cast<int32_t>(std::lround(dc_.GetTextMetrics().height)); }

    Surface surface_;
    DC dc_;
    std::vector<Drawn> drawn_;
};

// 12 pt in the fixed-metrics engine: every byte is a cell 8 pixels wide.
TEST_F(WrapTest, LongWordsBreakAtTheWidthAndEveryLineHoldsSomething) {
    Use(MakeFixedMetricsEngine(), "Arial", 12);
    EXPECT_EQ(Wrap("ab cdefghijkl mn", 40), (Lines{"ab", "cdefg", "hijkl", "mn"}));
    EXPECT_EQ(Wrap("abcdefghijklm", 40), (Lines{"abcde", "fghij", "klm"}));
    // Narrower than one character: one per line, never an empty line.
    EXPECT_EQ(Wrap("abc de", 3), (Lines{"a", "b", "c", "d", "e"}));
    for (size_t i = 0; i < drawn_.size(); ++i) {
        EXPECT_EQ(drawn_[i].y, 10.0f + 16.0f * static_cast<float>(i));
    }
    Rect calc{10, 10, 13, 10};
    EXPECT_EQ(dc_.DrawText("abc de", calc, DT_WORDBREAK | DT_CALCRECT), 5 * 16);
    EXPECT_EQ(calc.width(), 8);
}

// With a Preeti face the fixed-metrics engine cuts only between syllables.
TEST_F(WrapTest, PreetiWordsBreakBetweenSyllables) {
    Use(MakeFixedMetricsEngine(), "OrvPreeti", 12);
    // Syllables k| sf lz t: five cells hold "k|sf" but not "k|sfl", whose
    // short i belongs to the z after it.
    EXPECT_EQ(Wrap("k|sflztk|sflzt", 40), (Lines{"k|sf", "lztk|", "sflzt"}));
    // A syllable wider than the box gets a line of its own, whole.
    EXPECT_EQ(Wrap("sf\xAA\\lQms", 16), (Lines{"sf", "\xAA\\lQm", "s"}));
    Rect calc{10, 10, 26, 10};
    EXPECT_EQ(dc_.DrawText("sf\xAA\\lQms", calc, DT_WORDBREAK | DT_CALCRECT), 3 * 16);
    EXPECT_EQ(calc.width(), 5 * 8);
    // The ellipsis goes after a whole syllable too: six cells leave room
    // for three bytes before "===", but "k|s" would split "sf".
    EXPECT_EQ(Wrap("k|sflzt", 48, DT_SINGLELINE | DT_END_ELLIPSIS), (Lines{"k|==="}));
}

// Real Preeti text in the real font: a line without blanks and a line of
// words, centred. Every cut falls between syllables, every line fits or is
// a single syllable, and the layout's widths are the drawn widths: the
// lines are centred by them and DT_CALCRECT reports them.
TEST_F(WrapTest, RealPreetiTextWrapsBetweenSyllablesAndMeasuresAsDrawn) {
    Use(text::MakeFontEngine(), "OrvPreeti", 14.25f);
    const std::string words =
        "k|sflzt s[lt zAbsf]z j0f{ljGof;sf] qmd ;Dkfbs wd{ sfof{no /fli6\xABo";
    std::string joined;
    for (char c : words) {
        if (c != ' ') joined.push_back(c);
    }
    const int32_t line = LineHeight();
    for (const std::string& text : {joined + joined + joined, words + " " + words}) {
        SCOPED_TRACE(text);
        std::set<size_t> syllable_ends{text.size()};
        for (size_t i = 0; i < text.size(); i = preeti::SyllableEnd(text, i)) {
            syllable_ends.insert(i);
        }
        for (int32_t width : {60, 150}) {
            const Lines lines = Wrap(text, width, DT_WORDBREAK | DT_CENTER);
            ASSERT_GE(lines.size(), 2u);
            size_t at = 0;
            int32_t widest = 0;
            for (size_t i = 0; i < lines.size(); ++i) {
                const std::string& l = lines[i];
                ASSERT_FALSE(l.empty());
                while (text[at] == ' ') ++at;  // spaces at a break are not drawn
                ASSERT_EQ(text.compare(at, l.size(), l), 0) << i;
                EXPECT_TRUE(syllable_ends.count(at) && syllable_ends.count(at + l.size())) << l;
                at += l.size();
                const int32_t w = PixelWidth(l);
                if (preeti::SyllableEnd(l, 0) != l.size()) {
                    EXPECT_LE(w, width) << l;
                }
                widest = std::max(widest, w);
                const int32_t spare = width - w;
                const int32_t x = 10 + (spare >= 0 ? spare / 2 : -((-spare + 1) / 2));
                EXPECT_EQ(drawn_[i].x, static_cast<float>(x)) << l;
                EXPECT_EQ(drawn_[i].y, static_cast<float>(10 + line * static_cast<int32_t>(i)));
            }
            EXPECT_EQ(at, text.size());
            Rect calc{10, 10, 10 + width, 10};
            EXPECT_EQ(dc_.DrawText(text, calc, DT_WORDBREAK | DT_CALCRECT),
                      line * static_cast<int32_t>(lines.size()));
            EXPECT_EQ(calc.width(), widest);
        }
    }
}

// Latin text is shaped whole, so a part of it may measure a little
// differently on its own; the lines still fit as drawn.
TEST_F(WrapTest, RealLatinWordsBreakIntoLinesThatFit) {
    Use(text::MakeFontEngine(), "Arial", 12);
    const std::string text = "AVAWAVAWATAVAYAVAWAVAWAT To AVAWAVAWATAVAYAVAWAVAWATAVAY.";
    std::string no_spaces = text;
    std::erase(no_spaces, ' ');
    for (int32_t width = 40; width <= 100; ++width) {
        SCOPED_TRACE(width);
        const Lines lines = Wrap(text, width);
        ASSERT_GE(lines.size(), 3u);
        std::string rejoined;
        int32_t widest = 0;
        for (const std::string& l : lines) {
            EXPECT_FALSE(l.empty());
            EXPECT_LE(PixelWidth(l), width) << l;
            widest = std::max(widest, PixelWidth(l));
            rejoined += l;
        }
        std::erase(rejoined, ' ');
        EXPECT_EQ(rejoined, no_spaces);
        Rect calc{0, 0, width, 0};
        dc_.DrawText(text, calc, DT_WORDBREAK | DT_CALCRECT);
        EXPECT_EQ(calc.width(), widest);
        EXPECT_EQ(calc.height(), LineHeight() * static_cast<int32_t>(lines.size()));
    }
}

}  // namespace
}  // namespace platform
