// SPDX-License-Identifier: GPL-3.0-or-later
// Preeti bytes -> Unicode: reference words, the reordering the font's visual
// order forces, alternative spellings typists use, and hostile input.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "examples.h"
#include "platform/preeti/preeti.h"

namespace preeti {
namespace {

// Strict UTF-8 check, written independently of the library's decoder.
bool IsValidUtf8(const std::string& s) {
    size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<uint8_t>(s[i]);
        size_t len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        if (len == 0 || i + len > s.size()) return false;
        uint32_t cp = len == 1 ? b : b & (0x7F >> len);
        for (size_t k = 1; k < len; ++k) {
            const auto c = static_cast<uint8_t>(s[i + k]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        static constexpr uint32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += len;
    }
    return true;
}

TEST(ToUnicode, ReferenceWordsDecode) {
    for (const auto& ex : testing::kExamples) {
        EXPECT_EQ(ToUnicode(ex.preeti), ex.unicode) << ex.preeti;
        if (ex.canonical) {
            EXPECT_EQ(ToUnicode(ex.canonical), ex.unicode) << ex.canonical;
        }
    }
}

TEST(ToUnicode, ShortIMovesPastTheWholeCluster) {
    EXPECT_EQ(ToUnicode("ls"), "कि");
    EXPECT_EQ(ToUnicode("/fli6\xABo"), "राष्ट्रिय");  // past ष्ट्र
    EXPECT_EQ(ToUnicode("lqmof"), "क्रिया");         // past the hooked conjunct
    EXPECT_EQ(ToUnicode("nlIf"), "लक्षि");           // past half form + stem
    EXPECT_EQ(ToUnicode("l8\xDE"), "ड़ि");           // and past a nukta
    EXPECT_EQ(ToUnicode("lk\x7Cn"), "प्रिल");        // rakar is part of the cluster
    // After a visible halant or before the cluster that contains it.
    EXPECT_EQ(ToUnicode("k\xAA\\lQm"), "पङ्क्ति");
    EXPECT_EQ(ToUnicode("kl\xAA\\Qm"), "पङ्क्ति");
    // Typed after a letter, in front of its rakar or halant, as many typists
    // do. After the rakar it is the next letter's.
    EXPECT_EQ(ToUnicode("kl\x7Co"), "प्रिय");
    EXPECT_EQ(ToUnicode("k\x7Csl\x7Cof"), "प्रक्रिया");
    EXPECT_EQ(ToUnicode("6l\xABo"), "ट्रिय");
    EXPECT_EQ(ToUnicode("k\xAAl\\Qm"), "पङ्क्ति");
    EXPECT_EQ(ToUnicode("k\x7Clo"), "प्रयि");
    // Nothing to attach to: the sign stays where it was typed.
    EXPECT_EQ(ToUnicode("l"), "ि");
    EXPECT_EQ(ToUnicode("cl"), "अि");
    EXPECT_EQ(ToUnicode("l s"), "ि क");
}

TEST(ToUnicode, RephMovesBeforeItsCluster) {
    EXPECT_EQ(ToUnicode("wd{"), "धर्म");
    EXPECT_EQ(ToUnicode("sLlt{"), "कीर्ति");  // over a consonant carrying the i sign
    EXPECT_EQ(ToUnicode("dTo{"), "मर्त्य");    // over a half-form conjunct
    EXPECT_EQ(ToUnicode("jif{"), "वर्ष");     // over a two-piece letter
    EXPECT_EQ(ToUnicode("sfo{fno"), "कार्यालय");
    EXPECT_EQ(ToUnicode("sfof{no"), "कार्यालय");
    EXPECT_EQ(ToUnicode("wd{+"), "धर्मं");
    EXPECT_EQ(ToUnicode("wd+{"), "धर्मं");  // skips a nasal typed first
    EXPECT_EQ(ToUnicode("O{"), "ई");      // not a reph at all
    EXPECT_EQ(ToUnicode("{"), "र्");
    EXPECT_EQ(ToUnicode("c{"), "अर्");
    EXPECT_EQ(ToUnicode("Sjf6\\h{"), "क्वार्ट्ज");  // over a halant inside a conjunct
    // Not over a halant that ends its cluster: one after a letter with a half
    // glyph, or one before the य that ङ छ ट ठ ड ढ द take as the ya-phala.
    EXPECT_EQ(ToUnicode("s'k\\of{p"), "कुप्\u200Cर्याउ");
    EXPECT_EQ(ToUnicode("kfz\\lj{s"), "पाश्\u200Cर्विक");  // short i in between
    EXPECT_EQ(ToUnicode("3'\xAA\\of{p", UnicodeFor::kDrawing), "घुङ्\u200Cर्याउ");
}

// As drawn, a halant that ends its cluster is kept visible with a ZWNJ, so
// Unicode fonts do not draw a conjunct the Preeti font does not show.
TEST(ToUnicode, HalantThatEndsAClusterStaysVisibleWhenDrawn) {
    const auto drawn = [](std::string_view bytes) {
        return ToUnicode(bytes, UnicodeFor::kDrawing);
    };
    EXPECT_EQ(drawn("s\\if"), "क्\u200Cष");
    EXPECT_EQ(drawn("/\\k"), "र्\u200Cप");  // not the reph
    EXPECT_EQ(drawn("b\\o"), "द्\u200Cय");  // द्य is B
    EXPECT_EQ(drawn("3\\g"), "घ्\u200Cन");
    EXPECT_EQ(ToUnicode("\xAA\xD8"), "ङ्य");
    // No joiner inside a conjunct, at the end of a word or before punctuation.
    EXPECT_EQ(ToUnicode(";b\\efj"), "सद्भाव");
    EXPECT_EQ(ToUnicode("\xAA\\lQm"), "ङ्क्ति");
    EXPECT_EQ(ToUnicode("k\x7C\\o"), "प्र्य");
    EXPECT_EQ(ToUnicode("g\\ s\\="), "न् क्.");
    // The stem after the halant still completes the letter.
    EXPECT_EQ(ToUnicode("s\\f"), "क");
}

// As text, the letters the typist meant: a halant typed for want of a half
// form joins the next letter, one typed where a half form was at hand stays
// visible, and a `?` ending a word is a question mark unless the word is one
// that ends in रु.
TEST(ToUnicode, TextHasTheLettersTheTypistMeant) {
    const std::pair<const char*, const char*> cases[] = {
        {"ljb\\ofno", "विद्यालय"},
        {"skm\\o'{", "कर्फ्यु"},  // the reph crowns the whole conjunct
        {"kf7\\os|d", "पाठ्यक्रम"},
        {"3\\g", "घ्न"},
        {"\xAA\\o", "ङ्य"},
        {"s\\if", "क्\u200Cष"},
        {"/\\k", "र्\u200Cप"},
        {"k'u]g?", "पुगेन?"},
        {"s] xf] ?", "के हो ?"},
        {"ltdL slxn] cfPsf] <", "तिमी कहिले आएको ?"},
        {"u'?", "गुरु"},
        {"dxfu'?,", "महागुरु,"},
        {"v'?v'?", "खुरुखुरु"},
        {"sfdx?", "कामहरु"},
        {"?kof", "रुपया"},
        {"?=", "रु."},
        {"?!))", "रु१००"},
        {"u'? ?", "गुरु ?"},
    };
    for (const auto& [bytes, text] : cases) EXPECT_EQ(ToUnicode(bytes), text) << bytes;
    // Drawn, the bytes keep the picture the font shows.
    EXPECT_EQ(ToUnicode("k'u]g?", UnicodeFor::kDrawing), "पुगेनरु");
    EXPECT_EQ(ToUnicode("ljb\\ofno", UnicodeFor::kDrawing), "विद्\u200Cयालय");
}

TEST(ToUnicode, HalfFormsAndAssembledLetters) {
    EXPECT_EQ(ToUnicode("0f"), "ण");
    EXPECT_EQ(ToUnicode("iff]"), "षो");
    EXPECT_EQ(ToUnicode("Sf]"), "के");  // the stem completes क्, not ो
    EXPECT_EQ(ToUnicode("S]f"), "के");
    EXPECT_EQ(ToUnicode("If]q"), "क्षेत्र");
    EXPECT_EQ(ToUnicode("cf]"), "ओ");
    EXPECT_EQ(ToUnicode("cf}"), "औ");
    EXPECT_EQ(ToUnicode("P]"), "ऐ");
    EXPECT_EQ(ToUnicode("pm"), "ऊ");
    EXPECT_EQ(ToUnicode("cf\x91"), "ऑ");
    EXPECT_EQ(ToUnicode("c\x91"
                        "f"),
              "ऑ");
    EXPECT_EQ(ToUnicode("sf\x91n]h"), "कॉलेज");
    EXPECT_EQ(ToUnicode("\xA5o"), "र्‍य");
}

TEST(ToUnicode, MarkOrderAndHookPlacementAreFree) {
    EXPECT_EQ(ToUnicode("s+f"), ToUnicode("sf+"));
    EXPECT_EQ(ToUnicode("sF]"), "केँ");
    EXPECT_EQ(ToUnicode("s]f"), "को");
    EXPECT_EQ(ToUnicode("k]m"), "फे");
    EXPECT_EQ(ToUnicode("k'm"), "फु");
    EXPECT_EQ(ToUnicode("k\x7Cm"), "फ्र");
    EXPECT_EQ(ToUnicode("s'\x7C"), "क्रु");  // sign typed before a rakar
    EXPECT_EQ(ToUnicode("s''"), "कु");      // doubled mark
    EXPECT_EQ(ToUnicode("m"), "");         // a hook with no base draws nothing
    EXPECT_EQ(ToUnicode("smf"), "का");
    EXPECT_EQ(ToUnicode("km'm"), "फु");
}

TEST(ToUnicode, OtherSpellingsOfTheSameLetters) {
    EXPECT_EQ(ToUnicode("s\x7C"), ToUnicode("qm"));
    EXPECT_EQ(ToUnicode("St"), ToUnicode("Qm"));
    EXPECT_EQ(ToUnicode("Tt"), ToUnicode("Q"));
    EXPECT_EQ(ToUnicode("z\x7C"), ToUnicode(">"));
    EXPECT_EQ(ToUnicode("Z/"), ToUnicode(">"));
    EXPECT_EQ(ToUnicode("H`"), ToUnicode("1"));
    EXPECT_EQ(ToUnicode("b\\b"), ToUnicode("2"));
    EXPECT_EQ(ToUnicode("u'/'"), ToUnicode("u'?"));
    EXPECT_EQ(ToUnicode("/\""), ToUnicode("\xBF"));
    EXPECT_EQ(ToUnicode("x["), ToUnicode("\xC5"));
    EXPECT_EQ(ToUnicode("x\xD8"), ToUnicode("Xo"));
    EXPECT_EQ(ToUnicode("\xB4"), ToUnicode("em"));
    EXPECT_EQ(ToUnicode("N\x98"), "ल");
}

TEST(ToUnicode, VisargaOrColon) {
    EXPECT_EQ(ToUnicode("M"), ":");
    EXPECT_EQ(ToUnicode("pbfx/0fM"), "उदाहरणः");
    EXPECT_EQ(ToUnicode("s M !"), "क : १");
    EXPECT_EQ(ToUnicode("!M"), "१:");
    EXPECT_EQ(ToUnicode("cM"), "अः");
}

TEST(ToUnicode, PunctuationAndPassThrough) {
    EXPECT_EQ(ToUnicode(""), "");
    EXPECT_EQ(ToUnicode(".."), "।।");
    EXPECT_EQ(ToUnicode("\x96\x97\xA0"), "–—\u00A0");
    EXPECT_EQ(ToUnicode("s\tv\r\n"), "क\tख\r\n");
    // Bytes the font does not draw keep their Windows-1252 meaning.
    EXPECT_EQ(ToUnicode("\x80\x81\x9F\xFF"), "€\u0081Ÿÿ");
    EXPECT_EQ(ToUnicode("\x92"), "’");
    // Extra bytes some builds of the font use.
    EXPECT_EQ(ToUnicode("\xA4"
                        "em"),
              "झ्झ");
    EXPECT_EQ(ToUnicode("\xECo"), "त्त्य");
}

TEST(ToUnicode, AppendKeepsExistingText) {
    std::string out = "x";
    AppendUnicode("g]kfn", out);
    AppendUnicode(" M", out);
    EXPECT_EQ(out, "xनेपाल :");
}

TEST(ToUnicode, AnyBytesGiveValidUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_TRUE(IsValidUtf8(ToUnicode(one))) << b;
        all += one;
    }
    EXPECT_TRUE(IsValidUtf8(ToUnicode(all)));
    for (int a = 1; a < 256; ++a) {
        for (int b = 1; b < 256; ++b) {
            const char pair[] = {static_cast<char>(a), static_cast<char>(b), 'l', '{', 'm', 0};
            ASSERT_TRUE(IsValidUtf8(ToUnicode(pair))) << a << ' ' << b;
            // Nor do the decoder's private stand-ins (U+E000..) leak out.
            const char halant[] = {static_cast<char>(a), '\\', static_cast<char>(b), 'l', '{', 0};
            const std::string out = ToUnicode(halant);
            ASSERT_TRUE(IsValidUtf8(out)) << a << ' ' << b;
            ASSERT_EQ(out.find("\xEE\x80"), std::string::npos) << a << ' ' << b;
        }
    }
}

TEST(ToUnicode, LongRunsWithoutSpaces) {
    // Far longer than any word: must neither overflow nor lose text.
    std::string reph(1000, '{');
    EXPECT_EQ(ToUnicode(reph).size(), 1000 * 6u);
    std::string mixed;
    for (int i = 0; i < 300; ++i) mixed += "lIf{|m]";
    EXPECT_TRUE(IsValidUtf8(ToUnicode(mixed)));
    std::string words;
    for (int i = 0; i < 300; ++i) words += "sLlt{";
    EXPECT_TRUE(IsValidUtf8(ToUnicode(words)));
}

}  // namespace
}  // namespace preeti
