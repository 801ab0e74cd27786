// SPDX-License-Identifier: GPL-3.0-or-later
// kovelin-assets: draws the program's pictures, renders its page documents
// and synthesises its sounds into a data folder.
//
//   kovelin-assets SYSTEM_FOLDER PAGES_FOLDER MANIFEST
//
// wait.bmp and splash.bmp (300 x 105) carry the program's name and a
// Nepali tag line on a soft gradient; the splash keeps its bottom-right
// corner clear for the loading percentage. skin.bmp and mask.dat are the
// main window's skin and outline (skin.cpp); e0.bmp, e1.bmp, about.bmp,
// c0.bmp and c1.bmp the editors' emblems, the about picture and the credits
// cards (editors.cpp); s0.dat .. s5.dat, op.dat, k0.dat and k1.dat the page
// documents of PAGES_FOLDER rendered by the HTML label (pages.cpp);
// start.wav, click.wav, click2.wav, huh.wav, k.dat, r.dat and e.dat short
// synthesised sounds, 16-bit PCM (sounds.cpp). Every picture but the
// outline is drawn twice: for scale 1, and at twice the resolution into the
// sharp set's folder 2x/ (the program picks the set at start).
//
// MANIFEST lists every file written into SYSTEM_FOLDER, one a line,
// relative to it: the installed data folder is made from it. The button
// demo's pictures (btnbook.bmp, btnbook_over.bmp, btnstar.bmp, buttons.cpp),
// which only the harness shows, go there too unlisted.
#include <cstdint>
#include <cstdio>
#include <fstream>
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

platform::Surface DrawPicture(bool splash, int32_t scale) {
    platform::Surface surface = NewPicture(kWidth, kHeight, kCream, scale);
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

namespace assets {

bool WriteStartupPictures(Output& out) {
    bool ok = out.Artwork("wait.bmp", [](int32_t scale) { return DrawPicture(false, scale); });
    ok &= out.Artwork("splash.bmp", [](int32_t scale) { return DrawPicture(true, scale); });
    return ok;
}

}  // namespace assets

namespace {

std::string Folder(std::string path) {
    if (!path.empty() && path.back() != '/') path += '/';
    return path;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: kovelin-assets SYSTEM_FOLDER PAGES_FOLDER MANIFEST\n");
        return 2;
    }
    platform::text::InstallFontEngine();
    Output out(Folder(argv[1]));
    bool ok = WriteStartupPictures(out);
    ok &= WriteSounds(out);
    ok &= WriteSkin(out);
    ok &= WriteEditors(out);
    ok &= WritePages(Folder(argv[2]), out);
    Output demo(out.folder());
    ok &= WriteButtonPictures(demo);

    // Written last, and only when every listed file was.
    if (ok) {
        std::ofstream manifest(argv[3], std::ios::binary | std::ios::trunc);
        for (const std::string& name : out.written()) manifest << name << '\n';
        manifest.close();
        ok = manifest.good();
    }
    if (!ok) {
        std::fprintf(stderr, "kovelin-assets: cannot make every file in %s\n",
                     out.folder().c_str());
        return 1;
    }
    return 0;
}
