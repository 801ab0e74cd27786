// SPDX-License-Identifier: GPL-3.0-or-later
// Merging and sorting imported entries through sorted batches on disk.
#include "app/dictionary_builder.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "app/dictionary_table.h"
#include "app/loader.h"

namespace app {
namespace {

using platform::Status;
using platform::os::ByteFile;
using platform::os::ByteReader;
using platform::os::ScratchFile;

// Batches merged at once; more are merged in rounds, so the read buffers
// stay few whatever the number of batches.
constexpr size_t kMaxMergeWays = 32;
constexpr size_t kMergeBufferBytes = 64 * 1024;
// What a record costs in memory beyond its bytes (strings and the table).
constexpr size_t kRecordOverhead = 96;

void PutNumber(std::string& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i));
}

uint64_t GetNumber(std::string_view in, int bytes) {
    uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(in[i]);
    return value;
}

// Length-prefixed fields, one after another in a record's payload.
void PutField(std::string& out, std::string_view field) {
    PutNumber(out, field.size(), 4);
    out += field;
}

std::string_view TakeField(std::string_view& in) {
    const size_t size = static_cast<size_t>(GetNumber(in, 4));
    const std::string_view field = in.substr(4, size);
    in.remove_prefix(4 + size);
    return field;
}

}  // namespace

// Records (key, sequence number, payload) in the order of key and then
// sequence number, through sorted runs in one scratch file when they
// outgrow the batch.
class DictionaryBuilder::Sorter {
  public:
    using Take =
        std::function<bool(std::string_view key, uint64_t sequence, std::string_view payload)>;

    Sorter(const std::string& beside, size_t batch_bytes)
        : beside_(beside), batch_bytes_(batch_bytes) {}

    Status Add(std::string key, uint64_t sequence, std::string payload) {
        held_ += key.size() + payload.size() + kRecordOverhead;
        batch_.push_back({std::move(key), sequence, std::move(payload)});
        if (held_ > batch_bytes_) return Spill();
        return Status::Ok();
    }

    // Hands every record over in order; stops early when `take` says so.
    Status Drain(const Take& take) {
        SortBatch();
        if (runs_.empty()) {
            for (const Record& r : batch_) {
                if (!take(r.key, r.sequence, r.payload)) break;
            }
            batch_.clear();
            return Status::Ok();
        }
        if (Status spilled = Spill(); !spilled) return spilled;
        while (runs_.size() > kMaxMergeWays) {
            auto next = ScratchFile::Create(beside_);
            if (!next) return next.error();
            std::vector<Run> merged;
            for (size_t first = 0; first < runs_.size(); first += kMaxMergeWays) {
                const size_t last = std::min(runs_.size(), first + kMaxMergeWays);
                const uint64_t begin = next->size();
                Status written = Status::Ok();
                Status read =
                    Merge(first, last,
                          [&](std::string_view key, uint64_t sequence, std::string_view payload) {
                              written = next->Append(Encode(key, sequence, payload));
                              return written.ok();
                          });
                if (!read) return read;
                if (!written) return written;
                merged.push_back({begin, next->size()});
            }
            if (Status flushed = next->Flush(); !flushed) return flushed;
            spill_ = std::move(*next);
            runs_ = std::move(merged);
        }
        return Merge(0, runs_.size(), take);
    }

  private:
    struct Record {
        std::string key;
        uint64_t sequence;
        std::string payload;
    };
    struct Run {
        uint64_t begin;
        uint64_t end;
    };

    static std::string Encode(std::string_view key, uint64_t sequence, std::string_view payload) {
        std::string out;
        out.reserve(16 + key.size() + payload.size());
        PutField(out, key);
        PutNumber(out, sequence, 8);
        PutField(out, payload);
        return out;
    }

    void SortBatch() {
        std::sort(batch_.begin(), batch_.end(), [](const Record& a, const Record& b) {
            return a.key != b.key ? a.key < b.key : a.sequence < b.sequence;
        });
    }

    Status Spill() {
        if (batch_.empty()) return Status::Ok();
        SortBatch();
        if (runs_.empty()) {
            auto file = ScratchFile::Create(beside_);
            if (!file) return file.error();
            spill_ = std::move(*file);
        }
        const uint64_t begin = spill_.size();
        for (const Record& r : batch_) {
            if (Status s = spill_.Append(Encode(r.key, r.sequence, r.payload)); !s) return s;
        }
        if (Status s = spill_.Flush(); !s) return s;
        runs_.push_back({begin, spill_.size()});
        batch_.clear();
        batch_.shrink_to_fit();
        held_ = 0;
        return Status::Ok();
    }

    // One run being read back: its current record.
    struct Cursor {
        Cursor(const ByteFile& file, Run run)
            : reader(file, run.begin, kMergeBufferBytes), end(run.end) {}
        // False at the end of the run; `failed` when it could not be read.
        bool Next() {
            if (reader.position() >= end) return false;
            std::string head;
            key.clear();
            payload.clear();
            if (!reader.Read(4, head) || !reader.Read(GetNumber(head, 4), key)) {
                failed = true;
                return false;
            }
            // The sequence number, then the payload's size.
            head.clear();
            if (!reader.Read(12, head) || !reader.Read(GetNumber(head.substr(8), 4), payload)) {
                failed = true;
                return false;
            }
            sequence = GetNumber(head, 8);
            return true;
        }
        ByteReader reader;
        uint64_t end;
        std::string key;
        uint64_t sequence = 0;
        std::string payload;
        bool failed = false;
    };

    Status Merge(size_t first, size_t last, const Take& take) {
        std::vector<std::unique_ptr<Cursor>> cursors;
        std::vector<size_t> heap;
        for (size_t i = first; i < last; ++i) {
            cursors.push_back(std::make_unique<Cursor>(spill_.file(), runs_[i]));
            if (cursors.back()->Next()) heap.push_back(cursors.size() - 1);
        }
        // A min-heap: std::push_heap keeps the greatest first.
        auto later = [&](size_t a, size_t b) {
            const Cursor& x = *cursors[a];
            const Cursor& y = *cursors[b];
            return x.key != y.key ? x.key > y.key : x.sequence > y.sequence;
        };
        std::make_heap(heap.begin(), heap.end(), later);
        while (!heap.empty()) {
            std::pop_heap(heap.begin(), heap.end(), later);
            Cursor& c = *cursors[heap.back()];
            if (!take(c.key, c.sequence, c.payload)) return Status::Ok();
            if (c.Next()) {
                std::push_heap(heap.begin(), heap.end(), later);
            } else {
                heap.pop_back();
            }
        }
        for (const auto& c : cursors) {
            if (c->failed) {
                return platform::MakeError(
                    platform::ErrorCode::kFileIo,
                    "cannot read back a scratch file: " + c->reader.failure());
            }
        }
        return Status::Ok();
    }

    std::string beside_;
    size_t batch_bytes_;
    size_t held_ = 0;
    std::vector<Record> batch_;
    ScratchFile spill_;
    std::vector<Run> runs_;
};

DictionaryBuilder::DictionaryBuilder(std::string scratch_beside, ImportNotes& notes,
                                     BuilderLimits limits)
    : scratch_beside_(std::move(scratch_beside)),
      notes_(notes),
      limits_(limits),
      by_word_(std::make_unique<Sorter>(scratch_beside_, limits.batch_bytes)) {
}

DictionaryBuilder::~DictionaryBuilder() = default;

bool DictionaryBuilder::Fail(Failure failure, std::string message) {
    failure_ = failure;
    error_ = std::move(message);
    return false;
}

bool DictionaryBuilder::Add(DictionaryEntry&& entry, std::string_view where) {
    if (failure_ != Failure::kNone) return false;
    // Merging only ever makes the files smaller than this.
    record_bytes_ += kRecordBytes;
    definition_bytes_ += entry.definition.size() + 2;
    output_bytes_ += kRecordBytes + entry.definition.size() + 2;
    if (output_bytes_ > limits_.max_output_bytes) {
        return Fail(Failure::kOverBudget, "the entries make more than " +
                                              std::to_string(limits_.max_output_bytes) +
                                              " bytes of dictionary files");
    }
    if (record_bytes_ > limits_.max_file_bytes || definition_bytes_ > limits_.max_file_bytes) {
        return Fail(Failure::kTooLarge, "the entries make a dictionary file of more than " +
                                            std::to_string(limits_.max_file_bytes) +
                                            " bytes, more than Kovelin unpacks");
    }
    std::string payload;
    PutField(payload, entry.sort_key);
    PutField(payload, where);
    PutField(payload, entry.definition);
    if (Status added = by_word_->Add(std::move(entry.word), sequence_++, std::move(payload));
        !added) {
        return Fail(Failure::kScratch, added.error().message);
    }
    ++taken_;
    return true;
}

bool DictionaryBuilder::Finish(DataFiles& out) {
    if (failure_ != Failure::kNone) return false;
    // First by stored headword, to join the senses of each in input order,
    // then by the sort key of each headword's first entry.
    Sorter by_key(scratch_beside_, limits_.batch_bytes);
    std::string word;
    std::string key;
    std::string definition;
    uint64_t first = 0;
    bool have_word = false;
    Status failed = Status::Ok();
    auto put_word = [&] {
        std::string payload;
        PutField(payload, word);
        PutField(payload, definition);
        failed = by_key.Add(key, first, std::move(payload));
        return failed.ok();
    };
    Status read = by_word_->Drain([&](std::string_view stored, uint64_t sequence,
                                      std::string_view payload) {
        const std::string_view sort_key = TakeField(payload);
        const std::string_view where = TakeField(payload);
        const std::string_view sense = TakeField(payload);
        if (have_word && stored == word) {
            // A further sense follows the earlier ones as a sentence of its own.
            const bool joined = !definition.empty() && !sense.empty();
            const size_t mark = joined ? (definition.back() == '.' ? 1 : 2) : 0;
            if (definition.size() + mark + sense.size() > limits_.max_definition_bytes) {
                notes_.Add(std::string(where),
                           "joined to the earlier entries of its headword, the definition would "
                           "take more than " +
                               std::to_string(limits_.max_definition_bytes) +
                               " bytes, the longest Kovelin shows");
                --taken_;
                return true;
            }
            if (mark == 2) definition += '.';
            if (mark > 0) definition += ' ';
            definition += sense;
            ++merged_;
            return true;
        }
        if (have_word && !put_word()) return false;
        word = stored;
        key = sort_key;
        definition = sense;
        first = sequence;
        have_word = true;
        return true;
    });
    if (read && failed && have_word) put_word();
    by_word_.reset();
    if (!read) return Fail(Failure::kScratch, read.error().message);
    if (!failed) return Fail(Failure::kScratch, failed.error().message);

    auto records = platform::os::ScratchFile::Create(scratch_beside_);
    if (!records) return Fail(Failure::kScratch, records.error().message);
    auto lines = platform::os::ScratchFile::Create(scratch_beside_);
    if (!lines) return Fail(Failure::kScratch, lines.error().message);
    int32_t entries = 0;
    read = by_key.Drain([&](std::string_view, uint64_t, std::string_view payload) {
        const std::string_view stored = TakeField(payload);
        const std::string_view line = TakeField(payload);
        failed = records->Append(HeadwordRecord(stored));
        if (failed) failed = lines->Append(line);
        if (failed) failed = lines->Append("\r\n");
        ++entries;
        return failed.ok();
    });
    if (read && failed) failed = records->Flush();
    if (read && failed) failed = lines->Flush();
    if (!read) return Fail(Failure::kScratch, read.error().message);
    if (!failed) return Fail(Failure::kScratch, failed.error().message);
    out.headword_records = std::move(*records);
    out.definition_lines = std::move(*lines);
    out.entries = entries;
    return true;
}

}  // namespace app
