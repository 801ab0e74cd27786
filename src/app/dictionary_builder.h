// SPDX-License-Identifier: GPL-3.0-or-later
// The last stage of an import (dictionary_import.h) before the archive:
// entries in, the two data files out, in bounded memory.
//
// Entries with the same stored headword are merged, their definitions
// joined in input order (each sense a sentence of its own), and the
// headwords are written in the order of their sort keys, the key of a
// merged headword being that of its first entry. Entries are held in memory
// up to a batch; a full batch is sorted and written to a scratch file, and
// the batches are merged from there, so memory does not grow with the
// dictionary.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "app/dictionary_import.h"
#include "platform/os/byte_file.h"

namespace app {

struct BuilderLimits {
    // A joined definition longer than this is not made: the later sense is
    // skipped with a note.
    size_t max_definition_bytes = kMaxDefinitionBytes;
    // The two data files together, and each of them.
    uint64_t max_output_bytes = UINT64_MAX;
    uint64_t max_file_bytes = UINT64_MAX;
    // Bytes of entries held in memory before a batch goes to a scratch file.
    size_t batch_bytes = size_t{8} << 20;
};

struct DataFiles {
    platform::os::ScratchFile headword_records;  // 34-byte records
    platform::os::ScratchFile definition_lines;  // CR LF ended lines
    int32_t entries = 0;
};

class DictionaryBuilder {
  public:
    // kOverBudget: beyond max_output_bytes; kTooLarge: a file beyond
    // max_file_bytes; kScratch: a scratch file failed.
    enum class Failure { kNone, kOverBudget, kTooLarge, kScratch };

    // Scratch files are made beside `scratch_beside` (see ScratchFile).
    DictionaryBuilder(std::string scratch_beside, ImportNotes& notes, BuilderLimits limits = {});
    ~DictionaryBuilder();

    // Takes one entry. False, with failure() and error(), when the data
    // files would outgrow the limits or scratch space fails.
    bool Add(DictionaryEntry&& entry, std::string_view where);
    // Merges, sorts and writes the data files.
    bool Finish(DataFiles& out);

    uint64_t taken() const { return taken_; }
    uint64_t merged() const { return merged_; }
    Failure failure() const { return failure_; }
    const std::string& error() const { return error_; }

  private:
    class Sorter;
    bool Fail(Failure failure, std::string message);

    std::string scratch_beside_;
    ImportNotes& notes_;
    BuilderLimits limits_;
    std::unique_ptr<Sorter> by_word_;
    uint64_t output_bytes_ = 0;
    uint64_t definition_bytes_ = 0;
    uint64_t record_bytes_ = 0;
    uint64_t taken_ = 0;
    uint64_t merged_ = 0;
    uint64_t sequence_ = 0;  // input order, for merging senses in it
    Failure failure_ = Failure::kNone;
    std::string error_;
};

}  // namespace app
