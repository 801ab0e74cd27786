// SPDX-License-Identifier: GPL-3.0-or-later
// The prefix matcher. The typed text behaves as a like-pattern with "[" made
// literal and "*" appended; since the appended "*" absorbs any tail, the test
// is a prefix match where the typed wildcards keep their meaning.
#include "app/headword_search.h"

#include <vector>

namespace app {
namespace {

bool MatchesOne(char pattern, char byte) {
    if (pattern == '?') return true;
    if (pattern == '#') return byte >= '0' && byte <= '9';
    return pattern == byte;
}

}  // namespace

bool HeadwordStartsWith(std::string_view word, std::string_view typed) {
    // Greedy matching with one back-tracking point for the last "*" seen:
    // linear for the usual typed text, and never worse than
    // word.size() * typed.size() steps, so a text full of "*" cannot hang
    // the search box.
    size_t w = 0;
    size_t t = 0;
    size_t star_t = std::string_view::npos;
    size_t star_w = 0;
    while (t < typed.size()) {
        if (typed[t] == '*') {
            star_t = t++;
            star_w = w;
            continue;
        }
        if (w < word.size() && MatchesOne(typed[t], word[w])) {
            ++t;
            ++w;
            continue;
        }
        if (star_t == std::string_view::npos || star_w >= word.size()) return false;
        t = star_t + 1;
        w = ++star_w;
    }
    // The whole typed text matched; the implicit trailing "*" takes the rest.
    return true;
}

int32_t FindHeadword(const DictionaryStore& store, std::string_view typed) {
    const int32_t n = store.size();
    for (int32_t i = 0; i < n; ++i) {
        if (HeadwordStartsWith(store.word(i), typed)) return i;
    }
    return -1;
}

}  // namespace app
