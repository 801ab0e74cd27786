// SPDX-License-Identifier: GPL-3.0-or-later
// Preeti bytes -> UTF-8 Devanagari.
//
// Preeti stores glyph pieces in the order they stand on the line; Unicode
// wants letters in spoken order. The conversion maps every byte through one
// table and then repairs the order with a few local passes (hook, half form
// plus stem, short i, reph, visible halants, mark order, vowel composition).
//
// This runs for every painted list row, so it works word by word in a fixed
// buffer on the stack and allocates nothing beyond the output string. None
// of the passes needs to look across a space, which is what makes the
// word-by-word split safe.
#include <algorithm>
#include <array>
#include <cstdint>

#include "platform/preeti/internal.h"
#include "platform/preeti/preeti.h"

namespace preeti {
namespace {

// Private-use stand-ins for the two bytes whose position has to be worked
// out after the whole word is mapped, and for a visible halant that ends its
// cluster (see EndsCluster).
constexpr char16_t kShortI = 0xE000;
constexpr char16_t kReph = 0xE001;
constexpr char16_t kEndingHalant = 0xE002;
// A halant that ends its cluster as the font draws it, but which the typist
// typed only because the font has no other way to write the conjunct: as
// text it joins the next letter.
constexpr char16_t kJoiningHalant = 0xE003;

constexpr char16_t kVirama = 0x094D;
constexpr char16_t kNukta = 0x093C;
constexpr char16_t kAa = 0x093E;
constexpr char16_t kI = 0x093F;
constexpr char16_t kRa = 0x0930;
constexpr char16_t kYa = 0x092F;
constexpr char16_t kZwnj = 0x200C;
constexpr char16_t kZwj = 0x200D;

struct Piece {
    std::array<char16_t, 4> cp{};
    uint8_t size = 0;
};

struct Table {
    std::array<Piece, 256> piece{};

    constexpr void Set(uint8_t byte, char16_t a, char16_t b = 0, char16_t c = 0, char16_t d = 0) {
        Piece& p = piece[byte];
        p.cp = {a, b, c, d};
        p.size = d ? 4 : c ? 3 : b ? 2 : 1;
    }
};

constexpr Table BuildTable() {
    Table t;
    // Anything the font does not draw keeps its Windows-1252 meaning, so
    // that damaged data stays visible instead of vanishing.
    for (int b = 0; b < 256; ++b) t.Set(static_cast<uint8_t>(b), internal::Cp1252Char(b));

    // Digits.
    t.Set(')', 0x0966), t.Set('!', 0x0967), t.Set('@', 0x0968), t.Set('#', 0x0969);
    t.Set('$', 0x096A), t.Set('%', 0x096B), t.Set('^', 0x096C), t.Set('&', 0x096D);
    t.Set('*', 0x096E), t.Set('(', 0x096F);

    // Punctuation: almost every ASCII mark draws something else.
    t.Set('-', '('), t.Set('_', ')'), t.Set('.', 0x0964), t.Set('<', '?'), t.Set('=', '.');
    t.Set(0x85, 0x2018), t.Set(0xDA, 0x2019), t.Set(0xE6, 0x201C), t.Set(0xC6, 0x201D);
    t.Set(0xB1, '+'), t.Set(0xD6, '='), t.Set(0xD9, ';'), t.Set(0xDB, '!'), t.Set(0xDC, '%');
    t.Set(0xF7, '/'), t.Set(0xD2, 0x2026), t.Set(0x98, 0x093D), t.Set(0xE7, 0x0950);

    // Full consonants.
    t.Set('s', 0x0915), t.Set('v', 0x0916), t.Set('u', 0x0917), t.Set('3', 0x0918);
    t.Set(0xAA, 0x0919), t.Set('r', 0x091A), t.Set('5', 0x091B), t.Set('h', 0x091C);
    t.Set(0xB4, 0x091D), t.Set('`', 0x091E), t.Set('6', 0x091F), t.Set('7', 0x0920);
    t.Set('8', 0x0921), t.Set('9', 0x0922), t.Set('t', 0x0924), t.Set('y', 0x0925);
    t.Set('b', 0x0926), t.Set('w', 0x0927), t.Set('g', 0x0928), t.Set('k', 0x092A);
    t.Set('a', 0x092C), t.Set('e', 0x092D), t.Set('d', 0x092E), t.Set('o', 0x092F);
    t.Set('/', 0x0930), t.Set('n', 0x0932), t.Set('j', 0x0935), t.Set('z', 0x0936);
    t.Set(';', 0x0938), t.Set('x', 0x0939);

    // Half forms: the consonant without its stem, joining the next one.
    t.Set('0', 0x0923, kVirama), t.Set(':', 0x0938, kVirama), t.Set('A', 0x092C, kVirama);
    t.Set('D', 0x092E, kVirama), t.Set('E', 0x092D, kVirama), t.Set('G', 0x0928, kVirama);
    t.Set('H', 0x091C, kVirama), t.Set('J', 0x0935, kVirama), t.Set('K', 0x092A, kVirama);
    t.Set('N', 0x0932, kVirama), t.Set('R', 0x091A, kVirama), t.Set('S', 0x0915, kVirama);
    t.Set('T', 0x0924, kVirama), t.Set('U', 0x0917, kVirama), t.Set('V', 0x0916, kVirama);
    t.Set('W', 0x0927, kVirama), t.Set('X', 0x0939, kVirama), t.Set('Y', 0x0925, kVirama);
    t.Set('Z', 0x0936, kVirama), t.Set('i', 0x0937, kVirama), t.Set('~', 0x091E, kVirama);
    t.Set(0x88, 0x092B, kVirama), t.Set(0x89, 0x091D, kVirama), t.Set(0xA3, 0x0918, kVirama);
    t.Set('I', 0x0915, kVirama, 0x0937, kVirama);
    t.Set(0xA1, 0x091C, kVirama, 0x091E, kVirama);
    // The eyelash ra keeps its joiner so Unicode fonts draw the same shape.
    t.Set(0xA5, kRa, kVirama, kZwj);

    // Ready-made conjuncts and special syllables.
    t.Set('1', 0x091C, kVirama, 0x091E), t.Set('2', 0x0926, kVirama, 0x0926);
    t.Set('4', 0x0926, kVirama, 0x0927), t.Set('>', 0x0936, kVirama, kRa);
    t.Set('?', kRa, 0x0941), t.Set('B', 0x0926, kVirama, 0x092F);
    t.Set('Q', 0x0924, kVirama, 0x0924), t.Set('q', 0x0924, kVirama, kRa);
    t.Set(0x84, 0x0927, kVirama, kRa), t.Set(0x8B, 0x0919, kVirama, 0x0918);
    t.Set(0x95, 0x0921, kVirama, 0x0921), t.Set(0x9B, 0x0926, kVirama, kRa);
    t.Set(0xA2, 0x0926, kVirama, 0x0918), t.Set(0xA7, 0x091F, kVirama, 0x091F);
    t.Set(0xB0, 0x0921, kVirama, 0x0922), t.Set(0xB6, 0x0920, kVirama, 0x0920);
    t.Set(0xBF, kRa, 0x0942), t.Set(0xC5, 0x0939, 0x0943);
    t.Set(0xCB, 0x0919, kVirama, 0x0917), t.Set(0xCC, 0x0928, kVirama, 0x0928);
    t.Set(0xCD, 0x0919, kVirama, 0x0915), t.Set(0xCE, 0x0919, kVirama, 0x0916);
    t.Set(0xDD, 0x091F, kVirama, 0x0920), t.Set(0xDF, 0x0926, kVirama, 0x092E);
    t.Set(0xE5, 0x0926, kVirama, 0x0935);

    // Independent vowels.
    t.Set('c', 0x0905), t.Set('O', 0x0907), t.Set('p', 0x0909), t.Set('C', 0x090B);
    t.Set('P', 0x090F);

    // Vowel signs and marks.
    t.Set('f', kAa), t.Set('L', 0x0940), t.Set('\'', 0x0941), t.Set('"', 0x0942);
    t.Set('[', 0x0943), t.Set(']', 0x0947), t.Set('}', 0x0948), t.Set(0x91, 0x0945);
    t.Set('+', 0x0902), t.Set('F', 0x0901), t.Set('M', 0x0903), t.Set('\\', kVirama);
    t.Set('|', kVirama, kRa), t.Set(0xAB, kVirama, kRa), t.Set(0xD8, kVirama, 0x092F);
    t.Set(0xDE, kNukta);

    // Bytes the examined font has no glyph for, but which other builds of
    // it are known to use. Accepted when reading, never written.
    t.Set(0xA4, 0x091D, kVirama), t.Set(0xA9, kRa), t.Set(0xBB, kVirama, kRa);
    t.Set(0xEC, 0x0924, kVirama, 0x0924, kVirama), t.Set(0x8C, 0x0924, kVirama, 0x0924, kVirama);
    t.Set(0x9C, 0x0924, kVirama, kRa, kVirama);

    // Placeholders resolved after mapping; the hook never maps on its own.
    t.Set('l', kShortI), t.Set('{', kReph);
    t.piece['m'].size = 0;
    return t;
}

constexpr Table kTable = BuildTable();

// Zero-width mark bytes a typist may put between a base and its hook.
constexpr bool IsZeroWidthMarkByte(uint8_t b) {
    switch (b) {
        case '"':
        case '\'':
        case '+':
        case 'F':
        case '[':
        case '\\':
        case ']':
        case '|':
        case '}':
        case 0x91:
        case 0xAB:
            return true;
        default:
            return false;
    }
}

constexpr bool IsConsonant(char16_t c) {
    return c >= 0x0915 && c <= 0x0939;
}
// Whether the font has a half glyph for the consonant. The others (ङ छ ट ठ
// ड ढ द य, and र, whose half forms are the reph and the eyelash) are typed in
// full with a visible halant inside a conjunct: द्भ is `b\e`.
constexpr bool HasHalfGlyph(char16_t c) {
    switch (c) {
        case 0x0919:
        case 0x091B:
        case 0x091F:
        case 0x0920:
        case 0x0921:
        case 0x0922:
        case 0x0926:
        case kYa:
        case kRa:
            return false;
        default:
            return IsConsonant(c);
    }
}
// A halant that ends its cluster, as either placeholder.
constexpr bool IsEndingHalant(char16_t c) {
    return c == kEndingHalant || c == kJoiningHalant;
}
// Any kind of virama while the word is being reordered.
constexpr bool IsVirama(char16_t c) {
    return c == kVirama || IsEndingHalant(c);
}
// Dependent vowel signs U+093E..U+094C.
constexpr bool IsVowelSign(char16_t c) {
    return c >= kAa && c <= 0x094C;
}

// A letter or a sign of the Devanagari block (not a digit, danda or
// abbreviation mark): what a visarga must follow to be a visarga.
constexpr bool IsDevanagariLetterOrSign(char16_t c) {
    if (c < 0x0900 || c > 0x097F) return false;
    return !(c == 0x0964 || c == 0x0965 || (c >= 0x0966 && c <= 0x0970));
}

// Whether the halant byte bytes[i], typed after the letter `before`, ends
// its cluster instead of joining a conjunct. Inside a conjunct typists use
// the half glyph, so a halant after a letter that has one ends the cluster;
// so does one after the full र, whose half forms are the reph and the
// eyelash. After ङ छ ट ठ ड ढ द the halant joins a conjunct (द्भ is `b\e`),
// except before य, which those letters take as the ya-phala `Ø` (द्य as `B`).
// The short i may stand between the halant and the next letter.
bool EndsCluster(const uint8_t* bytes, size_t count, size_t i, char16_t before) {
    if (HasHalfGlyph(before) || (i > 0 && bytes[i - 1] == '/')) return true;
    size_t next = i + 1;
    while (next < count && bytes[next] == 'l') ++next;
    return IsConsonant(before) && before != kRa && before != kYa && next < count &&
           bytes[next] == 'o';
}

// Whether a halant that ends its cluster (EndsCluster) was typed to be seen:
// after a full र, or after a letter whose half form is on the keyboard.
// After ङ छ ट ठ ड ढ द, which have no half form, and after घ झ फ, whose half
// forms only the high bytes give, a halant is how typists write the
// conjunct (b\o for द्य, 3\g for घ्न).
bool TypedToBeSeen(const uint8_t* bytes, size_t i, char16_t before) {
    if (i > 0 && bytes[i - 1] == '/') return true;
    return HasHalfGlyph(before) && before != 0x0918 && before != 0x091D && before != 0x092B;
}

// Longest run of bytes converted in one go. Longer runs without a space are
// not words; they are converted piecewise, cut between syllables.
constexpr size_t kMaxRun = 128;
// Each byte yields at most four code points (a reph placeholder grows to
// two, and so does a halant followed by a ZWNJ), so the buffer never
// overflows.
constexpr size_t kBufSize = kMaxRun * 4;

class Word {
  public:
    explicit Word(UnicodeFor use) : use_(use) {}

    void Map(const uint8_t* bytes, size_t n);
    void Reorder(char16_t prev);
    void Append(std::string& out, char16_t* prev) const;

  private:
    void Insert(size_t at, char16_t c) {
        std::copy_backward(buf_.begin() + at, buf_.begin() + len_, buf_.begin() + len_ + 1);
        buf_[at] = c;
        ++len_;
    }
    void Erase(size_t at, size_t count = 1) {
        std::copy(buf_.begin() + at + count, buf_.begin() + len_, buf_.begin() + at);
        len_ -= count;
    }
    // Moves buf_[from] so that it ends up just before index `to` (to > from).
    void MoveForward(size_t from, size_t to) {
        std::rotate(buf_.begin() + from, buf_.begin() + from + 1, buf_.begin() + to);
    }
    char16_t At(size_t i) const { return i < len_ ? buf_[i] : 0; }

    // Index of the first letter of the cluster whose last consonant stands
    // at `last`: steps back over (consonant [nukta] virama) groups, a
    // halant that joins as text counting as a virama.
    size_t ClusterStart(size_t last) const;

    void ComposeAndSwap(bool compose);
    void HalfFormPlusStem();
    void SignsBeforeSubscript();
    void ShortI();
    void Reph();
    void EndingHalants();
    void NasalsLast();
    void DoubledMarks();
    void VisargaAsColon(char16_t prev);

    UnicodeFor use_;
    std::array<char16_t, kBufSize> buf_;
    size_t len_ = 0;
};

void Word::Map(const uint8_t* in, size_t n) {
    // First attach each hook byte to its base: typists sometimes type the
    // hook after a zero-width mark (k]m for k m ]), and a hook with no base
    // draws nothing, so it is dropped.
    std::array<uint8_t, kMaxRun> bytes;
    size_t count = 0;
    for (size_t i = 0; i < n; ++i) {
        const uint8_t b = in[i];
        if (b != 'm') {
            bytes[count++] = b;
            continue;
        }
        size_t j = count;
        while (j > 0 && IsZeroWidthMarkByte(bytes[j - 1])) --j;
        if (j == 0) continue;
        const uint8_t base = bytes[j - 1];
        if (base != 'k' && base != 'e' && base != 'p' && base != 'q' && base != 'Q') continue;
        std::copy_backward(bytes.begin() + j, bytes.begin() + count, bytes.begin() + count + 1);
        bytes[j] = 'm';
        ++count;
    }

    len_ = 0;
    auto put = [&](char16_t c) { buf_[len_++] = c; };
    for (size_t i = 0; i < count; ++i) {
        const uint8_t b = bytes[i];
        const uint8_t next = i + 1 < count ? bytes[i + 1] : 0;
        if (next == 'm') {
            bool hooked = true;
            switch (b) {
                case 'k':
                    put(0x092B);
                    break;
                case 'e':
                    put(0x091D);
                    break;
                case 'p':
                    put(0x090A);
                    break;
                case 'q':
                    put(0x0915), put(kVirama), put(kRa);
                    break;
                case 'Q':
                    put(0x0915), put(kVirama), put(0x0924);
                    break;
                default:
                    hooked = false;
            }
            if (hooked) {
                ++i;
                continue;
            }
        }
        // Sequences whose meaning is more than the sum of their pieces.
        if (b == 'O' && next == '{') {
            put(0x0908);
            ++i;
            continue;
        }
        if (b == 'N' && next == 0x98) {
            put(0x0932);
            ++i;
            continue;
        }
        if (b == 'c' && next == 0x91 && i + 2 < count && bytes[i + 2] == 'f') {
            put(0x0911);
            i += 2;
            continue;
        }
        if (b == '\\' && len_ > 0 && EndsCluster(bytes.data(), count, i, buf_[len_ - 1])) {
            const bool seen =
                use_ == UnicodeFor::kDrawing || TypedToBeSeen(bytes.data(), i, buf_[len_ - 1]);
            put(seen ? kEndingHalant : kJoiningHalant);
            continue;
        }
        const Piece& p = kTable.piece[b];
        for (uint8_t k = 0; k < p.size; ++k) put(p.cp[k]);
    }
}

void Word::Reorder(char16_t prev) {
    ComposeAndSwap(false);
    HalfFormPlusStem();
    SignsBeforeSubscript();
    ShortI();
    Reph();
    EndingHalants();
    NasalsLast();
    ComposeAndSwap(true);
    DoubledMarks();
    VisargaAsColon(prev);
}

size_t Word::ClusterStart(size_t j) const {
    while (j >= 2 && (buf_[j - 1] == kVirama || buf_[j - 1] == kJoiningHalant)) {
        size_t k = j - 2;
        if (buf_[k] == kNukta && k > 0) --k;
        if (!IsConsonant(buf_[k])) break;
        j = k;
    }
    return j;
}

// The e and ai marks are zero-width, so "]f" looks like "f]"; Unicode needs
// the stem first. With `compose`, also builds the two-piece vowels.
void Word::ComposeAndSwap(bool compose) {
    bool changed = true;
    while (changed) {
        changed = false;
        for (size_t i = 0; i + 1 < len_; ++i) {
            const char16_t a = buf_[i];
            const char16_t b = buf_[i + 1];
            if ((a == 0x0947 || a == 0x0948) && b == kAa) {
                std::swap(buf_[i], buf_[i + 1]);
                changed = true;
                continue;
            }
            if (!compose) continue;
            char16_t merged = 0;
            if (a == 0x0905 && b == kAa)
                merged = 0x0906;
            else if (a == 0x0906 && b == 0x0947)
                merged = 0x0913;
            else if (a == 0x0906 && b == 0x0948)
                merged = 0x0914;
            else if (a == 0x0906 && b == 0x0945)
                merged = 0x0911;
            else if (a == 0x090F && b == 0x0947)
                merged = 0x0910;
            else if (a == kAa && b == 0x0947)
                merged = 0x094B;
            else if (a == kAa && b == 0x0948)
                merged = 0x094C;
            else if (a == kAa && b == 0x0945)
                merged = 0x0949;
            if (merged) {
                buf_[i] = merged;
                Erase(i + 1);
                changed = true;
            }
        }
    }
}

// A half form followed by the aa stem is the full letter: 0f is ण.
void Word::HalfFormPlusStem() {
    for (size_t i = 0; i + 1 < len_;) {
        if (IsVirama(buf_[i]) && buf_[i + 1] == kAa) {
            Erase(i, 2);
        } else {
            ++i;
        }
    }
}

// Signs typed before a rakar or ya-phala belong after it.
void Word::SignsBeforeSubscript() {
    for (size_t i = 1; i + 1 < len_; ++i) {
        if (buf_[i] != kVirama || (buf_[i + 1] != kRa && buf_[i + 1] != 0x092F)) continue;
        size_t start = i;
        while (start > 0 && (IsVowelSign(buf_[start - 1]) || buf_[start - 1] == 0x0901 ||
                             buf_[start - 1] == 0x0902)) {
            --start;
        }
        if (start == i) continue;
        std::rotate(buf_.begin() + start, buf_.begin() + i, buf_.begin() + i + 2);
        i = start + 1;
    }
}

// The short i is typed before the whole consonant cluster it follows in
// speech: (consonant [nukta] virama)* consonant [nukta]. Typists also put it
// right after a consonant, in front of the rakar or halant that joins it to
// the next letter (kl|o for lk|o प्रिय); a sign never stands before a virama,
// so such an i first goes back to the start of its cluster.
void Word::ShortI() {
    for (size_t i = 0; i < len_; ++i) {
        if (buf_[i] != kShortI) continue;
        if (IsVirama(At(i + 1))) {
            size_t start = i;
            if (start > 0 && buf_[start - 1] == kNukta) --start;
            if (start > 0 && IsConsonant(buf_[start - 1])) {
                start = ClusterStart(start - 1);
                std::rotate(buf_.begin() + start, buf_.begin() + i, buf_.begin() + i + 1);
                i = start;
            }
        }
        size_t j = i + 1;
        size_t end = 0;
        while (IsConsonant(At(j))) {
            size_t k = j + 1;
            if (At(k) == kNukta) ++k;
            end = k;
            if (!IsVirama(At(k))) break;
            ++k;
            if (At(k) == kZwj) ++k;
            if (!IsConsonant(At(k))) break;
            j = k;
        }
        if (end == 0) {
            buf_[i] = kI;
            continue;
        }
        MoveForward(i, end);
        buf_[end - 1] = kI;
        i = end - 1;
    }
}

// The reph is typed after the syllable it crowns; in Unicode र् opens the
// cluster. A visible halant right before the reph belongs to the crowned
// cluster (र्त् is typed "t\{"); any other halant that ends a cluster ends the
// walk back to its start.
void Word::Reph() {
    for (size_t i = 0; i < len_; ++i) {
        if (buf_[i] != kReph) continue;
        size_t j = i;
        if (j > 1 && IsEndingHalant(buf_[j - 1]) && IsConsonant(buf_[j - 2])) --j;
        while (j > 0) {
            const char16_t c = buf_[j - 1];
            if (!(IsVowelSign(c) || c == 0x0901 || c == 0x0902 || c == 0x0903 || c == kNukta))
                break;
            --j;
        }
        if (j == 0 || !IsConsonant(buf_[j - 1])) {
            buf_[i] = kRa;
            Insert(i + 1, kVirama);
            ++i;
            continue;
        }
        j = ClusterStart(j - 1);
        Erase(i);
        Insert(j, kVirama);
        Insert(j, kRa);
        i += 1;
    }
}

// A halant that ends its cluster stays visible in Unicode too: a ZWNJ keeps
// the next consonant from joining it (क्‌ष, not क्ष). One typed only for
// want of a half form joins it as text.
void Word::EndingHalants() {
    for (size_t i = 0; i < len_; ++i) {
        if (!IsEndingHalant(buf_[i])) continue;
        const bool seen = buf_[i] == kEndingHalant;
        buf_[i] = kVirama;
        if (seen && IsConsonant(At(i + 1))) Insert(++i, kZwnj);
    }
}

// Anusvara and candrabindu are drawn on top whatever order they were typed
// in; Unicode puts them after the vowel signs.
void Word::NasalsLast() {
    bool changed = true;
    while (changed) {
        changed = false;
        for (size_t i = 0; i + 1 < len_; ++i) {
            const char16_t a = buf_[i];
            const char16_t b = buf_[i + 1];
            if ((a == 0x0901 || a == 0x0902) && (IsVowelSign(b) || b == 0x0903)) {
                std::swap(buf_[i], buf_[i + 1]);
                changed = true;
            }
        }
    }
}

// Two copies of the same zero-width mark look like one: a typing slip.
void Word::DoubledMarks() {
    for (size_t i = 0; i + 1 < len_;) {
        const char16_t c = buf_[i];
        const bool collapsible =
            c == 0x0901 || c == 0x0902 || c == 0x0941 || c == 0x0942 || c == 0x0947 || c == 0x0948;
        if (collapsible && buf_[i + 1] == c) {
            Erase(i + 1);
        } else {
            ++i;
        }
    }
}

// The visarga glyph doubles as the colon; after anything but a letter or
// sign it can only be the colon.
void Word::VisargaAsColon(char16_t prev) {
    for (size_t i = 0; i < len_; ++i) {
        if (buf_[i] == 0x0903 && !IsDevanagariLetterOrSign(i > 0 ? buf_[i - 1] : prev)) {
            buf_[i] = ':';
        }
    }
}

void Word::Append(std::string& out, char16_t* prev) const {
    for (size_t i = 0; i < len_; ++i) internal::AppendUtf8(out, buf_[i]);
    if (len_ > 0) *prev = buf_[len_ - 1];
}

void AppendWord(const uint8_t* bytes, size_t n, UnicodeFor use, std::string& out, char16_t* prev) {
    Word word(use);
    word.Map(bytes, n);
    word.Reorder(*prev);
    word.Append(out, prev);
}

// Spaces and control bytes end a word: no reordering rule reaches across
// them.
constexpr bool IsSeparator(uint8_t b) {
    return b <= 0x20 || b == 0xA0;
}

// Words that end in रु, without it. The byte `?` draws रु, and it is also
// the question mark key of an English keyboard: of the nearly 40,000 words
// of a Nepali spelling list only these few dozen end in a plain रु (तरु and
// शुरु added), so a `?` that ends any other word is a question mark. Sorted
// by their bytes.
constexpr std::string_view kRuWords[] = {
    "अचिना", "अभी",    "आ",    "आब",  "उबा", "करभो", "गिता",  "गे",   "गो",    "चा", "चिका",
    "चिना",  "चिन्हा",  "झुरुमु",  "डम",  "त",   "दा",   "निम्ता", "पखे",  "पे",     "फा", "ब",
    "बढा",   "बिन्त्या", "भत्क",  "भत्ख", "भी",  "मधौ",  "मु",     "मे",   "रमिता", "शु",  "सानुसि",
    "सि",    "सिँगा",   "सिका", "सु",   "सुचा", "सुमे",   "हलगो",  "हुरुरु",
};

static_assert(std::is_sorted(std::begin(kRuWords), std::end(kRuWords)));

// Whether the Unicode of a word ends where रु would complete it: one of the
// words above (or a compound of गुरु), the plural ending हरु, or a doubled
// word (खुरुखुरु).
bool TakesRu(std::string_view word) {
    if (std::binary_search(std::begin(kRuWords), std::end(kRuWords), word)) return true;
    if (word.ends_with("ह") || word.ends_with("गु")) return true;
    const size_t ru = word.rfind("रु");
    return ru != std::string_view::npos &&
           word.substr(ru + std::string_view("रु").size()) == word.substr(0, ru);
}

// A byte that belongs to a word: one that maps to a letter or sign, or to a
// placeholder of one.
bool IsWordByte(uint8_t b) {
    if (IsSeparator(b)) return false;
    const Piece& p = kTable.piece[b];
    if (p.size == 0) return true;  // the hook
    const char16_t c = p.cp[0];
    return c == kShortI || c == kReph || c == kZwj || IsDevanagariLetterOrSign(c);
}

}  // namespace

namespace internal {

bool ReadsAsQuestionMark(std::string_view text, size_t at) {
    if (at + 1 < text.size()) {
        const auto next = static_cast<uint8_t>(text[at + 1]);
        if (IsWordByte(next)) return false;
        // The rupee: रु. and रु१००.
        const char16_t c = kTable.piece[next].cp[0];
        if (next == '=' || (c >= 0x0966 && c <= 0x096F)) return false;
    }
    size_t start = at;
    while (start > 0 && IsWordByte(static_cast<uint8_t>(text[start - 1]))) --start;
    if (start == at) return true;
    std::string word;
    AppendUnicode(text.substr(start, at - start), word, UnicodeFor::kDrawing);
    std::string letters;
    for (size_t k = 0; k < word.size();) {
        char32_t cp = 0;
        const size_t n = DecodeUtf8(word, k, &cp);
        if (cp != kZwnj && cp != kZwj) letters.append(word, k, n);
        k += n;
    }
    return !TakesRu(letters);
}

}  // namespace internal

void AppendUnicode(std::string_view preeti_bytes, std::string& out, UnicodeFor use) {
    out.reserve(out.size() + preeti_bytes.size() * 3);
    const auto* data = reinterpret_cast<const uint8_t*>(preeti_bytes.data());
    const size_t size = preeti_bytes.size();
    char16_t prev = 0;
    size_t i = 0;
    std::array<uint8_t, kMaxRun> run;
    while (i < size) {
        if (IsSeparator(data[i])) {
            prev = internal::Cp1252Char(data[i]);
            internal::AppendUtf8(out, prev);
            ++i;
            continue;
        }
        size_t end = i;
        while (end < size && end - i < kMaxRun && !IsSeparator(data[end])) ++end;
        if (end < size && !IsSeparator(data[end])) {
            // A run longer than a word: cut it at the last syllable end that
            // fits, so no reph or short i is parted from its letters.
            size_t cut = i;
            for (size_t at = i; at < end;) {
                const size_t next = SyllableEnd(preeti_bytes, at);
                if (next > end) break;
                cut = at = next;
            }
            if (cut > i) end = cut;
        }
        // As text, a `?` that is a question mark becomes the question mark
        // byte.
        std::copy(data + i, data + end, run.begin());
        if (use == UnicodeFor::kText) {
            for (size_t k = i; k < end; ++k)
                if (data[k] == '?' && internal::ReadsAsQuestionMark(preeti_bytes, k))
                    run[k - i] = '<';
        }
        AppendWord(run.data(), end - i, use, out, &prev);
        i = end;
    }
}

std::string ToUnicode(std::string_view preeti_bytes, UnicodeFor use) {
    std::string out;
    AppendUnicode(preeti_bytes, out, use);
    return out;
}

// Syllables. The cut rules follow from the table and the reordering passes
// above: nothing is cut after a piece that ends in a virama (the next letter
// joins it), before a sign or mark (it belongs to what stands before it), or
// after a reph that finds no consonant to crown (it stays a dangling र्).
namespace {

enum ByteClass : uint8_t {
    kJoinsNext = 1,        // ends in a virama or joiner, or is the short i
    kAttaches = 2,         // a sign, mark, hook or reph: belongs to what precedes
    kStartsConsonant = 4,  // what a short i can move past
    kEndsConsonant = 8,    // what a reph can crown
    kSignsOnly = 16,       // what a reph walks back over to find its consonant
    kHalfForm = 32,        // a consonant and a virama: the aa stem completes it
};

constexpr size_t kMaxSyllable = 32;

// Marks, and the two superscript digits that shapers treat as marks in
// Indic text.
constexpr bool IsCombining(char16_t c) {
    return c == 0x00B2 || c == 0x00B3 || (c >= 0x0900 && c <= 0x0903) ||
           (c >= 0x093A && c <= 0x094F && c != 0x093D) || (c >= 0x0951 && c <= 0x0957) ||
           c == 0x0962 || c == 0x0963 || c == 0x200C || c == kZwj;
}

constexpr bool IsSignForReph(char16_t c) {
    return IsVowelSign(c) || (c >= 0x0901 && c <= 0x0903) || c == kNukta;
}

constexpr std::array<uint8_t, 256> BuildClasses() {
    std::array<uint8_t, 256> classes{};
    for (int b = 0; b < 256; ++b) {
        const Piece& p = kTable.piece[b];
        if (p.size == 0) {  // the hook, merged into its base
            classes[b] = kAttaches | kSignsOnly;
            continue;
        }
        const char16_t first = p.cp[0];
        const char16_t last = p.cp[p.size - 1];
        bool signs_only = true;
        for (uint8_t k = 0; k < p.size; ++k) signs_only = signs_only && IsSignForReph(p.cp[k]);
        uint8_t c = 0;
        if (first == kShortI) {
            c = kJoinsNext;
        } else if (first == kReph || IsCombining(first)) {
            c = kAttaches;
        }
        if (last == kVirama || last == kZwj) c |= kJoinsNext;
        if (IsConsonant(first)) c |= kStartsConsonant;
        if (IsConsonant(last)) c |= kEndsConsonant;
        if (IsConsonant(first) && last == kVirama) c |= kHalfForm;
        if (signs_only) c |= kSignsOnly;
        classes[b] = c;
    }
    return classes;
}

constexpr std::array<uint8_t, 256> kClasses = BuildClasses();

uint8_t ClassOf(std::string_view s, size_t i) {
    return kClasses[static_cast<uint8_t>(s[i])];
}

// Whether the reph byte at `at` finds a consonant in its syllable, which
// starts at `start`: it walks back over signs and short i signs left in
// place, as Word::Reph does after mapping.
bool RephFindsConsonant(std::string_view s, size_t start, size_t at) {
    if (at > start && s[at - 1] == 'O') return true;  // "O{" is the vowel ई, no reph
    size_t j = at;
    // A visible halant right before the reph (one that ends its cluster, as
    // Word::Map decides): the reph crowns the consonant before it.
    if (j > start + 1 && s[j - 1] == '\\') {
        const Piece& p = kTable.piece[static_cast<uint8_t>(s[j - 2])];
        const char16_t before = p.size > 0 ? p.cp[p.size - 1] : 0;
        return IsConsonant(before) && (HasHalfGlyph(before) || s[j - 2] == '/');
    }
    while (j > start && ((ClassOf(s, j - 1) & kSignsOnly) != 0 || s[j - 1] == 'l')) --j;
    if (j == start) return false;
    const uint8_t base = ClassOf(s, j - 1);
    return (base & kEndsConsonant) != 0 || ((base & kHalfForm) != 0 && j < at && s[j] == 'f');
}

// Whether a syllable that started at `start` may end before byte `i`
// (start < i < size, neither side a separator).
bool MayCutBefore(std::string_view s, size_t start, size_t i) {
    if ((ClassOf(s, i) & kAttaches) != 0) return false;
    // A short i with no consonant to move past stays put, a sign of what
    // precedes it.
    if (s[i] == 'l' && (i + 1 >= s.size() || (ClassOf(s, i + 1) & kStartsConsonant) == 0)) {
        return false;
    }
    // Walk back over the signs and marks that end the syllable to the piece
    // they belong to. A reph that finds no consonant stays a dangling र्,
    // and a virama joins the next letter, even with marks after it (a hook
    // with no base is dropped, a nukta goes before the virama), unless the
    // aa stem right after it completes the letter (0f is ण).
    size_t j = i;
    while (j > start && (ClassOf(s, j - 1) & kAttaches) != 0) {
        --j;
        if (s[j] == '{' && !RephFindsConsonant(s, start, j)) return false;
    }
    bool joins = false;
    int viramas = 0;  // pieces ending in a virama right before this byte
    for (size_t k = j > start ? j - 1 : start; k < i; ++k) {
        if ((ClassOf(s, k) & kJoinsNext) != 0) {
            joins = true;
            ++viramas;
            continue;
        }
        if (s[k] == 'f' && viramas == 1) joins = false;
        viramas = 0;
    }
    return !joins;
}

}  // namespace

size_t SyllableEnd(std::string_view preeti_bytes, size_t start) {
    const std::string_view s = preeti_bytes;
    if (start >= s.size()) return s.size();
    if (IsSeparator(static_cast<uint8_t>(s[start]))) return start + 1;
    size_t i = start + 1;
    while (i < s.size() && i - start < kMaxSyllable && !IsSeparator(static_cast<uint8_t>(s[i])) &&
           !MayCutBefore(s, start, i)) {
        ++i;
    }
    return i;
}

}  // namespace preeti
