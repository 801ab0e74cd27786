// SPDX-License-Identifier: GPL-3.0-or-later
// What it costs to turn a typed key into a headword's key, sound by sound
// (keys: phonetic_key.h). The costs differ by how the text was typed.
//
// Typed in Devanagari, the slips Nepali typists make are cheap (kSlip):
// ि/ी, ु/ू, श/ष/स, ब/व, ण/न, ँ/ं, ं for a nasal letter with a halant (अंग
// for अङ्ग), ग्य for ज्ञ, and a halant dropped or added (an inherent a more
// or less), or a ँ left out. Every other edit costs kFullEdit.
//
// Typed in Latin letters, what a Latin letter cannot tell apart costs
// nothing or leans (kLean) away from the likelier letter: a for ा (a last a
// for the inherent a), i for ी (a last i for ि), u for ू, t d n for ट ड ण, n for ङ ञ ं
// ँ, s for श ष, sh for स, b for व, ch for छ. Leaving out aspiration (tada for टाढा), an inherent a
// (kamla for कमला) or writing aa, ee, oo for a short vowel are slips; a
// candrabindu, an anusvara or a visarga left out leans or slips. Every other
// edit costs kFullEdit.
#pragma once

#include <array>
#include <cstdint>

namespace search {

inline constexpr int kLean = 1;
inline constexpr int kSlip = 2;
inline constexpr int kFullEdit = 6;

enum class Script {
    kDevanagari,  // typed in Devanagari (Unicode or Preeti bytes)
    kLatin,       // typed in Latin letters
};

struct EditCosts {
    // replace[typed][headword]: one sound written for another.
    std::array<std::array<uint8_t, 128>, 128> replace{};
    // A headword's sound the typed key leaves out.
    std::array<uint8_t, 128> omit{};
    // A typed sound the headword does not have.
    std::array<uint8_t, 128> add{};
    // The least of omit and of add: how far apart in length two keys within
    // a cost can be.
    int least_omit = kFullEdit;
    int least_add = kFullEdit;
};

const EditCosts& CostsFor(Script script);

}  // namespace search
