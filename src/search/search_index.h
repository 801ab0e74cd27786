// The spelling-tolerant index of a dictionary's headwords, and the nearest
// headwords to a typed text.
//
// Every headword's phonetic key (phonetic_key.h) is kept in one sorted array,
// which is walked as a trie: each node is the run of keys sharing a prefix,
// its children found by binary search. The walk carries one row of the
// edit-distance table between the query and the node's prefix and leaves a
// subtree as soon as no key in it can come within the bound.
//
// A headword's distance is the fewest edits (a sound inserted, removed or
// replaced) that turn the query into the beginning of its key, so a correct
// beginning of a word is at distance 0 like the whole word. Matches are
// ranked by distance, then by their order in the dictionary.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace search {

struct Match {
    int32_t entry = -1;
    int distance = 0;

    friend bool operator==(const Match&, const Match&) = default;
};

class SearchIndex {
  public:
    // The index of `count` headwords, read as Preeti bytes from `word(i)`.
    static SearchIndex Build(int32_t count, const std::function<std::string_view(int32_t)>& word);
    // The same for headwords that are keys already (tests).
    static SearchIndex FromKeys(const std::vector<std::string>& keys);

    int32_t size() const { return static_cast<int32_t>(entries_.size()); }
    // Bytes held: keys and tables, by capacity.
    size_t memory_bytes() const;

    // Up to `limit` headwords whose keys begin within `max_distance` edits of
    // `key`, nearest first and in dictionary order within a distance.
    std::vector<Match> Nearest(std::string_view key, size_t limit, int max_distance) const;
    // The same, except that within a distance the headwords that `key`
    // spells whole (their final inherent a may be left out) come before
    // those it only begins: "kan" puts कान before काँचो. The order is taken
    // among the first 4 x `limit` matches.
    std::vector<Match> NearestWords(std::string_view key, size_t limit, int max_distance) const;

  private:
    std::string_view key_of(int32_t entry) const { return key_at(ranks_[entry]); }
    std::string_view key_at(size_t rank) const {
        return std::string_view(keys_).substr(starts_[rank], starts_[rank + 1] - starts_[rank]);
    }

    std::string keys_;              // keys in sorted order, back to back
    std::vector<uint32_t> starts_;  // size() + 1 offsets into keys_
    std::vector<int32_t> entries_;  // the entry of each sorted key
    std::vector<int32_t> ranks_;    // the sorted place of each entry's key

    friend class Walk;
};

// The edits a query of `key_length` sounds may be away from a headword: none
// for one or two sounds, one from three, two from seven. Never more: with
// three, every three-sound beginning of every key is in reach, and the walk
// visits most of the trie's top.
int DistanceBound(size_t key_length);

// The headwords a typed text may stand for.
struct Suggestions {
    std::vector<Match> matches;
    bool romanised = false;  // read as Latin letters rather than Devanagari
};

// Both readings below rank as NearestWords does, within DistanceBound.
//
// For the Preeti bytes of the search box: the nearest headwords to the
// Devanagari reading of the bytes and, when the bytes are also Latin letters,
// to their Latin reading; the reading with the nearer best match wins, the
// Devanagari one on a tie.
Suggestions SuggestForTyped(const SearchIndex& index, std::string_view preeti_bytes, size_t limit);

// For UTF-8 text from a terminal: Devanagari is read as Devanagari, Latin
// letters as a Latin spelling.
Suggestions SuggestForUnicode(const SearchIndex& index, std::string_view utf8, size_t limit);

}  // namespace search
