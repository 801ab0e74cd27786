// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/edit_costs.h"

#include <algorithm>
#include <string_view>

namespace search {
namespace {

uint8_t Byte(char c) {
    return static_cast<uint8_t>(c) & 0x7F;
}

// Tables start with every edit at full price and nothing for a sound kept.
EditCosts FullPrice() {
    EditCosts costs;
    for (auto& row : costs.replace) row.fill(kFullEdit);
    for (size_t c = 0; c < costs.replace.size(); ++c) costs.replace[c][c] = 0;
    costs.omit.fill(kFullEdit);
    costs.add.fill(kFullEdit);
    return costs;
}

void SetLeastGap(EditCosts& costs) {
    costs.least_omit = std::max<int>(*std::min_element(costs.omit.begin(), costs.omit.end()), 1);
    costs.least_add = std::max<int>(*std::min_element(costs.add.begin(), costs.add.end()), 1);
}

// Every two sounds of `group` cost `cost` for each other.
void Mutual(EditCosts& costs, std::string_view group, int cost) {
    for (char a : group)
        for (char b : group)
            if (a != b) costs.replace[Byte(a)][Byte(b)] = static_cast<uint8_t>(cost);
}

EditCosts Devanagari() {
    EditCosts costs = FullPrice();
    for (std::string_view group : {"iI", "uU", "67s", "bv", "5n", "M~", "8g", "9y"})
        Mutual(costs, group, kSlip);
    // ं for a nasal letter with a halant, and the other way round.
    for (char nasal : std::string_view("QF5nm")) {
        costs.replace[Byte('M')][Byte(nasal)] = kSlip;
        costs.replace[Byte(nasal)][Byte('M')] = kSlip;
    }
    for (char sound : std::string_view("a~")) {
        costs.omit[Byte(sound)] = kSlip;
        costs.add[Byte(sound)] = kSlip;
    }
    // Letters that sound alike: a lean short of a full edit.
    for (std::string_view pair :
         {"kK", "gG", "cC", "jJ", "12", "34", "tT", "dD", "pf", "bB", "1t", "2T", "3d", "4D", "aA"})
        Mutual(costs, pair, kFullEdit - kSlip);
    SetLeastGap(costs);
    return costs;
}

// How a Latin letter reads a headword's consonant: the letter, whether the
// consonant is aspirated, and what the reading leans away from.
struct LatinReading {
    char headword;
    char latin;
    bool aspirated;
    int lean;
};

constexpr LatinReading kConsonantReadings[] = {
    {'k', 'k', false, 0},     {'K', 'k', true, 0},      {'g', 'g', false, 0},
    {'G', 'g', true, 0},      {'Q', 'n', false, kLean}, {'c', 'c', false, 0},
    {'C', 'c', true, 0},      {'j', 'j', false, 0},     {'J', 'j', true, 0},
    {'F', 'n', false, kLean}, {'1', 't', false, kLean}, {'2', 't', true, kLean},
    {'3', 'd', false, kLean}, {'4', 'd', true, kLean},  {'5', 'n', false, kLean},
    {'t', 't', false, 0},     {'T', 't', true, 0},      {'d', 'd', false, 0},
    {'D', 'd', true, 0},      {'n', 'n', false, 0},     {'p', 'p', false, 0},
    {'f', 'p', true, 0},      {'b', 'b', false, 0},     {'B', 'b', true, 0},
    {'m', 'm', false, 0},     {'y', 'y', false, 0},     {'r', 'r', false, 0},
    {'l', 'l', false, 0},     {'L', 'l', false, kLean}, {'v', 'v', false, 0},
    {'v', 'b', false, kLean}, {'b', 'v', false, kLean}, {'6', 's', false, kLean},
    {'7', 's', false, kLean}, {'s', 's', false, 0},     {'h', 'h', false, 0},
    {'M', 'n', false, kLean}, {'M', 'm', false, kLean}, {'~', 'n', false, kLean},
    {'H', 'h', false, kLean}, {'8', 'g', false, 0},     {'8', 'j', false, kLean},
    {'9', 'y', false, 0},     {'9', 'n', false, kLean},
};

// The typed consonant sounds of KeyFromLatin: the letter and whether it was
// written aspirated.
struct TypedConsonant {
    char typed;
    char latin;
    bool aspirated;
};

constexpr TypedConsonant kTypedConsonants[] = {
    {'k', 'k', false}, {'K', 'k', true},  {'g', 'g', false}, {'G', 'g', true},  {'c', 'c', false},
    {'C', 'c', true},  {'j', 'j', false}, {'J', 'j', true},  {'t', 't', false}, {'T', 't', true},
    {'d', 'd', false}, {'D', 'd', true},  {'n', 'n', false}, {'p', 'p', false}, {'f', 'p', true},
    {'b', 'b', false}, {'B', 'b', true},  {'m', 'm', false}, {'y', 'y', false}, {'r', 'r', false},
    {'l', 'l', false}, {'h', 'h', false}, {'s', 's', false}, {'v', 'v', false},
};

EditCosts Latin() {
    EditCosts costs = FullPrice();
    auto set = [&](char typed, char headword, int cost) {
        uint8_t& cell = costs.replace[Byte(typed)][Byte(headword)];
        cell = static_cast<uint8_t>(std::min<int>(cell, cost));
    };
    for (const TypedConsonant& t : kTypedConsonants) {
        for (const LatinReading& r : kConsonantReadings) {
            if (r.latin != t.latin) continue;
            set(t.typed, r.headword, r.lean + (r.aspirated != t.aspirated ? kSlip : 0));
        }
    }
    // ch is च or छ; sh is श or ष, and स at a lean; x is क्ष.
    set('^', 'c', 0);
    set('^', 'C', 0);
    for (char sibilant : std::string_view("67")) set('6', sibilant, 0);
    set('6', 's', kLean);
    set('7', '7', 0);
    set('7', '6', 0);
    set('7', 's', kLean);
    // Vowels: a short letter stands for either length, a doubled one for the
    // long vowel; the i and u of ai, au and ri are Latin i and u.
    set('a', 'A', 0);
    set('@', 'A', 0);
    set('@', 'a', kLean);
    set('A', 'a', kSlip);
    for (char i : std::string_view("i!")) {
        set(i, 'Y', 0);
        set(i, 'R', 0);
    }
    set('i', 'I', kLean);
    set('!', 'I', 0);
    set('!', 'i', kLean);
    set('I', 'i', kSlip);
    set('I', 'Y', kSlip);
    set('u', 'U', kLean);
    set('u', 'W', 0);
    set('U', 'u', kSlip);
    set('U', 'W', kSlip);
    // Sounds a Latin spelling leaves out or adds.
    costs.omit[Byte('a')] = kSlip;
    costs.omit[Byte('~')] = kLean;
    costs.omit[Byte('H')] = kLean;
    costs.omit[Byte('M')] = kSlip;
    costs.add[Byte('a')] = kSlip;
    costs.add[Byte('@')] = kSlip;
    SetLeastGap(costs);
    return costs;
}

}  // namespace

const EditCosts& CostsFor(Script script) {
    static const EditCosts devanagari = Devanagari();
    static const EditCosts latin = Latin();
    return script == Script::kLatin ? latin : devanagari;
}

}  // namespace search
