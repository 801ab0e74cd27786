// SPDX-License-Identifier: GPL-3.0-or-later
// Turning entries read from other dictionary formats (StarDict, CSV) into
// the two data files.
//
// The readers hand over Unicode entries in input order, each with where it
// came from ("line 12", "entry 7"). Importing converts them to Preeti bytes,
// skips those the dictionary cannot hold (a headword longer than a record,
// text the Preeti encoding cannot write) with the reason, merges entries
// with the same headword (their definitions joined in input order), and
// sorts the headwords in the dictionary's order: by the Unicode text of the
// headword, code point by code point, which is the order of the bundled
// dictionary.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/dictionary_table.h"

namespace app {

struct SourceEntry {
    std::string word;        // UTF-8
    std::string definition;  // UTF-8, one line, plain text
    std::string where;       // "line 12", "entry 7"
};

struct ImportNote {
    std::string where;
    std::string message;
};

struct ImportResult {
    PackedDictionary packed;
    int32_t taken = 0;   // input entries that went into the dictionary
    int32_t merged = 0;  // of those, the ones joined to an earlier headword
    std::vector<ImportNote> skipped;
};

ImportResult ImportEntries(const std::vector<SourceEntry>& entries);

// Plain text as one definition line: every run of blanks and line breaks
// becomes one space, and the ends are trimmed.
std::string OneLine(std::string_view text);

// The text of an HTML fragment as one definition line: tags dropped, the
// common character references decoded, breaks between blocks (<br>, <p>,
// <li>, <div>, table rows) kept as spaces.
std::string HtmlToText(std::string_view html);

}  // namespace app
