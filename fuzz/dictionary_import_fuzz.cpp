// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: reads arbitrary bytes as the dictionary formats kovelin-pack
// takes from outside (StarDict description, index and data, compressed or
// not; gzip; CSV; HTML definitions) and imports what they yield through the
// whole pipeline, with the limits kovelin-pack sets for an input this size.
//
// The first byte picks the reader and, for StarDict, the offset width, the
// type sequence and whether the data is compressed; for StarDict the next
// two bytes give the index's length, the index follows and the data is the
// rest. Any crash, hang, memory beyond the run's limit (tools/fuzz.sh runs
// this target under a tight one) or sanitizer report, or an import that
// breaks its own counts or limits, is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/csv_dictionary.h"
#include "app/dictionary_builder.h"
#include "app/dictionary_import.h"
#include "app/stardict.h"

namespace {

using platform::os::ByteFile;

void Check(bool ok) {
    if (!ok) std::abort();
}

size_t Count(std::string_view text, std::string_view what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string_view::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

void Import(app::EntrySource& source, app::ImportNotes& notes, size_t input_bytes) {
    app::BuilderLimits limits;
    limits.max_output_bytes = app::kMaxOutputMultiple * input_bytes;
    // Small batches, so that merging batches from disk is fuzzed too.
    limits.batch_bytes = 4096;
    const char* tmp = std::getenv("TMPDIR");
    app::DictionaryBuilder builder(std::string(tmp ? tmp : "/tmp") + "/fuzz.dll", notes, limits);
    app::PreetiConverter converter;
    uint64_t read = 0;
    std::string error;
    app::DataFiles data;
    if (!app::ImportEntries(source, converter, builder, notes, read, error) ||
        !builder.Finish(data)) {
        return;
    }
    Check(read == builder.taken() + notes.count());
    Check(static_cast<uint64_t>(data.entries) == builder.taken() - builder.merged());
    Check(data.headword_records.size() == static_cast<uint64_t>(data.entries) * 34);
    Check(data.headword_records.size() + data.definition_lines.size() <= limits.max_output_bytes);
    std::string lines(data.definition_lines.size(), '\0');
    Check(data.definition_lines.file().ReadAt(0, lines.size(), lines.data()).ok());
    Check(Count(lines, "\r\n") == static_cast<size_t>(data.entries));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t mode = data[0];
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string error;
    app::ImportNotes notes;
    switch (mode % 5) {
        case 0: {
            const ByteFile text = ByteFile::FromMemory(rest);
            app::CsvReader csv(text, notes);
            Import(csv, notes, size);
            break;
        }
        case 1:
            (void)app::HtmlToText(rest);
            break;
        case 2: {
            const size_t limit = app::kMaxOutputMultiple * size;
            const auto out = app::Gunzip(rest, limit, error);
            Check(!out || out->size() <= limit);
            break;
        }
        case 3:
            (void)app::ParseStarDictInfo(rest, error);
            break;
        default: {
            if (rest.size() < 2) return 0;
            static constexpr const char* kSequences[] = {"", "m", "h", "mW", "Wm", "hx", "tP"};
            app::StarDictInfo info;
            info.offset_bits = (mode & 0x80) ? 64 : 32;
            info.type_sequence = kSequences[(mode >> 3) % 7];
            const size_t index_size =
                std::min<size_t>(rest.size() - 2, static_cast<uint8_t>(rest[0]) |
                                                      static_cast<uint8_t>(rest[1]) << 8);
            const std::string_view index = rest.substr(2, index_size);
            std::string_view text = rest.substr(2 + index_size);
            std::string uncompressed;
            if (mode & 0x20) {
                // Compressed data, uncompressed within the limit an input
                // this size gets.
                auto out = app::Gunzip(text, app::kMaxOutputMultiple * size, error);
                if (!out) return 0;
                uncompressed = std::move(*out);
                text = uncompressed;
            }
            info.index_bytes = static_cast<int64_t>(index.size());
            info.word_count = (mode & 0x40) ? 1 : 0;
            const ByteFile index_file = ByteFile::FromMemory(index);
            const ByteFile data_file = ByteFile::FromMemory(text);
            app::StarDictReader reader(info, index_file, data_file, "fuzz",
                                       app::kMaxOutputMultiple * size, notes);
            Import(reader, notes, size);
            break;
        }
    }
    return 0;
}
