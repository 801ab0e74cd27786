#include "search/search_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/preeti/preeti.h"
#include "search/phonetic_key.h"

namespace search {
namespace {

// The fewest edits that turn `query` into some beginning of `key`.
int PrefixDistance(std::string_view query, std::string_view key) {
    std::vector<int> row(query.size() + 1);
    for (size_t j = 0; j <= query.size(); ++j) row[j] = static_cast<int>(j);
    int best = row.back();
    for (size_t i = 1; i <= key.size(); ++i) {
        std::vector<int> next(query.size() + 1);
        next[0] = static_cast<int>(i);
        for (size_t j = 1; j <= query.size(); ++j)
            next[j] = std::min(
                {row[j - 1] + (query[j - 1] == key[i - 1] ? 0 : 1), row[j] + 1, next[j - 1] + 1});
        row = next;
        best = std::min(best, row.back());
    }
    return best;
}

std::vector<Match> BruteForce(const std::vector<std::string>& keys, std::string_view query,
                              size_t limit, int bound) {
    std::vector<Match> all;
    for (size_t i = 0; i < keys.size(); ++i) {
        const int d = PrefixDistance(query, keys[i]);
        if (d <= bound) all.push_back({static_cast<int32_t>(i), d});
    }
    std::stable_sort(all.begin(), all.end(),
                     [](const Match& a, const Match& b) { return a.distance < b.distance; });
    if (all.size() > limit) all.resize(limit);
    return all;
}

TEST(SearchIndex, AgreesWithEditDistanceAgainstEveryKey) {
    // Small alphabets make many shared prefixes, near misses and ties.
    std::mt19937 random(7);
    std::vector<std::string> keys;
    for (int i = 0; i < 3000; ++i) {
        std::string key(1 + random() % 9, ' ');
        for (char& c : key) c = "abcde"[random() % 5];
        keys.push_back(key);
    }
    keys.push_back("");
    const SearchIndex index = SearchIndex::FromKeys(keys);
    for (int q = 0; q < 300; ++q) {
        std::string query(1 + random() % 7, ' ');
        for (char& c : query) c = "abcdef"[random() % 6];
        const size_t limit = 1 + random() % 10;
        const int bound = static_cast<int>(random() % 4);
        EXPECT_EQ(index.Nearest(query, limit, bound), BruteForce(keys, query, limit, bound))
            << query << " limit " << limit << " bound " << bound;
    }
}

TEST(SearchIndex, RanksByDistanceThenDictionaryOrder) {
    const SearchIndex index = SearchIndex::FromKeys({"kamala", "kama", "kala", "kaman", "xyz"});
    const std::vector<Match> expected = {{0, 0}, {1, 0}, {3, 0}, {2, 1}};
    EXPECT_EQ(index.Nearest("kam", 8, 1), expected);
    EXPECT_EQ(index.Nearest("kam", 2, 1),
              std::vector<Match>(expected.begin(), expected.begin() + 2));
    EXPECT_TRUE(index.Nearest("", 8, 3).empty());
    EXPECT_TRUE(index.Nearest("kam", 0, 3).empty());
    EXPECT_TRUE(index.Nearest("qqq", 8, 2).empty());
    EXPECT_TRUE(SearchIndex::FromKeys({}).Nearest("a", 8, 2).empty());
}

TEST(SearchIndex, WholeWordsComeBeforeWordsTheQueryOnlyBegins) {
    // काँचो, कान, काम: "kan" begins the first and spells the second whole
    // but for its final a; "kam" spells काम.
    const SearchIndex index = SearchIndex::FromKeys({"kanco", "kana", "kama", "kamara"});
    EXPECT_EQ(index.NearestWords("kan", 8, 1),
              (std::vector<Match>{{1, 0}, {0, 0}, {2, 1}, {3, 1}}));
    EXPECT_EQ(index.NearestWords("kamar", 2, 1), (std::vector<Match>{{3, 0}, {2, 1}}));
    // A whole word further away still comes after every nearer one.
    EXPECT_EQ(index.NearestWords("kanc", 8, 1), (std::vector<Match>{{0, 0}, {1, 1}}));
}

TEST(SearchIndex, DistanceBoundGrowsWithTheQuery) {
    EXPECT_EQ(DistanceBound(1), 0);
    EXPECT_EQ(DistanceBound(2), 0);
    EXPECT_EQ(DistanceBound(3), 1);
    EXPECT_EQ(DistanceBound(7), 2);
    EXPECT_EQ(DistanceBound(11), 2);
    EXPECT_EQ(DistanceBound(40), 2);
}

// A store's worth of Preeti headwords, from UTF-8.
struct Headwords {
    std::vector<std::string> preeti;

    explicit Headwords(const std::vector<std::string>& unicode) {
        for (const std::string& word : unicode) preeti.push_back(preeti::FromUnicode(word).value());
    }
    SearchIndex Index() const {
        return SearchIndex::Build(static_cast<int32_t>(preeti.size()),
                                  [&](int32_t i) { return std::string_view(preeti[i]); });
    }
};

std::vector<int32_t> Entries(const Suggestions& s) {
    std::vector<int32_t> entries;
    for (const Match& m : s.matches) entries.push_back(m.entry);
    return entries;
}

TEST(Suggestions, ReadTypedLettersAsUnicodeNotBytes) {
    // In Preeti bytes बुद्ध is no prefix of बुद्धि (the short i comes first)
    // and क is none of क्षेत्र (one glyph).
    const Headwords words({"बिरालो", "बुद्धि", "क्षेत्र", "द्रव्य", "दरबार"});
    const SearchIndex index = words.Index();
    ASSERT_FALSE(words.preeti[1].starts_with(preeti::FromUnicode("बुद्ध").value()));
    EXPECT_EQ(Entries(SuggestForUnicode(index, "बुद्ध", 8)), std::vector<int32_t>({1}));
    EXPECT_EQ(Entries(SuggestForUnicode(index, "क", 8)), std::vector<int32_t>({2}));
    EXPECT_EQ(Entries(SuggestForUnicode(index, "द", 8)), std::vector<int32_t>({3, 4}));
    EXPECT_EQ(Entries(SuggestForTyped(index, preeti::FromUnicode("बुद्ध").value(), 8)),
              std::vector<int32_t>({1}));
}

TEST(Suggestions, LatinReadingWinsOnlyWhenNearer) {
    const Headwords words({"नेपाल", "नेपाली", "पानी", "शब्दकोश"});
    const SearchIndex index = words.Index();
    Suggestions s = SuggestForTyped(index, "nepal", 8);
    EXPECT_TRUE(s.romanised);
    EXPECT_EQ(Entries(s), std::vector<int32_t>({0, 1}));
    s = SuggestForTyped(index, "shabdakosh", 8);
    EXPECT_TRUE(s.romanised);
    EXPECT_EQ(Entries(s), std::vector<int32_t>({3}));
    // The Preeti keys of नेपाल read as Devanagari, and are not letters.
    s = SuggestForTyped(index, "g]kfn", 8);
    EXPECT_FALSE(s.romanised);
    EXPECT_EQ(Entries(s), std::vector<int32_t>({0, 1}));
    // From a terminal, Latin letters are a Latin spelling.
    s = SuggestForUnicode(index, "paani", 8);
    EXPECT_TRUE(s.romanised);
    EXPECT_EQ(Entries(s), std::vector<int32_t>({2}));
    EXPECT_TRUE(SuggestForUnicode(index, "\xFF", 8).matches.empty());
}

// --- the reader's lists: misspellings and Latin spellings of sample words --

std::string SourcePath(const std::string& relative) {
    const char* root = std::getenv("KOVELIN_SOURCE_DIR");
    return std::string(root ? root : ".") + "/" + relative;
}

std::vector<std::pair<std::string, std::string>> ReadPairs(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::pair<std::string, std::string>> pairs;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        const size_t tab = line.find('\t');
        if (tab != std::string::npos) pairs.emplace_back(line.substr(0, tab), line.substr(tab + 1));
    }
    return pairs;
}

struct Rates {
    int total = 0;
    int first = 0;
    int top8 = 0;
};

Rates Measure(const char* list) {
    std::vector<std::string> unicode;
    for (const auto& [word, definition] : ReadPairs(SourcePath("data/dictionary.tsv")))
        unicode.push_back(word);
    const Headwords words(unicode);
    const SearchIndex index = words.Index();
    Rates rates;
    for (const auto& [typed, meant] : ReadPairs(SourcePath(list))) {
        const auto at = std::find(unicode.begin(), unicode.end(), meant);
        EXPECT_NE(at, unicode.end()) << meant << " is no headword";
        const int32_t entry = static_cast<int32_t>(at - unicode.begin());
        const std::vector<int32_t> found = Entries(SuggestForUnicode(index, typed, 8));
        ++rates.total;
        if (!found.empty() && found.front() == entry) ++rates.first;
        if (std::find(found.begin(), found.end(), entry) != found.end()) ++rates.top8;
    }
    std::printf("%s: %d words, first %d, top 8 %d\n", list, rates.total, rates.first, rates.top8);
    return rates;
}

TEST(Suggestions, FindMostMisspelledSampleWords) {
    const Rates rates = Measure("tests/search/misspellings.tsv");
    EXPECT_EQ(rates.total, 200);
    EXPECT_GE(rates.top8, 196);
    EXPECT_GE(rates.first, 190);
}

TEST(Suggestions, FindMostRomanisedSampleWords) {
    const Rates rates = Measure("tests/search/romanisations.tsv");
    EXPECT_EQ(rates.total, 200);
    EXPECT_GE(rates.top8, 196);
    EXPECT_GE(rates.first, 190);
}

}  // namespace
}  // namespace search
