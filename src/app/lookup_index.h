// SPDX-License-Identifier: GPL-3.0-or-later
// A dictionary laid out for one-off lookups from a terminal: written once
// from a loaded store, then read in place from a mapped file, so a lookup
// touches the headwords and one definition instead of unpacking and loading
// the whole dictionary.
//
// Layout: the magic "KVLKIDX1", then the entry count, the headword block's
// and the definition block's sizes (64-bit, in the machine's byte order);
// the headwords, each a length byte and its bytes, in store order; one
// 64-bit end offset per definition; the definitions, back to back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/dictionary_store.h"

namespace app {

std::string BuildLookupIndex(const DictionaryStore& store);

// A read-only view over an index's bytes. Open refuses bytes whose sizes do
// not add up; headwords that run past their block end the walk early.
class LookupIndex {
  public:
    static std::optional<LookupIndex> Open(std::string_view bytes);

    int32_t size() const { return count_; }
    std::string_view definition(int32_t i) const;

    // Walks the headwords in order from the start: f(index, word) until it
    // returns false.
    template <typename F>
    void ForEachWord(F&& f) const {
        size_t at = 0;
        for (int32_t i = 0; i < count_ && at < words_.size(); ++i) {
            const auto length = static_cast<uint8_t>(words_[at]);
            if (words_.size() - at - 1 < length) return;
            if (!f(i, words_.substr(at + 1, length))) return;
            at += 1 + length;
        }
    }

    // The first entry whose headword begins with `typed` (search box rules),
    // or -1; with its headword.
    int32_t Find(std::string_view typed, std::string_view* word) const;

  private:
    int32_t count_ = 0;
    std::string_view words_;
    const char* ends_ = nullptr;  // count_ 64-bit offsets, maybe unaligned
    std::string_view definitions_;
};

// The cache file for an archive whose content key is `key`, in `folder`.
std::string LookupIndexPath(const std::string& folder, const std::string& key);

}  // namespace app
