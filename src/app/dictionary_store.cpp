// SPDX-License-Identifier: GPL-3.0-or-later
// The dictionary store's buffer management.
#include "app/dictionary_store.h"

#include <algorithm>

namespace app {

size_t DictionaryStore::memory_bytes() const {
    return text_.capacity() + starts_.capacity() * sizeof(uint32_t) + word_lengths_.capacity();
}

void DictionaryStore::Clear() {
    text_.clear();
    starts_.clear();
    word_lengths_.clear();
    text_end_ = 0;
}

void DictionaryStore::Reserve(size_t entries, size_t text_bytes) {
    starts_.reserve(entries);
    word_lengths_.reserve(entries);
    text_.reserve(std::min(text_bytes, kMaxTextBytes));
}

bool DictionaryStore::BeginEntry(std::string_view word) {
    word = word.substr(0, kMaxWordBytes);
    if (text_.size() + word.size() > kMaxTextBytes) return false;
    starts_.push_back(static_cast<uint32_t>(text_.size()));
    word_lengths_.push_back(static_cast<uint8_t>(word.size()));
    text_.append(word);
    text_end_ = static_cast<uint32_t>(text_.size());
    return true;
}

bool DictionaryStore::AppendToDefinition(std::string_view piece) {
    if (starts_.empty()) return false;
    // A definition that would overflow the offsets is cut; the entry stays.
    const size_t room = kMaxTextBytes - text_.size();
    text_.append(piece.substr(0, room));
    text_end_ = static_cast<uint32_t>(text_.size());
    return piece.size() <= room;
}

bool DictionaryStore::Append(std::string_view word, std::string_view definition) {
    if (text_.size() + std::min(word.size(), kMaxWordBytes) + definition.size() > kMaxTextBytes) {
        return false;
    }
    return BeginEntry(word) && AppendToDefinition(definition);
}

void DictionaryStore::TrimSlack() {
    // Ordinary slack (unused headword padding room) is left alone: shrinking
    // copies the whole buffer, and the reservation never exceeds the files.
    if (text_.capacity() > text_.size() + text_.size() / 2 + 1024 * 1024) text_.shrink_to_fit();
    starts_.shrink_to_fit();
    word_lengths_.shrink_to_fit();
}

DictionaryStore& Dictionary() {
    // Never destroyed: windows may still read it while the process ends.
    static DictionaryStore* store = new DictionaryStore();
    return *store;
}

}  // namespace app
