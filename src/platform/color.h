// SPDX-License-Identifier: GPL-3.0-or-later
// Colours are 32-bit values with red in the low byte, then green, then blue
// (0x00BBGGRR). A value with the high bit set names a system colour by index
// and is translated to a real colour before anything is drawn with it.
#pragma once

#include <cstdint>

namespace platform {

using Color = uint32_t;

constexpr Color Rgb(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<Color>(r) | (static_cast<Color>(g) << 8) | (static_cast<Color>(b) << 16);
}
constexpr uint8_t RedOf(Color c) {
    return static_cast<uint8_t>(c & 0xFF);
}
constexpr uint8_t GreenOf(Color c) {
    return static_cast<uint8_t>((c >> 8) & 0xFF);
}
constexpr uint8_t BlueOf(Color c) {
    return static_cast<uint8_t>((c >> 16) & 0xFF);
}

constexpr Color kSystemColorFlag = 0x80000000u;

// System colour indices, as the platform numbers them.
enum SysColor : int32_t {
    COLOR_SCROLLBAR = 0,
    COLOR_BACKGROUND = 1,
    COLOR_ACTIVECAPTION = 2,
    COLOR_INACTIVECAPTION = 3,
    COLOR_MENU = 4,
    COLOR_WINDOW = 5,
    COLOR_WINDOWFRAME = 6,
    COLOR_MENUTEXT = 7,
    COLOR_WINDOWTEXT = 8,
    COLOR_CAPTIONTEXT = 9,
    COLOR_ACTIVEBORDER = 10,
    COLOR_INACTIVEBORDER = 11,
    COLOR_APPWORKSPACE = 12,
    COLOR_HIGHLIGHT = 13,
    COLOR_HIGHLIGHTTEXT = 14,
    COLOR_BTNFACE = 15,
    COLOR_BTNSHADOW = 16,
    COLOR_GRAYTEXT = 17,
    COLOR_BTNTEXT = 18,
    COLOR_INACTIVECAPTIONTEXT = 19,
    COLOR_BTNHIGHLIGHT = 20,
    COLOR_3DDKSHADOW = 21,
    COLOR_3DLIGHT = 22,
    COLOR_INFOTEXT = 23,
    COLOR_INFOBK = 24,
    COLOR_HOTLIGHT = 26,
    COLOR_GRADIENTACTIVECAPTION = 27,
    COLOR_GRADIENTINACTIVECAPTION = 28,
    kSysColorCount = 31,
};

// The colour value that names a system colour; drawing translates it.
constexpr Color SystemColor(int32_t index) {
    return kSystemColorFlag | static_cast<Color>(index);
}

// The real colour of a system colour index (a fixed, classic palette).
Color GetSysColor(int32_t index);

// Turns a colour value into a real 0x00BBGGRR colour: system colour values
// (0x80000000 + index) are looked up, other values lose their high byte.
Color TranslateColor(Color value);

}  // namespace platform
