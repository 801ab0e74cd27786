// SPDX-License-Identifier: GPL-3.0-or-later
// kovelin-assets: draws the program's pictures, renders its page documents
// and synthesises its sounds into a data folder.
//
//   kovelin-assets SYSTEM_FOLDER [PAGES_FOLDER]
//
// wait.bmp and splash.bmp (300 x 105) carry the program's name and a
// Nepali tag line on a soft gradient; the splash keeps its bottom-right
// corner clear for the loading percentage. skin.bmp and mask.dat are the
// main window's skin and outline (skin.cpp); e0.bmp, e1.bmp and about.bmp
// the editors' emblems and the about picture (editors.cpp); s0.dat ..
// s5.dat and op.dat the page documents of PAGES_FOLDER rendered by the HTML
// label (pages.cpp); start.wav, click.wav, click2.wav and huh.wav short
// synthesised sounds, 16-bit PCM (sounds.cpp); btnbook.bmp,
// btnbook_over.bmp and btnstar.bmp the button demo's pictures (buttons.cpp).
#include <cstdint>
#include <cstdio>
#include <string>

#include "assets.h"
#include "platform/dc.h"
#include "platform/text/font_engine.h"

namespace {

using namespace assets;

constexpr int32_t kWidth = 300;
constexpr int32_t kHeight = 105;

// A light warm background fading down to a paler tone, a thin accent band
// on the left, and a one-pixel border.
void DrawBackground(platform::DC& dc) {
    for (int32_t y = 0; y < kHeight; ++y) {
        dc.FillRect({0, y, kWidth, y + 1},
                    Mix(kCream, kSand, static_cast<double>(y) / (kHeight - 1)));
    }
    for (int32_t y = 0; y < kHeight; ++y) {
        dc.FillRect({0, y, 6, y + 1}, Mix(kRed, kDeepRed, static_cast<double>(y) / (kHeight - 1)));
    }
    dc.FrameRect({0, 0, kWidth, kHeight}, kDeepRed);
}

platform::Surface DrawPicture(bool splash) {
    platform::Surface surface = NewPicture(kWidth, kHeight, kCream);
    platform::DC dc(surface);
    DrawBackground(dc);
    const Color ink = kInk;
    const Color soft = kSoftInk;
    DrawText(dc, "Kovelin", "Arial", 20, true, ink, {22, 12, 290, 44}, platform::DT_LEFT);
    DrawText(dc, Preeti("नेपाली शब्दकोश"), "OrvSoft", 15, false, Rgb(0xA0, 0x2E, 0x22),
             {22, 44, 290, 70}, platform::DT_LEFT);
    dc.FillRect({22, 74, 150, 75}, Rgb(0xD9, 0xB8, 0x8C));
    if (splash) {
        DrawText(dc, "Nepali to Nepali dictionary", "Arial", 8.25f, false, soft, {22, 80, 220, 98},
                 platform::DT_LEFT);
    } else {
        DrawText(dc, "Please wait\x85", "Arial", 8.25f, false, soft, {22, 80, 120, 98},
                 platform::DT_LEFT);
        DrawText(dc, Preeti("कृपया पर्खनुहोस्"), "OrvSoft", 11, false, soft, {110, 78, 290, 100},
                 platform::DT_RIGHT);
    }
    return surface;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: kovelin-assets SYSTEM_FOLDER [PAGES_FOLDER]\n");
        return 2;
    }
    std::string folder = argv[1];
    if (!folder.empty() && folder.back() != '/') folder += '/';
    platform::text::InstallFontEngine();

    bool ok = true;
    for (bool splash : {false, true})
        ok &= WriteBmp(folder + (splash ? "splash.bmp" : "wait.bmp"), DrawPicture(splash));
    ok &= WriteSounds(folder);
    ok &= WriteSkin(folder);
    ok &= WriteEditors(folder);
    if (argc == 3) {
        std::string pages = argv[2];
        if (!pages.empty() && pages.back() != '/') pages += '/';
        ok &= WritePages(pages, folder);
    }
    ok &= WriteButtonPictures(folder);
    if (!ok) {
        std::fprintf(stderr, "kovelin-assets: cannot make every file in %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
