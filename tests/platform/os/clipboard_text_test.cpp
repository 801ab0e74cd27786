// SPDX-License-Identifier: GPL-3.0-or-later
// What copied text means to the program, and how the program's bytes look on
// the clipboard.
#include "platform/os/clipboard_text.h"

#include <gtest/gtest.h>

namespace platform::os {
namespace {

TEST(ClipboardTextTest, DevanagariBecomesPreetiBytes) {
    EXPECT_EQ(ClipboardToProgramText("नेपाल"), "g]kfn");
    // Joiners and unusual spaces from other programs do not change the word.
    EXPECT_EQ(ClipboardToProgramText("ने\u200Dपाल"), "g]kfn");
    EXPECT_EQ(ClipboardToProgramText("\uFEFFनेपाल\u00A0"), "g]kfn ");
}

TEST(ClipboardTextTest, DevanagariWithUnconvertibleCharactersGivesNothing) {
    EXPECT_EQ(ClipboardToProgramText("नेपाल 日本"), "");
    EXPECT_EQ(ClipboardToProgramText("नेपाल \xF0\x9F\x98\x80"), "");
}

TEST(ClipboardTextTest, OtherTextBecomesWindows1252) {
    EXPECT_EQ(ClipboardToProgramText("plain"), "plain");
    EXPECT_EQ(ClipboardToProgramText("café €5"),
              "caf\xE9 \x80"
              "5");
    EXPECT_EQ(ClipboardToProgramText("日本"), "??");
    EXPECT_EQ(ClipboardToProgramText(""), "");
}

TEST(ClipboardTextTest, ProgramBytesFollowTheFaceTheyAreShownIn) {
    EXPECT_EQ(ProgramTextToClipboard("g]kfn", true), "नेपाल");
    EXPECT_EQ(ProgramTextToClipboard("g]kfn", false), "g]kfn");
    EXPECT_EQ(ProgramTextToClipboard("caf\xE9", false), "café");
    EXPECT_EQ(ClipboardToProgramText(ProgramTextToClipboard("g]kfn", true)), "g]kfn");
    // A visible halant goes out with the ZWNJ that keeps it visible and
    // comes back as the same bytes, not as a conjunct.
    const std::string copied = ProgramTextToClipboard("jfs\\o", true);
    EXPECT_NE(copied.find("\u200C"), std::string::npos);
    EXPECT_EQ(ClipboardToProgramText(copied), "jfs\\o");
    // A halant typed for want of a half form goes out as the conjunct it
    // stands for, and `?` after a word as a question mark.
    EXPECT_EQ(ProgramTextToClipboard("ljb\\ofno lsg?", true), "विद्यालय किन?");
}

}  // namespace
}  // namespace platform::os
