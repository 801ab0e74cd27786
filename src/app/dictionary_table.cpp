// SPDX-License-Identifier: GPL-3.0-or-later
// Table conversion for the packer.
#include "app/dictionary_table.h"
#include "app/trim.h"

#include <cstdio>
#include <optional>

#include "app/dictionary_import.h"
#include "app/dictionary_store.h"
#include "app/loader.h"
#include "platform/preeti/preeti.h"

namespace app {
namespace {

// "U+0041 'A'" for the UTF-8 character starting at `at`, for messages.
std::string DescribeCharacter(std::string_view text, size_t at) {
    if (at >= text.size()) return "the end of the text";
    char32_t cp = 0;
    const size_t len = preeti::DecodeUtf8(text, at, &cp);
    if (len == 0) return "an invalid UTF-8 byte";
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(cp));
    return std::string(code) + " '" + std::string(text.substr(at, len)) + "'";
}

// The number of characters before byte `at`, for a column a person can find.
size_t CharacterColumn(std::string_view text, size_t at) {
    size_t column = 1;
    for (size_t i = 0; i < at && i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++column;
    }
    return column;
}

class LineConverter {
  public:
    LineConverter(std::string_view field, size_t field_column, std::string& error)
        : field_(field), field_column_(field_column), error_(error) {}

    // Converts field_[begin, end) and appends it; false (with the error set)
    // on a character Preeti cannot express.
    bool Convert(size_t begin, size_t end, std::string& out) {
        const std::string_view piece = field_.substr(begin, end - begin);
        if (piece.empty()) return true;
        size_t bad = 0;
        const std::optional<std::string> bytes = preeti::FromUnicode(piece, &bad);
        if (!bytes) {
            error_ = DescribeCharacter(field_, begin + bad) + " at column " +
                     std::to_string(field_column_ + CharacterColumn(field_, begin + bad) - 1) +
                     " cannot be written in the Preeti encoding";
            return false;
        }
        out += *bytes;
        return true;
    }

  private:
    std::string_view field_;
    size_t field_column_;
    std::string& error_;
};

// Converts a Unicode definition, keeping its "." and "[...=]" marks as the
// bytes the loader and the composer look for.
bool ConvertDefinitionAt(std::string_view def, size_t column, std::string& out,
                         std::string& error) {
    LineConverter converter(def, column, error);
    size_t begin = 0;
    while (begin <= def.size()) {
        size_t dot = def.find('.', begin);
        const size_t end = dot == std::string_view::npos ? def.size() : dot;
        // A sub-entry: "[" as the first non-space character of the sentence,
        // then "=]" further on.
        size_t lead = begin;
        while (lead < end && def[lead] == ' ') ++lead;
        const size_t mark = lead < end && def[lead] == '[' ? def.find("=]", lead + 1) : def.npos;
        if (mark != def.npos && mark < end) {
            if (!converter.Convert(begin, lead, out)) return false;
            out += '[';
            if (!converter.Convert(lead + 1, mark, out)) return false;
            out += "=]";
            if (!converter.Convert(mark + 2, end, out)) return false;
        } else if (!converter.Convert(begin, end, out)) {
            return false;
        }
        if (dot == std::string_view::npos) break;
        out += '.';
        begin = dot + 1;
    }
    return true;
}

}  // namespace

std::optional<std::string> ConvertHeadword(std::string_view word, std::string& error) {
    word = TrimSpaces(word);
    std::string out;
    LineConverter converter(word, 1, error);
    if (!converter.Convert(0, word.size(), out)) return std::nullopt;
    return out;
}

std::optional<std::string> ConvertDefinition(std::string_view definition, std::string& error) {
    std::string out;
    if (!ConvertDefinitionAt(definition, 1, out, error)) return std::nullopt;
    return out;
}

std::string HeadwordRecord(std::string_view word) {
    std::string record(word.substr(0, DictionaryStore::kMaxWordBytes));
    record.resize(DictionaryStore::kMaxWordBytes, ' ');
    record.append(kRecordBytes - DictionaryStore::kMaxWordBytes, '\0');
    return record;
}

TableResult ConvertTable(std::string_view table, TableEncoding encoding) {
    TableResult result;
    if (table.substr(0, 3) == "\xEF\xBB\xBF") table.remove_prefix(3);

    size_t line_number = 0;
    size_t begin = 0;
    while (begin < table.size()) {
        size_t end = table.find('\n', begin);
        if (end == std::string_view::npos) end = table.size();
        std::string_view line = table.substr(begin, end - begin);
        begin = end + 1;
        ++line_number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (TrimSpaces(line).empty()) continue;

        auto fail = [&](std::string message) {
            result.errors.push_back({line_number, std::move(message)});
        };
        const size_t tab = line.find('\t');
        if (tab == std::string_view::npos) {
            fail("no tab between the headword and the definition");
            continue;
        }
        const std::string_view raw_word = TrimSpaces(line.substr(0, tab));
        const std::string_view definition = line.substr(tab + 1);
        if (definition.find('\r') != std::string_view::npos) {
            fail("the definition holds a line break");
            continue;
        }
        if (definition.find('\t') != std::string_view::npos) {
            fail("the definition holds a tab");
            continue;
        }
        if (raw_word.empty()) {
            fail("the headword is empty");
            continue;
        }

        std::string word;
        std::string def;
        if (encoding == TableEncoding::kPreeti) {
            word = raw_word;
            def = definition;
        } else {
            std::string error;
            LineConverter word_converter(raw_word, 1, error);
            if (!word_converter.Convert(0, raw_word.size(), word)) {
                fail("headword: " + error);
                continue;
            }
            if (!ConvertDefinitionAt(definition, CharacterColumn(line, tab + 1), def, error)) {
                fail("definition: " + error);
                continue;
            }
        }
        if (word.size() > DictionaryStore::kMaxWordBytes) {
            fail("the headword takes " + std::to_string(word.size()) + " bytes, more than " +
                 std::to_string(DictionaryStore::kMaxWordBytes));
            continue;
        }
        if (def.size() > kMaxDefinitionBytes) {
            fail("the definition takes " + std::to_string(def.size()) + " bytes, more than " +
                 std::to_string(kMaxDefinitionBytes) + ", the longest Kovelin shows");
            continue;
        }
        result.packed.headword_records += HeadwordRecord(word);
        result.packed.definition_lines += def;
        result.packed.definition_lines += "\r\n";
        ++result.packed.entries;
    }
    if (!result.ok()) result.packed = {};
    return result;
}

}  // namespace app
