// SPDX-License-Identifier: GPL-3.0-or-later
// UTF-8 text -> Preeti bytes.
//
// Used for what a person types with a Unicode keyboard or pastes from a web
// page, so it first brings the text to one form (nukta letters split,
// joiners read and dropped, ASCII digits and bars read as their Devanagari
// counterparts), then writes each syllable the way the font draws it: short
// i first, reph after the vowel signs, ready-made conjunct glyphs where the
// font has them. Every spelling written here decodes back to the same
// Unicode, and when several spellings would draw the same picture the one
// most typists use is chosen.
#include <array>
#include <cstdint>
#include <vector>

#include "platform/preeti/internal.h"
#include "platform/preeti/preeti.h"

namespace preeti {
namespace {

constexpr char32_t kVirama = 0x094D;
constexpr char32_t kNukta = 0x093C;
constexpr char32_t kRa = 0x0930;
constexpr char32_t kYa = 0x092F;
constexpr char32_t kShortISign = 0x093F;
constexpr char32_t kZwnj = 0x200C;
constexpr char32_t kZwj = 0x200D;
// Private stand-ins produced while normalising: the eyelash ra (र्‍), and
// a virama that a ZWNJ keeps from joining the next consonant.
constexpr char32_t kEyelashRa = 0xF0000;
constexpr char32_t kFinalVirama = 0xF0001;

struct Unit {
    char32_t cp;
    size_t offset;  // of the source character, for error reports
};

// Full glyph and half glyph of each consonant U+0915..U+0939. An empty full
// glyph means the font cannot write the letter; an empty half glyph means
// the font has no half form and uses the full glyph with a visible halant.
struct Consonant {
    const char* full;
    const char* half;
};

constexpr std::array<Consonant, 0x0939 - 0x0915 + 1> kConsonants = {{
    {"s", "S"},      // क
    {"v", "V"},      // ख
    {"u", "U"},      // ग
    {"3", "\xA3"},   // घ
    {"\xAA", ""},    // ङ
    {"r", "R"},      // च
    {"5", ""},       // छ
    {"h", "H"},      // ज
    {"em", "\x89"},  // झ
    {"`", "~"},      // ञ
    {"6", ""},       // ट
    {"7", ""},       // ठ
    {"8", ""},       // ड
    {"9", ""},       // ढ
    {"0f", "0"},     // ण
    {"t", "T"},      // त
    {"y", "Y"},      // थ
    {"b", ""},       // द
    {"w", "W"},      // ध
    {"g", "G"},      // न
    {"", ""},        // ऩ (split into न + nukta beforehand)
    {"k", "K"},      // प
    {"km", "\x88"},  // फ
    {"a", "A"},      // ब
    {"e", "E"},      // भ
    {"d", "D"},      // म
    {"o", ""},       // य
    {"/", ""},       // र (its half form is the reph or the eyelash)
    {"", ""},        // ऱ (split into र + nukta beforehand)
    {"n", "N"},      // ल
    {"", ""},        // ळ: no glyph
    {"", ""},        // ऴ: no glyph
    {"j", "J"},      // व
    {"z", "Z"},      // श
    {"if", "i"},     // ष
    {";", ":"},      // स
    {"x", "X"},      // ह
}};

// Two-letter conjuncts the font draws as one glyph.
struct Conjunct {
    char32_t first;
    char32_t second;
    const char* glyph;
};

constexpr Conjunct kConjuncts[] = {
    {0x0915, 0x0937, "If"},   {0x091C, 0x091E, "1"},    {0x0924, 0x0924, "Q"},
    {0x0924, kRa, "q"},       {0x0936, kRa, ">"},       {0x0915, kRa, "qm"},
    {0x0915, 0x0924, "Qm"},   {0x092B, kRa, "k|m"},     {0x0926, 0x0926, "2"},
    {0x0926, 0x0927, "4"},    {0x0926, kYa, "B"},       {0x0926, 0x092E, "\xDF"},
    {0x0926, 0x0935, "\xE5"}, {0x0926, kRa, "\x9B"},    {0x0926, 0x0918, "\xA2"},
    {0x0927, kRa, "\x84"},    {0x091F, 0x091F, "\xA7"}, {0x091F, 0x0920, "\xDD"},
    {0x0920, 0x0920, "\xB6"}, {0x0921, 0x0921, "\x95"}, {0x0921, 0x0922, "\xB0"},
    {0x0919, 0x0915, "\xCD"}, {0x0919, 0x0916, "\xCE"}, {0x0919, 0x0917, "\xCB"},
    {0x0919, 0x0918, "\x8B"}, {0x0928, 0x0928, "\xCC"},
};

// Conjuncts that also have a half form, used before a further consonant.
constexpr Conjunct kHalfConjuncts[] = {
    {0x0915, 0x0937, "I"},
    {0x091C, 0x091E, "\xA1"},
};

const char* FindConjunct(const Conjunct* begin, const Conjunct* end, char32_t a, char32_t b) {
    for (const Conjunct* c = begin; c != end; ++c) {
        if (c->first == a && c->second == b) return c->glyph;
    }
    return nullptr;
}

constexpr bool IsConsonant(char32_t c) {
    return c >= 0x0915 && c <= 0x0939;
}
constexpr bool IsVowelSign(char32_t c) {
    return c >= 0x093E && c <= 0x094C;
}
constexpr bool IsNasalOrVisarga(char32_t c) {
    return c >= 0x0901 && c <= 0x0903;
}

// Bytes for a dependent vowel sign other than the short i, or nullptr when
// the font has none.
const char* VowelSignGlyph(char32_t c) {
    switch (c) {
        case 0x093E:
            return "f";
        case 0x0940:
            return "L";
        case 0x0941:
            return "'";
        case 0x0942:
            return "\"";
        case 0x0943:
            return "[";
        case 0x0945:
            return "\x91";
        case 0x0947:
            return "]";
        case 0x0948:
            return "}";
        case 0x0949:
            return "f\x91";
        case 0x094B:
            return "f]";
        case 0x094C:
            return "f}";
        default:
            return nullptr;
    }
}

const char* NasalGlyph(char32_t c) {
    return c == 0x0902 ? "+" : c == 0x0901 ? "F" : "M";
}

// Everything outside syllables: independent vowels, digits, punctuation,
// and marks that stand without a base.
const char* OtherGlyph(char32_t c, bool opens_quote) {
    if (c >= 0x0966 && c <= 0x096F) {
        static constexpr const char* kDigits[] = {")", "!", "@", "#", "$", "%", "^", "&", "*", "("};
        return kDigits[c - 0x0966];
    }
    if (IsVowelSign(c) && c != kShortISign) return VowelSignGlyph(c);
    switch (c) {
        case 0x0905:
            return "c";
        case 0x0906:
            return "cf";
        case 0x0907:
            return "O";
        case 0x0908:
            return "O{";
        case 0x0909:
            return "p";
        case 0x090A:
            return "pm";
        case 0x090B:
            return "C";
        case 0x090F:
            return "P";
        case 0x0910:
            return "P]";
        case 0x0911:
            return "cf\x91";
        case 0x0913:
            return "cf]";
        case 0x0914:
            return "cf}";
        case kShortISign:
            return "l";
        case 0x0901:
            return "F";
        case 0x0902:
            return "+";
        case 0x0903:
            return "M";
        case kVirama:
            return "\\";
        case kFinalVirama:
            return "\\";
        case kNukta:
            return "\xDE";
        case kEyelashRa:
            return "\xA5";
        case 0x093D:
            return "\x98";
        case 0x0950:
            return "\xE7";
        case 0x0964:
            return ".";
        case 0x0965:
            return "..";
        case ' ':
            return " ";
        case '\t':
            return "\t";
        case '\n':
            return "\n";
        case '\r':
            return "\r";
        case ',':
            return ",";
        case '.':
            return "=";
        case '?':
            return "<";
        case '(':
            return "-";
        case ')':
            return "_";
        case '+':
            return "\xB1";
        case '=':
            return "\xD6";
        case ';':
            return "\xD9";
        case '!':
            return "\xDB";
        case '%':
            return "\xDC";
        case '/':
            return "\xF7";
        // The font has no hyphen or colon: the short dash and the visarga
        // glyph stand in for them, and the visarga reads back as a colon.
        case '-':
            return "\x96";
        case ':':
            return "M";
        case '\'':
            return "\xDA";
        case '"':
            return opens_quote ? "\xE6" : "\xC6";
        case 0x00A0:
            return "\xA0";
        case 0x2013:
            return "\x96";
        case 0x2014:
            return "\x97";
        case 0x2018:
            return "\x85";
        case 0x2019:
            return "\xDA";
        case 0x201C:
            return "\xE6";
        case 0x201D:
            return "\xC6";
        case 0x2026:
            return "\xD2";
        default:
            return nullptr;
    }
}

// Whether a visible halant after the letter that ends `units` reads back as
// visible text: after र or a letter whose half glyph is an ASCII byte.
bool KeepsVisibleHalant(const std::vector<Unit>& units) {
    size_t at = units.size();
    if (at > 0 && units[at - 1].cp == kNukta) --at;
    if (at == 0 || !IsConsonant(units[at - 1].cp)) return true;
    const char32_t letter = units[at - 1].cp;
    const char* half = kConsonants[letter - 0x0915].half;
    return letter == kRa || (half[0] != '\0' && static_cast<unsigned char>(half[0]) < 0x80);
}

// Brings the text to one form before writing it: splits nukta letters,
// turns joiners into the two stand-ins or drops them, and reads ASCII digits
// and the bar as Devanagari digits and the danda.
std::vector<Unit> Normalise(const std::vector<Unit>& in) {
    std::vector<Unit> out;
    out.reserve(in.size() + 4);
    for (size_t i = 0; i < in.size(); ++i) {
        const Unit u = in[i];
        const char32_t next = i + 1 < in.size() ? in[i + 1].cp : 0;
        const char32_t after = i + 2 < in.size() ? in[i + 2].cp : 0;
        if (u.cp >= 0x0958 && u.cp <= 0x095F) {
            static constexpr char32_t kBase[] = {0x0915, 0x0916, 0x0917, 0x091C,
                                                 0x0921, 0x0922, 0x092B, 0x092F};
            out.push_back({kBase[u.cp - 0x0958], u.offset});
            out.push_back({kNukta, u.offset});
        } else if (u.cp == 0x0929 || u.cp == 0x0931 || u.cp == 0x0934) {
            out.push_back({u.cp - 1, u.offset});
            out.push_back({kNukta, u.offset});
        } else if (u.cp == kRa && next == kVirama && after == kZwj) {
            out.push_back({kEyelashRa, u.offset});
            i += 2;
        } else if (u.cp == kVirama && next == kZwnj) {
            // The visible halant of a letter with no half form on the
            // keyboard reads back as joining (ToUnicode): the joiner cannot
            // be written.
            out.push_back({KeepsVisibleHalant(out) ? kFinalVirama : kVirama, u.offset});
            ++i;
        } else if (u.cp == kVirama && next == kNukta) {
            // Canonical order puts the nukta first.
            out.push_back({kNukta, in[i + 1].offset});
            out.push_back(u);
            ++i;
        } else if (u.cp == kZwj || u.cp == kZwnj || u.cp == 0xFEFF) {
            // Joiners only steer the forms above, and a byte-order mark
            // pasted along with text means nothing.
            continue;
        } else if (u.cp >= '0' && u.cp <= '9') {
            out.push_back({0x0966 + (u.cp - '0'), u.offset});
        } else if (u.cp == '|') {
            out.push_back({0x0964, u.offset});
        } else {
            out.push_back(u);
        }
    }
    return out;
}

struct Letter {
    char32_t cp;
    size_t unit;  // index into the units, for error reports
    bool nukta = false;
};

class Writer {
  public:
    explicit Writer(std::vector<Unit> units) : units_(std::move(units)) {}

    // Returns false and sets `bad_` on a character with no Preeti form.
    bool Run();
    std::string& out() { return out_; }
    size_t bad() const { return bad_; }

  private:
    char32_t At(size_t i) const { return i < units_.size() ? units_[i].cp : 0; }
    bool Fail(size_t i) {
        bad_ = units_[i].offset;
        return false;
    }
    bool Syllable();
    bool WriteConsonants(const std::vector<Letter>& letters, bool final_virama);

    std::vector<Unit> units_;
    size_t pos_ = 0;
    std::string out_;
    std::string cons_;
    size_t bad_ = 0;
};

bool Writer::Run() {
    out_.reserve(units_.size() * 2);
    while (pos_ < units_.size()) {
        const char32_t c = units_[pos_].cp;
        if (IsConsonant(c) || c == kEyelashRa) {
            if (!Syllable()) return false;
            continue;
        }
        const char32_t prev = pos_ > 0 ? units_[pos_ - 1].cp : 0;
        const bool opens_quote =
            prev == 0 || prev == ' ' || prev == '\t' || prev == '\n' || prev == '(';
        const char* glyph = OtherGlyph(c, opens_quote);
        if (!glyph) return Fail(pos_);
        out_ += glyph;
        ++pos_;
    }
    return true;
}

// One syllable: consonants joined by viramas, then vowel signs, then nasal
// marks and visarga.
bool Writer::Syllable() {
    std::vector<Letter> letters;
    bool final_virama = false;
    while (true) {
        letters.push_back({At(pos_), pos_});
        ++pos_;
        if (At(pos_) == kNukta && letters.back().cp != kEyelashRa) {
            letters.back().nukta = true;
            ++pos_;
        }
        if (letters.back().cp == kEyelashRa) {
            if (IsConsonant(At(pos_)) || At(pos_) == kEyelashRa) continue;
            break;
        }
        if (At(pos_) == kVirama && (IsConsonant(At(pos_ + 1)) || At(pos_ + 1) == kEyelashRa)) {
            ++pos_;
            continue;
        }
        if (At(pos_) == kVirama || At(pos_) == kFinalVirama) {
            final_virama = true;
            ++pos_;
        }
        break;
    }
    const size_t signs_begin = pos_;
    while (IsVowelSign(At(pos_))) ++pos_;
    const size_t signs_end = pos_;
    while (IsNasalOrVisarga(At(pos_))) ++pos_;
    const size_t nasals_end = pos_;

    // A र that opens a cluster of two or more letters is written as the
    // reph, after the syllable.
    bool reph = false;
    if (letters.size() >= 2 && letters[0].cp == kRa && !letters[0].nukta) {
        reph = true;
        letters.erase(letters.begin());
    }

    size_t sign = signs_begin;
    cons_.clear();
    // रु, रू and हृ have glyphs of their own.
    const char32_t first_sign = At(signs_begin);
    if (!reph && letters.size() == 1 && !letters[0].nukta && !final_virama &&
        signs_begin < signs_end) {
        const char32_t c = letters[0].cp;
        const char* special = nullptr;
        if (c == kRa && first_sign == 0x0941) special = "?";
        if (c == kRa && first_sign == 0x0942) special = "\xBF";
        if (c == 0x0939 && first_sign == 0x0943) special = "\xC5";
        if (special) {
            cons_ = special;
            ++sign;
        }
    }
    if (cons_.empty() && !WriteConsonants(letters, final_virama)) return false;

    // The short i is drawn before the whole cluster, or after the last
    // visible halant when the cluster is broken by one.
    for (size_t i = sign; i < signs_end; ++i) {
        if (At(i) != kShortISign) continue;
        const size_t halant = cons_.rfind('\\');
        cons_.insert(halant == std::string::npos ? 0 : halant + 1, "l");
    }
    out_ += cons_;
    for (size_t i = sign; i < signs_end; ++i) {
        if (At(i) == kShortISign) continue;
        const char* glyph = VowelSignGlyph(At(i));
        if (!glyph) return Fail(i);
        out_ += glyph;
    }
    if (reph) out_ += '{';
    for (size_t i = signs_end; i < nasals_end; ++i) out_ += NasalGlyph(At(i));
    return true;
}

// Writes the letters of one cluster into cons_, taking ready-made conjunct
// glyphs where the font has them, and the rakar and ya-phala forms.
bool Writer::WriteConsonants(const std::vector<Letter>& letters, bool final_virama) {
    const size_t n = letters.size();
    const auto plain = [&](size_t k, char32_t cp) {
        return k < n && letters[k].cp == cp && !letters[k].nukta;
    };
    const auto rakar = [&](char32_t base) {
        return (base >= 0x091F && base <= 0x0922) ? "\xAB" : "|";
    };
    // A subscript form has no halant of its own: when its letter still
    // joins the next one, or carries a word-final halant, write it visibly
    // or the halant would be lost.
    const auto close = [&](size_t next) {
        if (next < n || final_virama) cons_ += '\\';
    };
    size_t k = 0;
    while (k < n) {
        const Letter& l = letters[k];
        if (l.cp == kEyelashRa) {
            cons_ += '\xA5';
            ++k;
            continue;
        }
        const Consonant& glyphs = kConsonants[l.cp - 0x0915];
        if (!*glyphs.full) return Fail(l.unit);
        if (k + 1 < n && !l.nukta && !letters[k + 1].nukta && letters[k + 1].cp != kEyelashRa) {
            const char32_t second = letters[k + 1].cp;
            const bool ends = k + 2 == n;
            const bool then_ra = plain(k + 2, kRa);
            const bool then_ya = plain(k + 2, kYa);
            const bool then_other = k + 2 < n && !then_ra;
            const char* half =
                FindConjunct(std::begin(kHalfConjuncts), std::end(kHalfConjuncts), l.cp, second);
            if (half && then_other) {
                cons_ += half;
                k += 2;
                continue;
            }
            const char* full =
                FindConjunct(std::begin(kConjuncts), std::end(kConjuncts), l.cp, second);
            if (full && (ends || then_ra || then_ya)) {
                cons_ += full;
                if (then_ra) cons_ += rakar(second);
                if (then_ya) cons_ += '\xD8';
                k += ends ? 2 : 3;
                close(k);
                continue;
            }
        }
        const bool joined = k + 1 < n;
        if (l.nukta) {
            cons_ += glyphs.full;
            cons_ += '\xDE';
            if (joined && plain(k + 1, kRa)) {
                cons_ += rakar(l.cp);
                k += 2;
                close(k);
                continue;
            }
            if (joined || final_virama) cons_ += '\\';
            ++k;
            continue;
        }
        if (!joined) {
            cons_ += glyphs.full;
            if (final_virama) cons_ += '\\';
            ++k;
            continue;
        }
        if (plain(k + 1, kRa)) {
            cons_ += glyphs.full;
            cons_ += rakar(l.cp);
            k += 2;
            close(k);
        } else if (plain(k + 1, kYa) && !*glyphs.half) {
            cons_ += glyphs.full;
            cons_ += '\xD8';
            k += 2;
            close(k);
        } else if (*glyphs.half) {
            cons_ += glyphs.half;
            ++k;
        } else {
            cons_ += glyphs.full;
            cons_ += '\\';
            ++k;
        }
    }
    return true;
}

}  // namespace

namespace {

// The रु glyph `?` where it reads back as रु; `/'` (र and ु) where
// ToUnicode would read it as a question mark.
std::string WithRuReadable(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (size_t at = 0; at < bytes.size(); ++at) {
        if (bytes[at] == '?' && internal::ReadsAsQuestionMark(bytes, at)) {
            out += "/'";
        } else {
            out += bytes[at];
        }
    }
    return out;
}

std::optional<std::string> Spell(std::string_view utf8, size_t* bad_offset) {
    std::vector<Unit> units;
    units.reserve(utf8.size());
    size_t pos = 0;
    while (pos < utf8.size()) {
        char32_t cp = 0;
        const size_t len = internal::DecodeUtf8(utf8, pos, &cp);
        if (len == 0) {
            if (bad_offset) *bad_offset = pos;
            return std::nullopt;
        }
        units.push_back({cp, pos});
        pos += len;
    }
    Writer writer(Normalise(units));
    if (!writer.Run()) {
        if (bad_offset) *bad_offset = writer.bad();
        return std::nullopt;
    }
    return WithRuReadable(writer.out());
}

}  // namespace

std::optional<std::string> FromUnicode(std::string_view utf8, size_t* bad_offset) {
    auto bytes = Spell(utf8, bad_offset);
    if (!bytes) return bytes;
    // Text no typist would write (a reph over a half letter, marks on
    // marks) can be spelt in bytes that read back as something else. The
    // spelling of what they read back as is then taken instead, once it
    // reads back as itself, so that converting never keeps changing text
    // that goes back and forth (the clipboard, a table read and written).
    std::string current = std::move(*bytes);
    for (int round = 0; round < 6; ++round) {
        auto again = Spell(ToUnicode(current), nullptr);
        if (again && *again == current) return current;
        if (!again) break;
        current = std::move(*again);
    }
    // Nothing that reads back as itself: the text cannot be written.
    if (bad_offset) *bad_offset = 0;
    return std::nullopt;
}

}  // namespace preeti
