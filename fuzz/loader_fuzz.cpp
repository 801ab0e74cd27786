// Fuzz target: the two dictionary files as the loader finds them after
// unpacking. The first two bytes split the rest into the headword records
// and the definition lines. Invariants: the record count follows the file
// size with its rounding, the store never holds more entries than records,
// no word is longer than a record's word field, and every definition lies
// inside the definition file's bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/dictionary_store.h"
#include "app/loader.h"
#include "fuzz_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const size_t split = std::min<size_t>((size_t{data[0]} << 8 | data[1]), size - 2);
    const std::string_view rest(reinterpret_cast<const char*>(data) + 2, size - 2);
    const std::string_view records = rest.substr(0, split);
    const std::string_view lines = rest.substr(split);
    const std::string words_path = fuzz::Scratch() + "/w.dat";
    const std::string lines_path = fuzz::Scratch() + "/m.dat";
    fuzz::Check(fuzz::WriteWhole(words_path, records) && fuzz::WriteWhole(lines_path, lines),
                "the scratch files are written");

    app::DictionaryStore store;
    const app::LoadReport report = app::LoadDictionary(words_path, lines_path, store, {});
    fuzz::Check(report.records == app::RecordCountForFileSize(records.size()),
                "the record count follows the file size");
    fuzz::Check(store.size() == report.entries && report.entries <= report.records,
                "no more entries than records");
    fuzz::Check(report.definitions <= report.entries, "no more definitions than entries");
    size_t definition_bytes = 0;
    for (int32_t i = 0; i < store.size(); ++i) {
        fuzz::Check(store.word(i).size() <= app::DictionaryStore::kMaxWordBytes,
                    "a word fits its record");
        definition_bytes += store.definition(i).size();
    }
    fuzz::Check(definition_bytes <= lines.size(), "definitions come from the file's bytes");
    return 0;
}
