// SPDX-License-Identifier: GPL-3.0-or-later
// System colours and colour-value translation.
//
// The program was written for a desktop whose system colours come from the
// user's theme. We pin the classic grey palette instead, so that every
// screenshot the harness takes is reproducible on any machine.
#include "platform/color.h"

#include <array>
#include <cstddef>

namespace platform {

namespace {

constexpr std::array<Color, kSysColorCount> kClassicPalette = {
    Rgb(200, 200, 200),  // 0 scrollbar track
    Rgb(0, 128, 128),    // 1 desktop background
    Rgb(0, 0, 128),      // 2 active caption
    Rgb(128, 128, 128),  // 3 inactive caption
    Rgb(192, 192, 192),  // 4 menu
    Rgb(255, 255, 255),  // 5 window
    Rgb(0, 0, 0),        // 6 window frame
    Rgb(0, 0, 0),        // 7 menu text
    Rgb(0, 0, 0),        // 8 window text
    Rgb(255, 255, 255),  // 9 caption text
    Rgb(192, 192, 192),  // 10 active border
    Rgb(192, 192, 192),  // 11 inactive border
    Rgb(128, 128, 128),  // 12 application workspace
    Rgb(0, 0, 128),      // 13 highlight
    Rgb(255, 255, 255),  // 14 highlight text
    Rgb(192, 192, 192),  // 15 button face
    Rgb(128, 128, 128),  // 16 button shadow
    Rgb(128, 128, 128),  // 17 grey text
    Rgb(0, 0, 0),        // 18 button text
    Rgb(192, 192, 192),  // 19 inactive caption text
    Rgb(255, 255, 255),  // 20 button highlight
    Rgb(0, 0, 0),        // 21 3D dark shadow
    Rgb(223, 223, 223),  // 22 3D light
    Rgb(0, 0, 0),        // 23 tooltip text
    Rgb(255, 255, 225),  // 24 tooltip background
    Rgb(180, 180, 180),  // 25 alternate button face
    Rgb(0, 0, 255),      // 26 hot-tracked item
    Rgb(16, 132, 208),   // 27 active caption gradient
    Rgb(181, 181, 181),  // 28 inactive caption gradient
    Rgb(0, 0, 128),      // 29 menu highlight
    Rgb(192, 192, 192),  // 30 menu bar
};

}  // namespace

Color GetSysColor(int32_t index) {
    if (index < 0 || index >= kSysColorCount) return 0;
    return kClassicPalette[static_cast<size_t>(index)];
}

Color TranslateColor(Color value) {
    if ((value & kSystemColorFlag) != 0) {
        // An unknown index is not an error for the callers (they paint with
        // whatever comes back), so it falls back to black.
        const uint32_t index = value & ~kSystemColorFlag;
        if (index >= static_cast<uint32_t>(kSysColorCount)) return 0;
        return kClassicPalette[index];
    }
    return value & 0x00FFFFFFu;
}

}  // namespace platform
