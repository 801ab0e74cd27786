// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a dictionary kept as CSV: one record a row, the headword in the
// first column and the definition in the second, fields separated by commas
// and quoted with '"' when they hold commas, quotes ("" inside) or line
// breaks. Further columns are ignored; a first row with no character beyond
// ASCII in its first column names the columns and is passed over.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/dictionary_import.h"

namespace app {

struct CsvDictionary {
    std::vector<SourceEntry> entries;  // "line N": the line the row starts on
    std::vector<ImportNote> skipped;   // rows with no definition
    std::string error;                 // damage that stops the reading
    bool ok() const { return error.empty(); }
};

CsvDictionary ReadCsvDictionary(std::string_view text);

}  // namespace app
