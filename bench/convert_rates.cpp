// SPDX-License-Identifier: GPL-3.0-or-later
// kovelin-convert-rates: how much Nepali text typed in Preeti converts back
// to exactly the Unicode the typist meant.
//
//   kovelin-convert-rates [--dic FILE.dic] [--paragraphs N]
//
// The paragraphs (1,000 unless told) are one to three sentences of six to
// sixteen words of the Nepali hunspell word list, now and then a plural in
// हरु or a comma, each sentence ending in । or, one in five, a question
// mark; their Unicode, as a Preeti document can hold it (no joiner but the
// eyelash ra's, a visarga for a colon), is what was meant. Their Preeti is what FromUnicode writes,
// then typed the way typists type it: a visible halant where the font has no half form or only a
// high byte for it (b\o for द्य, 7\o for ठ्य, 3\g for घ्न), each in half the places, the रु key for रु,
// and the question mark key (?, which the font draws as रु) for the question mark in four places of
// five. The program prints the share of paragraphs that ToUnicode turns back into exactly what was
// meant, and the character error rate (the edits that turn what came out into what was meant, per
// character meant), for the text as typed and as FromUnicode wrote it.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "hunspell_words.h"
#include "platform/preeti/preeti.h"

namespace {

// The edits that turn `a` into `b`, by code point.
size_t EditDistance(const std::u32string& a, const std::u32string& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] =
                std::min({diagonal + (a[i - 1] == b[j - 1] ? 0 : 1), above + 1, row[j - 1] + 1});
            diagonal = above;
        }
    }
    return row[b.size()];
}

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// A word as a Preeti document can hold it: no joiners but the eyelash ra's,
// the visarga for a colon after a letter, the dash for a hyphen and
// Devanagari digits.
std::string AsPreetiText(std::string word) {
    ReplaceAll(word, "\u200C", "");
    ReplaceAll(word, "र्\u200D", "\x01");
    ReplaceAll(word, "\u200D", "");
    ReplaceAll(word, "\x01", "र्\u200D");
    ReplaceAll(word, ":", "ः");
    ReplaceAll(word, "-", "–");
    static constexpr const char* kDigits[] = {"०", "१", "२", "३", "४", "५", "६", "७", "८", "९"};
    for (char d = '0'; d <= '9'; ++d) ReplaceAll(word, std::string(1, d), kDigits[d - '0']);
    return word;
}

// A paragraph of words from `words`, as meant.
std::string Paragraph(const std::vector<std::string>& words, std::mt19937& random) {
    std::string text;
    const int sentences = 1 + static_cast<int>(random() % 3);
    for (int s = 0; s < sentences; ++s) {
        const int count = 6 + static_cast<int>(random() % 11);
        for (int w = 0; w < count; ++w) {
            if (!text.empty()) text += ' ';
            text += AsPreetiText(words[random() % words.size()]);
            if (w + 1 < count && random() % 12 == 0) text += "हरु";
            if (w + 1 < count && random() % 10 == 0) text += ',';
        }
        text += random() % 5 == 0 ? "?" : " ।";
    }
    return text;
}

// Replaces `from` in `bytes` by `to` in `percent` of the places.
std::string Habit(const std::string& bytes, std::string_view from, std::string_view to,
                  std::mt19937& random, int percent) {
    std::string out;
    for (size_t at = 0; at < bytes.size();) {
        if (bytes.compare(at, from.size(), from) == 0 &&
            static_cast<int>(random() % 100) < percent) {
            out += to;
            at += from.size();
        } else {
            out += bytes[at++];
        }
    }
    return out;
}

// The bytes as a typist types them.
std::string AsTyped(std::string bytes, std::mt19937& random) {
    // Ya-phala after a letter with no half form, and द्य, with a halant.
    for (const char* letter : {"5", "6", "7", "8", "9", "\xAA"})
        bytes = Habit(bytes, std::string(letter) + "\xD8", std::string(letter) + "\\o", random, 50);
    bytes = Habit(bytes, "B", "b\\o", random, 50);
    // The half forms of घ झ फ live in the high bytes.
    bytes = Habit(bytes, "\xA3", "3\\", random, 50);
    bytes = Habit(bytes, "\x89", "em\\", random, 50);
    bytes = Habit(bytes, "\x88", "km\\", random, 50);
    bytes = Habit(bytes, "/'", "?", random, 100);
    return Habit(bytes, "<", "?", random, 80);
}

struct Rate {
    int paragraphs = 0;
    int exact = 0;
    size_t edits = 0;
    size_t characters = 0;

    void Add(const std::string& meant, const std::string& got) {
        ++paragraphs;
        if (got == meant) ++exact;
        const std::u32string m = bench::Decode(meant);
        edits += EditDistance(bench::Decode(got), m);
        characters += m.size();
    }

    void Print(const char* name) const {
        std::printf("%-12s %5d paragraphs  exact %5.1f%%  character error rate %.3f%%\n", name,
                    paragraphs, 100.0 * exact / std::max(paragraphs, 1),
                    100.0 * static_cast<double>(edits) /
                        static_cast<double>(std::max<size_t>(characters, 1)));
    }
};

}  // namespace

int main(int argc, char** argv) {
    std::string dic = "/usr/share/hunspell/ne_NP.dic";
    int paragraphs = 1000;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--dic" && i + 1 < argc) {
            dic = argv[++i];
        } else if (arg == "--paragraphs" && i + 1 < argc) {
            paragraphs = std::max(1, std::atoi(argv[++i]));
        } else {
            std::fprintf(stderr,
                         "usage: kovelin-convert-rates [--dic FILE.dic] [--paragraphs N]\n");
            return 2;
        }
    }
    const bench::WordList list = bench::ReadWordList(dic);
    if (list.words.empty()) {
        std::fprintf(stderr, "kovelin-convert-rates: cannot read %s\n", dic.c_str());
        return 1;
    }
    std::mt19937 random(98);
    Rate typed;
    Rate written;
    for (int p = 0; p < paragraphs; ++p) {
        const std::string meant = Paragraph(list.words, random);
        const std::optional<std::string> bytes = preeti::FromUnicode(meant);
        if (!bytes) continue;
        written.Add(meant, preeti::ToUnicode(*bytes));
        typed.Add(meant, preeti::ToUnicode(AsTyped(*bytes, random)));
    }
    typed.Print("as typed");
    written.Print("as written");
    return 0;
}
