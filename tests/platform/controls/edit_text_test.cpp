// SPDX-License-Identifier: GPL-3.0-or-later
// The edit field's text model and typing composer without a window: what the
// window tests cannot reach cheaply (a full field cutting a syllable, a burst
// that replaces a selection, a burst the converter cannot extend) and the
// offsets the model clamps.

#include "platform/controls/edit_text.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/preeti/preeti.h"

using namespace platform::controls;

namespace {

// Types UTF-8 text character by character.
bool TypeAll(PreetiComposer& composer, EditText& text, std::string_view utf8, bool preeti) {
    bool changed = false;
    size_t i = 0;
    while (i < utf8.size()) {
        char32_t cp = 0;
        const size_t n = preeti::DecodeUtf8(utf8, i, &cp);
        if (n == 0) return changed;
        i += n;
        changed |= composer.Type(text, static_cast<uint32_t>(cp), preeti);
    }
    return changed;
}

TEST(EditTextTest, EditsClampOffsetsAndRespectTheMaximum) {
    EditText t(6);
    t.SetText("abcdefgh");
    EXPECT_EQ(t.text(), "abcdef");
    EXPECT_EQ(t.caret(), 6);
    // Offsets outside the text are clamped, not trusted.
    EXPECT_FALSE(t.Edit(-5, -1, ""));
    EXPECT_TRUE(t.Edit(4, 99, "XYZ"));  // only two bytes fit
    EXPECT_EQ(t.text(), "abcdXY");
    EXPECT_EQ(t.caret(), 6);
    t.MoveCaret(-3, false);
    t.SetSelLength(100);
    EXPECT_EQ(t.sel_text(), "abcdXY");
    EXPECT_TRUE(t.Backspace());
    EXPECT_EQ(t.text(), "");
    EXPECT_FALSE(t.Backspace());
    EXPECT_FALSE(t.Delete());
    EXPECT_EQ(WithoutControls("a\tb\x7F\nc"), "abc");
}

TEST(EditTextTest, WordsAreSeparatedOnlyByBlanks) {
    EditText t(100);
    t.SetText("g]kfn]  s] xf] <");  // "]" and "<" are Preeti letters and signs
    EXPECT_EQ(t.WordRight(0), 8);
    EXPECT_EQ(t.WordLeft(t.size()), 15);
    EXPECT_EQ(t.WordLeft(8), 0);
    t.SelectWordAt(6);  // on the blanks: the run of blanks
    EXPECT_EQ(t.sel_text(), "  ");
    t.SelectWordAt(t.size());  // at the end: the last word
    EXPECT_EQ(t.sel_text(), "<");
}

TEST(PreetiComposerTest, BurstsReplaceSelectionsAndStopAtTheFieldsEnd) {
    PreetiComposer c;
    EditText t(100);
    t.SetText("xxYYxx");
    t.MoveCaret(2, false);
    t.MoveCaret(4, true);
    // A burst typed over a selection replaces it and keeps re-converting.
    EXPECT_TRUE(TypeAll(c, t, "कि", true));
    EXPECT_EQ(t.text(), "xxlsxx");
    EXPECT_EQ(t.caret(), 4);

    // In a full field a syllable that no longer fits is refused whole
    // rather than cut into another letter.
    EditText full(3);
    full.SetText("ab");
    EXPECT_TRUE(TypeAll(c, full, "क", true));
    EXPECT_EQ(full.text(), "abs");
    EXPECT_FALSE(TypeAll(c, full, "ि", true));
    EXPECT_EQ(full.text(), "abs");

    // A long burst, typed a character at a time, settles its head as it
    // goes and still ends as one conversion of the whole: the short i and
    // the reph keep their places across every settled cut.
    for (const std::string unit : {"नेपालीशब्दकोश", "कर्मशिक्षार्थीहरू", "क्क्"}) {
        std::string burst;
        for (int i = 0; i < 40; ++i) burst += unit;
        EditText long_field(100000);
        PreetiComposer fresh;
        EXPECT_TRUE(TypeAll(fresh, long_field, burst, true));
        EXPECT_EQ(long_field.text(), preeti::FromUnicode(burst).value()) << unit;
    }

    // Devanagari in a Latin face, and controls, change nothing.
    EditText latin(10);
    EXPECT_FALSE(TypeAll(c, latin, "क\x01", false));
    EXPECT_EQ(latin.text(), "");
}

}  // namespace
