// SPDX-License-Identifier: GPL-3.0-or-later
// The button's colour arithmetic and its twelve working colours.
//
// ComputePalette turns the colour scheme and the colour properties into the
// colours every face style draws with. It depends on nothing but the system
// colour table, so the gallery, the benchmark and the tests get exactly the
// colours the windowed button gets.
#pragma once

#include <cstdint>

#include "platform/color.h"

namespace skin_button {

using platform::Color;

// ColorScheme values; anything else acts as kSystem.
enum ColorScheme : int32_t {
    kSchemeSystem = 1,
    kSchemeCustom = 2,
    kSchemeGrey = 3,
    kSchemeParent = 4,
};

// Shifts each channel of c by n: red and green by n, blue by n too or, with
// `relative`, by blue * n / 192. Channels stop at 0 and 255. With
// `soft_bevel` n is halved first (toward zero), which is how SoftBevel
// softens every edge of every style.
Color OffsetColor(Color c, int32_t n, bool relative, bool soft_bevel);

// Each channel x becomes base + (255 - base) * x / 255, at most 255.
Color LightenColor(Color c, int32_t base);

struct Palette {
    Color face = 0;
    Color text = 0;
    Color text_over = 0;  // caption while hovering or pressed
    Color light = 0;
    Color highlight = 0;
    Color shadow = 0;
    Color dark_shadow = 0;
    Color select = 0;
    Color select_light = 0;
    Color mask = 0;
    Color face_light = 0;  // the face shifted by 48
};

struct PaletteInputs {
    int32_t scheme = kSchemeSystem;
    int32_t button_type = 2;
    bool soft_bevel = false;
    // The colour properties (scheme 2; MaskColor for every scheme). System
    // colour values are translated.
    Color back_color = 0;
    Color fore_color = 0;
    Color fore_over = 0;
    Color mask_color = 0xC0C0C0;
    // Scheme 4: the parent window's background and text colours.
    Color parent_back = 0xFFFFFF;
    Color parent_text = 0;
};

Palette ComputePalette(const PaletteInputs& in);

// The palette a face is painted with: while hovering, a custom-coloured
// (scheme 2) face and every colour made from it come from `back_over`.
Palette HoverPalette(const PaletteInputs& in, Color back_over);

}  // namespace skin_button
