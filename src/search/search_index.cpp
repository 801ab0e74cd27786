#include "search/search_index.h"

#include <algorithm>
#include <array>
#include <numeric>

#include "platform/preeti/preeti.h"
#include "search/phonetic_key.h"

namespace search {
namespace {

// A query longer than this is cut; its row fits on the stack.
constexpr size_t kMaxQuery = 32;
using Row = std::array<uint8_t, kMaxQuery + 1>;

// The best `limit` matches seen, as a max-heap on (distance, entry).
class Best {
  public:
    explicit Best(size_t limit) : limit_(limit) {}

    bool full() const { return heap_.size() >= limit_; }
    int worst() const { return heap_.front().distance; }

    void Offer(int32_t entry, int distance) {
        const Match match{entry, distance};
        if (!full()) {
            heap_.push_back(match);
            std::push_heap(heap_.begin(), heap_.end(), Less);
        } else if (Less(match, heap_.front())) {
            std::pop_heap(heap_.begin(), heap_.end(), Less);
            heap_.back() = match;
            std::push_heap(heap_.begin(), heap_.end(), Less);
        }
    }

    std::vector<Match> Take() {
        std::sort_heap(heap_.begin(), heap_.end(), Less);
        return std::move(heap_);
    }

  private:
    static bool Less(const Match& a, const Match& b) {
        return a.distance != b.distance ? a.distance < b.distance : a.entry < b.entry;
    }

    size_t limit_;
    std::vector<Match> heap_;
};

}  // namespace

// One query's walk over the sorted keys.
class Walk {
  public:
    Walk(const SearchIndex& index, std::string_view query, size_t limit, int bound)
        : index_(index),
          query_(query),
          best_(limit),
          bound_(bound),
          cap_(static_cast<uint8_t>(bound + 1)) {}

    std::vector<Match> Run() {
        Row row{};
        for (size_t j = 0; j <= query_.size(); ++j) row[j] = Capped(static_cast<int>(j));
        Visit(0, index_.entries_.size(), 0, row, row[query_.size()]);
        return best_.Take();
    }

  private:
    // The keys of ranks [lo, hi) share their first `depth` sounds; `row`
    // holds the distances from that prefix to each beginning of the query
    // and `on_path` the least distance from the whole query to any prefix so
    // far, which every key below inherits.
    void Visit(size_t lo, size_t hi, size_t depth, const Row& row, int on_path) {
        const size_t m = query_.size();
        on_path = std::min<int>(on_path, row[m]);
        const int row_min = *std::min_element(row.begin(), row.begin() + m + 1);
        if (row_min >= on_path) {
            // Nothing below gets nearer: every key here is at `on_path`.
            if (on_path <= Limit()) Collect(lo, hi, on_path);
            return;
        }
        while (lo < hi && index_.key_at(lo).size() == depth) {
            if (on_path <= Limit()) best_.Offer(index_.entries_[lo], on_path);
            ++lo;
        }
        while (lo < hi) {
            const char sound = index_.key_at(lo)[depth];
            const size_t end = ChildEnd(lo, hi, depth, sound);
            // Only cells within `bound_` of the diagonal can hold a distance
            // within it; the others stay at the cap.
            Row next;
            next.fill(cap_);
            const size_t i = depth + 1;
            next[0] = Capped(static_cast<int>(i));
            int next_min = next[0];
            const size_t first = i > static_cast<size_t>(bound_) ? i - bound_ : 1;
            const size_t last = std::min(m, i + bound_);
            for (size_t j = first; j <= last; ++j) {
                const int replace = row[j - 1] + (query_[j - 1] == sound ? 0 : 1);
                next[j] = Capped(std::min({replace, row[j] + 1, next[j - 1] + 1}));
                next_min = std::min<int>(next_min, next[j]);
            }
            if (std::min(on_path, next_min) <= Limit()) Visit(lo, end, depth + 1, next, on_path);
            lo = end;
        }
    }

    // The end of the run of keys in [lo, hi) whose sound at `depth` is
    // `sound`, the first of them being at `lo`.
    size_t ChildEnd(size_t lo, size_t hi, size_t depth, char sound) const {
        while (lo < hi) {
            const size_t mid = lo + (hi - lo) / 2;
            if (index_.key_at(mid)[depth] <= sound)
                lo = mid + 1;
            else
                hi = mid;
        }
        return lo;
    }

    uint8_t Capped(int distance) const {
        return static_cast<uint8_t>(std::min(distance, int{cap_}));
    }

    // The largest distance still worth reporting.
    int Limit() const { return best_.full() ? std::min(bound_, best_.worst()) : bound_; }

    void Collect(size_t lo, size_t hi, int distance) {
        for (size_t rank = lo; rank < hi; ++rank) best_.Offer(index_.entries_[rank], distance);
    }

    const SearchIndex& index_;
    std::string_view query_;
    Best best_;
    int bound_;
    uint8_t cap_;  // any distance past the bound
};

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

std::vector<Match> SearchIndex::Nearest(std::string_view key, size_t limit,
                                        int max_distance) const {
    key = key.substr(0, kMaxQuery);
    if (key.empty() || limit == 0 || entries_.empty() || max_distance < 0) return {};
    max_distance = std::min(max_distance, static_cast<int>(key.size()));
    // Nearer bounds first: a pass that fills the list leaves nothing for a
    // wider one, and the near passes cost little.
    std::vector<Match> found;
    for (int bound = 0; bound <= max_distance; ++bound) {
        found = Walk(*this, key, limit, bound).Run();
        if (found.size() == limit) break;
    }
    return found;
}

namespace {

// The edit distance between two keys of at most a few dozen sounds.
int Distance(std::string_view a, std::string_view b) {
    std::array<int, kMaxKeyLength + 1> row{};
    for (size_t j = 0; j <= b.size(); ++j) row[j] = static_cast<int>(j);
    for (size_t i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = static_cast<int>(i);
        for (size_t j = 1; j <= b.size(); ++j) {
            const int above = row[j];
            row[j] =
                std::min({diagonal + (a[i - 1] == b[j - 1] ? 0 : 1), above + 1, row[j - 1] + 1});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace

std::vector<Match> SearchIndex::NearestWords(std::string_view key, size_t limit,
                                             int max_distance) const {
    key = key.substr(0, kMaxQuery);
    std::vector<Match> found = Nearest(key, limit * 4, max_distance);
    auto spelt_whole = [&](const Match& m) {
        const std::string_view word = key_of(m.entry).substr(0, kMaxKeyLength);
        if (Distance(key, word) == m.distance) return true;
        return word.ends_with('a') && Distance(key, word.substr(0, word.size() - 1)) == m.distance;
    };
    std::vector<std::pair<bool, Match>> ranked;
    ranked.reserve(found.size());
    for (const Match& m : found) ranked.push_back({!spelt_whole(m), m});
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
        return a.second.distance != b.second.distance ? a.second.distance < b.second.distance
                                                      : a.first < b.first;
    });
    found.clear();
    for (size_t i = 0; i < ranked.size() && i < limit; ++i) found.push_back(ranked[i].second);
    return found;
}

int DistanceBound(size_t key_length) {
    if (key_length <= 2) return 0;
    return static_cast<int>(std::min<size_t>((key_length + 1) / 4, 2));
}

namespace {

std::vector<Match> NearestTo(const SearchIndex& index, const std::string& key, size_t limit) {
    return index.NearestWords(key, limit, DistanceBound(key.size()));
}

}  // namespace

Suggestions SuggestForTyped(const SearchIndex& index, std::string_view preeti_bytes, size_t limit) {
    // A key holds at most kMaxKeyLength sounds; the bytes far beyond those
    // that give them change nothing but the cost of every key typed.
    preeti_bytes = preeti_bytes.substr(0, 4 * kMaxKeyLength);
    const std::string key = KeyFromUnicode(preeti::ToUnicode(preeti_bytes), KeyUse::kTyped);
    if (!ReadsAsLatin(preeti_bytes)) return {NearestTo(index, key, limit), false};
    // The Latin reading first: the Devanagari one then only needs to look as
    // far as the Latin one's best.
    std::vector<Match> latin = NearestTo(index, KeyFromLatin(preeti_bytes), limit);
    const int bound = latin.empty() ? DistanceBound(key.size())
                                    : std::min(DistanceBound(key.size()), latin.front().distance);
    std::vector<Match> devanagari = index.NearestWords(key, limit, bound);
    if (!devanagari.empty() || latin.empty()) return {std::move(devanagari), false};
    return {std::move(latin), true};
}

Suggestions SuggestForUnicode(const SearchIndex& index, std::string_view utf8, size_t limit) {
    if (preeti::HasDevanagari(utf8))
        return {NearestTo(index, KeyFromUnicode(utf8, KeyUse::kTyped), limit), false};
    const std::optional<std::string> bytes = preeti::Utf8ToCp1252(utf8, true);
    if (!bytes) return {};
    return SuggestForTyped(index, *bytes, limit);
}

}  // namespace search
