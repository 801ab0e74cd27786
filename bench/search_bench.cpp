// The search box's suggestions: building the spelling-tolerant index of a
// dictionary, and one query against it. Measured on the bundled sample
// dictionary and on synthetic dictionaries of 300,000 headwords held as
// Preeti bytes, with misspelled Devanagari, Latin spellings and Unicode
// beginnings of headwords. Each query's processor time is taken on its own, so
// the counters give the median and the 99th percentile besides the mean.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/synthetic_dictionary.h"
#include "platform/preeti/preeti.h"
#include "search/phonetic_key.h"
#include "search/search_index.h"

namespace {

// Headwords of a UTF-8 table (headword, tab, definition), as Unicode.
std::vector<std::string> TableWords(const std::string& table) {
    std::vector<std::string> words;
    std::istringstream in(table);
    std::string line;
    while (std::getline(in, line))
        if (const size_t tab = line.find('\t'); tab != std::string::npos && tab > 0)
            words.push_back(line.substr(0, tab));
    return words;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

// 0: the sample dictionary; otherwise a synthetic one of that many entries.
struct Dictionary {
    std::vector<std::string> unicode;
    std::vector<std::string> preeti;
};

const Dictionary& DictionaryOf(int entries) {
    static std::map<int, Dictionary> made;
    Dictionary& d = made[entries];
    if (!d.unicode.empty()) return d;
    if (entries == 0) {
        const char* root = std::getenv("KOVELIN_SOURCE_DIR");
        d.unicode = TableWords(ReadFile(std::string(root ? root : ".") + "/data/dictionary.tsv"));
    } else {
        d.unicode = TableWords(app::SyntheticTable(entries));
    }
    for (const std::string& word : d.unicode)
        d.preeti.push_back(preeti::FromUnicode(word).value_or(std::string()));
    return d;
}

search::SearchIndex IndexOf(const Dictionary& d) {
    return search::SearchIndex::Build(static_cast<int32_t>(d.preeti.size()),
                                      [&](int32_t i) { return std::string_view(d.preeti[i]); });
}

// A Latin spelling of a headword's key: each sound as a reader writes it
// (long vowels doubled, aspirates with an h), then one letter changed in
// every other word.
std::string LatinOf(const std::string& key, std::mt19937& random) {
    std::string latin;
    for (char c : key) {
        switch (c) {
            case 'A':
                latin += "aa";
                break;
            case 'I':
                latin += "ee";
                break;
            case 'U':
                latin += "oo";
                break;
            case 'Y':
            case 'R':
                latin += "i";
                break;
            case 'W':
                latin += "u";
                break;
            case 'K':
            case 'G':
            case 'J':
            case 'T':
            case 'D':
            case 'B':
                latin += static_cast<char>(c - 'A' + 'a');
                latin += 'h';
                break;
            case '2':
                latin += "th";
                break;
            case '4':
                latin += "dh";
                break;
            case 'c':
                latin += "ch";
                break;
            case 'C':
                latin += "chh";
                break;
            case 'f':
                latin += "ph";
                break;
            case '6':
            case '7':
                latin += "sh";
                break;
            case '1':
                latin += 't';
                break;
            case '3':
                latin += 'd';
                break;
            case 'Q':
            case 'F':
            case '5':
            case 'M':
            case '~':
                latin += 'n';
                break;
            case 'L':
                latin += 'l';
                break;
            case 'H':
                latin += 'h';
                break;
            case '8':
                latin += 'g';
                break;
            case '9':
                latin += 'y';
                break;
            default:
                latin.push_back(c);
        }
    }
    if (latin.size() > 3 && random() % 2) latin[1 + random() % (latin.size() - 2)] = 'o';
    return latin;
}

// Misspelled Devanagari: one letter swapped for another, or one dropped.
std::string Misspelt(const std::string& unicode, std::mt19937& random) {
    std::vector<char32_t> letters;
    for (size_t at = 0; at < unicode.size();) {
        char32_t cp = 0;
        const size_t length = preeti::DecodeUtf8(unicode, at, &cp);
        if (length == 0) break;
        letters.push_back(cp);
        at += length;
    }
    if (letters.size() > 2) {
        const size_t at = 1 + random() % (letters.size() - 1);
        if (random() % 2)
            letters.erase(letters.begin() + static_cast<long>(at));
        else
            letters[at] = 0x915 + random() % 36;
    }
    std::string out;
    for (char32_t cp : letters) preeti::AppendUtf8(out, cp);
    return out;
}

// The thread's processor time, so that other work on a shared machine does
// not count towards a query.
double ThreadMicros() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

enum QueryKind { kMisspelt, kLatin, kBeginning };

void BM_Suggest(benchmark::State& state) {
    const Dictionary& d = DictionaryOf(static_cast<int>(state.range(0)));
    const auto kind = static_cast<QueryKind>(state.range(1));
    static std::map<int, search::SearchIndex> indexes;
    auto [slot, fresh] = indexes.try_emplace(static_cast<int>(state.range(0)));
    if (fresh) slot->second = IndexOf(d);
    const search::SearchIndex& index = slot->second;

    std::mt19937 random(22);
    std::vector<std::string> queries;
    for (int i = 0; i < 1000; ++i) {
        const std::string& word = d.unicode[random() % d.unicode.size()];
        if (kind == kMisspelt) {
            queries.push_back(Misspelt(word, random));
        } else if (kind == kLatin) {
            queries.push_back(
                LatinOf(search::KeyFromUnicode(word, search::KeyUse::kHeadword), random));
        } else {
            queries.push_back(word.substr(0, std::min<size_t>(word.size(), 6)));  // two letters
        }
    }
    std::vector<double> micros;
    size_t next = 0;
    for (auto _ : state) {
        const std::string& query = queries[next++ % queries.size()];
        const double start = ThreadMicros();
        benchmark::DoNotOptimize(search::SuggestForUnicode(index, query, 8));
        micros.push_back(ThreadMicros() - start);
    }
    std::sort(micros.begin(), micros.end());
    if (!micros.empty()) {
        state.counters["p50_us"] = micros[micros.size() / 2];
        state.counters["p99_us"] = micros[micros.size() * 99 / 100];
    }
}
BENCHMARK(BM_Suggest)
    ->ArgsProduct({{0, 300'000}, {kMisspelt, kLatin, kBeginning}})
    ->ArgNames({"entries", "kind"})
    ->Unit(benchmark::kMicrosecond);

void BM_BuildIndex(benchmark::State& state) {
    const Dictionary& d = DictionaryOf(static_cast<int>(state.range(0)));
    size_t bytes = 0;
    for (auto _ : state) {
        const search::SearchIndex index = IndexOf(d);
        bytes = index.memory_bytes();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["index_KiB"] = static_cast<double>(bytes) / 1024.0;
    state.counters["headwords"] = static_cast<double>(d.preeti.size());
}
BENCHMARK(BM_BuildIndex)->Arg(0)->Arg(300'000)->ArgName("entries")->Unit(benchmark::kMillisecond);

}  // namespace
