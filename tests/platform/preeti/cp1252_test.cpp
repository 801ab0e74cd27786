// SPDX-License-Identifier: GPL-3.0-or-later
// Windows-1252 <-> UTF-8 and the Devanagari detector.
#include <gtest/gtest.h>

#include <string>

#include "platform/preeti/preeti.h"

namespace preeti {
namespace {

TEST(Cp1252, EveryByteSurvivesUtf8AndBack) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::string utf8 = Cp1252ToUtf8(all);
    EXPECT_EQ(Utf8ToCp1252(utf8, true), all);
    EXPECT_EQ(Cp1252ToUtf8("\x80\x9F\xA0\xFF"), "€Ÿ\u00A0ÿ");
    EXPECT_EQ(Cp1252ToUtf8(""), "");
}

TEST(Cp1252, CharactersOutsideTheCodePage) {
    EXPECT_EQ(Utf8ToCp1252("a€bक"),
              "a\x80"
              "b?");
    EXPECT_EQ(Utf8ToCp1252("a€bक", true), std::nullopt);
    // U+0080 has no byte: byte 80 is the euro sign.
    EXPECT_EQ(Utf8ToCp1252("\u0080"), "?");
    // One '?' per bad byte; the text after it survives.
    EXPECT_EQ(Utf8ToCp1252("a\xE0\xA4z"), "a??z");
    EXPECT_EQ(Utf8ToCp1252("a\xE0\xA4z", true), std::nullopt);
}

TEST(HasDevanagari, FindsTheBlockOnly) {
    EXPECT_TRUE(HasDevanagari("abc नेपाल"));
    EXPECT_TRUE(HasDevanagari("\u0900"));
    EXPECT_TRUE(HasDevanagari("x\u097F"));
    EXPECT_FALSE(HasDevanagari(""));
    EXPECT_FALSE(HasDevanagari("g]kfn"));
    EXPECT_FALSE(HasDevanagari("\u0980\u08FF"));  // the neighbouring blocks
    EXPECT_FALSE(HasDevanagari("\xE0\xA4"));      // truncated
}

}  // namespace
}  // namespace preeti
