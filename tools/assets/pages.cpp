// SPDX-License-Identifier: GPL-3.0-or-later
// The page documents (data/pages/*.html) rendered to the page pictures by
// the HTML label, as the program's own pane would lay them out.
//
// The documents are written in Unicode. Their text becomes Preeti bytes
// here, since the label's default face is the Preeti face "OrvSoft"; text
// inside a <font> whose face is not a Preeti face (Latin words, signs the
// Preeti font has no glyph for) becomes Windows-1252 bytes. A character the
// encoding cannot express stops the build with its place in the file.
#include <cstdio>
#include <fstream>
#include <sstream>

#include "assets.h"
#include "controls/html_label/html_label.h"
#include "controls/html_label/html_picture.h"
#include "platform/preeti/preeti.h"

namespace assets {

namespace {

// The page picture's width: the panel less its scroll bar.
constexpr int32_t kPageWidth = 566;
// The tallest page whose scroll range still fits 16 bits in twips:
// (32767 + 6165 - 420) / 15.
constexpr int32_t kTallestPage = 2567;

bool IsPreetiFace(std::string_view tag) {
    std::string lower;
    for (char c : tag) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const size_t face = lower.find("face");
    if (face == std::string::npos) return true;  // a font without a face keeps the default
    return lower.find("orv", face) != std::string::npos;
}

void Escape(std::string_view bytes, std::string& out) {
    for (char c : bytes) {
        if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '&')
            out += "&amp;";
        else
            out += c;
    }
}

// The document with its Nepali text in Preeti bytes; empty with `error`
// set when some text cannot be expressed.
std::string ToProgramHtml(const std::string& source, std::string& error) {
    std::string out;
    std::vector<bool> preeti_faces{true};
    size_t i = 0;
    while (i < source.size()) {
        if (source[i] == '<') {
            const size_t end =
                source.compare(i, 4, "<!--") == 0 ? source.find("-->", i) + 2 : source.find('>', i);
            if (end == std::string::npos || end < i) {
                error = "unclosed tag at byte " + std::to_string(i);
                return {};
            }
            const std::string_view tag(source.data() + i, end - i + 1);
            if (tag.size() > 5 && (tag[1] == 'f' || tag[1] == 'F') &&
                (tag.substr(1, 4) == "font" || tag.substr(1, 4) == "FONT"))
                preeti_faces.push_back(IsPreetiFace(tag));
            else if ((tag.substr(0, 6) == "</font" || tag.substr(0, 6) == "</FONT") &&
                     preeti_faces.size() > 1)
                preeti_faces.pop_back();
            out += tag;
            i = end + 1;
            continue;
        }
        const size_t next = std::min(source.find('<', i), source.size());
        const std::string_view text(source.data() + i, next - i);
        if (!preeti_faces.back()) {
            // Latin text and signs: the faces take Windows-1252 bytes.
            const std::optional<std::string> bytes = preeti::Utf8ToCp1252(text, true);
            if (!bytes) {
                error = "text outside Windows-1252 at byte " + std::to_string(i);
                return {};
            }
            out += *bytes;
        } else {
            // Entities (&nbsp; and the markup characters) stay as written;
            // the text between them becomes Preeti bytes.
            size_t at = 0;
            while (at < text.size()) {
                const size_t amp = std::min(text.find('&', at), text.size());
                const std::string_view piece = text.substr(at, amp - at);
                size_t bad = 0;
                const std::optional<std::string> bytes = preeti::FromUnicode(piece, &bad);
                if (!bytes) {
                    error = "text the Preeti encoding cannot hold at byte " +
                            std::to_string(i + at + bad);
                    return {};
                }
                Escape(*bytes, out);
                if (amp == text.size()) break;
                const size_t semi = text.find(';', amp);
                if (semi == std::string_view::npos || semi - amp > 8) {
                    error = "a lone & at byte " + std::to_string(i + amp);
                    return {};
                }
                out += text.substr(amp, semi - amp + 1);
                at = semi + 1;
            }
        }
        i = next;
    }
    return out;
}

// The page picture of `html` drawn at `scale`, as the label lays it out at
// scale 1.
html_label::HTMLPicture RenderPage(const std::string& html, int32_t scale) {
    html_label::HTMLLabel label;
    (void)label.SetDefaultFontName("OrvSoft");
    (void)label.SetDefaultFontSize(12);
    (void)label.SetBackColor(Rgb(0xFF, 0xFC, 0xF5));
    label.SetDefaultPadding(22);
    label.SetDefaultSpacing(6);
    (void)label.LoadDocument(html);
    platform::Surface reference = platform::Surface::AtScale(1, 1, scale);
    const platform::DC dc(reference);
    html_label::HTMLPicture picture;
    picture.Render(label, dc, kPageWidth, 383);
    return picture;
}

bool WritePage(const std::string& source_path, const std::string& name, Output& out) {
    std::ifstream in(source_path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "kovelin-assets: cannot read %s\n", source_path.c_str());
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    std::string error;
    const std::string html = ToProgramHtml(text.str(), error);
    if (!error.empty()) {
        std::fprintf(stderr, "kovelin-assets: %s: %s\n", source_path.c_str(), error.c_str());
        return false;
    }
    const html_label::HTMLPicture plain = RenderPage(html, 1);
    const int32_t height = plain.height();
    if (height > kTallestPage) {
        std::fprintf(stderr, "kovelin-assets: %s is %d pixels tall; a page holds at most %d\n",
                     source_path.c_str(), height, kTallestPage);
        return false;
    }
    return out.Artwork(
        name,
        [&](int32_t scale) {
            return scale == 1 ? plain.surface() : RenderPage(html, scale).surface();
        },
        Output::Format::kPng);
}

}  // namespace

bool WritePages(const std::string& pages, Output& out) {
    bool ok = true;
    for (int k = 0; k < 6; ++k) {
        const std::string n = std::to_string(k);
        ok &= WritePage(pages + "s" + n + ".html", "s" + n + ".dat", out);
    }
    ok &= WritePage(pages + "op.html", "op.dat", out);
    // The published works pictures, at the same width as the pages.
    ok &= WritePage(pages + "k0.html", "k0.dat", out);
    ok &= WritePage(pages + "k1.html", "k1.dat", out);
    return ok;
}

}  // namespace assets
