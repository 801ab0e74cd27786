// SPDX-License-Identifier: GPL-3.0-or-later
// CSV reading in one pass over the text.
#include "app/csv_dictionary.h"

namespace app {
namespace {

bool AllAscii(std::string_view s) {
    for (const char c : s) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

}  // namespace

CsvDictionary ReadCsvDictionary(std::string_view text) {
    CsvDictionary result;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);

    size_t line = 1;
    size_t row_line = 1;
    bool first_row = true;
    std::vector<std::string> fields(1);
    bool quoted = false;      // inside a quoted field
    bool was_quoted = false;  // the current field was quoted (text after it is kept)

    auto end_row = [&] {
        const bool blank = fields.size() == 1 && fields[0].empty() && !was_quoted;
        if (!blank) {
            const std::string where = "line " + std::to_string(row_line);
            if (first_row && !fields[0].empty() && AllAscii(fields[0])) {
                // The column names.
            } else if (fields.size() < 2) {
                result.skipped.push_back({where, "the row has no definition column"});
            } else {
                result.entries.push_back({OneLine(fields[0]), OneLine(fields[1]), where});
            }
            first_row = false;
        }
        fields.assign(1, std::string());
        was_quoted = false;
        row_line = line;
    };

    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    fields.back() += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == '\n') ++line;
                fields.back() += c;
            }
            continue;
        }
        if (c == '"' && fields.back().empty() && !was_quoted) {
            quoted = true;
            was_quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
            was_quoted = false;
        } else if (c == '\n') {
            ++line;
            end_row();
        } else if (c == '\r' && (i + 1 == text.size() || text[i + 1] == '\n')) {
            // The CR of a CR LF line end.
        } else {
            fields.back() += c;
        }
    }
    if (quoted) {
        result.error = "line " + std::to_string(row_line) + ": a quoted field is never closed";
        result.entries.clear();
        return result;
    }
    end_row();
    return result;
}

}  // namespace app
