// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/phonetic_key.h"

#include <array>

#include "platform/preeti/preeti.h"

namespace search {
namespace {

// Sounds of the consonants U+0915..U+0939, in code point order.
constexpr std::array<char, 0x39 - 0x15 + 1> kConsonants = {
    'k', 'K', 'g', 'G', 'Q',  // क ख ग घ ङ
    'c', 'C', 'j', 'J', 'F',  // च छ ज झ ञ
    '1', '2', '3', '4', '5',  // ट ठ ड ढ ण
    't', 'T', 'd', 'D', 'n',  // त थ द ध न
    'n',                      // ऩ
    'p', 'f', 'b', 'B', 'm',  // प फ ब भ म
    'y', 'r', 'r', 'l', 'L',  // य र ऱ ल ळ
    'L', 'v', '6', '7', 's',  // ऴ व श ष स
    'h',                      // ह
};

bool IsConsonant(char32_t cp) {
    return cp >= 0x915 && cp <= 0x939;
}

// The sounds of an independent vowel or a vowel sign, or nullptr.
const char* VowelSound(char32_t cp) {
    switch (cp) {
        case 0x905:
            return "a";
        case 0x906:
        case 0x93E:
            return "A";
        case 0x907:
        case 0x93F:
            return "i";
        case 0x908:
        case 0x940:
            return "I";
        case 0x909:
        case 0x941:
            return "u";
        case 0x90A:
        case 0x942:
            return "U";
        case 0x90B:
        case 0x960:
        case 0x943:
        case 0x944:
            return "rR";
        case 0x90D:
        case 0x90E:
        case 0x90F:
        case 0x945:
        case 0x946:
        case 0x947:
            return "e";
        case 0x910:
        case 0x948:
            return "aY";
        case 0x911:
        case 0x912:
        case 0x913:
        case 0x949:
        case 0x94A:
        case 0x94B:
            return "o";
        case 0x914:
        case 0x94C:
            return "aW";
        default:
            return nullptr;
    }
}

bool IsVowelSign(char32_t cp) {
    return cp >= 0x93E && cp <= 0x94C;
}

bool IsLatinVowelSound(char sound) {
    return std::string_view("aAiIuUeo").find(sound) != std::string_view::npos;
}

void Push(std::string& key, std::string_view sounds) {
    for (char c : sounds)
        if (key.size() < kMaxKeyLength) key.push_back(c);
}

}  // namespace

std::string KeyFromUnicode(std::string_view utf8, KeyUse use) {
    std::string key;
    bool inherent_a = false;  // the last consonant has no sign yet
    char32_t before_halant = 0;
    char32_t previous = 0;
    for (size_t at = 0; at < utf8.size();) {
        char32_t cp = 0;
        const size_t length = preeti::DecodeUtf8(utf8, at, &cp);
        if (length == 0) {
            ++at;
            continue;
        }
        at += length;
        if (cp == 0x93C || cp == 0x200C || cp == 0x200D) continue;  // nukta, joiners
        if (cp >= 0x958 && cp <= 0x95F) {
            // Precomposed nukta letters read as their base letters.
            constexpr char32_t kBase[] = {0x915, 0x916, 0x917, 0x91C, 0x921, 0x922, 0x92B, 0x92F};
            cp = kBase[cp - 0x958];
        }
        if (cp == 0x94D) {  // halant
            inherent_a = false;
            before_halant = previous;
            previous = cp;
            continue;
        }
        if (IsVowelSign(cp) && IsConsonant(previous)) {
            Push(key, VowelSound(cp));
            inherent_a = false;
            previous = cp;
            continue;
        }
        if (inherent_a) Push(key, "a");
        inherent_a = false;
        if (IsConsonant(cp)) {
            if (cp == 0x91E && previous == 0x94D && before_halant == 0x91C && !key.empty() &&
                key.back() == 'j') {
                key.back() = '8';  // ज्ञ
                Push(key, "9");
            } else {
                Push(key, std::string_view(&kConsonants[cp - 0x915], 1));
            }
            inherent_a = true;
        } else if (const char* vowel = VowelSound(cp)) {
            Push(key, vowel);
        } else if (cp >= 0x966 && cp <= 0x96F) {
            const char digit = static_cast<char>(kDigitSounds + (cp - 0x966));
            Push(key, std::string_view(&digit, 1));
        } else if (cp >= '0' && cp <= '9') {
            const char digit = static_cast<char>(kDigitSounds + (cp - '0'));
            Push(key, std::string_view(&digit, 1));
        } else if (cp == 0x901) {
            Push(key, "~");
        } else if (cp == 0x902) {
            Push(key, "M");
        } else if (cp == 0x903) {
            Push(key, "H");
        }
        previous = cp;
    }
    if (inherent_a && use == KeyUse::kHeadword) Push(key, "a");
    return key;
}

std::string KeyFromLatin(std::string_view text) {
    std::string lower;
    lower.reserve(text.size());
    for (char c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c >= 'a' && c <= 'z') lower.push_back(c);
    }
    // Longest spellings first within each starting letter.
    struct Rule {
        std::string_view latin;
        std::string_view sound;
    };
    static constexpr Rule kRules[] = {
        {"chh", "C"}, {"aa", "A"}, {"ee", "I"}, {"ii", "I"}, {"oo", "U"}, {"uu", "U"}, {"ou", "au"},
        {"kh", "K"},  {"gh", "G"}, {"ch", "^"}, {"jh", "J"}, {"th", "T"}, {"dh", "D"}, {"ph", "f"},
        {"bh", "B"},  {"sh", "6"}, {"v", "v"},  {"w", "v"},  {"z", "j"},  {"q", "k"},  {"x", "k7"},
    };
    std::string key;
    for (size_t at = 0; at < lower.size();) {
        const std::string_view rest = std::string_view(lower).substr(at);
        bool matched = false;
        for (const Rule& rule : kRules) {
            if (rest.starts_with(rule.latin)) {
                Push(key, rule.sound);
                at += rule.latin.size();
                matched = true;
                break;
            }
        }
        if (matched) continue;
        // A last i is more often ी than ि, and a last a after a consonant
        // more often ा than the inherent a, which is not sounded there and
        // mostly not written; the other letters stand for themselves.
        if (rest == "i") {
            Push(key, "!");
        } else if (rest == "a" && !key.empty() && !IsLatinVowelSound(key.back())) {
            Push(key, "@");
        } else {
            Push(key, rest.substr(0, 1));
        }
        ++at;
    }
    return key;
}

bool ReadsAsLatin(std::string_view text) {
    bool letter = false;
    for (char c : text) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
            letter = true;
        } else if (c != ' ' && c != '-' && c != '\'') {
            return false;
        }
    }
    return letter;
}

}  // namespace search
