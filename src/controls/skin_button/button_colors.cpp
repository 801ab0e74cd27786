// SPDX-License-Identifier: GPL-3.0-or-later
// The colour functions and ComputePalette's table of the four schemes.
#include "controls/skin_button/button_colors.h"

#include <algorithm>

namespace skin_button {

using platform::GetSysColor;
using platform::TranslateColor;

Color OffsetColor(Color c, int32_t n, bool relative, bool soft_bevel) {
    if (soft_bevel) n /= 2;
    const int64_t red = platform::RedOf(c) + int64_t{n};
    const int64_t green = platform::GreenOf(c) + int64_t{n};
    const int64_t blue0 = platform::BlueOf(c);
    const int64_t blue = relative ? blue0 + (blue0 * n) / 192 : blue0 + n;
    auto clamp = [](int64_t v) { return static_cast<Color>(std::clamp<int64_t>(v, 0, 255)); };
    return clamp(red) | (clamp(green) << 8) | (clamp(blue) << 16);
}

Color LightenColor(Color c, int32_t base) {
    auto channel = [base](int32_t x) {
        return static_cast<Color>(std::min(255, base + ((255 - base) * x) / 255));
    };
    return channel(platform::RedOf(c)) | (channel(platform::GreenOf(c)) << 8) |
           (channel(platform::BlueOf(c)) << 16);
}

Palette ComputePalette(const PaletteInputs& in) {
    auto off = [&in](Color c, int32_t n) { return OffsetColor(c, n, false, in.soft_bevel); };
    Palette p;
    switch (in.scheme) {
        case kSchemeCustom:
            p.face = TranslateColor(in.back_color);
            p.text = TranslateColor(in.fore_color);
            p.text_over = TranslateColor(in.fore_over);
            p.shadow = off(p.face, -64);
            p.light = off(p.face, 31);
            p.highlight = off(p.face, 47);
            p.dark_shadow = off(p.face, -192);
            p.select = off(p.face, -128);
            p.select_light = p.face;
            break;
        case kSchemeGrey:
            p.face = 0xC0C0C0;
            p.text = 0x000000;
            p.text_over = 0x000000;
            p.shadow = 0x808080;
            p.light = 0xDFDFDF;
            p.highlight = 0xFFFFFF;
            p.dark_shadow = 0x000000;
            p.select = 0x800000;
            p.select_light = 0xD1ADAD;
            break;
        case kSchemeParent:
            p.face = TranslateColor(in.parent_back);
            p.text = TranslateColor(in.parent_text);
            p.text_over = p.text;
            p.shadow = off(p.face, -64);
            p.light = off(p.face, 31);
            p.highlight = off(p.face, 47);
            p.dark_shadow = off(p.face, -192);
            p.select = GetSysColor(platform::COLOR_HIGHLIGHT);
            p.select_light = LightenColor(p.select, 176);
            break;
        default:
            p.face = GetSysColor(platform::COLOR_BTNFACE);
            p.text = GetSysColor(platform::COLOR_BTNTEXT);
            p.text_over = p.text;
            p.shadow = GetSysColor(platform::COLOR_BTNSHADOW);
            p.light = GetSysColor(platform::COLOR_3DLIGHT);
            p.highlight = GetSysColor(platform::COLOR_BTNHIGHLIGHT);
            p.dark_shadow = GetSysColor(platform::COLOR_3DDKSHADOW);
            p.select = GetSysColor(platform::COLOR_HIGHLIGHT);
            p.select_light = LightenColor(p.select, 176);
            break;
    }
    p.mask = TranslateColor(in.mask_color);
    p.face_light = OffsetColor(p.face, 48, in.button_type == 3, in.soft_bevel);
    return p;
}

Palette HoverPalette(const PaletteInputs& in, Color back_over) {
    if (in.scheme != kSchemeCustom) return ComputePalette(in);
    PaletteInputs over = in;
    over.back_color = back_over;
    return ComputePalette(over);
}

}  // namespace skin_button
