// SPDX-License-Identifier: GPL-3.0-or-later
// htmldump: loads an HTML document into an HTMLLabel and prints what the
// component made of it, for checking documents by eye and in scripts.
//
// Usage: htmldump [--anchors] [--scroll] [--tooltips] [--no-underline]
//                 [--font NAME] [--fixed] [--size POINTS] [--backcolor HEX]
//                 [--padding N] [--spacing N] [--layout WxH] [--png FILE] [FILE]
//   FILE absent or "-": the document is read from standard input.
//   --anchors    switch EnableAnchors on before loading (a new component has
//                it off, and then collects no anchors).
//   --scroll, --tooltips  switch EnableScroll and EnableTooltips on;
//   --no-underline        switch UnderlineLinks off.
//   --font, --size, --backcolor  set DefaultFontName, DefaultFontSize and
//                BackColor before loading (defaults "Arial", 10, 8000000F).
//   --fixed      the default font is the fixed-metrics test face.
//   --padding, --spacing  set DefaultPadding and DefaultSpacing (4 each).
//   --layout WxH lays the document out for a viewport of W x H pixels (both
//                passes) and adds the layout fields and the content size.
//   --png FILE   writes the off-screen picture (implies --layout 361x367
//                when no size is given).
//
// Output, one item per line, in this order:
//   text: "<normalised document text>"
//   elements: N
//   then N element lines:
//     I TAGNAME(VALUE) Text="..." [FIELD=VALUE ...] Parent=P SiblingIndex=S
//       ChildCount=C Children=[a,b,...]
//   (one line per element; wrapped here only). FIELD=VALUE pairs appear only
//   for fields that differ from a fresh record, in this order: IsTag (only
//   when it disagrees with the tag identifier), NoSpaceBefore, Words, Name,
//   HasBgColor, FontFace, FontSize, Color, Href, Title, Top, Left, Bottom,
//   Right, AlignCenter, AlignRight, Src, Alt, ImgWidth, ImgHeight, HSpace,
//   VSpace, WidthSpec, HeightSpec, Border, CellPadding, CellSpacing, ColSpan,
//   VAlign, BgColor.
//   then the document state:
//     TextColor=0xXXXXXXXX
//     LinkColor=0xXXXXXXXX
//     DocBackColor=0xXXXXXXXX
//     BackgroundImage="..."
//     BodyIndex=N
//     DocumentTitle="..."
//     Anchors=[a,b,...]
//   and with --layout:
//     ContentWidth=N ContentHeight=N Picture=WxH
//     then one line per table and per cell, in drawing order (a table when
//     it opens, the cells of a row when the row ends), with the rectangle
//     of its frame lines as the drawing pass placed it:
//     Table I Left=L Top=T Right=R Bottom=B
//     Cell I Left=L Top=T Right=R Bottom=B
//   Element lines then also carry, when not 0 or false: Indent, IsNumbered,
//   ItemNumber, ComputedWidth, MeasuredHeight, RowHeight (after BgColor).
//
// Strings are in double quotes; a backslash, a double quote, control bytes
// and bytes from 0x7F up are written as \\, \", and \xHH, so Preeti text
// stays one line of ASCII. Flags print as true; colours as eight hex digits
// (0x00BBGGRR, system colours with the high bit set); floats in their
// shortest exact form (17.2).
//
// Exit status: 0 after printing, 2 for a bad option or an unreadable file.
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "controls/html_label/html_label.h"
#include "controls/html_label/html_picture.h"
#include "platform/dc.h"
#include "platform/text.h"
#include "platform/text/font_engine.h"

namespace {

using html_label::HTMLElement;
using html_label::HTMLLabel;

std::string Quote(std::string_view s) {
    std::string out = "\"";
    for (char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '"') {
            out += "\\\"";
        } else if (c < 0x20 || c >= 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string Hex(uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", v);
    return buf;
}

std::string Float(float v) {
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

template <class Range>
std::string List(const Range& items) {
    std::string out = "[";
    bool first = true;
    for (const auto& item : items) {
        if (!first) out += ",";
        first = false;
        if constexpr (std::is_convertible_v<decltype(item), std::string_view>) {
            out += Quote(item);
        } else {
            out += std::to_string(item);
        }
    }
    return out + "]";
}

std::string ElementLine(const HTMLLabel& label, const HTMLElement& e) {
    const HTMLElement fresh;
    const auto text = [&](html_label::TextRef ref) { return Quote(label.View(ref)); };
    const std::vector<std::string_view> words = label.Words(e);
    std::ostringstream o;
    o << e.Index << ' ' << html_label::TagIDName(e.TagID) << '(' << static_cast<int32_t>(e.TagID)
      << ") Text=" << text(e.Text);
    auto field = [&](const char* name, const std::string& value) {
        o << ' ' << name << '=' << value;
    };
    if (e.IsTag != (e.TagID != html_label::tagText)) field("IsTag", e.IsTag ? "true" : "false");
    if (e.NoSpaceBefore) field("NoSpaceBefore", "true");
    if (!words.empty()) field("Words", List(words));
    if (!e.Name.empty()) field("Name", text(e.Name));
    if (e.HasBgColor) field("HasBgColor", "true");
    if (!e.FontFace.empty()) field("FontFace", text(e.FontFace));
    if (e.FontSize != fresh.FontSize) field("FontSize", Float(e.FontSize));
    if (e.Color != fresh.Color) field("Color", Hex(e.Color));
    if (!e.Href.empty()) field("Href", text(e.Href));
    if (!e.Title.empty()) field("Title", text(e.Title));
    if (e.Top != 0) field("Top", std::to_string(e.Top));
    if (e.Left != 0) field("Left", std::to_string(e.Left));
    if (e.Bottom != 0) field("Bottom", std::to_string(e.Bottom));
    if (e.Right != 0) field("Right", std::to_string(e.Right));
    if (e.AlignCenter) field("AlignCenter", "true");
    if (e.AlignRight) field("AlignRight", "true");
    if (!e.Src.empty()) field("Src", text(e.Src));
    if (!e.Alt.empty()) field("Alt", text(e.Alt));
    if (e.ImgWidth != 0) field("ImgWidth", std::to_string(e.ImgWidth));
    if (e.ImgHeight != 0) field("ImgHeight", std::to_string(e.ImgHeight));
    if (e.HSpace != 0) field("HSpace", std::to_string(e.HSpace));
    if (e.VSpace != 0) field("VSpace", std::to_string(e.VSpace));
    if (e.WidthSpec != fresh.WidthSpec) field("WidthSpec", Float(e.WidthSpec));
    if (e.HeightSpec != fresh.HeightSpec) field("HeightSpec", Float(e.HeightSpec));
    if (e.Border != 0) field("Border", std::to_string(e.Border));
    if (e.CellPadding != 0) field("CellPadding", std::to_string(e.CellPadding));
    if (e.CellSpacing != 0) field("CellSpacing", std::to_string(e.CellSpacing));
    if (e.ColSpan != 0) field("ColSpan", std::to_string(e.ColSpan));
    if (e.VAlign != 0) field("VAlign", std::to_string(e.VAlign));
    if (e.BgColor != fresh.BgColor) field("BgColor", Hex(e.BgColor));
    if (e.Indent != 0) field("Indent", std::to_string(e.Indent));
    if (e.IsNumbered) field("IsNumbered", "true");
    if (e.ItemNumber != 0) field("ItemNumber", std::to_string(e.ItemNumber));
    if (e.ComputedWidth != 0) field("ComputedWidth", std::to_string(e.ComputedWidth));
    if (e.MeasuredHeight != 0) field("MeasuredHeight", std::to_string(e.MeasuredHeight));
    if (e.RowHeight != 0) field("RowHeight", std::to_string(e.RowHeight));
    o << " Parent=" << e.Parent << " SiblingIndex=" << e.SiblingIndex
      << " ChildCount=" << e.ChildCount << " Children=" << List(label.Children(e));
    return o.str();
}

int Usage() {
    std::cerr << "usage: htmldump [--anchors] [--scroll] [--tooltips] [--no-underline] "
                 "[--font NAME] [--fixed] [--size POINTS] [--backcolor HEX] [--padding N] "
                 "[--spacing N] [--layout WxH] [--png FILE] [FILE]\n";
    return 2;
}

// A whole decimal number that fits 16 bits.
bool ParseInt16(const char* v, int16_t& out) {
    if (v == nullptr) return false;
    const std::string_view s(v);
    int value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size() || value < -32768 || value > 32767) {
        return false;
    }
    out = static_cast<int16_t>(value);
    return true;
}

// "WxH" with both sides from 1 to the largest surface.
bool ParseSize(const char* v, int32_t& w, int32_t& h) {
    if (v == nullptr) return false;
    const std::string_view s(v);
    const size_t x = s.find('x');
    if (x == std::string_view::npos) return false;
    const auto [e1, c1] = std::from_chars(s.data(), s.data() + x, w);
    const auto [e2, c2] = std::from_chars(s.data() + x + 1, s.data() + s.size(), h);
    return c1 == std::errc() && c2 == std::errc() && e1 == s.data() + x &&
           e2 == s.data() + s.size() && w > 0 && h > 0 && w <= platform::kMaxSurfaceSide &&
           h <= platform::kMaxSurfaceSide;
}

}  // namespace

int main(int argc, char** argv) {
    HTMLLabel label;
    std::string path = "-";
    std::string png;
    int32_t view_width = 0;
    int32_t view_height = 0;
    for (int k = 1; k < argc; ++k) {
        const std::string arg = argv[k];
        auto next = [&]() -> const char* { return k + 1 < argc ? argv[++k] : nullptr; };
        if (arg == "--anchors") {
            label.SetEnableAnchors(true);
        } else if (arg == "--scroll") {
            label.SetEnableScroll(true);
        } else if (arg == "--tooltips") {
            label.SetEnableTooltips(true);
        } else if (arg == "--no-underline") {
            label.SetUnderlineLinks(false);
        } else if (arg == "--fixed") {
            (void)label.SetDefaultFontName(platform::kTestFontName);
        } else if (arg == "--padding" || arg == "--spacing") {
            int16_t v = 0;
            if (!ParseInt16(next(), v)) return Usage();
            if (arg == "--padding") {
                label.SetDefaultPadding(v);
            } else {
                label.SetDefaultSpacing(v);
            }
        } else if (arg == "--layout") {
            if (!ParseSize(next(), view_width, view_height)) return Usage();
        } else if (arg == "--png") {
            const char* v = next();
            if (v == nullptr) return Usage();
            png = v;
        } else if (arg == "--font") {
            const char* v = next();
            if (v == nullptr) return Usage();
            (void)label.SetDefaultFontName(v);
        } else if (arg == "--size") {
            const char* v = next();
            if (v == nullptr) return Usage();
            char* end = nullptr;
            const float size = std::strtof(v, &end);
            if (end == v || *end != '\0') return Usage();
            (void)label.SetDefaultFontSize(size);
        } else if (arg == "--backcolor") {
            const char* v = next();
            if (v == nullptr) return Usage();
            char* end = nullptr;
            const unsigned long c = std::strtoul(v, &end, 16);
            if (end == v || *end != '\0' || c > 0xFFFFFFFFul) return Usage();
            (void)label.SetBackColor(static_cast<platform::Color>(c));
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            return Usage();
        } else {
            path = arg;
        }
    }

    std::string html;
    FILE* in = path == "-" ? stdin : std::fopen(path.c_str(), "rb");
    if (in == nullptr) {
        std::cerr << "htmldump: cannot read " << path << "\n";
        return 2;
    }
    char buf[65536];
    size_t got = 0;
    while ((got = std::fread(buf, 1, sizeof buf, in)) > 0) html.append(buf, got);
    const bool failed = std::ferror(in) != 0;
    if (in != stdin) std::fclose(in);
    if (failed) {
        std::cerr << "htmldump: cannot read " << path << "\n";
        return 2;
    }

    // Loading never rejects a document; only a refresh could fail, and there
    // is no window here to refresh.
    (void)label.LoadDocument(html);

    if (!png.empty() && view_width == 0) {
        view_width = 361;
        view_height = 367;
    }
    html_label::HTMLPicture picture;
    std::vector<html_label::TableBox> tables;
    if (view_width > 0) {
        platform::text::InstallFontEngine();
        platform::Surface screen(1, 1);
        const platform::DC reference(screen);
        picture.layout().RecordTableBoxes(&tables);
        picture.Render(label, reference, view_width, view_height);
        picture.layout().RecordTableBoxes(nullptr);
    }

    std::ostringstream out;
    out << "text: " << Quote(label.DocumentHTML()) << "\n";
    out << "elements: " << label.ElementCount() << "\n";
    for (const HTMLElement& e : label.Elements()) out << ElementLine(label, e) << "\n";
    out << "TextColor=" << Hex(label.TextColor()) << "\n";
    out << "LinkColor=" << Hex(label.LinkColor()) << "\n";
    out << "DocBackColor=" << Hex(label.DocBackColor()) << "\n";
    out << "BackgroundImage=" << Quote(label.BackgroundImage()) << "\n";
    out << "BodyIndex=" << label.BodyIndex() << "\n";
    out << "DocumentTitle=" << Quote(label.DocumentTitle()) << "\n";
    out << "Anchors=" << List(label.Anchors()) << "\n";
    if (view_width > 0) {
        out << "ContentWidth=" << label.ContentWidth() << " ContentHeight=" << label.ContentHeight()
            << " Picture=" << picture.width() << 'x' << picture.height() << "\n";
        for (const html_label::TableBox& b : tables) {
            out << (b.cell ? "Cell " : "Table ") << b.element << " Left=" << b.left
                << " Top=" << b.top << " Right=" << b.right << " Bottom=" << b.bottom << "\n";
        }
    }
    std::cout << out.str();
    if (!png.empty()) {
        if (auto written = picture.surface().WritePng(png); !written.ok()) {
            std::cerr << "htmldump: cannot write " << png << "\n";
            return 2;
        }
    }
    return 0;
}
