// SPDX-License-Identifier: GPL-3.0-or-later
// buttongallery: paints every ButtonType (1 to 14) in every colour scheme
// (1 to 4) and drawing state (normal, hover, pressed, focused, disabled,
// and the host's default button with the focus) onto one labelled PNG
// sheet, through the same painter and window shapes the button uses; then
// rows of buttons with pictures and with the special effects.
//
//   buttongallery [--out FILE] [--caption TEXT] [--font NAME]
//                 [--font-size PT] [--bold] [--width W] [--height H]
//
// The caption is UTF-8; in a Preeti face ("OrvPreeti", "OrvSoft") it is
// converted to Preeti bytes, and "&" marks the access key.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "controls/skin_button/button_picture.h"
#include "controls/skin_button/sample_look.h"
#include "platform/preeti/preeti.h"
#include "platform/text.h"
#include "platform/text/font_engine.h"

namespace {

using namespace skin_button;
using platform::Color;
using platform::Rgb;

struct Options {
    std::string out = "button-gallery.png";
    std::string caption = "खोज्नुहोस्";
    std::string font = "OrvPreeti";
    float font_size = 12.0f;
    bool bold = false;
    int32_t width = 100;
    int32_t height = 30;
};

// The sheet's own colours; scheme 4 buttons take the sheet as their parent.
constexpr Color kSheet = Rgb(236, 233, 216);
constexpr Color kLabel = Rgb(40, 40, 40);
constexpr Color kRule = Rgb(200, 196, 180);

// Scheme 2's colour properties on the sheet: a pale blue face that
// lightens under the pointer, dark blue text that turns red.
constexpr Color kCustomBack = Rgb(176, 204, 232);
constexpr Color kCustomOver = Rgb(204, 224, 244);
constexpr Color kCustomFore = Rgb(0, 40, 96);
constexpr Color kCustomForeOver = Rgb(150, 0, 0);

const char* const kTypeNames[] = {"",
                                  "1 framed",
                                  "2 classic 3D",
                                  "3 blue gradient",
                                  "4 rounded light",
                                  "5 soft flat",
                                  "6 light bevel",
                                  "7 thin edge",
                                  "8 edge on hover",
                                  "9 select on hover",
                                  "10 picture only",
                                  "11 see-through",
                                  "12 3D on hover",
                                  "13 ellipse",
                                  "14 gradient"};
const char* const kSchemeNames[] = {"", "1 system", "2 custom", "3 grey", "4 parent"};

struct StateColumn {
    const char* name;
    int32_t state;
    bool hovering;
    bool focus;
    bool enabled;
    bool is_default;
};
constexpr StateColumn kColumns[] = {
    {"normal", kStateUp, false, false, true, false},
    {"hover", kStateUp, true, false, true, false},
    {"pressed", kStateDown, true, false, true, false},
    {"focused", kStateUp, false, true, true, false},
    {"disabled", kStateUp, false, false, false, false},
    {"default + focus", kStateUp, false, true, true, true},
};

// Style 11 shows what lies behind it: here a striped backdrop, kept in an
// off-screen picture made for the sheet's context.
class Backdrop : public FaceHooks {
  public:
    Backdrop(const platform::DC& sheet, int32_t w, int32_t h)
        : pixels_(sheet.CreateCompatibleSurface(w, h, kSheet)) {
        platform::DC dc(pixels_);
        for (int32_t x = -h; x < w; x += 6) {
            dc.SetPen({platform::PenStyle::kSolid, 2, Rgb(214, 206, 178)});
            dc.MoveTo(x, h);
            dc.LineTo(x + h, 0);
        }
    }
    void DrawBackground(platform::DC& dc, const FaceLook& look) override {
        platform::DC src(pixels_);
        dc.BitBlt(0, 0, look.width, look.height, src, 0, 0);
    }

  private:
    platform::Surface pixels_;
};

// The rows of pictures and effects, all in the six state columns.
struct ArtRow {
    const char* name;
    int32_t type;
    int32_t scheme;
    int32_t effect;
    bool greyscale;
    bool over;  // a picture of its own under the pointer
};
constexpr ArtRow kArtRows[] = {
    {"2 picture", 2, 1, 0, false, true},
    {"2 greyscale", 2, 1, 0, true, false},
    {"3 picture", 3, 1, 0, false, false},
    {"5 picture", 5, 2, 0, false, true},
    {"9 picture", 9, 1, 0, false, false},
    {"12 picture", 12, 3, 0, false, false},
    {"14 picture", 14, 2, 0, false, false},
    {"2 raised", 2, 1, kEffectRaised, false, false},
    {"2 sunken", 2, 1, kEffectSunken, false, false},
    {"2 shadow", 2, 1, kEffectShadow, false, false},
    {"9 raised", 9, 1, kEffectRaised, false, false},
    {"14 shadow", 14, 2, kEffectShadow, false, false},
};
constexpr int32_t kArtPicture = 20;
constexpr Color kMaskGrey = Rgb(0xC0, 0xC0, 0xC0);

// The sample picture: a round arrow sign on the mask colour, in `fill`.
platform::PictureRef ArrowSign(const platform::DC& sheet, Color fill) {
    platform::Surface pixels = sheet.CreateCompatibleSurface(kArtPicture, kArtPicture, kMaskGrey);
    platform::DC dc(pixels);
    dc.SetPen(
        {platform::PenStyle::kSolid, 1,
         Rgb(platform::RedOf(fill) / 2, platform::GreenOf(fill) / 2, platform::BlueOf(fill) / 2)});
    dc.SetBrush({false, fill});
    dc.Ellipse({1, 1, 19, 19});
    dc.SetPen({platform::PenStyle::kSolid, 1, Rgb(255, 255, 255)});
    dc.SetBrush({false, Rgb(255, 255, 255)});
    dc.Polygon({{6, 7}, {11, 7}, {11, 4}, {16, 10}, {11, 16}, {11, 13}, {6, 13}});
    return std::make_shared<platform::Picture>(std::move(pixels), platform::PictureKind::kBitmap);
}

bool ParseArgs(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        auto next = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        const char* v = nullptr;
        if (a == "--bold") {
            o.bold = true;
            continue;
        }
        if (a == "--help" || a == "-h") return false;
        if (!(v = next())) return false;
        if (a == "--out") {
            o.out = v;
        } else if (a == "--caption") {
            o.caption = v;
        } else if (a == "--font") {
            o.font = v;
        } else if (a == "--font-size") {
            o.font_size = std::strtof(v, nullptr);
        } else if (a == "--width") {
            o.width = std::atoi(v);
        } else if (a == "--height") {
            o.height = std::atoi(v);
        } else {
            return false;
        }
    }
    return o.width > 0 && o.height > 0 && o.width <= 1000 && o.height <= 400 && o.font_size > 0;
}

std::string CaptionBytes(const Options& o) {
    if (platform::IsPreetiFaceName(o.font)) {
        if (auto bytes = preeti::FromUnicode(o.caption)) return *bytes;
        return o.caption;
    }
    if (auto bytes = preeti::Utf8ToCp1252(o.caption)) return *bytes;
    return o.caption;
}

// One sample of the sheet: the gallery's caption, font and custom colours
// in one style, scheme and state column.
SampleButton GallerySample(const Options& o, const std::string& caption, int32_t type,
                           int32_t scheme, int32_t height, const StateColumn& column) {
    SampleButton b;
    b.button_type = type;
    b.scheme = scheme;
    b.width = o.width;
    b.height = height;
    b.caption = caption;
    b.font.name = o.font;
    b.font.size = o.font_size;
    b.font.bold = o.bold;
    b.back_color = kCustomBack;
    b.back_over = kCustomOver;
    b.fore_color = kCustomFore;
    b.fore_over = kCustomForeOver;
    b.hovering = column.hovering;
    b.has_focus = column.focus;
    b.enabled = column.enabled;
    b.is_default = column.is_default;
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!ParseArgs(argc, argv, o)) {
        std::cerr << "usage: buttongallery [--out FILE] [--caption TEXT] [--font NAME]\n"
                     "                     [--font-size PT] [--bold] [--width W] [--height H]\n";
        return 2;
    }
    platform::text::InstallFontEngine();

    platform::FontDesc label_font;
    label_font.name = "Arial";
    label_font.size = 9;
    platform::FontDesc title_font = label_font;
    title_font.bold = true;
    title_font.size = 10;

    constexpr int32_t kMargin = 14;
    constexpr int32_t kTypeColumn = 116;
    constexpr int32_t kSchemeColumn = 62;
    const int32_t cell_w = o.width + 14;
    const int32_t cell_h = o.height + 8;
    const int32_t group_gap = 8;
    const int32_t header_h = 34;
    const int32_t columns = static_cast<int32_t>(std::size(kColumns));
    const int32_t sheet_w = kMargin * 2 + kTypeColumn + kSchemeColumn + cell_w * columns;
    const int32_t art_h = o.height + 10;  // room for a picture beside the caption
    const int32_t art_cell_h = art_h + 8;
    const int32_t art_rows = static_cast<int32_t>(std::size(kArtRows));
    const int32_t sheet_h = kMargin * 2 + header_h + 14 * (4 * cell_h + group_gap) + header_h +
                            art_rows * art_cell_h + group_gap;

    platform::Surface sheet(sheet_w, sheet_h, kSheet);
    platform::DC dc(sheet);
    dc.SetBkMode(platform::BkMode::kTransparent);
    dc.SetTextColor(kLabel);

    dc.SetFont(title_font);
    const std::string title = "Button styles 1-14 x colour schemes 1-4: " + o.font + " " +
                              std::to_string(static_cast<int>(o.font_size + 0.5f)) + " pt, " +
                              std::to_string(o.width) + " x " + std::to_string(o.height);
    dc.TextOut(kMargin, kMargin - 4, title);
    dc.SetFont(label_font);
    const int32_t grid_left = kMargin + kTypeColumn + kSchemeColumn;
    for (int32_t c = 0; c < columns; ++c) {
        platform::Rect r =
            platform::Rect::FromXYWH(grid_left + c * cell_w, kMargin + 14, cell_w, header_h - 14);
        dc.DrawText(kColumns[c].name, r,
                    platform::DT_CENTER | platform::DT_VCENTER | platform::DT_SINGLELINE |
                        platform::DT_NOPREFIX);
    }

    const std::string caption = CaptionBytes(o);
    Backdrop backdrop(dc, o.width, o.height);
    int32_t y = kMargin + header_h;
    for (int32_t type = 1; type <= 14; ++type) {
        dc.FillRect({kMargin, y - group_gap / 2 - 1, sheet_w - kMargin, y - group_gap / 2}, kRule);
        platform::Rect name = platform::Rect::FromXYWH(kMargin, y, kTypeColumn, 4 * cell_h);
        dc.SetFont(title_font);
        dc.DrawText(kTypeNames[type], name,
                    platform::DT_VCENTER | platform::DT_SINGLELINE | platform::DT_NOPREFIX);
        dc.SetFont(label_font);
        for (int32_t scheme = 1; scheme <= 4; ++scheme) {
            platform::Rect label =
                platform::Rect::FromXYWH(kMargin + kTypeColumn, y, kSchemeColumn, cell_h);
            dc.DrawText(kSchemeNames[scheme], label,
                        platform::DT_VCENTER | platform::DT_SINGLELINE | platform::DT_NOPREFIX);
            for (int32_t c = 0; c < columns; ++c) {
                SampleButton b = GallerySample(o, caption, type, scheme, o.height, kColumns[c]);
                b.parent_back = kSheet;
                b.parent_text = kLabel;
                auto look = MakeSampleLook(b);
                if (!look) continue;
                const int32_t bx = grid_left + c * cell_w + (cell_w - o.width) / 2;
                const int32_t by = y + (cell_h - o.height) / 2;
                // The button paints only inside its window shape.
                platform::DC cell(sheet, {bx, by},
                                  BuildRegion(type, o.width, o.height).offset(bx, by));
                PaintFace(cell, look.value(), kColumns[c].state, &backdrop);
            }
            y += cell_h;
        }
        y += group_gap;
    }

    // Pictures and effects.
    dc.FillRect({kMargin, y - group_gap / 2 - 1, sheet_w - kMargin, y - group_gap / 2}, kRule);
    dc.SetFont(title_font);
    dc.TextOut(kMargin, y + 10, "Pictures (left of the caption) and special effects");
    dc.SetFont(label_font);
    y += header_h;
    ButtonArt art;
    const platform::PictureRef normal = ArrowSign(dc, Rgb(0x1E, 0x7A, 0x6E));
    const platform::PictureRef over = ArrowSign(dc, Rgb(0xD0, 0x60, 0x20));
    for (const ArtRow& row : kArtRows) {
        platform::Rect name = platform::Rect::FromXYWH(kMargin, y, kTypeColumn, art_cell_h);
        dc.DrawText(row.name, name,
                    platform::DT_VCENTER | platform::DT_SINGLELINE | platform::DT_NOPREFIX);
        platform::Rect scheme_label =
            platform::Rect::FromXYWH(kMargin + kTypeColumn, y, kSchemeColumn, art_cell_h);
        dc.DrawText(kSchemeNames[row.scheme], scheme_label,
                    platform::DT_VCENTER | platform::DT_SINGLELINE | platform::DT_NOPREFIX);
        art.settings.normal = normal;
        art.settings.over = row.over ? over : nullptr;
        art.settings.use_greyscale = row.greyscale;
        art.settings.special_effect = row.effect;
        art.settings.background = nullptr;
        for (int32_t c = 0; c < columns; ++c) {
            SampleButton b = GallerySample(o, caption, row.type, row.scheme, art_h, kColumns[c]);
            b.picture = {kArtPicture, kArtPicture};
            auto look = MakeSampleLook(b);
            if (!look) continue;
            const int32_t bx = grid_left + c * cell_w + (cell_w - o.width) / 2;
            const int32_t by = y + (art_cell_h - art_h) / 2;
            platform::DC cell(sheet, {bx, by},
                              BuildRegion(row.type, o.width, art_h).offset(bx, by));
            PaintFace(cell, look.value(), kColumns[c].state, &art);
        }
        y += art_cell_h;
    }

    if (platform::Status s = sheet.WritePng(o.out); !s) {
        std::cerr << o.out << ": " << s.error().message << "\n";
        return 1;
    }
    std::cout << o.out << ": " << sheet_w << " x " << sheet_h << "\n";
    return 0;
}
