// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/phonetic_key.h"

#include <gtest/gtest.h>

namespace search {
namespace {

std::string Word(std::string_view utf8) {
    return KeyFromUnicode(utf8, KeyUse::kHeadword);
}
std::string Typed(std::string_view utf8) {
    return KeyFromUnicode(utf8, KeyUse::kTyped);
}

TEST(PhoneticKey, OneKeyForEveryWayOfWritingAWordAndNoMore) {
    struct Case {
        const char* a;
        const char* b;
    };
    const Case same[] = {
        {"द्वार", "द्\u200Dवार"},
        {"क्‍ष", "क्ष"},
        {"द्‌य", "द्य"},  // joiners
        {"ड़", "ड"},
        {"\u095C", "ड"},  // nukta
    };
    for (const Case& c : same) EXPECT_EQ(Word(c.a), Word(c.b)) << c.a << " / " << c.b;
    // What a reader may mix up stays apart: the edit costs decide how far.
    const Case apart[] = {
        {"दिन", "दीन"}, {"मुख", "मूख"},   {"आँखा", "आंखा"}, {"शहर", "सहर"}, {"बोली", "वोली"},
        {"कान", "काण"}, {"ताल", "टाल"}, {"काम", "खाम"}, {"कै", "कइ"},    {"कृ", "क्रि"},
    };
    for (const Case& c : apart) EXPECT_NE(Word(c.a), Word(c.b)) << c.a << " / " << c.b;
}

TEST(PhoneticKey, InherentVowelAndSigns) {
    EXPECT_EQ(Word("नेपाल"), "nepAla");
    EXPECT_EQ(Word("शब्दकोश"), "6abdako6a");
    EXPECT_EQ(Word("ज्ञान"), "89Ana");
    EXPECT_EQ(Word("ऐना"), "aYnA");
    EXPECT_EQ(Word("सौ"), "saW");
    EXPECT_EQ(Word("कृषि"), "krR7i");
    EXPECT_EQ(Word("दुःख"), "duHKa");
    EXPECT_EQ(Word("हिंसा"), "hiMsA");
    EXPECT_EQ(Word("चाँडै"), "cA~3aY");
    // Typed text leaves its last consonant open for a sign or a halant.
    EXPECT_EQ(Typed("बुद्ध"), "budD");
    EXPECT_EQ(Typed("द"), "d");
    EXPECT_EQ(Typed("नेपा"), "nepA");
    // Text that is not Devanagari adds nothing; invalid UTF-8 is skipped.
    EXPECT_EQ(Word("- ?"), "");
    EXPECT_EQ(Word("१ 2"), "\x11\x12");
    EXPECT_EQ(Word(std::string("क\xFF\xC0ख", 8)), "kaKa");
}

TEST(PhoneticKey, LatinLetters) {
    struct Case {
        const char* latin;
        const char* key;
    };
    const Case cases[] = {
        {"Nepaal", "nepAl"},      {"chhora", "Cor@"}, {"chiya", "^iy@"}, {"paanee", "pAnI"},
        {"pani", "pan!"},         {"phool", "fUl"},   {"gyaan", "gyAn"}, {"widya", "vidy@"},
        {"ksh-e 1tra", "k6etr@"}, {"Xa", "k7@"},      {"aama", "Am@"},   {"bhaai", "BA!"},
        {"thulo", "Tulo"},        {"aunu", "aunu"},   {"a", "a"},        {"bhai", "Ba!"},
    };
    for (const Case& c : cases) EXPECT_EQ(KeyFromLatin(c.latin), c.key) << c.latin;
}

TEST(PhoneticKey, OnlyLettersReadAsLatin) {
    EXPECT_TRUE(ReadsAsLatin("nepal"));
    EXPECT_TRUE(ReadsAsLatin("Ram's book-shop"));
    EXPECT_FALSE(ReadsAsLatin("g]kfn"));  // Preeti for नेपाल
    EXPECT_FALSE(ReadsAsLatin("   "));
    EXPECT_FALSE(ReadsAsLatin(""));
    EXPECT_FALSE(ReadsAsLatin("abc1"));
}

TEST(PhoneticKey, LongTextStopsAtTheKeyLimit) {
    std::string many;
    for (int i = 0; i < 100; ++i) many += "का";
    EXPECT_EQ(Word(many).size(), kMaxKeyLength);
    EXPECT_EQ(KeyFromLatin(std::string(500, 'x')).size(), kMaxKeyLength);
}

}  // namespace
}  // namespace search
