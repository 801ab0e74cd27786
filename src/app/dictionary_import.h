// SPDX-License-Identifier: GPL-3.0-or-later
// Turning dictionaries of other formats (StarDict, CSV) into the two data
// files, one entry at a time, so that memory stays bounded whatever the
// input holds.
//
// An import is a pipeline:
// - a source reader (StarDictReader, CsvReader: an EntrySource) hands over
//   Unicode entries in input order, each with where it came from ("line 12",
//   "entry 7"), and passes over what holds no entry, with the reason;
// - an entry converter (PreetiConverter: an EntryConverter) turns each into
//   the bytes the dictionary keeps and the key it sorts by, or says why the
//   dictionary cannot hold it;
// - the dictionary builder (dictionary_builder.h) merges entries with the
//   same headword and writes the data files in the dictionary's order, which
//   the archive writer (archive.h) packs.
// ImportEntries runs the pipeline. Nothing of a source that turns out to be
// damaged is to be used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace app {

class DictionaryBuilder;

// The longest definition the program shows whole, in stored bytes: the
// definition pane's picture, at most 16,384 pixels tall, holds about this
// much ordinary text (1.24 pixels a byte). Longer entries are skipped.
inline constexpr size_t kMaxDefinitionBytes = 12 * 1024;
// The most an entry may take in its source file (markup, and Unicode text
// takes up to three times its Preeti bytes); a larger one is skipped unread.
inline constexpr size_t kMaxSourceEntryBytes = 8 * kMaxDefinitionBytes;
// An import reads and writes at most this many times the size of its input
// files: more is a file built to make the work explode, not a dictionary.
inline constexpr uint64_t kMaxOutputMultiple = 64;

struct SourceEntry {
    std::string word;        // UTF-8
    std::string definition;  // UTF-8, one line, plain text
    std::string where;       // "line 12", "entry 7"
};

struct ImportNote {
    std::string where;
    std::string message;
};

// What an import passed over: the first notes with their reasons, and how
// many there were in all.
class ImportNotes {
  public:
    static constexpr size_t kKept = 50;

    void Add(std::string where, std::string message);
    const std::vector<ImportNote>& kept() const { return kept_; }
    uint64_t count() const { return count_; }

  private:
    std::vector<ImportNote> kept_;
    uint64_t count_ = 0;
};

// The first stage: the entries of a source, one at a time.
class EntrySource {
  public:
    virtual ~EntrySource() = default;
    // The next entry; false at the end, or when the source is damaged
    // (error() then says how).
    virtual bool Next(SourceEntry& entry) = 0;

    const std::string& error() const { return error_; }
    bool ok() const { return error_.empty(); }
    // Entries passed over, each with a note.
    uint64_t passed_over() const { return passed_over_; }

  protected:
    explicit EntrySource(ImportNotes& notes) : notes_(notes) {}
    void PassOver(std::string where, std::string message);
    bool Fail(std::string message);

  private:
    ImportNotes& notes_;
    std::string error_;
    uint64_t passed_over_ = 0;
};

// An entry as the dictionary keeps it.
struct DictionaryEntry {
    std::string sort_key;    // the dictionary's order, compared byte by byte
    std::string word;        // the stored headword
    std::string definition;  // the stored definition line
};

// The second stage.
class EntryConverter {
  public:
    virtual ~EntryConverter() = default;
    // False, with `why`, when the dictionary cannot hold the entry.
    virtual bool Convert(const SourceEntry& in, DictionaryEntry& out, std::string& why) = 0;
};

// Unicode to Preeti bytes. A headword longer than a record or a definition
// longer than kMaxDefinitionBytes, or text the encoding cannot write, is
// refused. Entries sort by the Unicode headword, code point by code point
// (UTF-8 bytes keep that order), the order of the bundled dictionary.
class PreetiConverter final : public EntryConverter {
  public:
    bool Convert(const SourceEntry& in, DictionaryEntry& out, std::string& why) override;
};

// Runs every entry of `source` through `converter` into `builder`, adding
// to `read` each entry the source held (passed over or not). Entries the
// converter refuses go to `notes`. False, with `error`, when the source is
// damaged or the builder can take no more; then nothing of it is to be
// used. The caller finishes the builder.
bool ImportEntries(EntrySource& source, EntryConverter& converter, DictionaryBuilder& builder,
                   ImportNotes& notes, uint64_t& read, std::string& error);

// Plain text as one definition line: every run of blanks and line breaks
// becomes one space, and the ends are trimmed.
std::string OneLine(std::string_view text);

// The text of an HTML fragment as one definition line: tags dropped, the
// common character references decoded, breaks between blocks (<br>, <p>,
// <li>, <div>, table rows) kept as spaces.
std::string HtmlToText(std::string_view html);

}  // namespace app
