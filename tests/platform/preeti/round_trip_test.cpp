// Unicode -> Preeti -> Unicode over a large Nepali word list, and
// Preeti -> Unicode -> Preeti over reference words: the two converters must
// stay each other's inverse.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
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

bool Contains(const std::string& s, const char* what) {
    return s.find(what) != std::string::npos;
}

// Known reasons a Unicode spelling does not come back byte for byte.
// Returns nullptr for a failure none of them explains.
const char* ExplainMismatch(const std::string& word) {
    if (Contains(word, "\u200C") || Contains(word, "\u200D")) {
        return "joiners (the font's forms carry no joiner)";
    }
    if (Contains(word, "\uFEFF")) return "stray byte-order marks (dropped)";
    if (Contains(word, "-")) return "hyphen (the font only has a dash)";
    if (Contains(word, ":")) return "colon used as visarga (one glyph for both)";
    if (Contains(word, "अा")) return "aa sign on अ (decodes as आ)";
    if (Contains(word, "ुु")) return "doubled mark (typing slip)";
    if (Contains(word, "1") || Contains(word, "4")) return "ASCII digits (become Devanagari)";
    if (Contains(word, "ोौ")) return "two vowel signs on one letter";
    return nullptr;
}

TEST(RoundTrip, WordListSurvivesUnicodeToPreetiAndBack) {
    const std::vector<std::string> words = LoadWordList();
    if (words.empty()) GTEST_SKIP() << "Nepali hunspell dictionary not installed";
    size_t exact = 0;
    size_t refused = 0;
    size_t explained = 0;
    for (const std::string& word : words) {
        size_t bad = 0;
        const auto bytes = FromUnicode(word, &bad);
        if (!bytes) {
            // Only ळ has no Preeti form among the list's letters.
            EXPECT_TRUE(Contains(word.substr(bad), "ळ")) << word << " at " << bad;
            ++refused;
            continue;
        }
        const std::string back = ToUnicode(*bytes);
        if (back == word) {
            ++exact;
            // The bytes written are canonical: decoding and encoding again
            // must give them back unchanged.
            EXPECT_EQ(FromUnicode(back), bytes) << word;
            continue;
        }
        if (ExplainMismatch(word)) {
            ++explained;
        } else {
            ADD_FAILURE() << word << " -> " << back;
        }
    }
    const double share = static_cast<double>(exact) / static_cast<double>(words.size());
    std::printf("round trip: %zu of %zu exact (%.2f%%), %zu explained, %zu refused\n", exact,
                words.size(), share * 100, explained, refused);
    EXPECT_GT(share, 0.985);
}

TEST(RoundTrip, ReferenceWordsSurvivePreetiToUnicodeAndBack) {
    for (const auto& ex : testing::kExamples) {
        const char* canonical = ex.canonical ? ex.canonical : ex.preeti;
        EXPECT_EQ(FromUnicode(ToUnicode(ex.preeti)), canonical) << ex.preeti;
        EXPECT_EQ(ToUnicode(canonical), ex.unicode) << canonical;
    }
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
        {"/'", "?"},
        {"x[", "\xC5"},
        {"x\xD8", "Xo"},
        {"\xB4", "em"},
        {"kl\xAA\\Qm", "k\xAA\\lQm"},
        {"sfo{fno", "sfof{no"},
    };
    for (const auto& [typed, canonical] : cases) {
        EXPECT_EQ(FromUnicode(ToUnicode(typed)), canonical) << typed;
    }
}

}  // namespace
}  // namespace preeti
