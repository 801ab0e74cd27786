// The spelling-tolerant key of a word: one byte per sound, the same for the
// ways people commonly write it in Devanagari and in Latin letters.
//
// Headwords (through their Unicode form) and typed text are both turned into
// these keys, and matching compares keys letter by letter, so a difference of
// vowel length, a nasal mark or a sibilant costs nothing and a wrong letter
// costs one edit, however many Preeti bytes it takes to draw.
//
// Devanagari folding table (what each character becomes in the key):
//
//   vowels      अ आ ा -> a      इ ई ि ी -> i     उ ऊ ु ू -> u
//               ए े ऍ ॅ -> e    ऐ ै -> a i       ओ ो ऑ ॉ -> o    औ ौ -> a u
//               ऋ ृ -> r i
//   inherent a  a consonant with no vowel sign and no halant -> a (in typed
//               text not after the last consonant, which may still take a
//               sign: typing द finds द्रव्य)
//   nasals      ँ ं and ङ ञ ण न -> n          म -> m
//   sibilants   श ष स -> s
//   labials     ब व -> b       भ -> B       प -> p      फ -> f
//   stops       क k  ख K  ग g  घ G  च छ -> c  ज j  झ J
//               ट त -> t   ठ थ -> T   ड द -> d   ढ ध -> D
//   others      य y  र r  ल ळ l  ह h   ज्ञ -> g y
//   dropped     ् (halant), ़ (nukta), ः (visarga), ZWJ, ZWNJ, and every
//               character that is not a Devanagari letter or sign
//
// Transliteration of Latin letters (case does not matter; longest first):
//
//   aa a -> a     ee ii i -> i   oo uu u -> u   e -> e   o -> o   ou -> a u
//   kh K   gh G   chh ch c -> c   jh J   th T   dh D   ph f -> f   bh B
//   sh s -> s     v w -> b      z -> j    q -> k    x -> k s
//   k g j t d n p b m y r l h -> themselves
//   anything else (digits, spaces, marks) is dropped
//
// So "nepal", "Nepaal" and नेपाल share the key "nepala" up to its final a,
// which a Latin spelling may leave out: typed text matches the beginning of
// a key, so a missing final a costs nothing.
#pragma once

#include <string>
#include <string_view>

namespace search {

// Keys never grow past this many sounds; longer words are cut.
inline constexpr size_t kMaxKeyLength = 48;

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
