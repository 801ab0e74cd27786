// SPDX-License-Identifier: GPL-3.0-or-later
// DC text drawing laid out with the fixed-metrics test face, so every
// position can be checked exactly. At 12 pt a cell is 8 px wide and a line
// 16 px high; a glyph box covers columns 0..6 and rows 0..12 of its cell.
#include <gtest/gtest.h>

#include <string>

#include "platform/dc.h"

namespace platform {
namespace {

constexpr Color kWhite = 0xFFFFFF;
constexpr Color kInk = Rgb(0, 0, 200);
constexpr Color kGrey = Rgb(128, 128, 128);
constexpr int32_t kCell = 8;
constexpr int32_t kLine = 16;

class DcTextTest : public ::testing::Test {
  protected:
    DcTextTest() : surface_(200, 120, kWhite), dc_(surface_) {
        FontDesc f;
        f.name = kTestFontName;
        f.size = 12;
        dc_.SetFont(f);
        dc_.SetTextColor(kInk);
        dc_.SetBkMode(BkMode::kTransparent);
    }

    // One character per cell of a line starting at surface (x, y): '#' for a
    // drawn box, '.' for an empty cell.
    std::string Cells(int32_t x, int32_t y, int n) const {
        std::string out;
        for (int i = 0; i < n; ++i) {
            out.push_back(surface_.pixel(x + i * kCell, y + 1) == kInk ? '#' : '.');
        }
        return out;
    }
    bool Inked(int32_t x, int32_t y) const { return surface_.pixel(x, y) == kInk; }

    Surface surface_;
    DC dc_;
};

TEST_F(DcTextTest, TextOutHonoursOriginAndBackgroundMode) {
    DC shifted(surface_, Point{10, 5}, Region::FromRect(surface_.bounds()));
    shifted.SetFont(dc_.font());
    shifted.SetTextColor(kInk);
    shifted.SetBkColor(kGrey);
    shifted.SetBkMode(BkMode::kOpaque);
    shifted.TextOut(2, 3, "a ");
    EXPECT_TRUE(Inked(12, 8));
    EXPECT_TRUE(Inked(18, 20));
    EXPECT_EQ(surface_.pixel(19, 8), kGrey);   // the gap column of the cell
    EXPECT_EQ(surface_.pixel(27, 23), kGrey);  // the space cell, to the line's bottom
    EXPECT_EQ(surface_.pixel(28, 8), kWhite);
    EXPECT_EQ(surface_.pixel(12, 24), kWhite);

    shifted.SetBkMode(BkMode::kTransparent);
    shifted.TextOut(2, 40, "a ");
    EXPECT_TRUE(Inked(12, 45));
    EXPECT_EQ(surface_.pixel(27, 45), kWhite);
}

TEST_F(DcTextTest, WordBreakAndCalcRect) {
    // Five cells per line. "cccccccc" cannot fit and is broken after five;
    // the spaces at breaks are not drawn.
    const char* text = "aaa bb cccccccc d";
    Rect calc{10, 10, 50, 10};
    EXPECT_EQ(dc_.DrawText(text, calc, DT_CALCRECT | DT_WORDBREAK), 4 * kLine);
    EXPECT_EQ(calc, (Rect{10, 10, 50, 10 + 4 * kLine}));
    EXPECT_EQ(surface_.pixel(10, 11), kWhite);  // CALCRECT draws nothing

    Rect r{10, 10, 50, 100};
    EXPECT_EQ(dc_.DrawText(text, r, DT_WORDBREAK), 4 * kLine);
    EXPECT_EQ(Cells(10, 10, 6), "###...");
    EXPECT_EQ(Cells(10, 10 + kLine, 6), "##....");
    EXPECT_EQ(Cells(10, 10 + 2 * kLine, 6), "#####.");
    EXPECT_EQ(Cells(10, 10 + 3 * kLine, 6), "###.#.");
    EXPECT_EQ(Cells(10, 10 + 4 * kLine, 6), "......");

    // The widest line decides the width; explicit breaks start new lines,
    // and a final line break adds no empty line.
    Rect multi{0, 0, 100, 0};
    EXPECT_EQ(dc_.DrawText("ab\r\nabcd\n\nx\n", multi, DT_CALCRECT), 4 * kLine);
    EXPECT_EQ(multi.width(), 4 * kCell);
    // A single line ignores the breaks.
    Rect single{0, 0, 100, 0};
    dc_.DrawText("ab\r\nabcd", single, DT_CALCRECT | DT_SINGLELINE | DT_WORDBREAK);
    EXPECT_EQ(single, (Rect{0, 0, 6 * kCell, kLine}));

    Rect empty{5, 5, 50, 50};
    EXPECT_EQ(dc_.DrawText("", empty, DT_CALCRECT | DT_WORDBREAK), 0);
    EXPECT_EQ(empty, (Rect{5, 5, 5, 5}));
}

TEST_F(DcTextTest, Alignment) {
    Rect r{0, 0, 100, 50};
    dc_.DrawText("abc", r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    // (100 - 24) / 2 = 38 across, (50 - 16) / 2 = 17 down.
    EXPECT_TRUE(Inked(38, 17));
    EXPECT_FALSE(Inked(37, 17));
    EXPECT_FALSE(Inked(38, 16));

    Surface& s = surface_;
    s.fill(kWhite);
    dc_.DrawText("abc", r, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE);
    EXPECT_TRUE(Inked(76, 34));
    EXPECT_FALSE(Inked(75, 34));
    EXPECT_FALSE(Inked(76, 33));

    // Button captions: centred, vertically centred and wrapped. The block of
    // two lines (32 px) is centred in 50 px, each line across on its own.
    s.fill(kWhite);
    Rect button{0, 0, 40, 50};
    EXPECT_EQ(dc_.DrawText("abcd ef", button, 0x15), 2 * kLine);
    EXPECT_TRUE(Inked(4, 9));  // "abcd": (40 - 32) / 2
    EXPECT_FALSE(Inked(4, 8));
    EXPECT_TRUE(Inked(12, 25));  // "ef": (40 - 16) / 2
    EXPECT_FALSE(Inked(11, 25));
}

TEST_F(DcTextTest, PrefixesUnderlineTheMarkedCharacter) {
    Rect r{0, 0, 100, 20};
    dc_.DrawText("&File", r, DT_SINGLELINE);
    EXPECT_EQ(Cells(0, 0, 5), "####.");
    for (int32_t x = 0; x < 12; ++x) {
        EXPECT_EQ(Inked(x, 13), x < kCell) << x;  // the underline row under "F" only
    }

    surface_.fill(kWhite);
    Rect r2{0, 20, 100, 40};
    dc_.DrawText("a&&b&", r2, DT_SINGLELINE);  // "a&b"; a trailing '&' marks nothing
    EXPECT_EQ(Cells(0, 20, 4), "###.");
    EXPECT_FALSE(Inked(0, 33));
    EXPECT_FALSE(Inked(8, 33));

    Rect r3{0, 40, 100, 60};
    dc_.DrawText("&F", r3, DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(Cells(0, 40, 3), "##.");
    EXPECT_FALSE(Inked(0, 53));

    // The prefix survives word wrapping onto a later line.
    surface_.fill(kWhite);
    Rect r4{0, 60, 24, 100};
    dc_.DrawText("ab c&d", r4, DT_WORDBREAK);
    EXPECT_EQ(Cells(0, 76, 3), "##.");
    EXPECT_TRUE(Inked(kCell, 76 + 13));
    EXPECT_FALSE(Inked(0, 76 + 13));
}

TEST_F(DcTextTest, ClipsToTheBoxUnlessNoClip) {
    Rect r{0, 0, 20, 20};
    dc_.DrawText("abcdef", r, DT_SINGLELINE);
    EXPECT_TRUE(Inked(19, 1));
    EXPECT_FALSE(Inked(20, 1));
    EXPECT_FALSE(Inked(24, 1));

    Rect r2{0, 30, 20, 50};
    dc_.DrawText("abcdef", r2, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_TRUE(Inked(24, 31));

    // The DC's own clip still holds with DT_NOCLIP.
    dc_.IntersectClip(Rect{0, 60, 10, 80});
    Rect r3{0, 60, 20, 80};
    dc_.DrawText("abcdef", r3, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_TRUE(Inked(5, 61));
    EXPECT_FALSE(Inked(10, 61));
}

TEST_F(DcTextTest, TabsAndEllipsis) {
    Rect r{0, 0, 200, 20};
    dc_.DrawText("a\tb", r, DT_SINGLELINE | DT_EXPANDTABS);
    EXPECT_EQ(Cells(0, 0, 10), "#.......#.");

    Rect narrow{0, 20, 40, 40};
    dc_.DrawText("abcdefgh", narrow, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
    EXPECT_EQ(Cells(0, 20, 6), "#####.");  // "ab..." fills the five cells
}

}  // namespace
}  // namespace platform
