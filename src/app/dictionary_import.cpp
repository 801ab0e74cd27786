// SPDX-License-Identifier: GPL-3.0-or-later
// Import of foreign dictionary entries: the Preeti conversion, the notes and
// the pipeline.
#include "app/dictionary_import.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "app/dictionary_builder.h"
#include "app/dictionary_store.h"
#include "app/dictionary_table.h"
#include "app/trim.h"
#include "platform/preeti/preeti.h"

namespace app {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// Appends text, folding blanks into single spaces (none at the start).
void AppendFolded(std::string_view text, std::string& out) {
    for (const char c : text) {
        if (IsBlank(c)) {
            if (!out.empty() && out.back() != ' ') out += ' ';
        } else {
            out += c;
        }
    }
}

std::string TrimEnd(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

// The character a reference such as "amp" or "#2325" or "#x915" stands for;
// 0 when it is not one we know.
char32_t ReferenceValue(std::string_view name) {
    if (name == "amp") return '&';
    if (name == "lt") return '<';
    if (name == "gt") return '>';
    if (name == "quot") return '"';
    if (name == "apos") return '\'';
    if (name == "nbsp") return ' ';
    if (name.size() < 2 || name[0] != '#') return 0;
    const bool hex = name[1] == 'x' || name[1] == 'X';
    const std::string_view digits = name.substr(hex ? 2 : 1);
    if (digits.empty() || digits.size() > 7) return 0;
    char32_t value = 0;
    for (const char c : digits) {
        int d = -1;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        if (d < 0) return 0;
        value = value * (hex ? 16 : 10) + static_cast<char32_t>(d);
    }
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    return value;
}

}  // namespace

std::string OneLine(std::string_view text) {
    std::string out;
    AppendFolded(text, out);
    return TrimEnd(std::move(out));
}

std::string HtmlToText(std::string_view html) {
    std::string out;
    size_t i = 0;
    while (i < html.size()) {
        const char c = html[i];
        if (c == '<') {
            const size_t close = html.find('>', i + 1);
            if (close == std::string_view::npos) break;  // an unfinished tag ends the text
            // Every tag separates words; block tags are no different here.
            if (!out.empty() && out.back() != ' ') {
                std::string_view name = html.substr(i + 1, close - i - 1);
                if (!name.empty() && name[0] == '/') name.remove_prefix(1);
                size_t len = 0;
                while (len < name.size() && std::isalpha(static_cast<unsigned char>(name[len])))
                    ++len;
                name = name.substr(0, len);
                std::string lower;
                for (const char n : name) lower += static_cast<char>(std::tolower(n));
                if (lower == "br" || lower == "p" || lower == "li" || lower == "div" ||
                    lower == "tr" || lower == "td" || lower == "ul" || lower == "ol" ||
                    lower == "dd" || lower == "dt" || lower == "hr" || lower == "table")
                    out += ' ';
            }
            i = close + 1;
        } else if (c == '&') {
            // References are short; looking no further keeps a text full of
            // lone "&" linear.
            const size_t semi = html.substr(0, i + 12).find(';', i + 1);
            const char32_t value = semi != std::string_view::npos
                                       ? ReferenceValue(html.substr(i + 1, semi - i - 1))
                                       : 0;
            if (value == 0) {
                out += '&';
                ++i;
            } else {
                if (value == ' ') {
                    AppendFolded(" ", out);
                } else {
                    preeti::AppendUtf8(out, value);
                }
                i = semi + 1;
            }
        } else {
            AppendFolded(html.substr(i, 1), out);
            ++i;
        }
    }
    return TrimEnd(std::move(out));
}

void ImportNotes::Add(std::string where, std::string message) {
    if (kept_.size() < kKept) kept_.push_back({std::move(where), std::move(message)});
    ++count_;
}

void EntrySource::PassOver(std::string where, std::string message) {
    notes_.Add(std::move(where), std::move(message));
    ++passed_over_;
}

bool EntrySource::Fail(std::string message) {
    error_ = std::move(message);
    return false;
}

bool PreetiConverter::Convert(const SourceEntry& in, DictionaryEntry& out, std::string& why) {
    std::string error;
    std::optional<std::string> word = ConvertHeadword(in.word, error);
    if (!word) {
        why = "headword: " + error;
        return false;
    }
    if (word->empty()) {
        why = "the headword is empty";
        return false;
    }
    if (word->size() > DictionaryStore::kMaxWordBytes) {
        why = "the headword takes " + std::to_string(word->size()) +
              " bytes in the Preeti encoding, more than " +
              std::to_string(DictionaryStore::kMaxWordBytes);
        return false;
    }
    std::optional<std::string> definition = ConvertDefinition(in.definition, error);
    if (!definition) {
        why = "definition: " + error;
        return false;
    }
    if (definition->size() > kMaxDefinitionBytes) {
        why = "the definition takes " + std::to_string(definition->size()) +
              " bytes in the Preeti encoding, more than " + std::to_string(kMaxDefinitionBytes) +
              ", the longest Kovelin shows";
        return false;
    }
    out.sort_key = TrimSpaces(in.word);
    out.word = std::move(*word);
    out.definition = std::move(*definition);
    return true;
}

bool ImportEntries(EntrySource& source, EntryConverter& converter, DictionaryBuilder& builder,
                   ImportNotes& notes, uint64_t& read, std::string& error) {
    SourceEntry entry;
    DictionaryEntry converted;
    std::string why;
    const uint64_t passed_over = source.passed_over();
    while (source.Next(entry)) {
        ++read;
        if (!converter.Convert(entry, converted, why)) {
            notes.Add(std::move(entry.where), std::move(why));
            continue;
        }
        if (!builder.Add(std::move(converted), entry.where)) {
            error = builder.error();
            return false;
        }
    }
    read += source.passed_over() - passed_over;
    if (!source.ok()) {
        error = source.error();
        return false;
    }
    return true;
}

}  // namespace app
