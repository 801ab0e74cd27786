// SPDX-License-Identifier: GPL-3.0-or-later
// kovelin-inkscan FONT WORDLIST [COUNT]
//
// Shapes every word of a word list (one word a line, UTF-8; a hunspell .dic
// file works: the count line and the "/flags" are skipped) the way the
// program draws it, through Preeti bytes and back, in a font file, and
// prints the COUNT words whose ink reaches highest above the baseline and
// lowest below it, in font units. The Preeti faces' line metrics are made
// from the extremes a real word list reaches; this tool finds them.
#include <hb.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/preeti/preeti.h"
#include "platform/text/preeti_fit.h"

namespace {

struct Ink {
    int top = 0;
    int bottom = 0;
};

Ink Measure(hb_font_t* font, const std::string& utf8) {
    const platform::text::ShapedDevanagari shaped(font, utf8);
    const unsigned int count = shaped.count();
    const hb_glyph_info_t* info = shaped.infos();
    const hb_glyph_position_t* pos = shaped.positions();
    Ink ink;
    for (unsigned int i = 0; i < count; ++i) {
        hb_glyph_extents_t e{};
        if (!hb_font_get_glyph_extents(font, info[i].codepoint, &e) || e.height == 0) continue;
        ink.top = std::max(ink.top, pos[i].y_offset + e.y_bearing);
        ink.bottom = std::min(ink.bottom, pos[i].y_offset + e.y_bearing + e.height);
    }
    return ink;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: kovelin-inkscan FONT WORDLIST [COUNT]\n");
        return 2;
    }
    const size_t show = argc > 3 ? static_cast<size_t>(std::max(1, std::atoi(argv[3]))) : 10;
    hb_blob_t* blob = hb_blob_create_from_file_or_fail(argv[1]);
    if (blob == nullptr) {
        std::fprintf(stderr, "kovelin-inkscan: cannot read %s\n", argv[1]);
        return 2;
    }
    hb_face_t* face = hb_face_create(blob, 0);
    hb_font_t* font = hb_font_create(face);
    std::ifstream in(argv[2]);
    if (!in) {
        std::fprintf(stderr, "kovelin-inkscan: cannot read %s\n", argv[2]);
        return 2;
    }
    std::vector<std::pair<Ink, std::string>> words;
    std::string line;
    size_t skipped = 0;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        line = line.substr(0, line.find('/'));
        if (line.empty() || !preeti::HasDevanagari(line)) continue;
        // What the program shows is the word as Preeti bytes, drawn back.
        const std::optional<std::string> bytes = preeti::FromUnicode(line);
        if (!bytes) {
            ++skipped;
            continue;
        }
        words.emplace_back(Measure(font, preeti::ToUnicode(*bytes, preeti::UnicodeFor::kDrawing)),
                           line);
    }
    std::printf("font %s: %u units an em; %zu words (%zu not expressible in Preeti)\n", argv[1],
                hb_face_get_upem(face), words.size(), skipped);
    auto print = [&](const char* title, auto key) {
        std::stable_sort(words.begin(), words.end(),
                         [&](const auto& a, const auto& b) { return key(a.first) > key(b.first); });
        std::printf("%s\n", title);
        for (size_t i = 0; i < std::min(show, words.size()); ++i) {
            std::printf("  %6d  %6d  %s\n", words[i].first.top, words[i].first.bottom,
                        words[i].second.c_str());
        }
    };
    print("highest (top, bottom, word):", [](const Ink& i) { return i.top; });
    print("lowest (top, bottom, word):", [](const Ink& i) { return -i.bottom; });
    hb_font_destroy(font);
    hb_face_destroy(face);
    hb_blob_destroy(blob);
    return 0;
}
