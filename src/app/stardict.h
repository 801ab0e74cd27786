// SPDX-License-Identifier: GPL-3.0-or-later
// Reading StarDict dictionaries: the ".ifo" description (key=value lines),
// the ".idx" index (per entry the headword ended by NUL, then the offset and
// size of its data in the ".dict" file, as 32-bit big-endian numbers, or
// 64-bit ones when the description says idxoffsetbits=64), and the ".dict"
// data, or ".dict.dz" (gzip-compressed). The index may be gzip-compressed
// too (".idx.gz").
//
// Everything read is checked against what it claims: the word count and
// index size in the description, every entry's data lying inside the data
// file, every field inside its entry. A file that does not hold together is
// reported as damaged and nothing of it is used. Text fields (plain, HTML
// and the other markup kinds) become one definition line; pictures, sounds
// and other binary fields are passed over.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/dictionary_import.h"

namespace app {

struct StarDictInfo {
    std::string book_name;
    int64_t word_count = -1;
    int64_t index_bytes = -1;
    int offset_bits = 32;
    std::string type_sequence;  // empty: every field carries its type
};

struct StarDict {
    std::string book_name;
    std::vector<SourceEntry> entries;  // "entry N": 1-based position in the index
    std::vector<ImportNote> skipped;   // entries with no text field
    std::string error;                 // damage; entries is then empty
    bool ok() const { return error.empty(); }
};

// The description; nullopt with `error` set when it is not one.
std::optional<StarDictInfo> ParseStarDictInfo(std::string_view ifo, std::string& error);

// The entries of an index over already uncompressed data. Messages name the
// files "NAME.idx" and "NAME.dict" through `name`.
StarDict ParseStarDict(const StarDictInfo& info, std::string_view index, std::string_view data,
                       std::string_view name);

// Reads the dictionary whose description is at `ifo_path`, with its index
// and data beside it.
StarDict ReadStarDict(const std::string& ifo_path);

// Uncompresses gzip data (several members one after another included);
// nullopt with `error` set when it is damaged or would exceed `max_bytes`.
std::optional<std::string> Gunzip(std::string_view compressed, size_t max_bytes,
                                  std::string& error);

}  // namespace app
