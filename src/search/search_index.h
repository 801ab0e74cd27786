// SPDX-License-Identifier: GPL-3.0-or-later
// The spelling-tolerant index of a dictionary's headwords, and the nearest
// headwords to a typed text.
//
// Every headword's key (phonetic_key.h) is kept in one sorted array, which
// is walked as a trie: each node is the run of keys sharing a prefix, its
// children found by binary search. The walk carries one row of the weighted
// edit-distance table (edit_costs.h) between the query and the node's
// prefix and leaves a subtree as soon as no key in it can come within the
// bound, so every headword within the bound is considered.
//
// A headword's cost is the cheapest way to turn the query into its whole key
// (a final inherent a may be left out), or into a beginning of it plus a
// slip and a lean for the rest of the word, or a beginning of the query (of
// at least half of it and four sounds) into the key plus a full edit and a
// lean for the rest of the query: an ending the dictionary leaves off. Matches are ranked by cost; then
// the headword the text spells exactly comes first; then whole words before
// those the text only begins; then shorter keys (a final inherent a not
// counted, so घर comes before घर्); then dictionary order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "search/edit_costs.h"

namespace search {

struct Match {
    int32_t entry = -1;
    int distance = 0;  // the cost, in the units of edit_costs.h

    friend bool operator==(const Match&, const Match&) = default;
};

// What to look for: the typed key, how it was typed, the headword key that
// the text spells exactly (none for Latin letters), and whether the text
// ends its word (typed with a final halant): then a final inherent a is no
// longer free.
struct Query {
    std::string key;
    Script script = Script::kDevanagari;
    std::string exact;
    bool closed = false;
};

// UTF-8 text read as Devanagari, or as a Latin spelling.
Query DevanagariQuery(std::string_view utf8);
Query LatinQuery(std::string_view latin);

class SearchIndex {
  public:
    // The index of `count` headwords, read as Preeti bytes from `word(i)`.
    static SearchIndex Build(int32_t count, const std::function<std::string_view(int32_t)>& word);
    // The same for headwords that are keys already (tests).
    static SearchIndex FromKeys(const std::vector<std::string>& keys);

    int32_t size() const { return static_cast<int32_t>(entries_.size()); }
    // Bytes held: keys and tables, by capacity.
    size_t memory_bytes() const;

    // The first `limit` headwords in the order above whose cost is at most
    // `max_cost`.
    std::vector<Match> Nearest(const Query& query, size_t limit, int max_cost) const;

  private:
    std::string_view key_at(size_t rank) const {
        return std::string_view(keys_.data() + starts_[rank], key_size(rank));
    }
    size_t key_size(size_t rank) const { return starts_[rank + 1] - starts_[rank]; }
    // The sound at `depth` of the key at `rank`, which is longer than that.
    char sound_at(size_t rank, size_t depth) const { return keys_[starts_[rank] + depth]; }

    std::string keys_;              // keys in sorted order, back to back
    std::vector<uint32_t> starts_;  // size() + 1 offsets into keys_
    std::vector<int32_t> entries_;  // the entry of each sorted key
    std::vector<int32_t> ranks_;    // the sorted place of each entry's key

    friend class Walk;
};

// The cost a query of `key_length` sounds may be away from a headword: a
// slip, or the words it begins, for one or two sounds; a full edit and a
// slip from three; a full edit and two slips from seven. Never more: with
// more, every short beginning of every key is in reach, and the walk visits
// most of the trie's top.
int DistanceBound(size_t key_length);

// The nearest headwords, ranked as Nearest does within DistanceBound, to
// UTF-8 text read as Devanagari, and to a Latin spelling. A Latin spelling
// of an English loanword (loanwords.h) also finds its Nepali spelling, as
// if typed exactly.
std::vector<Match> NearestToDevanagari(const SearchIndex& index, std::string_view utf8,
                                       size_t limit);
std::vector<Match> NearestToLatin(const SearchIndex& index, std::string_view latin, size_t limit);

// The headwords a typed text may stand for.
struct Suggestions {
    std::vector<Match> matches;
    bool romanised = false;  // read as Latin letters rather than Devanagari
};

// For the Preeti bytes of the search box: the nearest headwords to the
// Devanagari reading of the bytes and, when the bytes are also Latin letters,
// to their Latin reading; the reading with the cheaper best match wins, the
// Devanagari one on a tie.
Suggestions SuggestForTyped(const SearchIndex& index, std::string_view preeti_bytes, size_t limit);

// For UTF-8 text from a terminal: Devanagari is read as Devanagari, Latin
// letters as a Latin spelling.
Suggestions SuggestForUnicode(const SearchIndex& index, std::string_view utf8, size_t limit);

}  // namespace search
