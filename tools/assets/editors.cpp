// SPDX-License-Identifier: GPL-3.0-or-later
// The editors' emblems (e0.bmp, e1.bmp: 112 x 112 round badges, each with a
// Devanagari letter), the about picture (about.bmp, 256 x 282) and the
// credits cards (c0.bmp 152 x 234, c1.bmp 163 x 223: drawn badges for the
// text engine and the window system).
#include <cmath>
#include <numbers>

#include "assets.h"

namespace assets {

namespace {

constexpr Color kPanelBack = Rgb(0xFF, 0xFC, 0xF5);

// A round badge: a soft ring, a tinted face and one letter. `accent` tints
// the ring; the dots round the face give it a little ornament.
platform::Surface DrawEmblem(std::string_view letter, Color accent, int32_t scale) {
    constexpr int32_t kSide = 112;
    platform::Surface picture = NewPicture(kSide, kSide, kPanelBack, scale);
    platform::DC dc(picture);
    const double c = kSide / 2.0;
    FillDisc(picture, c, c, 54, Mix(accent, kPanelBack, 0.75));
    FillDisc(picture, c, c, 50, accent);
    FillDisc(picture, c, c, 46, Mix(accent, kPanelBack, 0.88));
    for (int k = 0; k < 24; ++k) {
        const double a = k * 2 * std::numbers::pi / 24;
        FillDisc(picture, c + 40 * std::cos(a), c + 40 * std::sin(a), 1.6,
                 Mix(accent, kPanelBack, 0.45));
    }
    DrawText(dc, Preeti(letter), "OrvSoft", 40, true, accent, {0, 4, kSide, kSide},
             platform::DT_CENTER | platform::DT_VCENTER);
    return picture;
}

// A credits card: a drawn badge on a dark card with a caption, standing for
// one part of the program (never a person's likeness).
platform::Surface DrawCard(int32_t w, int32_t h, std::string_view letter, std::string_view caption,
                           Color accent, int32_t scale) {
    constexpr Color kCard = Rgb(0x1C, 0x1C, 0x22);
    platform::Surface picture = NewPicture(w, h, kCard, scale);
    platform::DC dc(picture);
    dc.FillRect({0, 0, w, 2}, accent);
    dc.FillRect({0, h - 2, w, h}, accent);
    dc.FillRect({0, 0, 2, h}, accent);
    dc.FillRect({w - 2, 0, w, h}, accent);
    const double cx = w / 2.0;
    const double cy = h / 2.0 - 20;
    FillDisc(picture, cx, cy, 60, Mix(accent, kCard, 0.5));
    FillDisc(picture, cx, cy, 55, accent);
    FillDisc(picture, cx, cy, 50, Mix(accent, kCard, 0.8));
    for (int k = 0; k < 20; ++k) {
        const double a = k * 2 * std::numbers::pi / 20;
        FillDisc(picture, cx + 43 * std::cos(a), cy + 43 * std::sin(a), 1.6, accent);
    }
    DrawText(dc, letter, "Arial", 30, true, Rgb(0xFF, 0xFF, 0xFF),
             {0, static_cast<int32_t>(cy) - 25, w, static_cast<int32_t>(cy) + 25},
             platform::DT_CENTER | platform::DT_VCENTER);
    DrawText(dc, caption, "Arial", 9, true, Rgb(0xEE, 0xEE, 0xEE), {0, h - 56, w, h - 36},
             platform::DT_CENTER | platform::DT_VCENTER);
    DrawText(dc, "Kovelin part", "Arial", 8, false, Rgb(0xAA, 0xAA, 0xAA), {0, h - 36, w, h - 18},
             platform::DT_CENTER | platform::DT_VCENTER);
    return picture;
}

platform::Surface DrawAbout(int32_t scale) {
    constexpr int32_t kW = 256;
    constexpr int32_t kH = 282;
    platform::Surface picture = NewPicture(kW, kH, kCream, scale);
    platform::DC dc(picture);
    for (int32_t y = 0; y < kH; ++y)
        dc.FillRect({0, y, kW, y + 1}, Mix(kCream, kSand, static_cast<double>(y) / (kH - 1)));
    dc.FillRect({0, 0, kW, 64}, kDeepRed);
    for (int32_t y = 0; y < 64; ++y)
        dc.FillRect({0, y, kW, y + 1}, Mix(Rgb(0x86, 0x24, 0x19), Rgb(0x9E, 0x30, 0x21), y / 63.0));
    DrawText(dc, Preeti("कोभेलिन"), "OrvSoft", 22, true, Rgb(0xFF, 0xF3, 0xDE), {0, 4, kW, 44},
             platform::DT_CENTER | platform::DT_VCENTER);
    DrawText(dc, "Kovelin", "Arial", 9, false, Rgb(0xEC, 0xC4, 0xA8), {0, 40, kW, 60},
             platform::DT_CENTER | platform::DT_VCENTER);
    DrawText(dc, Preeti("नेपाली–नेपाली शब्दकोश"), "OrvSoft", 14, false, kInk, {0, 78, kW, 104},
             platform::DT_CENTER | platform::DT_VCENTER);
    DrawText(dc, "A Nepali to Nepali dictionary", "Arial", 8.25f, false, kSoftInk,
             {0, 108, kW, 124}, platform::DT_CENTER | platform::DT_VCENTER);
    dc.FillRect({78, 134, 178, 135}, Rgb(0xD9, 0xB8, 0x8C));
    DrawText(dc, "Type a word, or copy one in", "Arial", 8.25f, false, kSoftInk, {0, 146, kW, 162},
             platform::DT_CENTER | platform::DT_VCENTER);
    DrawText(dc, "another program: the list finds it", "Arial", 8.25f, false, kSoftInk,
             {0, 162, kW, 178}, platform::DT_CENTER | platform::DT_VCENTER);
    DrawText(dc, "and the entry is shown beside it.", "Arial", 8.25f, false, kSoftInk,
             {0, 178, kW, 194}, platform::DT_CENTER | platform::DT_VCENTER);
    DrawText(dc, "Made by the Kovelin project", "Arial", 8.25f, true, kInk, {0, 200, kW, 216},
             platform::DT_CENTER | platform::DT_VCENTER);
    DrawText(dc, "Free software: GPL-3.0-or-later", "Arial", 8.25f, false, kSoftInk,
             {0, 216, kW, 232}, platform::DT_CENTER | platform::DT_VCENTER);
    return picture;
}

}  // namespace

bool WriteEditors(Output& out) {
    bool ok = out.Artwork(
        "e0.bmp", [](int32_t scale) { return DrawEmblem("श", Rgb(0xA8, 0x35, 0x24), scale); });
    ok &= out.Artwork("e1.bmp",
                      [](int32_t scale) { return DrawEmblem("क", Rgb(0x2E, 0x5E, 0x6E), scale); });
    ok &= out.Artwork("about.bmp", DrawAbout);
    ok &= out.Artwork("c0.bmp", [](int32_t scale) {
        return DrawCard(152, 234, "T", "Text engine", Rgb(0xC0, 0x39, 0x2B), scale);
    });
    ok &= out.Artwork("c1.bmp", [](int32_t scale) {
        return DrawCard(163, 223, "W", "Window system", Rgb(0x2E, 0x7E, 0x9E), scale);
    });
    return ok;
}

}  // namespace assets
