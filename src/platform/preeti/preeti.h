// SPDX-License-Identifier: GPL-3.0-or-later
// Converters between Preeti-encoded bytes and Unicode text.
//
// The dictionary stores and compares Nepali text as single-byte Preeti
// codes. These converters are used only at the edges: to draw those bytes
// with a Unicode Devanagari font, and to turn Unicode Devanagari that a
// person types or copies into the bytes the program works with.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace preeti {

// What Unicode made from Preeti bytes is for.
enum class UnicodeFor {
    // Text to keep, copy, search or print: the letters the typist meant. A
    // visible halant that ends its cluster keeps a ZWNJ (so no conjunct
    // forms) only where the typist had a half form at hand and typed the
    // halant instead: after a full र or a letter whose half form is on the
    // keyboard. After ङ छ ट ठ ड ढ द (no half form) and घ झ फ (half forms in
    // the high bytes only) the halant is how typists write the conjunct:
    // b\o is द्य, 3\g is घ्न. A `?` that ends a word is a question mark
    // unless the word is one that ends in रु (internal::ReadsAsQuestionMark).
    kText,
    // Drawing with a Unicode font: the picture the Preeti font shows. Every
    // visible halant that ends its cluster keeps a ZWNJ, and `?` is always
    // the रु it draws, so a syllable converts on its own as in its word.
    kDrawing,
};

// Preeti bytes to UTF-8 Devanagari (visual order to logical order,
// conjuncts, reph, and so on). Never fails and always returns valid UTF-8:
// bytes with no Devanagari meaning pass through as their Windows-1252
// characters. The visarga byte after anything but a letter or sign comes out
// as ':'. Adds no joiner but the ZWNJ after a visible halant described above
// and the ZWJ of the eyelash ra. Allocates nothing but the result, so it is
// cheap enough to call for every painted row.
std::string ToUnicode(std::string_view preeti_bytes, UnicodeFor use = UnicodeFor::kText);
// The same, appending to `out`, so a caller that converts many strings can
// reuse one buffer.
void AppendUnicode(std::string_view preeti_bytes, std::string& out,
                   UnicodeFor use = UnicodeFor::kText);

// The end of the syllable of Preeti text that starts at byte `start`
// (start < size): a consonant with the half forms and the short i before it
// and the signs, marks and reph after it; a vowel, digit or punctuation mark
// with the signs after it; or one space or control byte. Text can be cut
// between syllables without splitting what a reader sees as one letter, and
// each syllable of well-formed text converts and shapes on its own exactly
// as it does inside its word (UnicodeFor::kDrawing; as text, a `?` reads
// by the word around it). A syllable ends after 32 bytes whatever
// follows, so strings of stray marks still come apart.
size_t SyllableEnd(std::string_view preeti_bytes, size_t start);

// UTF-8 text to Preeti bytes, in the spelling most typists use (so
// ToUnicode(FromUnicode(x)) == x for ordinary Nepali words). Before writing,
// nukta letters are split into base + nukta, a ZWNJ after a virama keeps a
// visible halant where ToUnicode keeps it as text, र्‍ becomes the eyelash
// ra, other joiners are dropped, a रु that ends a word where `?` would read
// as a question mark is written `/'`,
// ASCII digits become Devanagari digits and '|' the danda. A hyphen becomes
// the dash and a colon the visarga glyph, the nearest shapes the font has.
// On a character Preeti cannot express (Latin letters, ळ, most symbols) or on
// invalid UTF-8 the result is empty and `bad_offset` (when given) receives
// the byte offset of that character or byte in the input. The bytes are
// always stable: FromUnicode(ToUnicode(result)) == result. Text that no
// spelling reads back as (marks piled on marks) takes the spelling of what
// its first spelling reads back as, and when even that does not settle the
// result is empty with `bad_offset` 0.
std::optional<std::string> FromUnicode(std::string_view utf8, size_t* bad_offset = nullptr);

// Whether UTF-8 text holds any Devanagari (U+0900..U+097F).
bool HasDevanagari(std::string_view utf8);

// Decodes the UTF-8 character starting at byte `pos` of `text` (pos <
// text.size()) into `*cp`. Returns its length in bytes, or 0 when the bytes
// there are not well-formed UTF-8: overlong forms, surrogates, values past
// U+10FFFF, stray continuation bytes and truncated sequences are all
// refused. The strict decoder for every caller that must tell valid text
// from invalid bytes.
size_t DecodeUtf8(std::string_view text, size_t pos, char32_t* cp);

// Appends one code point as UTF-8: the one encoder, beside the one decoder.
// The caller guarantees a valid scalar value.
inline void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Windows-1252 <-> UTF-8, for Latin faces and the clipboard. The five bytes
// the code page leaves undefined map to the C1 controls of the same number,
// so any byte string survives the trip to UTF-8 and back.
std::string Cp1252ToUtf8(std::string_view bytes);
// Characters outside Windows-1252, and each byte of invalid UTF-8, become
// '?' unless `strict`, in which case the result is empty.
std::optional<std::string> Utf8ToCp1252(std::string_view utf8, bool strict = false);

}  // namespace preeti
