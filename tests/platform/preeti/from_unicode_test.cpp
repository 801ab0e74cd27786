// SPDX-License-Identifier: GPL-3.0-or-later
// Unicode -> Preeti: reference words, syllable layout (short i, reph,
// conjunct glyphs, subscripts), input normalisation, and refusals with the
// offset of the offending character.
#include <gtest/gtest.h>

#include <string>

#include "examples.h"
#include "platform/preeti/preeti.h"

namespace preeti {
namespace {

// The byte offset FromUnicode reports, or npos when it succeeds.
size_t BadOffset(std::string_view utf8) {
    size_t bad = 12345;
    return FromUnicode(utf8, &bad) ? std::string::npos : bad;
}

TEST(FromUnicode, ReferenceWordsEncodeCanonically) {
    for (const auto& ex : testing::kExamples) {
        EXPECT_EQ(FromUnicode(ex.unicode), ex.canonical ? ex.canonical : ex.preeti) << ex.unicode;
    }
}

TEST(FromUnicode, ShortIAndRephPlacement) {
    EXPECT_EQ(FromUnicode("शब्दकोश"), "zAbsf]z");
    EXPECT_EQ(FromUnicode("कीर्ति"), "sLlt{");  // i before the letter, reph after it
    EXPECT_EQ(FromUnicode("प्रकाशित"), "k|sflzt");
    EXPECT_EQ(FromUnicode("पङ्क्ति"), "k\xAA\\lQm");  // i after the visible halant
    EXPECT_EQ(FromUnicode("उद्भिद्"), "pb\\leb\\");
    EXPECT_EQ(FromUnicode("राष्ट्रिय"), "/fli6\xABo");  // i before a three-letter cluster
    EXPECT_EQ(FromUnicode("क्षि"), "lIf");
    EXPECT_EQ(FromUnicode("धर्मं"), "wd{+");  // reph before the nasal
    EXPECT_EQ(FromUnicode("वर्ष"), "jif{");
    EXPECT_EQ(FromUnicode("मर्त्य"), "dTo{");
    EXPECT_EQ(FromUnicode("र्‍य"), "\xA5o");  // eyelash ra is not a reph
    EXPECT_EQ(FromUnicode("र्"), "/\\");               // nor is a word-final र्
}

TEST(FromUnicode, ConjunctsAndSubscripts) {
    EXPECT_EQ(FromUnicode("ट्र ड्र"), "6\xAB 8\xAB");
    EXPECT_EQ(FromUnicode("फ्र"), "k|m");
    EXPECT_EQ(FromUnicode("क्रु"), "qm'");
    EXPECT_EQ(FromUnicode("अङ्ग्रेजी"), "c\xCB|]hL");  // conjunct glyph plus rakar
    EXPECT_EQ(FromUnicode("क्ष्य ज्ञ्य"), "Io \xA1o");  // half conjuncts
    EXPECT_EQ(FromUnicode("छ्य ह्य"), "5\xD8 Xo");    // ya-phala only without a half form
    EXPECT_EQ(FromUnicode("त्त्व"), "TTj");           // no conjunct glyph before a third letter
    EXPECT_EQ(FromUnicode("न्द्र"), "G\x9B");
    EXPECT_EQ(FromUnicode("गुरु रू हृ"), "u'? \xBF \xC5");
    EXPECT_EQ(FromUnicode("रुं"), "?+");
    // A रु that ends a word where `?` reads as a question mark is spelt out,
    // so it reads back as रु.
    EXPECT_EQ(FromUnicode("कारु कारु? रु"), "sf/' sf/'< /'");
    EXPECT_EQ(ToUnicode("sf/' sf/'< /'"), "कारु कारु? रु");
    EXPECT_EQ(FromUnicode("प्र्य"), "k|\\o");  // a subscript still joined onwards
    EXPECT_EQ(ToUnicode("k|\\o"), "प्र्य");
    EXPECT_EQ(FromUnicode("ल्र् श्र्"), "n|\\ >\\");  // and a word-final halant
    EXPECT_EQ(ToUnicode("n|\\ >\\"), "ल्र् श्र्");
    EXPECT_EQ(FromUnicode("ज़्य"), "h\xDE\\o");
    EXPECT_EQ(ToUnicode("h\xDE\\o"), "ज़्य");
}

TEST(FromUnicode, NormalisesBeforeWriting) {
    // Precomposed nukta letters and the two NFC keeps whole.
    EXPECT_EQ(FromUnicode("\u095C\u095D"),
              "8\xDE"
              "9\xDE");
    EXPECT_EQ(FromUnicode("\u0929"), "g\xDE");
    EXPECT_EQ(FromUnicode("\u0921\u094D\u093C"), FromUnicode("\u0921\u093C\u094D"));
    // ZWNJ keeps a visible halant where the text reads it back so; other
    // joiners are dropped.
    EXPECT_EQ(FromUnicode("क्\u200Cष"), "s\\if");
    EXPECT_EQ(FromUnicode("द्\u200Cय घ्\u200Cन"), "B \xA3g");
    EXPECT_EQ(FromUnicode("क्\u200Dष"), "If");
    EXPECT_EQ(FromUnicode("\uFEFFक"), "s");
    // Digits, bars and dandas.
    EXPECT_EQ(FromUnicode("१९६२ 1962"), "!(^@ !(^@");
    EXPECT_EQ(FromUnicode("राम | ॥ ।।"), "/fd . .. ..");
    EXPECT_EQ(FromUnicode("\"राम\" 'क'"), "\xE6/fd\xC6 \xDAs\xDA");
    EXPECT_EQ(FromUnicode("क - ख: ?"), "s \x96 vM <");
}

TEST(FromUnicode, LoneMarksAndEmptyInput) {
    EXPECT_EQ(FromUnicode(""), "");
    // Marks with nothing to sit on are kept, and read back the same.
    for (const char* mark : {"ि", "ा", "ं", "्", "़", "ो", "ॅ", "अि", "१ी"}) {
        const auto bytes = FromUnicode(mark);
        ASSERT_TRUE(bytes) << mark;
        EXPECT_EQ(ToUnicode(*bytes), mark);
    }
}

TEST(FromUnicode, RefusesWhatTheFontCannotWrite) {
    EXPECT_EQ(BadOffset("ab"), 0u);
    EXPECT_EQ(BadOffset("कx"), 3u);
    EXPECT_EQ(BadOffset("पठनशीळ"), 15u);
    EXPECT_EQ(BadOffset("क\u0934"), 3u);  // ऴ
    EXPECT_EQ(BadOffset("ॠ"), 0u);
    EXPECT_EQ(BadOffset("कॄ"), 3u);  // a vowel sign the font lacks
    EXPECT_EQ(BadOffset("क ₹"), 4u);
    EXPECT_EQ(BadOffset("क😀"), 3u);
    EXPECT_EQ(BadOffset("@"), 0u);
    EXPECT_EQ(BadOffset("\x01"), 0u);
    EXPECT_EQ(BadOffset("क\u00D7"), 3u);  // × has a byte only in other font builds
    // Refusal without asking for the offset.
    EXPECT_FALSE(FromUnicode("x"));
}

TEST(FromUnicode, RefusesInvalidUtf8AtTheBadByte) {
    EXPECT_EQ(BadOffset("क\x80"), 3u);         // stray continuation byte
    EXPECT_EQ(BadOffset("क\xE0\xA4"), 3u);     // truncated sequence
    EXPECT_EQ(BadOffset("\xC0\xAF"), 0u);      // overlong
    EXPECT_EQ(BadOffset("\xED\xA0\x80"), 0u);  // surrogate
    EXPECT_EQ(BadOffset("\xF4\x90\x80\x80"), 0u);
    EXPECT_EQ(BadOffset("\xFF"), 0u);
    EXPECT_EQ(BadOffset("क\xE0\x41\x80"), 3u);
}

}  // namespace
}  // namespace preeti
