// SPDX-License-Identifier: GPL-3.0-or-later
// Building the two data files from a plain table a person can edit: one
// entry a line, the headword, a tab, the definition.
//
// The table is usually Unicode Devanagari, converted here to Preeti bytes.
// The definition's own structure is written with ASCII marks that stay as
// they are: "." ends a sentence, and a sentence "[KEY=]EXPLANATION." is a
// sub-entry; the text between the marks is converted. A table already in
// Preeti bytes is taken as it is. Every line is checked, and any error
// rejects the whole table, so a broken table never half-replaces a
// dictionary.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

enum class TableEncoding { kUnicode, kPreeti };

struct TableError {
    size_t line = 0;  // 1-based
    std::string message;
};

struct PackedDictionary {
    std::string headword_records;  // 34-byte records
    std::string definition_lines;  // CR LF ended lines
    int32_t entries = 0;
};

struct TableResult {
    PackedDictionary packed;
    std::vector<TableError> errors;  // empty on success

    bool ok() const { return errors.empty(); }
};

// Converts a whole table. Blank lines are skipped; a UTF-8 byte order mark
// at the start is ignored.
TableResult ConvertTable(std::string_view table, TableEncoding encoding);

// Converts one Unicode headword (spaces around it trimmed) or one Unicode
// definition line to Preeti bytes, keeping the definition's "." and "[...=]"
// marks. nullopt, with `error` saying which character and where, when the
// Preeti encoding cannot hold the text.
std::optional<std::string> ConvertHeadword(std::string_view word, std::string& error);
std::optional<std::string> ConvertDefinition(std::string_view definition, std::string& error);

// One record: the headword padded with spaces to 30 bytes, then the four
// bytes the dictionary does not use, as zeros.
std::string HeadwordRecord(std::string_view word);

}  // namespace app
