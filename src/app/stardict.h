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
// reported as damaged and nothing of it is to be used. Text fields (plain,
// HTML and the other markup kinds) become one definition line; pictures,
// sounds and other binary fields are passed over.
//
// The index is read front to back and each entry's data where it lies, so
// memory holds one entry at a time; compressed files are first uncompressed
// into scratch files. An entry whose data takes more than
// kMaxSourceEntryBytes is passed over unread, and reading more than
// kMaxOutputMultiple times the size of the dictionary's files (entries
// pointing at the same text over and over, a compressed file that expands
// beyond that) is refused as damage.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/dictionary_import.h"
#include "platform/os/byte_file.h"

namespace app {

struct StarDictInfo {
    std::string book_name;
    int64_t word_count = -1;
    int64_t index_bytes = -1;
    int offset_bits = 32;
    std::string type_sequence;  // empty: every field carries its type
};

// The description; nullopt with `error` set when it is not one.
std::optional<StarDictInfo> ParseStarDictInfo(std::string_view ifo, std::string& error);

// The entries of an index over uncompressed data ("entry N": the 1-based
// position in the index). Messages name the files "NAME.idx" and
// "NAME.dict" through `name`. Reading more than `max_text_read` bytes of
// data for the entries is damage.
class StarDictReader final : public EntrySource {
  public:
    StarDictReader(const StarDictInfo& info, const platform::os::ByteFile& index,
                   const platform::os::ByteFile& data, std::string_view name,
                   uint64_t max_text_read, ImportNotes& notes);
    bool Next(SourceEntry& entry) override;

  private:
    const StarDictInfo& info_;
    const platform::os::ByteFile& data_;
    platform::os::ByteReader index_;
    std::string idx_name_;
    std::string dict_name_;
    uint64_t max_text_read_;
    uint64_t text_read_ = 0;
    int64_t count_ = 0;
    bool checked_ = false;
    std::string data_bytes_;
};

// A dictionary's files opened for reading, compressed ones uncompressed.
struct StarDictFiles {
    StarDictInfo info;
    std::string name;  // NAME, for messages
    platform::os::ByteFile index;
    platform::os::ByteFile data;
    uint64_t input_bytes = 0;  // the files as they lie on the disk
    std::string error;         // why they cannot be read
    bool ok() const { return error.empty(); }
};

// Opens the dictionary whose description is at `ifo_path`, with its index
// and data beside it; scratch files go beside `scratch_beside`.
StarDictFiles OpenStarDict(const std::string& ifo_path, const std::string& scratch_beside);

// Uncompresses gzip data (several members one after another included),
// handing the output to `out` a piece at a time. False, with `error`, when
// the data is damaged, would exceed `max_bytes`, or `out` fails.
bool Gunzip(const platform::os::ByteFile& compressed, uint64_t max_bytes,
            const std::function<bool(std::string_view piece)>& out, std::string& error);
// The same into memory.
std::optional<std::string> Gunzip(std::string_view compressed, size_t max_bytes,
                                  std::string& error);

}  // namespace app
