// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: reads arbitrary bytes as the dictionary formats kovelin-pack
// takes from outside (StarDict description, index and data; gzip; CSV; HTML
// definitions) and imports what they yield.
//
// The first byte picks the reader and, for StarDict, the offset width and
// the type sequence; for StarDict the rest is split at its middle into the
// index and the data. Any crash, hang or sanitizer report, or an import that
// breaks its own counts, is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/csv_dictionary.h"
#include "app/dictionary_import.h"
#include "app/stardict.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

void Import(const std::vector<app::SourceEntry>& entries) {
    const app::ImportResult result = app::ImportEntries(entries);
    Check(static_cast<size_t>(result.taken) + result.skipped.size() == entries.size());
    Check(result.packed.entries == result.taken - result.merged);
    Check(result.packed.headword_records.size() == static_cast<size_t>(result.packed.entries) * 34);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t mode = data[0];
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string error;
    switch (mode % 5) {
        case 0: {
            const app::CsvDictionary csv = app::ReadCsvDictionary(rest);
            if (csv.ok()) Import(csv.entries);
            break;
        }
        case 1:
            (void)app::HtmlToText(rest);
            break;
        case 2:
            (void)app::Gunzip(rest, 1 << 20, error);
            break;
        case 3:
            (void)app::ParseStarDictInfo(rest, error);
            break;
        default: {
            static constexpr const char* kSequences[] = {"", "m", "h", "mW", "Wm", "hx", "tP"};
            app::StarDictInfo info;
            info.offset_bits = (mode & 0x80) ? 64 : 32;
            info.type_sequence = kSequences[(mode >> 3) % 7];
            const std::string_view index = rest.substr(0, rest.size() / 2);
            info.index_bytes = static_cast<int64_t>(index.size());
            info.word_count = (mode & 0x40) ? 1 : 0;
            const app::StarDict dict =
                app::ParseStarDict(info, index, rest.substr(rest.size() / 2), "fuzz");
            if (dict.ok()) Import(dict.entries);
            break;
        }
    }
    return 0;
}
