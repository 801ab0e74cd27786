// SPDX-License-Identifier: GPL-3.0-or-later
// Unicode -> Preeti -> Unicode over a large Nepali word list, and
// Preeti -> Unicode -> Preeti over reference words: the two converters must
// stay each other's inverse.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "examples.h"
#include "platform/preeti/preeti.h"

namespace preeti {
namespace {

std::vector<std::string> LoadWordList() {
    std::vector<std::string> words;
    std::ifstream in("/usr/share/hunspell/ne_NP.dic");
    std::string line;
    if (!in || !std::getline(in, line)) return words;  // first line: entry count
    while (std::getline(in, line)) {
        std::string word = line.substr(0, line.find('/'));
        while (!word.empty() && (word.back() == '\r' || word.back() == ' ')) word.pop_back();
        if (!word.empty()) words.push_back(word);
    }
    return words;
}

void ReplaceAll(std::string& s, std::string_view from, std::string_view to) {
    for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size())) {
        s.replace(at, from.size(), to);
    }
}

// The font has no joiners: only the letters and their order must survive.
std::string WithoutJoiners(std::string word) {
    ReplaceAll(word, "\u200C", "");
    ReplaceAll(word, "\u200D", "");
    return word;
}

// What a word must come back as, joiners aside. A few characters have no
// glyph of their own and come back as the one the font draws for them.
std::string Expected(const std::string& word) {
    std::string out = WithoutJoiners(word);
    ReplaceAll(out, "\uFEFF", "");  // a byte-order mark inside a word means nothing
    ReplaceAll(out, ":", "ः");      // one glyph for both; after a letter it reads as visarga
    ReplaceAll(out, "-", "–");      // no hyphen; the short dash stands in
    static constexpr const char* kDigits[] = {"०", "१", "२", "३", "४", "५", "६", "७", "८", "९"};
    for (char d = '0'; d <= '9'; ++d) ReplaceAll(out, std::string(1, d), kDigits[d - '0']);
    return out;
}

// Words whose letters do not come back, each for its own reason.
struct Exception {
    const char* word;
    const char* reason;
};
constexpr Exception kExceptions[] = {
    {"पठनशीळ", "ळ has no Preeti form: refused"},
    {"अाफ्नै", "the aa sign on अ is how आ is typed (cf), so it reads back as आ"},
    {"आयुुर्वेदिक", "a doubled ु is a typing slip; the decoder keeps one"},
    {"धोौइ", "ो and ौ on one letter: their bytes f]f} read back as ा ो ै"},
};

const Exception* FindException(const std::string& word) {
    for (const Exception& e : kExceptions) {
        if (word == e.word) return &e;
    }
    return nullptr;
}

TEST(RoundTrip, WordListSurvivesUnicodeToPreetiAndBack) {
    const std::vector<std::string> words = LoadWordList();
    if (words.empty()) GTEST_SKIP() << "Nepali hunspell dictionary not installed";
    size_t same_letters = 0;
    size_t exact = 0;
    size_t stand_ins = 0;
    size_t exceptions = 0;
    for (const std::string& word : words) {
        const auto bytes = FromUnicode(word);
        const std::string back = bytes ? ToUnicode(*bytes) : std::string();
        if (const Exception* e = FindException(word)) {
            // A listed word that comes back whole no longer belongs here.
            EXPECT_NE(WithoutJoiners(back), Expected(word)) << word << ": " << e->reason;
            ++exceptions;
            continue;
        }
        if (!bytes) {
            ADD_FAILURE() << word << " refused";
            continue;
        }
        EXPECT_EQ(WithoutJoiners(back), Expected(word)) << word << " as " << *bytes;
        if (back == word) {
            ++exact;
            // The bytes written are canonical: decoding and encoding again
            // must give them back unchanged.
            EXPECT_EQ(FromUnicode(back), bytes) << word;
        }
        if (WithoutJoiners(back) == WithoutJoiners(word)) {
            ++same_letters;
        } else {
            ++stand_ins;
        }
    }
    std::printf(
        "round trip: %zu of %zu words keep their letters and order (%.2f%%), %zu of them byte "
        "for byte; %zu come back with a stand-in character; %zu listed exceptions\n",
        same_letters, words.size(), 100.0 * static_cast<double>(same_letters) / words.size(), exact,
        stand_ins, exceptions);
}

TEST(RoundTrip, ReferenceWordsSurvivePreetiToUnicodeAndBack) {
    for (const auto& ex : testing::kExamples) {
        const char* canonical = ex.canonical ? ex.canonical : ex.preeti;
        EXPECT_EQ(FromUnicode(ToUnicode(ex.preeti)), canonical) << ex.preeti;
        EXPECT_EQ(ToUnicode(canonical), ex.unicode) << canonical;
    }
}

// Text no typist writes still converts to bytes that read back as
// themselves, so text going back and forth settles after one round (found
// by fuzzing).
TEST(RoundTrip, OddTextSettlesAfterOneRound) {
    for (const char* odd : {"{T\n", "{\xA5", "{{{{{[0\t", "र्त्", "र्र्‍"}) {
        const auto once = FromUnicode(ToUnicode(odd));
        if (!once) continue;
        EXPECT_EQ(FromUnicode(ToUnicode(*once)), *once) << odd;
    }
    // A reph typed after a visible halant crowns the consonant before it.
    EXPECT_EQ(ToUnicode("t\\{"), "र्त्");
    EXPECT_EQ(FromUnicode("र्त्"), "t\\{");
}

TEST(RoundTrip, AlternativeSpellingsBecomeCanonical) {
    const std::pair<const char*, const char*> cases[] = {
        {"s+f", "sf+"},
        {"s]f", "sf]"},
        {"k]m", "km]"},
        {"s|d", "qmd"},
        {"St", "Qm"},
        {"Tt", "Q"},
        {"z|", ">"},
        {"Z/", ">"},
        {"H`", "1"},
        {"b\\b", "2"},
        {"w|", "\x84"},
        {"Gg", "\xCC"},
        {"u'/'", "u'?"},
        {"x[", "\xC5"},
        {"x\xD8", "Xo"},
        {"\xB4", "em"},
        {"kl\xAA\\Qm", "k\xAA\\lQm"},
        {"kl|o", "lk|o"},
        {"k|sl|of", "k|lqmof"},
        {"sfo{fno", "sfof{no"},
    };
    for (const auto& [typed, canonical] : cases) {
        EXPECT_EQ(FromUnicode(ToUnicode(typed)), canonical) << typed;
    }
}

}  // namespace
}  // namespace preeti
