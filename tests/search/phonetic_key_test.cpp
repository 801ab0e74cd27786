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

TEST(PhoneticKey, FoldsTheSpellingsReadersMixUp) {
    struct Case {
        const char* a;
        const char* b;
    };
    const Case same[] = {
        {"दिन", "दीन"},  // vowel length
        {"मुख", "मूख"},           {"इनार", "ईनार"},
        {"आँखा", "आंखा"},                                  // chandrabindu and anusvara
        {"अङ्ग", "अंग"},                                   // nasal consonant before a consonant
        {"शहर", "सहर"},                                  // sibilants
        {"कृषि", "कृशि"},         {"बोली", "वोली"},        // ब and व
        {"कान", "काण"},         {"द्वार", "द्\u200Dवार"},  // a joiner inside a conjunct
        {"क्‍ष", "क्ष"}, {"ड़", "ड"},              // nukta
    };
    for (const Case& c : same) EXPECT_EQ(Word(c.a), Word(c.b)) << c.a << " / " << c.b;
    EXPECT_NE(Word("काम"), Word("खाम"));  // aspiration is a letter of its own
    EXPECT_NE(Word("पानी"), Word("पनि") + "x");
}

TEST(PhoneticKey, InherentVowelAndSigns) {
    EXPECT_EQ(Word("नेपाल"), "nepala");
    EXPECT_EQ(Word("शब्दकोश"), "sabdakosa");
    EXPECT_EQ(Word("ज्ञान"), "gyana");
    EXPECT_EQ(Word("ऐना"), "aina");
    EXPECT_EQ(Word("सौ"), "sau");
    EXPECT_EQ(Word("कृषि"), "krisi");
    EXPECT_EQ(Word("दुःख"), "duKa");
    EXPECT_EQ(Word("हिंसा"), "hinsa");
    // Typed text leaves its last consonant open for a sign or a halant.
    EXPECT_EQ(Typed("बुद्ध"), "budD");
    EXPECT_EQ(Typed("द"), "d");
    EXPECT_EQ(Typed("नेपा"), "nepa");
    // Text that is not Devanagari adds nothing; invalid UTF-8 is skipped.
    EXPECT_EQ(Word("1 - ?"), "");
    EXPECT_EQ(Word(std::string("क\xFF\xC0ख", 8)), "kaKa");
}

TEST(PhoneticKey, LatinSpellingsMeetTheirDevanagari) {
    struct Case {
        const char* latin;
        const char* devanagari;
    };
    const Case cases[] = {
        {"nepala", "नेपाल"}, {"Nepaala", "नेपाल"}, {"shabdakosha", "शब्दकोश"}, {"sabdakosa", "शब्दकोष"},
        {"chhora", "छोरा"}, {"chora", "छोरा"},   {"paanee", "पानी"},        {"phoola", "फूल"},
        {"fula", "फूल"},     {"gyaana", "ज्ञान"},  {"vidyaa", "विद्या"},       {"widya", "विद्या"},
        {"aankhaa", "आँखा"}, {"bhaai", "भाइ"},    {"thulo", "ठूलो"},
    };
    for (const Case& c : cases) EXPECT_EQ(KeyFromLatin(c.latin), Word(c.devanagari)) << c.latin;
    EXPECT_EQ(KeyFromLatin("ksh-e 1tra"), "ksetra");
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
