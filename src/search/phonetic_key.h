// SPDX-License-Identifier: GPL-3.0-or-later
// The spelling key of a word: one byte per letter sound, the same for every
// way of writing the word in Devanagari (Preeti bytes or Unicode, joiners,
// nukta) and close to the ways people write it in Latin letters.
//
// Headwords (through their Unicode form) and typed text are both turned into
// these keys, and matching compares keys sound by sound with the weighted
// edit costs of edit_costs.h: keys keep every letter apart (ि and ी, श and
// स, ट and त), and the costs say which differences are slips.
//
// Devanagari table (what each character becomes in the key):
//
//   vowels      अ and the inherent a -> a   आ ा -> A   इ ि -> i   ई ी -> I
//               उ ु -> u   ऊ ू -> U   ए े ऍ ॅ ॆ -> e   ओ ो ऑ ॉ ॊ -> o
//               ऐ ै -> a Y   औ ौ -> a W   ऋ ृ ॠ ॄ -> r R
//   inherent a  a consonant with no vowel sign and no halant -> a (in typed
//               text not after the last consonant, which may still take a
//               sign: typing द finds द्रव्य)
//   consonants  क k  ख K  ग g  घ G  ङ Q    च c  छ C  ज j  झ J  ञ F
//               ट 1  ठ 2  ड 3  ढ 4  ण 5    त t  थ T  द d  ध D  न n
//               प p  फ f  ब b  भ B  म m    य y  र r  ल l  ळ L  व v
//               श 6  ष 7  स s  ह h         ज्ञ -> 8 9
//   marks       ं M   ँ ~   ः H
//   digits      ० to ९ and 0 to 9 -> the bytes kDigitSounds to kDigitSounds + 9
//   dropped     ् (halant: the consonant simply gets no a), ़ (nukta: a
//               nukta letter is its base letter), ZWJ, ZWNJ, and every
//               other character that is not a Devanagari letter or sign
//
// Latin letters (case does not matter; longest first) become the same
// sounds, with a few sounds of their own for letters that stand for more
// than one Devanagari letter:
//
//   a -> a (a last a after a consonant -> @, which leans to ा)   aa -> A
//   i -> i (a last i -> !, which leans to ी)   ee ii -> I
//   u -> u   oo uu -> U   e -> e   o -> o   ai -> a i   au ou -> a u
//   k g j t d n p b m y r l h s -> themselves   kh K  gh G  jh J  th T  dh D
//   bh B   ph f -> f   chh -> C   ch -> ^ (च or छ)   c -> c   sh -> 6
//   v w -> v   z -> j   q -> k   x -> k 7
//   anything else (digits, spaces, marks) is dropped
//
// So नेपाल is "nepAla", and "nepal" reads "nepal": one a away from its
// long vowel, which a Latin spelling often writes short, and its final a,
// which typed text matches as the beginning of the key.
#pragma once

#include <string>
#include <string_view>

namespace search {

// Keys never grow past this many sounds; longer words are cut.
inline constexpr size_t kMaxKeyLength = 48;

// The sound of the digit 0; the other digits follow it.
inline constexpr char kDigitSounds = 0x10;

enum class KeyUse {
    kHeadword,  // a whole word: its last consonant keeps its inherent a
    kTyped,     // text being typed: its last consonant may still take a sign
};

// The key of UTF-8 text read as Devanagari.
std::string KeyFromUnicode(std::string_view utf8, KeyUse use);

// The key of text read as Latin letters.
std::string KeyFromLatin(std::string_view text);

// Whether text can be a Latin spelling: ASCII letters with at most spaces,
// hyphens and apostrophes between them, and at least one letter.
bool ReadsAsLatin(std::string_view text);

}  // namespace search
