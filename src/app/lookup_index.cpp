// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/lookup_index.h"

#include <cstring>

#include "app/headword_search.h"

namespace app {
namespace {

constexpr std::string_view kMagic = "KVLKIDX1";
constexpr size_t kHeaderBytes = 8 + 3 * sizeof(uint64_t);

void AppendU64(std::string& out, uint64_t v) {
    out.append(reinterpret_cast<const char*>(&v), sizeof v);
}

uint64_t ReadU64(const char* p) {
    uint64_t v = 0;
    std::memcpy(&v, p, sizeof v);
    return v;
}

}  // namespace

std::string BuildLookupIndex(const DictionaryStore& store) {
    std::string words;
    std::string ends;
    uint64_t definition_bytes = 0;
    for (int32_t i = 0; i < store.size(); ++i) {
        const DictEntry e = store[i];
        words.push_back(static_cast<char>(e.word.size()));  // at most 30 bytes
        words.append(e.word);
        definition_bytes += e.definition.size();
        AppendU64(ends, definition_bytes);
    }
    std::string out;
    out.reserve(kHeaderBytes + words.size() + ends.size() + definition_bytes);
    out.append(kMagic);
    AppendU64(out, static_cast<uint64_t>(store.size()));
    AppendU64(out, words.size());
    AppendU64(out, definition_bytes);
    out += words;
    out += ends;
    for (int32_t i = 0; i < store.size(); ++i) out.append(store.definition(i));
    return out;
}

std::optional<LookupIndex> LookupIndex::Open(std::string_view bytes) {
    if (bytes.size() < kHeaderBytes || bytes.substr(0, kMagic.size()) != kMagic) return {};
    const uint64_t count = ReadU64(bytes.data() + 8);
    const uint64_t words = ReadU64(bytes.data() + 16);
    const uint64_t definitions = ReadU64(bytes.data() + 24);
    const uint64_t room = bytes.size() - kHeaderBytes;
    // Each bound is checked before it is added, so no sum can wrap.
    if (count > INT32_MAX || words > room || count > (room - words) / sizeof(uint64_t) ||
        definitions != room - words - count * sizeof(uint64_t)) {
        return {};
    }
    LookupIndex index;
    index.count_ = static_cast<int32_t>(count);
    index.words_ = bytes.substr(kHeaderBytes, words);
    index.ends_ = bytes.data() + kHeaderBytes + words;
    index.definitions_ = bytes.substr(kHeaderBytes + words + count * sizeof(uint64_t));
    return index;
}

std::string_view LookupIndex::definition(int32_t i) const {
    if (i < 0 || i >= count_) return {};
    const uint64_t end = ReadU64(ends_ + static_cast<size_t>(i) * sizeof(uint64_t));
    const uint64_t begin =
        i == 0 ? 0 : ReadU64(ends_ + static_cast<size_t>(i - 1) * sizeof(uint64_t));
    if (begin > end || end > definitions_.size()) return {};
    return definitions_.substr(begin, end - begin);
}

int32_t LookupIndex::Find(std::string_view typed, std::string_view* word) const {
    int32_t found = -1;
    // Most headwords differ from the typed text in their first byte; that
    // is checked in place before the full match.
    const bool literal_first =
        !typed.empty() && typed[0] != '?' && typed[0] != '#' && typed[0] != '*';
    ForEachWord([&](int32_t i, std::string_view w) {
        if (literal_first && (w.empty() || w[0] != typed[0])) return true;
        if (!HeadwordStartsWith(w, typed)) return true;
        found = i;
        if (word != nullptr) *word = w;
        return false;
    });
    return found;
}

std::string LookupIndexPath(const std::string& folder, const std::string& key) {
    return folder + "lookup-" + key + ".idx";
}

}  // namespace app
