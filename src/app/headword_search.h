// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the first headword that begins with a typed text.
//
// Matching works on the raw bytes: "?" stands for any one byte, "#" for one
// ASCII digit, "*" for any run of bytes, and everything else ("[" included)
// only for itself. The search box and the terminal lookup share it, so both
// land on the same entry for the same text.
#pragma once

#include <cstdint>
#include <string_view>

#include "app/dictionary_store.h"

namespace app {

// Whether `word` begins with `typed` under the wildcard rules above.
bool HeadwordStartsWith(std::string_view word, std::string_view typed);

// The index of the first entry, in store order, whose headword begins with
// `typed`; -1 when none does. An empty text finds entry 0 of a non-empty
// store.
int32_t FindHeadword(const DictionaryStore& store, std::string_view typed);

}  // namespace app
