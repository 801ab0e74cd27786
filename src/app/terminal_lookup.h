// SPDX-License-Identifier: GPL-3.0-or-later
// The text a terminal lookup prints: the same matching as the search box and
// the same layout as the definition pane, in Unicode.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <vector>

#include "app/dictionary_store.h"
#include "app/lookup_index.h"
#include "search/search_index.h"

namespace app {

// The bytes to search for, from what a person typed in a UTF-8 terminal.
// Devanagari is converted to Preeti, keeping the ASCII wildcards "?", "#",
// "*" and a literal "[" as they are; text without Devanagari is taken as
// Preeti already (characters of Windows-1252 as their byte). Empty when the
// Devanagari holds a character Preeti cannot express.
std::string TypedTextToPreeti(std::string_view typed_utf8, bool* ok = nullptr);

// The headword, then each sentence on a line of its own ending in the
// danda, and each sub-entry's key in brackets on a line before its
// explanation, as the definition pane lays them out.
std::string FormatEntryForTerminal(const DictEntry& entry);
// The same without the headword: the definition as Unicode lines.
std::string DefinitionLines(std::string_view definition);

// A JSON array of {"headword", "definition"} objects in Unicode, the
// definition laid out as DefinitionLines does, for scripts.
std::string FormatEntriesAsJson(const std::vector<DictEntry>& entries);

// The spelling-tolerant index of an index file's headwords.
search::SearchIndex SearchIndexOf(const LookupIndex& lookup);

// Up to `count` headwords after entry `index`, one a line, each after its
// row number.
std::string FormatFollowingHeadwords(const DictionaryStore& store, int32_t index, int32_t count);
std::string FormatFollowingHeadwords(const LookupIndex& lookup, int32_t index, int32_t count);

}  // namespace app
