// SPDX-License-Identifier: GPL-3.0-or-later
// The in-memory dictionary: every headword and definition of the data files,
// held for the life of the process and only read after loading.
//
// All text sits in one byte buffer, entry after entry (headword, then its
// definition), and a small table gives where each entry starts and how long
// its headword is. Entry i is found in constant time, and the whole store
// costs the text plus five bytes an entry, which keeps it below the size of
// the two data files it was read from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace app {

// One entry, viewing bytes owned by the store. Both are Preeti bytes; the
// headword has had its padding spaces removed, the definition is the line as
// read.
struct DictEntry {
    std::string_view word;
    std::string_view definition;
};

class DictionaryStore {
  public:
    // A headword never holds more than this many bytes.
    static constexpr size_t kMaxWordBytes = 30;
    // The buffer is addressed with 32-bit offsets; loading stops adding
    // entries before it would outgrow them.
    static constexpr size_t kMaxTextBytes = UINT32_MAX;

    int32_t size() const { return static_cast<int32_t>(word_lengths_.size()); }
    bool empty() const { return word_lengths_.empty(); }

    // Callers check 0 <= i < size() first, as every reader of the store does.
    DictEntry operator[](int32_t i) const {
        const size_t at = i;
        const uint32_t start = starts_[at];
        const uint32_t end = at + 1 < starts_.size() ? starts_[at + 1] : text_end_;
        const uint32_t word_end = start + word_lengths_[at];
        return {std::string_view(text_.data() + start, word_lengths_[at]),
                std::string_view(text_.data() + word_end, end - word_end)};
    }
    std::string_view word(int32_t i) const { return (*this)[i].word; }
    std::string_view definition(int32_t i) const { return (*this)[i].definition; }

    // Bytes of headword and definition text.
    size_t text_bytes() const { return text_end_; }
    // Bytes held, for the memory budget: text and tables, by capacity.
    size_t memory_bytes() const;

    // --- filling (the loader and tests) ------------------------------------
    void Clear();
    // Room for `entries` entries and `text_bytes` bytes of text, so that a
    // load with known file sizes never reallocates.
    void Reserve(size_t entries, size_t text_bytes);
    // Appends an entry; a headword longer than kMaxWordBytes is cut there.
    // Returns false, adding nothing, when the text buffer would outgrow its
    // 32-bit offsets.
    bool Append(std::string_view word, std::string_view definition);
    // Starts an entry whose definition is then added in pieces, for a
    // reader that meets a line split across its read buffer.
    bool BeginEntry(std::string_view word);
    bool AppendToDefinition(std::string_view piece);
    // Returns memory held well beyond what the entries need (after a load
    // that reserved for a file that turned out to hold little of use).
    void TrimSlack();

  private:
    std::string text_;
    std::vector<uint32_t> starts_;
    std::vector<uint8_t> word_lengths_;
    uint32_t text_end_ = 0;
};

// The process-wide store that the program's windows read.
DictionaryStore& Dictionary();

}  // namespace app
