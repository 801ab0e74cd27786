// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/search_index.h"

#include <algorithm>
#include <array>
#include <numeric>

#include "platform/preeti/preeti.h"
#include "search/loanwords.h"
#include "search/phonetic_key.h"

namespace search {
namespace {

// A query longer than this is cut; its row fits on the stack.
constexpr size_t kMaxQuery = 32;
using Row = std::array<uint8_t, kMaxQuery + 1>;

// One headword found, with everything it is ranked by.
struct Ranked {
    int32_t entry = -1;
    int cost = 0;
    bool exact = false;
    bool whole = false;
    uint32_t length = 0;

    friend bool operator<(const Ranked& a, const Ranked& b) {
        if (a.cost != b.cost) return a.cost < b.cost;
        if (a.exact != b.exact) return a.exact;
        if (a.whole != b.whole) return a.whole;
        if (a.length != b.length) return a.length < b.length;
        return a.entry < b.entry;
    }
};

// The best `limit` matches seen, as a max-heap.
class Best {
  public:
    explicit Best(size_t limit) : limit_(limit) { heap_.reserve(limit); }

    bool full() const { return heap_.size() >= limit_; }
    int worst() const { return heap_.front().cost; }
    const Ranked& worst_match() const { return heap_.front(); }

    void Offer(const Ranked& match) {
        if (!full()) {
            heap_.push_back(match);
            std::push_heap(heap_.begin(), heap_.end());
        } else if (match < heap_.front()) {
            std::pop_heap(heap_.begin(), heap_.end());
            heap_.back() = match;
            std::push_heap(heap_.begin(), heap_.end());
        }
    }

    std::vector<Ranked> Take() {
        std::sort_heap(heap_.begin(), heap_.end());
        return std::move(heap_);
    }

  private:
    size_t limit_;
    std::vector<Ranked> heap_;
};

// What the rest of a word the query only begins costs: a slip and a lean.
// The reader has mostly typed a whole word (the search box offers
// suggestions only when its text begins no headword), so a word with one
// slip comes before a longer word that merely begins with the text.
constexpr int kUnfinished = kSlip + kLean;

// A headword that begins the query, when it spells at least this many
// sounds, costs a full edit and a lean more: the query may have an ending
// the dictionary leaves off, but a word with a wrong letter is likelier.
constexpr size_t kStemSounds = 4;
constexpr int kStemEnding = kFullEdit + kLean;

constexpr int kNoCost = 1 << 20;

uint8_t Sound(char c) {
    return static_cast<uint8_t>(c) & 0x7F;
}

bool EndsInA(std::string_view key) {
    return !key.empty() && key.back() == 'a';
}

// The sounds of a key that its spelling shows: a final inherent a aside.
uint32_t SpeltLength(std::string_view key) {
    return static_cast<uint32_t>(key.size() - (EndsInA(key) ? 1 : 0));
}

// A node's children, at most one for each byte a key can hold: the keys
// below and the least any of them can cost.
struct Child {
    uint32_t lo = 0;
    uint32_t end = 0;
    uint8_t below = 0;
    char sound = 0;
};

}  // namespace

// One query's walk over the sorted keys.
class Walk {
  public:
    Walk(const SearchIndex& index, const Query& query, size_t limit, int bound)
        : index_(index),
          query_(std::string_view(query.key).substr(0, kMaxQuery)),
          exact_(query.exact),
          closed_(query.closed),
          costs_(CostsFor(query.script)),
          best_(limit),
          bound_(bound),
          cap_(static_cast<uint8_t>(bound + 1)) {
        for (size_t j = 0; j < query_.size(); ++j) {
            replace_[j] = costs_.replace[Sound(query_[j])].data();
            add_[j] = costs_.add[Sound(query_[j])];
        }
    }

    std::vector<Ranked> Run() {
        Row row;
        row.fill(cap_);
        row[0] = 0;
        for (size_t j = 1; j <= query_.size(); ++j)
            row[j] = Capped(row[j - 1] + costs_.add[Sound(query_[j - 1])]);
        Visit(0, index_.entries_.size(), 0, row, row[query_.size()], cap_);
        return best_.Take();
    }

  private:
    // The keys of ranks [lo, hi) share their first `depth` sounds; `row`
    // holds the costs from that prefix to each beginning of the query,
    // `on_path` the least cost from the whole query to any prefix so far,
    // which every key below inherits, and `parent_last` the cost from the
    // whole query to the prefix one sound shorter.
    void Visit(size_t lo, size_t hi, size_t depth, const Row& row, int on_path, int parent_last) {
        const size_t m = query_.size();
        const int last = row[m];
        on_path = std::min(on_path, last);
        const int row_min = *std::min_element(row.begin(), row.begin() + m + 1);
        if (row_min >= on_path) {
            // Nothing below gets nearer: every key here costs `on_path` for
            // its beginning.
            if (on_path <= Limit()) Collect(lo, hi, depth, row, on_path, parent_last);
            return;
        }
        for (; lo < hi && index_.key_size(lo) == depth; ++lo)
            Offer(lo, on_path, WholeCost(index_.key_at(lo), last, parent_last), StemCost(row));
        // The children, nearest first, so that the best list fills with
        // near matches early and leaves out more of the rest.
        std::array<Child, 256> children;
        size_t count = 0;
        const Band band = BandFor(depth + 1);
        Row next;
        while (lo < hi) {
            const char sound = index_.sound_at(lo, depth);
            const size_t end = ChildEnd(lo, hi, depth, sound);
            const int next_min = Step(row, band, sound, next);
            // No key below costs less: a whole word there costs a cell of a
            // row at or below the child's (or `last`, less a final a), a
            // word the query only begins costs the rest of its word more.
            int below = std::min(next_min, on_path + kUnfinished);
            if (sound == 'a' && !closed_) below = std::min(below, last);
            if (Promising(below, depth, lo, depth + 1)) {
                children[count++] = {static_cast<uint32_t>(lo), static_cast<uint32_t>(end),
                                     static_cast<uint8_t>(below), sound};
            }
            lo = end;
        }
        std::sort(children.begin(), children.begin() + count,
                  [](const Child& a, const Child& b) { return a.below < b.below; });
        for (size_t c = 0; c < count; ++c) {
            const Child& child = children[c];
            if (!Promising(child.below, depth, child.lo, depth + 1)) continue;
            Step(row, BandFor(depth + 1), child.sound, next);
            Visit(child.lo, child.end, depth + 1, next, on_path, last);
        }
    }

    // The cells of a row for a prefix of `i` sounds that can hold a cost
    // within the current limit: a query beginning and a key prefix that
    // differ in length by more than the limit allows are further apart.
    struct Band {
        bool start = false;  // whether cell 0 can
        size_t first = 1;
        size_t last = 0;
    };

    Band BandFor(size_t i) const {
        const int limit = Limit();
        const size_t shorter = static_cast<size_t>(limit / costs_.least_omit);
        const size_t longer = static_cast<size_t>(limit / costs_.least_add);
        return {i <= shorter, i > shorter ? i - shorter : 1, std::min(query_.size(), i + longer)};
    }

    // The row for a prefix ending in `sound`, from the row of the prefix
    // before it; returns its least cell. Cells outside the band stay at the
    // cap.
    int Step(const Row& row, const Band& band, char sound, Row& next) const {
        const uint8_t key_sound = Sound(sound);
        const int omit = costs_.omit[key_sound];
        next.fill(cap_);
        if (band.start) next[0] = Capped(row[0] + omit);
        int next_min = next[0];
        for (size_t j = band.first; j <= band.last; ++j) {
            const int replace = row[j - 1] + replace_[j - 1][key_sound];
            next[j] = Capped(std::min({replace, row[j] + omit, next[j - 1] + add_[j - 1]}));
            next_min = std::min<int>(next_min, next[j]);
        }
        return next_min;
    }

    // The cost from the whole query to the whole of `key`, whose cost is
    // `last` and whose prefix one sound shorter costs `parent_last`: a final
    // inherent a may be left out unless the query ends its word.
    int WholeCost(std::string_view key, int last, int parent_last) const {
        return !closed_ && EndsInA(key) ? std::min(last, parent_last) : last;
    }

    // Every key of ranks [lo, hi) begins at cost `on_path`, and no longer
    // prefix gets nearer; `row` is that of their common prefix of `depth`
    // sounds. Whether a key is whole at `on_path` takes its own rows, so
    // only a key that would be ranked among the best as whole is looked at.
    void Collect(size_t lo, size_t hi, size_t depth, const Row& row, int on_path, int parent_last) {
        for (size_t rank = lo; rank < hi; ++rank) {
            const std::string_view key = index_.key_at(rank);
            if (best_.full() && !(Ranked{index_.entries_[rank], on_path, IsExact(key), true,
                                         SpeltLength(key)} < best_.worst_match()))
                continue;
            Offer(rank, on_path, WholeCostBelow(key, depth, row, on_path, parent_last));
        }
    }

    // The cost from the whole query to the whole of `key`, walking its
    // sounds past `depth` from `row`, when that is less than what the rest
    // of a word the query only begins costs; otherwise at least that. A
    // row's least cell never falls, so the walk stops once it gets there.
    int WholeCostBelow(std::string_view key, size_t depth, const Row& row, int on_path,
                       int parent_last) const {
        const size_t m = query_.size();
        const int unfinished = on_path + kUnfinished;
        Row current = row;
        for (size_t i = depth; i < key.size(); ++i) {
            Row next;
            const int next_min = Step(current, BandFor(i + 1), key[i], next);
            if (i + 1 == key.size()) return WholeCost(key, next[m], current[m]);
            if (next_min >= unfinished) return cap_;
            current = next;
        }
        return WholeCost(key, row[m], parent_last);
    }

    bool IsExact(std::string_view key) const { return !exact_.empty() && key == exact_; }

    // What a key whose row is `row` costs as the stem of the query: the
    // cost to a beginning of the query of at least half its sounds, and
    // four, plus the rest as an ending (प्रधानमन्त्री for
    // प्रधानमन्त्रीको).
    int StemCost(const Row& row) const {
        const size_t m = query_.size();
        int best = cap_;
        for (size_t j = std::max<size_t>(kStemSounds, (m + 1) / 2); j < m; ++j)
            best = std::min(best, row[j] + kStemEnding);
        return best;
    }

    // Offers the key at `rank`, whose beginning costs `on_path`, whole
    // `whole_cost` and as a stem `stem_cost`.
    void Offer(size_t rank, int on_path, int whole_cost, int stem_cost = kNoCost) {
        const std::string_view key = index_.key_at(rank);
        Ranked match;
        match.entry = index_.entries_[rank];
        // A word the query only begins, or one that only begins the query,
        // costs more than one it spells.
        const bool whole = whole_cost <= on_path;
        const int spelt = whole ? on_path : std::min(on_path + kUnfinished, whole_cost);
        match.cost = std::min(spelt, stem_cost);
        match.whole = whole && spelt <= stem_cost;
        match.exact = IsExact(key);
        match.length = SpeltLength(key);
        if (match.cost <= Limit()) best_.Offer(match);
    }

    // The end of the run of keys in [lo, hi) whose sound at `depth` is
    // `sound`, the first of them being at `lo`. Runs are mostly short, so
    // the search gallops from `lo` before it halves.
    size_t ChildEnd(size_t lo, size_t hi, size_t depth, char sound) const {
        for (size_t step = 1; lo + step < hi; step *= 2) {
            if (index_.sound_at(lo + step, depth) != sound) {
                hi = lo + step;
                break;
            }
            lo += step;
        }
        while (lo < hi) {
            const size_t mid = lo + (hi - lo) / 2;
            if (index_.sound_at(mid, depth) <= sound)
                lo = mid + 1;
            else
                hi = mid;
        }
        return lo;
    }

    uint8_t Capped(int cost) const { return static_cast<uint8_t>(std::min(cost, int{cap_})); }

    // Whether a key below a node could still be ranked among the best: one
    // that costs at least `below`, spells at least `min_length` sounds and
    // begins with the first `length` sounds of the key at `rank`.
    bool Promising(int below, size_t min_length, size_t rank, size_t length) const {
        if (below > bound_) return false;
        if (!best_.full()) return true;
        const Ranked& worst = best_.worst_match();
        if (below != worst.cost) return below < worst.cost;
        return Ranked{-1, below, MaybeExact(rank, length), true,
                      static_cast<uint32_t>(min_length)} < worst;
    }

    // Whether the exact spelling begins with the first `length` sounds of
    // the key at `rank`.
    bool MaybeExact(size_t rank, size_t length) const {
        return exact_.size() >= length && exact_.starts_with(index_.key_at(rank).substr(0, length));
    }

    // The largest cost still worth reporting.
    int Limit() const { return best_.full() ? std::min(bound_, best_.worst()) : bound_; }

    const SearchIndex& index_;
    std::string_view query_;
    std::string_view exact_;
    bool closed_;
    const EditCosts& costs_;
    Best best_;
    int bound_;
    // The costs of the query's sounds: replacing each by a key's sound, and
    // adding it.
    std::array<const uint8_t*, kMaxQuery> replace_{};
    std::array<int, kMaxQuery> add_{};
    uint8_t cap_;  // any cost past the bound
};

Query DevanagariQuery(std::string_view utf8) {
    return {KeyFromUnicode(utf8, KeyUse::kTyped), Script::kDevanagari,
            KeyFromUnicode(utf8, KeyUse::kHeadword), utf8.ends_with("\u094D")};
}

Query LatinQuery(std::string_view latin) {
    return {KeyFromLatin(latin), Script::kLatin, {}, false};
}

SearchIndex SearchIndex::FromKeys(const std::vector<std::string>& keys) {
    SearchIndex index;
    std::vector<int32_t> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
        const int c = keys[a].compare(keys[b]);
        return c != 0 ? c < 0 : a < b;
    });
    size_t bytes = 0;
    for (const std::string& key : keys) bytes += key.size();
    index.keys_.reserve(bytes);
    index.starts_.reserve(keys.size() + 1);
    for (int32_t entry : order) {
        index.starts_.push_back(static_cast<uint32_t>(index.keys_.size()));
        index.keys_ += keys[entry];
    }
    index.starts_.push_back(static_cast<uint32_t>(index.keys_.size()));
    index.ranks_.resize(order.size());
    for (size_t rank = 0; rank < order.size(); ++rank)
        index.ranks_[order[rank]] = static_cast<int32_t>(rank);
    index.entries_ = std::move(order);
    return index;
}

SearchIndex SearchIndex::Build(int32_t count,
                               const std::function<std::string_view(int32_t)>& word) {
    std::vector<std::string> keys(std::max(count, 0));
    std::string unicode;
    for (int32_t i = 0; i < count; ++i) {
        unicode.clear();
        preeti::AppendUnicode(word(i), unicode);
        keys[i] = KeyFromUnicode(unicode, KeyUse::kHeadword);
    }
    return FromKeys(keys);
}

size_t SearchIndex::memory_bytes() const {
    return sizeof(*this) + keys_.capacity() + starts_.capacity() * sizeof(uint32_t) +
           (entries_.capacity() + ranks_.capacity()) * sizeof(int32_t);
}

namespace {

std::vector<Ranked> Search(const SearchIndex& index, const Query& query, size_t limit,
                           int max_cost) {
    if (query.key.empty() || limit == 0 || index.size() == 0 || max_cost < 0) return {};
    // Costs are held in bytes, one past the bound meaning beyond it.
    return Walk(index, query, limit, std::min(max_cost, 254)).Run();
}

std::vector<Match> Matches(const std::vector<Ranked>& ranked, size_t limit) {
    std::vector<Match> matches;
    for (size_t i = 0; i < ranked.size() && i < limit; ++i)
        matches.push_back({ranked[i].entry, ranked[i].cost});
    return matches;
}

std::vector<Ranked> Nearest(const SearchIndex& index, const Query& query, size_t limit) {
    return Search(index, query, limit, DistanceBound(query.key.size()));
}

}  // namespace

std::vector<Match> SearchIndex::Nearest(const Query& query, size_t limit, int max_cost) const {
    return Matches(Search(*this, query, limit, max_cost), limit);
}

int DistanceBound(size_t key_length) {
    if (key_length <= 2) return kUnfinished;
    if (key_length <= 6) return kFullEdit + kSlip;
    return kFullEdit + 2 * kSlip;
}

std::vector<Match> NearestToDevanagari(const SearchIndex& index, std::string_view utf8,
                                       size_t limit) {
    return Matches(Nearest(index, DevanagariQuery(utf8), limit), limit);
}

namespace {

std::vector<Ranked> NearestLatin(const SearchIndex& index, std::string_view latin, size_t limit) {
    std::vector<Ranked> found = Nearest(index, LatinQuery(latin), limit);
    const std::string_view loanword = LoanwordSpelling(latin);
    if (loanword.empty()) return found;
    // The Nepali spelling, as if typed, joins the Latin reading's matches.
    for (const Ranked& match : Nearest(index, DevanagariQuery(loanword), limit)) {
        auto same = std::find_if(found.begin(), found.end(),
                                 [&](const Ranked& r) { return r.entry == match.entry; });
        if (same == found.end())
            found.push_back(match);
        else
            *same = std::min(*same, match);
    }
    std::sort(found.begin(), found.end());
    if (found.size() > limit) found.resize(limit);
    return found;
}

}  // namespace

std::vector<Match> NearestToLatin(const SearchIndex& index, std::string_view latin, size_t limit) {
    return Matches(NearestLatin(index, latin, limit), limit);
}

Suggestions SuggestForTyped(const SearchIndex& index, std::string_view preeti_bytes, size_t limit) {
    // A key holds at most kMaxKeyLength sounds; the bytes far beyond those
    // that give them change nothing but the cost of every key typed.
    preeti_bytes = preeti_bytes.substr(0, 4 * kMaxKeyLength);
    std::vector<Ranked> devanagari =
        Nearest(index, DevanagariQuery(preeti::ToUnicode(preeti_bytes)), limit);
    if (!ReadsAsLatin(preeti_bytes)) return {Matches(devanagari, limit), false};
    std::vector<Ranked> latin = NearestLatin(index, preeti_bytes, limit);
    if (latin.empty() || (!devanagari.empty() && devanagari.front().cost <= latin.front().cost))
        return {Matches(devanagari, limit), false};
    return {Matches(latin, limit), true};
}

Suggestions SuggestForUnicode(const SearchIndex& index, std::string_view utf8, size_t limit) {
    if (preeti::HasDevanagari(utf8)) return {NearestToDevanagari(index, utf8, limit), false};
    const std::optional<std::string> bytes = preeti::Utf8ToCp1252(utf8, true);
    if (!bytes) return {};
    return SuggestForTyped(index, *bytes, limit);
}

}  // namespace search
