// SPDX-License-Identifier: GPL-3.0-or-later
// Terminal lookup formatting.
#include "app/terminal_lookup.h"

#include <optional>

#include "app/definition_html.h"
#include "platform/json.h"
#include "platform/preeti/preeti.h"

namespace app {
namespace {

void AppendHeadwordLine(std::string& out, int64_t i, std::string_view word) {
    out += std::to_string(i);
    out += '\t';
    out += preeti::ToUnicode(word);
    out += '\n';
}

bool IsKeptAscii(char c) {
    return c == '?' || c == '#' || c == '*' || c == '[';
}

}  // namespace

std::string TypedTextToPreeti(std::string_view typed, bool* ok) {
    if (ok) *ok = true;
    if (!preeti::HasDevanagari(typed)) {
        // A Preeti spelling typed in a UTF-8 terminal arrives as the
        // Windows-1252 characters of its bytes.
        std::optional<std::string> bytes = preeti::Utf8ToCp1252(typed, true);
        return bytes ? *bytes : std::string(typed);
    }
    std::string out;
    size_t begin = 0;
    while (begin <= typed.size()) {
        size_t end = begin;
        while (end < typed.size() && !IsKeptAscii(typed[end])) ++end;
        if (end > begin) {
            std::optional<std::string> piece =
                preeti::FromUnicode(typed.substr(begin, end - begin));
            if (!piece) {
                if (ok) *ok = false;
                return {};
            }
            out += *piece;
        }
        if (end == typed.size()) break;
        out += typed[end];
        begin = end + 1;
    }
    return out;
}

std::string FormatEntryForTerminal(const DictEntry& entry) {
    return preeti::ToUnicode(entry.word) + "\n" + DefinitionLines(entry.definition);
}

std::string DefinitionLines(std::string_view definition) {
    std::string out;
    for (const DefinitionSegment& segment : SplitDefinition(definition)) {
        if (segment.is_subentry) {
            // The pane draws the brackets in a Latin face and the key with
            // its closing mark in the Preeti face.
            out += "[ ";
            out += preeti::ToUnicode(segment.key + "=");
            out += " ]\n";
        }
        out += preeti::ToUnicode(segment.text + " .");
        out += '\n';
    }
    return out;
}

std::string FormatEntriesAsJson(const std::vector<DictEntry>& entries) {
    platform::Json array = platform::Json::MakeArray();
    for (const DictEntry& entry : entries) {
        platform::Json object = platform::Json::MakeObject();
        object.Set("headword", preeti::ToUnicode(entry.word));
        object.Set("definition", DefinitionLines(entry.definition));
        array.Push(std::move(object));
    }
    return array.Dump() + "\n";
}

search::SearchIndex SearchIndexOf(const LookupIndex& lookup) {
    std::vector<std::string_view> words;
    words.reserve(lookup.size());
    lookup.ForEachWord([&](int32_t, std::string_view word) {
        words.push_back(word);
        return true;
    });
    return search::SearchIndex::Build(static_cast<int32_t>(words.size()),
                                      [&](int32_t i) { return words[i]; });
}

std::string FormatFollowingHeadwords(const DictionaryStore& store, int32_t index, int32_t count) {
    std::string out;
    for (int64_t i = int64_t{index} + 1; i < store.size() && i <= int64_t{index} + count; ++i) {
        AppendHeadwordLine(out, i, store.word(static_cast<int32_t>(i)));
    }
    return out;
}

std::string FormatFollowingHeadwords(const LookupIndex& lookup, int32_t index, int32_t count) {
    std::string out;
    lookup.ForEachWord([&](int32_t i, std::string_view word) {
        if (int64_t{i} > int64_t{index} + count) return false;
        if (i > index) AppendHeadwordLine(out, i, word);
        return true;
    });
    return out;
}

}  // namespace app
