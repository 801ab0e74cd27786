// SPDX-License-Identifier: GPL-3.0-or-later
// The synthetic dictionary generator.
#include "app/synthetic_dictionary.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

namespace app {
namespace {

constexpr std::array<std::string_view, 28> kConsonants = {
    "क", "ख", "ग", "घ", "च", "छ", "ज", "झ", "ट", "ठ", "ड", "ढ", "त", "थ",
    "द", "ध", "न", "प", "फ", "ब", "भ", "म", "य", "र", "ल", "व", "श", "स"};
constexpr std::array<std::string_view, 10> kVowelSigns = {"", "ा", "ि", "ी", "ु",
                                                          "ू", "े",  "ै",  "ो", "ौ"};

// A small deterministic generator (64-bit LCG, high bits), the same on
// every platform, unlike the standard library's distributions.
class Random {
  public:
    explicit Random(uint32_t seed) : state_(0x9E3779B97F4A7C15ull ^ seed) {}
    uint32_t Next(uint32_t bound) {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<uint32_t>((state_ >> 33) % bound);
    }

  private:
    uint64_t state_;
};

std::string Word(Random& random, uint32_t min_syllables, uint32_t max_syllables) {
    std::string word;
    const uint32_t syllables = min_syllables + random.Next(max_syllables - min_syllables + 1);
    for (uint32_t s = 0; s < syllables; ++s) {
        word += kConsonants[random.Next(kConsonants.size())];
        word += kVowelSigns[random.Next(kVowelSigns.size())];
    }
    return word;
}

std::string Sentence(Random& random) {
    std::string sentence;
    const uint32_t words = 3 + random.Next(6);
    for (uint32_t w = 0; w < words; ++w) {
        if (w > 0) sentence += ' ';
        sentence += Word(random, 1, 3);
    }
    return sentence;
}

}  // namespace

std::string SyntheticTable(int32_t entries, uint32_t seed) {
    Random random(seed);
    std::vector<std::string> words;
    words.reserve(static_cast<size_t>(std::max(entries, 0)));
    // Draw, sort, drop repeats, and draw again until there are enough: UTF-8
    // byte order is code point order, the order of the Devanagari block.
    while (static_cast<int32_t>(words.size()) < entries) {
        while (static_cast<int32_t>(words.size()) < entries) words.push_back(Word(random, 2, 4));
        std::sort(words.begin(), words.end());
        words.erase(std::unique(words.begin(), words.end()), words.end());
    }

    std::string table;
    table.reserve(words.size() * 110);
    for (const std::string& word : words) {
        table += word;
        table += '\t';
        const uint32_t sentences = 1 + random.Next(3);
        for (uint32_t s = 0; s < sentences; ++s) {
            if (s > 0) table += ' ';
            table += Sentence(random);
            table += '.';
        }
        if (random.Next(4) == 0) {
            table += " [";
            table += word;
            table += Word(random, 1, 2);
            table += "=]";
            table += Sentence(random);
            table += '.';
        }
        table += '\n';
    }
    return table;
}

}  // namespace app
