// SPDX-License-Identifier: GPL-3.0-or-later
// kovelin-rank-rates: how often the tolerant search puts the word the reader
// meant first, and among the first eight, on dictionaries made from the
// Nepali hunspell word list.
//
//   kovelin-rank-rates [--dic FILE.dic] [--romanised FILE.tsv] [--sizes N,...]
//
// The dictionaries hold N headwords (30,000 and 300,000 unless told): the
// list's words, and for the larger ones also the forms its suffix rules
// make, sampled with a fixed seed, plus every word the romanised list means,
// sorted as kovelin-pack sorts them. Three sets of queries, each what
// kovelin-lookup does with it:
//
//   misspelt  1,000 headwords with one slip a Nepali typist makes, no
//             headword itself: seven in ten a typical one (ि/ी, ु/ू, श/ष/स,
//             ब/व, ण/न, ँ/ं or a dropped halant), the others a dropped ा or
//             letter, a wrong aspirate, retroflex or letter: --fuzzy
//   romanised the Latin spellings of tests/search/chat_romanisations.tsv:
//             --roman
//   exact     1,000 headwords typed exactly, in Unicode (--fuzzy) and as
//             Preeti bytes (the search box's suggestions)
//
// For each it prints how many queries found the word first and in the first
// eight, and the median and slowest query in processor microseconds.
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "hunspell_words.h"
#include "platform/preeti/preeti.h"
#include "search/search_index.h"

namespace {

using bench::Decode;
using bench::Encode;
using bench::WordList;

// A headword as the program holds it: its Preeti bytes and the Unicode they
// read as.
struct Headword {
    std::string unicode;
    std::string preeti;
};

std::optional<Headword> AsHeadword(const std::string& word) {
    std::optional<std::string> bytes = preeti::FromUnicode(word);
    if (!bytes || bytes->empty() || bytes->size() > 30) return std::nullopt;
    return Headword{preeti::ToUnicode(*bytes), std::move(*bytes)};
}

struct Dictionary {
    std::vector<Headword> headwords;  // sorted by Unicode
    search::SearchIndex index;

    int32_t Find(const std::string& unicode) const {
        const auto at =
            std::lower_bound(headwords.begin(), headwords.end(), unicode,
                             [](const Headword& h, const std::string& u) { return h.unicode < u; });
        if (at == headwords.end() || at->unicode != unicode) return -1;
        return static_cast<int32_t>(at - headwords.begin());
    }
};

Dictionary MakeDictionary(const WordList& list, size_t size, const std::vector<std::string>& must,
                          std::mt19937& random) {
    std::vector<std::string> words = list.words;
    std::shuffle(words.begin(), words.end(), random);
    if (words.size() < size) {
        std::vector<std::string> forms = list.forms;
        std::shuffle(forms.begin(), forms.end(), random);
        words.insert(words.end(), forms.begin(), forms.end());
    }
    std::map<std::string, std::string> chosen;  // Unicode -> Preeti
    for (const std::string& word : must)
        if (auto h = AsHeadword(word)) chosen.emplace(h->unicode, h->preeti);
    for (const std::string& word : words) {
        if (chosen.size() >= size) break;
        if (auto h = AsHeadword(word)) chosen.emplace(h->unicode, h->preeti);
    }
    Dictionary d;
    for (auto& [unicode, bytes] : chosen) d.headwords.push_back({unicode, bytes});
    d.index = search::SearchIndex::Build(static_cast<int32_t>(d.headwords.size()), [&](int32_t i) {
        return std::string_view(d.headwords[i].preeti);
    });
    return d;
}

// --- slips --------------------------------------------------------------

bool IsConsonant(char32_t c) {
    return c >= 0x915 && c <= 0x939;
}

// Pairs a slip turns into each other.
using Pairs = std::vector<std::pair<char32_t, char32_t>>;

const Pairs kConfusions[] = {
    {{U'ि', U'ी'}, {U'ु', U'ू'}, {U'इ', U'ई'}, {U'उ', U'ऊ'}},
    {{U'श', U'स'}, {U'ष', U'स'}, {U'श', U'ष'}},
    {{U'ब', U'व'}},
    {{U'ण', U'न'}},
    {{U'ँ', U'ं'}},
};

const Pairs kAspirates = {{U'क', U'ख'}, {U'ग', U'घ'}, {U'च', U'छ'}, {U'ज', U'झ'}, {U'ट', U'ठ'},
                          {U'ड', U'ढ'}, {U'त', U'थ'}, {U'द', U'ध'}, {U'प', U'फ'}, {U'ब', U'भ'}};
const Pairs kRetroflex = {{U'ट', U'त'}, {U'ठ', U'थ'}, {U'ड', U'द'}, {U'ढ', U'ध'}};

// Places where one of `pairs` can be swapped, as (index, replacement).
std::vector<std::pair<size_t, char32_t>> Swaps(const std::u32string& w, const Pairs& pairs) {
    std::vector<std::pair<size_t, char32_t>> out;
    for (size_t i = 0; i < w.size(); ++i) {
        for (const auto& [a, b] : pairs) {
            if (w[i] == a) out.push_back({i, b});
            if (w[i] == b) out.push_back({i, a});
        }
    }
    return out;
}

// One slip in `word`, or the word itself when the chosen kind has no place;
// `typical` tells whether it is one of the slips typists make most.
std::u32string Slip(std::u32string w, std::mt19937& random, bool* typical) {
    auto pick = [&](size_t n) { return static_cast<size_t>(random() % n); };
    std::vector<std::pair<size_t, char32_t>> places;
    *typical = pick(10) < 7;
    if (*typical) {
        // The slips typists make most: a confusable pair, or a halant left
        // out, wherever the word has one.
        for (const Pairs& pairs : kConfusions) {
            const auto swaps = Swaps(w, pairs);
            places.insert(places.end(), swaps.begin(), swaps.end());
        }
        for (size_t i = 1; i + 1 < w.size(); ++i)
            if (w[i] == U'्' && IsConsonant(w[i + 1])) places.push_back({i, 0});
    } else {
        switch (pick(5)) {
            case 0:  // a dropped ा
                for (size_t i = 0; i < w.size(); ++i)
                    if (w[i] == U'ा') places.push_back({i, 0});
                break;
            case 1:  // a dropped letter or sign
                for (size_t i = 1; i < w.size(); ++i) places.push_back({i, 0});
                break;
            case 2:
                places = Swaps(w, kAspirates);
                break;
            case 3:
                places = Swaps(w, kRetroflex);
                break;
            default:  // a wrong consonant
                for (size_t i = 0; i < w.size(); ++i)
                    if (IsConsonant(w[i])) places.push_back({i, 0x915 + pick(0x39 - 0x15 + 1)});
        }
    }
    if (places.empty()) return w;
    const auto [at, replacement] = places[pick(places.size())];
    if (replacement == 0)
        w.erase(at, 1);
    else
        w[at] = replacement;
    return w;
}

// --- measuring ----------------------------------------------------------

double CpuMicros() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

struct Tally {
    int total = 0;
    int first = 0;
    int top8 = 0;
    std::vector<double> micros;
    std::vector<std::string> misses;  // what missed the first place, for reading

    void Add(const std::vector<search::Match>& found, int32_t meant, double micros_taken,
             const std::string& label) {
        ++total;
        micros.push_back(micros_taken);
        if (!found.empty() && found.front().entry == meant) ++first;
        const bool in8 = std::any_of(found.begin(), found.end(),
                                     [&](const search::Match& m) { return m.entry == meant; });
        if (in8) ++top8;
        if (found.empty() || found.front().entry != meant) misses.push_back(label);
    }

    void Print(const char* name, size_t size) {
        std::sort(micros.begin(), micros.end());
        const double median = micros.empty() ? 0 : micros[micros.size() / 2];
        const double slowest = micros.empty() ? 0 : micros.back();
        std::printf("%-10s %8zu %6d  first %5.1f%%  top 8 %5.1f%%  median %7.1f us  max %8.1f us\n",
                    name, size, total, 100.0 * first / std::max(total, 1),
                    100.0 * top8 / std::max(total, 1), median, slowest);
    }
};

template <typename Search>
std::vector<search::Match> Timed(Search&& run, double* micros) {
    const double start = CpuMicros();
    std::vector<search::Match> found = run();
    *micros = CpuMicros() - start;
    return found;
}

// What came first instead, for reading the misses.
std::string Got(const Dictionary& d, const std::vector<search::Match>& found) {
    if (found.empty()) return ": nothing";
    return ": got " + d.headwords[found.front().entry].unicode + " (" +
           std::to_string(found.front().distance) + ")";
}

std::vector<std::pair<std::string, std::string>> ReadPairs(const std::string& path) {
    std::vector<std::pair<std::string, std::string>> pairs;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        const size_t tab = line.find('\t');
        if (tab != std::string::npos) pairs.emplace_back(line.substr(0, tab), line.substr(tab + 1));
    }
    return pairs;
}

}  // namespace

int main(int argc, char** argv) {
    const char* root = std::getenv("KOVELIN_SOURCE_DIR");
    std::string dic = "/usr/share/hunspell/ne_NP.dic";
    std::string romanised = std::string(root ? root : ".") + "/tests/search/chat_romanisations.tsv";
    std::vector<size_t> sizes = {30'000, 300'000};
    bool show_misses = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--dic" && i + 1 < argc) {
            dic = argv[++i];
        } else if (arg == "--romanised" && i + 1 < argc) {
            romanised = argv[++i];
        } else if (arg == "--sizes" && i + 1 < argc) {
            sizes.clear();
            std::istringstream in(argv[++i]);
            std::string n;
            while (std::getline(in, n, ',')) sizes.push_back(std::stoul(n));
        } else if (arg == "--misses") {
            show_misses = true;
        } else {
            std::fprintf(stderr,
                         "usage: kovelin-rank-rates [--dic FILE.dic] [--romanised FILE.tsv] "
                         "[--sizes N,...] [--misses]\n");
            return 2;
        }
    }
    const WordList list = bench::ReadWordList(dic);
    const auto pairs = ReadPairs(romanised);
    if (list.words.empty() || pairs.empty()) {
        std::fprintf(stderr, "kovelin-rank-rates: cannot read %s or %s\n", dic.c_str(),
                     romanised.c_str());
        return 1;
    }
    std::vector<std::string> meant;
    for (const auto& [latin, word] : pairs) meant.push_back(word);
    std::printf("%zu words and %zu forms in %s; %zu romanised spellings\n", list.words.size(),
                list.forms.size(), dic.c_str(), pairs.size());
    std::printf("%-10s %8s %6s\n", "set", "entries", "count");
    for (size_t size : sizes) {
        std::mt19937 random(31);
        const Dictionary d = MakeDictionary(list, size, meant, random);
        const size_t n = d.headwords.size();
        Tally misspelt, slips, others, roman, exact, exact_preeti;
        double micros = 0;
        for (int tries = 0; misspelt.total < 1000 && tries < 100'000; ++tries) {
            const int32_t entry = static_cast<int32_t>(random() % n);
            const std::u32string word = Decode(d.headwords[entry].unicode);
            if (word.size() < 3) continue;
            bool typical = false;
            const std::optional<Headword> slip = AsHeadword(Encode(Slip(word, random, &typical)));
            if (!slip || d.Find(slip->unicode) >= 0) continue;
            const auto found = Timed(
                [&] { return search::NearestToDevanagari(d.index, slip->unicode, 8); }, &micros);
            const std::string label =
                slip->unicode + " for " + d.headwords[entry].unicode + Got(d, found);
            misspelt.Add(found, entry, micros, label);
            (typical ? slips : others).Add(found, entry, micros, label);
        }
        for (const auto& [latin, word] : pairs) {
            const std::optional<Headword> h = AsHeadword(word);
            const int32_t entry = h ? d.Find(h->unicode) : -1;
            if (entry < 0) continue;
            const auto found =
                Timed([&] { return search::NearestToLatin(d.index, latin, 8); }, &micros);
            roman.Add(found, entry, micros, latin + " for " + word + Got(d, found));
        }
        for (int k = 0; k < 1000; ++k) {
            const int32_t entry = static_cast<int32_t>(random() % n);
            const Headword& h = d.headwords[entry];
            auto found =
                Timed([&] { return search::NearestToDevanagari(d.index, h.unicode, 8); }, &micros);
            exact.Add(found, entry, micros, h.unicode + Got(d, found));
            found = Timed([&] { return search::SuggestForTyped(d.index, h.preeti, 8).matches; },
                          &micros);
            exact_preeti.Add(found, entry, micros, h.preeti);
        }
        misspelt.Print("misspelt", n);
        slips.Print(" typical", n);
        others.Print(" other", n);
        roman.Print("romanised", n);
        exact.Print("exact", n);
        exact_preeti.Print("exact-pr", n);
        if (show_misses) {
            for (const Tally* t : {&misspelt, &roman, &exact})
                for (const std::string& miss : t->misses) std::printf("  miss: %s\n", miss.c_str());
        }
    }
    return 0;
}
