// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/search_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <tuple>

#include "platform/preeti/preeti.h"
#include "search/phonetic_key.h"

namespace search {
namespace {

// The ranking of search_index.h worked out for every key on its own, with a
// full edit-distance table.
std::vector<Match> BruteForce(const std::vector<std::string>& keys, const Query& query,
                              size_t limit, int bound) {
    const EditCosts& costs = CostsFor(query.script);
    const std::string& q = query.key;
    auto cost = [](char c) { return static_cast<uint8_t>(c) & 0x7F; };
    using Rank = std::tuple<int, bool, bool, size_t, int32_t>;
    std::vector<Rank> all;
    for (size_t k = 0; k < keys.size(); ++k) {
        const std::string& key = keys[k];
        std::vector<std::vector<int>> d(key.size() + 1, std::vector<int>(q.size() + 1));
        for (size_t j = 1; j <= q.size(); ++j) d[0][j] = d[0][j - 1] + costs.add[cost(q[j - 1])];
        int prefix = d[0][q.size()];
        for (size_t i = 1; i <= key.size(); ++i) {
            d[i][0] = d[i - 1][0] + costs.omit[cost(key[i - 1])];
            for (size_t j = 1; j <= q.size(); ++j)
                d[i][j] =
                    std::min({d[i - 1][j - 1] + costs.replace[cost(q[j - 1])][cost(key[i - 1])],
                              d[i - 1][j] + costs.omit[cost(key[i - 1])],
                              d[i][j - 1] + costs.add[cost(q[j - 1])]});
            prefix = std::min(prefix, d[i][q.size()]);
        }
        const bool final_a = !key.empty() && key.back() == 'a';
        int whole = d[key.size()][q.size()];
        if (final_a && !query.closed) whole = std::min(whole, d[key.size() - 1][q.size()]);
        int stem = 1 << 20;
        for (size_t j = std::max<size_t>(4, (q.size() + 1) / 2); j < q.size(); ++j)
            stem = std::min(stem, d[key.size()][j] + kFullEdit + kLean);
        const bool spelt_whole = whole <= prefix;
        const int spelt = spelt_whole ? prefix : std::min(prefix + kSlip + kLean, whole);
        const int c = std::min(spelt, stem);
        if (c > bound) continue;
        const bool is_whole = spelt_whole && spelt <= stem;
        const bool exact = !query.exact.empty() && key == query.exact;
        all.emplace_back(c, !exact, !is_whole, key.size() - final_a, static_cast<int32_t>(k));
    }
    std::sort(all.begin(), all.end());
    std::vector<Match> out;
    for (size_t i = 0; i < all.size() && i < limit; ++i)
        out.push_back({std::get<4>(all[i]), std::get<0>(all[i])});
    return out;
}

TEST(SearchIndex, AgreesWithTheRankingWorkedOutForEveryKey) {
    // Small alphabets of sounds the costs treat apart make many shared
    // prefixes, near misses, cheap slips and ties.
    std::mt19937 random(7);
    std::vector<std::string> keys;
    for (int i = 0; i < 3000; ++i) {
        std::string key(1 + random() % 9, ' ');
        for (char& c : key) c = "aAiIs6k~"[random() % 8];
        keys.push_back(key);
    }
    keys.push_back("");
    const SearchIndex index = SearchIndex::FromKeys(keys);
    for (int n = 0; n < 400; ++n) {
        Query query;
        query.script = random() % 2 ? Script::kLatin : Script::kDevanagari;
        query.key.assign(1 + random() % 7, ' ');
        for (char& c : query.key) c = "aAiIs6k~!@x"[random() % 11];
        if (random() % 3 == 0) query.exact = keys[random() % keys.size()];
        query.closed = random() % 4 == 0;
        const size_t limit = 1 + random() % 10;
        const int bound = static_cast<int>(random() % 14);
        EXPECT_EQ(index.Nearest(query, limit, bound), BruteForce(keys, query, limit, bound))
            << query.key << " limit " << limit << " bound " << bound;
    }
    EXPECT_TRUE(index.Nearest({"", Script::kLatin, ""}, 8, 3).empty());
    EXPECT_TRUE(index.Nearest({"kA", Script::kLatin, ""}, 0, 3).empty());
    EXPECT_TRUE(SearchIndex::FromKeys({}).Nearest({"a", Script::kLatin, ""}, 8, 2).empty());
}

// A store's worth of Preeti headwords, from UTF-8.
struct Headwords {
    std::vector<std::string> unicode;
    std::vector<std::string> preeti;

    explicit Headwords(const std::vector<std::string>& words) : unicode(words) {
        for (const std::string& word : words) preeti.push_back(preeti::FromUnicode(word).value());
    }
    SearchIndex Index() const {
        return SearchIndex::Build(static_cast<int32_t>(preeti.size()),
                                  [&](int32_t i) { return std::string_view(preeti[i]); });
    }
    std::vector<std::string> Words(const std::vector<Match>& matches) const {
        std::vector<std::string> words;
        for (const Match& m : matches) words.push_back(unicode[m.entry]);
        return words;
    }
};

std::vector<int32_t> Entries(const Suggestions& s) {
    std::vector<int32_t> entries;
    for (const Match& m : s.matches) entries.push_back(m.entry);
    return entries;
}

// The faults readers met: the word meant crowded out by longer words or
// ranked by dictionary order, a dropped halant ranked low, chat spellings
// and English-spelt loanwords not read.
TEST(Suggestions, TheWordMeantComesFirst) {
    std::vector<std::string> words = {
        "मान",   "टाल",  "तल",    "तला",   "ताल",  "ताला", "खात",     "खाति",  "खातक",
        "खातम",  "खातर", "खात्ति", "गङ",    "गगन",  "गङ्गा", "गगनचुम्बी", "च",     "चा",
        "छ",     "छाता", "चाड",   "चाँडै",   "चाँदी", "टाढा", "पानी",    "पनि",   "पान",
        "मिठाई", "मीठो", "फूल",    "फुल",    "पुलिस", "पुल",   "मोबाइल",  "मोबिल", "मिनेट",
        "मिनट",  "आमा",  "आम",    "आमाको", "कथा",  "कथन",  "कथाकार",  "आज",    "आजाद",
        "आजको",  "बोली", "बोल",   "बोलाइ", "खीप",  "खिप्",  "९२",      "९",
    };
    // Forty longer words beginning मन that sort before मान.
    for (const char* tail : {"का", "की", "के", "को", "खु", "ग", "गा", "गी", "गु", "गे"})
        for (const char* end : {"", "र", "ल", "स"}) words.push_back(std::string("मन") + tail + end);
    std::sort(words.begin(), words.end());
    const Headwords h(words);
    const SearchIndex index = h.Index();
    struct Case {
        const char* typed;
        const char* meant;
    };
    // Typed exactly, in Unicode or Preeti, a headword comes first; then the
    // slips: a halant left out, a vowel length. A final halant ends the word,
    // so खीप् is nearer खिप् than खीप; digits are spelt too.
    const Case fuzzy[] = {
        {"मान", "मान"},   {"ताला", "ताला"}, {"टाल", "टाल"}, {"तल", "तल"}, {"तला", "तला"},
        {"ताल", "ताल"},   {"बोली", "बोली"}, {"९२", "९२"},   {"९", "९"},   {"खातति", "खात्ति"},
        {"गङगा", "गङ्गा"}, {"मिठो", "मीठो"}, {"खीप्", "खिप्"},
    };
    for (const Case& c : fuzzy) {
        const std::vector<std::string> found = h.Words(NearestToDevanagari(index, c.typed, 8));
        ASSERT_FALSE(found.empty()) << c.typed;
        EXPECT_EQ(found.front(), c.meant) << c.typed;
        // The search box reads the same text as Preeti bytes.
        const Suggestions typed = SuggestForTyped(index, preeti::FromUnicode(c.typed).value(), 8);
        ASSERT_FALSE(typed.matches.empty()) << c.typed;
        EXPECT_EQ(h.unicode[typed.matches.front().entry], c.meant) << c.typed;
    }
    const Case roman[] = {
        {"aama", "आमा"},   {"katha", "कथा"},   {"aaja", "आज"},       {"chha", "छ"},
        {"chadai", "चाँडै"}, {"tada", "टाढा"},   {"paani", "पानी"},    {"meetho", "मीठो"},
        {"phool", "फूल"},   {"police", "पुलिस"}, {"mobile", "मोबाइल"}, {"minute", "मिनेट"},
    };
    for (const Case& c : roman) {
        const std::vector<std::string> found = h.Words(NearestToLatin(index, c.typed, 8));
        ASSERT_FALSE(found.empty()) << c.typed;
        EXPECT_EQ(found.front(), c.meant) << c.typed;
    }
    // ch is च as often as छ: both are offered.
    const std::vector<std::string> cha = h.Words(NearestToLatin(index, "cha", 8));
    EXPECT_NE(std::find(cha.begin(), cha.end(), "छ"), cha.end());
    EXPECT_NE(std::find(cha.begin(), cha.end(), "च"), cha.end());
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
    const Headwords words({"नेपाल", "नेपाली", "पानी", "शब्दकोश", "काम"});
    const SearchIndex index = words.Index();
    Suggestions s = SuggestForTyped(index, "nepal", 8);
    EXPECT_TRUE(s.romanised);
    EXPECT_EQ(Entries(s), std::vector<int32_t>({0, 1}));
    s = SuggestForTyped(index, "shabdakosh", 8);
    EXPECT_TRUE(s.romanised);
    EXPECT_EQ(Entries(s), std::vector<int32_t>({3}));
    // The Preeti keys of नेपाल and काम read as Devanagari, though sfd are
    // letters too.
    s = SuggestForTyped(index, "g]kfn", 8);
    EXPECT_FALSE(s.romanised);
    EXPECT_EQ(Entries(s), std::vector<int32_t>({0, 1}));
    s = SuggestForTyped(index, "sfd", 8);
    EXPECT_FALSE(s.romanised);
    EXPECT_EQ(Entries(s).front(), 4);
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
