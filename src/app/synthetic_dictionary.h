// SPDX-License-Identifier: GPL-3.0-or-later
// Large made-up dictionaries for benchmarks and tests only.
//
// The words are random Devanagari syllables (every one expressible in the
// Preeti encoding), unique and sorted like a real word list; definitions are
// sentences of such words with an occasional "[KEY=]explanation" sub-entry.
// The same count and seed always give the same table, byte for byte. None
// of it is Nepali with a meaning, so it never ships as data.
#pragma once

#include <cstdint>
#include <string>

namespace app {

// A UTF-8 table of `entries` lines: headword, tab, definition, LF.
std::string SyntheticTable(int32_t entries, uint32_t seed = 1);

}  // namespace app
