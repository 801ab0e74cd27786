// SPDX-License-Identifier: GPL-3.0-or-later
// The words of a hunspell dictionary (.dic) and the forms its suffix rules
// (.aff beside it) make, for the benchmarks that measure on real Nepali
// words; and UTF-8 to code points and back for working on them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace bench {

struct WordList {
    std::vector<std::string> words;  // in the dictionary's order
    std::vector<std::string> forms;  // made by the suffix rules, each once
};

// Empty when the file cannot be read.
WordList ReadWordList(const std::string& dic_path);

// Empty on invalid UTF-8.
std::u32string Decode(std::string_view utf8);
std::string Encode(const std::u32string& text);

}  // namespace bench
