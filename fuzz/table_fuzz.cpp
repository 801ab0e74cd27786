// Fuzz target: the packer's table format (headword, a tab, the definition;
// Unicode or Preeti). The first byte picks the encoding. Invariants: a
// table is taken whole or refused with line numbers inside the table; a
// taken table gives one 34-byte record and one CR LF line per entry.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/dictionary_table.h"
#include "fuzz_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const auto encoding = data[0] & 1 ? app::TableEncoding::kPreeti : app::TableEncoding::kUnicode;
    const std::string_view table(reinterpret_cast<const char*>(data) + 1, size - 1);
    const app::TableResult result = app::ConvertTable(table, encoding);
    const size_t line_count = static_cast<size_t>(std::count(table.begin(), table.end(), '\n')) + 1;
    if (!result.ok()) {
        for (const app::TableError& e : result.errors)
            fuzz::Check(e.line >= 1 && e.line <= line_count && !e.message.empty(),
                        "an error names a line of the table");
        return 0;
    }
    const app::PackedDictionary& p = result.packed;
    fuzz::Check(p.headword_records.size() == static_cast<size_t>(p.entries) * 34,
                "one record per entry");
    size_t crlf = 0;
    for (size_t at = p.definition_lines.find("\r\n"); at != std::string::npos;
         at = p.definition_lines.find("\r\n", at + 2))
        ++crlf;
    fuzz::Check(crlf == static_cast<size_t>(p.entries), "one line per entry");
    fuzz::Check(static_cast<size_t>(p.entries) <= line_count, "no more entries than lines");
    return 0;
}
