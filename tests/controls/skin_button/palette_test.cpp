// SPDX-License-Identifier: GPL-3.0-or-later
// The button's colour arithmetic and the working colours of each scheme.
#include <gtest/gtest.h>

#include "controls/skin_button/button_colors.h"

namespace skin_button {
namespace {

using platform::Rgb;

TEST(OffsetColor, ShiftsRedAndGreenAndBlueAbsoluteOrRelative) {
    const Color c = Rgb(48, 32, 16);
    EXPECT_EQ(OffsetColor(c, 48, true, false), Rgb(96, 80, 20));   // 16 + 16 * 48 / 192
    EXPECT_EQ(OffsetColor(c, 48, false, false), Rgb(96, 80, 64));  // blue + 48
    // Relative shifts of blue truncate toward zero: 100 * -10 / 192 = -5.
    EXPECT_EQ(OffsetColor(Rgb(100, 100, 100), -10, true, false), Rgb(90, 90, 95));
}

TEST(OffsetColor, ChannelsStopAtTheEnds) {
    EXPECT_EQ(OffsetColor(Rgb(250, 10, 255), 31, false, false), Rgb(255, 41, 255));
    EXPECT_EQ(OffsetColor(Rgb(5, 200, 0), -64, false, false), Rgb(0, 136, 0));
    EXPECT_EQ(OffsetColor(Rgb(240, 240, 240), 16, true, false), Rgb(255, 255, 255));
}

TEST(OffsetColor, SoftBevelHalvesTheShiftTowardZero) {
    // Off(Sh, -50) of a 0xC0C0C0 face under SoftBevel: the shadow is itself
    // shifted by -32, then by -25.
    const Color shadow = OffsetColor(0xC0C0C0, -64, false, true);
    EXPECT_EQ(shadow, 0xA0A0A0u);
    EXPECT_EQ(OffsetColor(shadow, -50, false, true), 0x878787u);
    EXPECT_EQ(OffsetColor(0x808080, -9, false, true), 0x7C7C7Cu);  // -4, not -5
}

TEST(LightenColor, MapsBlackToTheBaseAndKeepsWhite) {
    EXPECT_EQ(LightenColor(0x000000, 176), Rgb(176, 176, 176));
    EXPECT_EQ(LightenColor(0xFFFFFF, 176), 0xFFFFFFu);
    // Navy: blue 128 -> 128 + 127 * 128 / 255 = 191.
    EXPECT_EQ(LightenColor(0x800000, 128), Rgb(128, 128, 191));
}

TEST(ComputePalette, GreySchemeIsFixedWhateverTheProperties) {
    PaletteInputs in;
    in.scheme = kSchemeGrey;
    in.back_color = Rgb(1, 2, 3);
    in.fore_color = Rgb(200, 0, 0);
    const Palette p = ComputePalette(in);
    EXPECT_EQ(p.face, 0xC0C0C0u);
    EXPECT_EQ(p.text, 0u);
    EXPECT_EQ(p.text_over, 0u);
    EXPECT_EQ(p.shadow, 0x808080u);
    EXPECT_EQ(p.light, 0xDFDFDFu);
    EXPECT_EQ(p.highlight, 0xFFFFFFu);
    EXPECT_EQ(p.dark_shadow, 0u);
    EXPECT_EQ(p.select, 0x800000u);
    EXPECT_EQ(p.select_light, 0xD1ADADu);
    EXPECT_EQ(p.face_light, 0xF0F0F0u);
}

TEST(ComputePalette, CustomSchemeDerivesTheEdgesFromBackColor) {
    PaletteInputs in;
    in.scheme = kSchemeCustom;
    in.back_color = Rgb(100, 150, 200);
    in.fore_color = Rgb(10, 20, 30);
    in.fore_over = platform::SystemColor(platform::COLOR_HIGHLIGHT);
    const Palette p = ComputePalette(in);
    EXPECT_EQ(p.face, Rgb(100, 150, 200));
    EXPECT_EQ(p.text, Rgb(10, 20, 30));
    EXPECT_EQ(p.text_over, platform::GetSysColor(platform::COLOR_HIGHLIGHT));
    EXPECT_EQ(p.shadow, Rgb(36, 86, 136));
    EXPECT_EQ(p.light, Rgb(131, 181, 231));
    EXPECT_EQ(p.highlight, Rgb(147, 197, 247));
    EXPECT_EQ(p.dark_shadow, Rgb(0, 0, 8));
    EXPECT_EQ(p.select, Rgb(0, 22, 72));
    EXPECT_EQ(p.select_light, p.face);
    EXPECT_EQ(p.face_light, Rgb(148, 198, 248));
}

TEST(ComputePalette, FaceLightIsRelativeOnlyForStyleThree) {
    PaletteInputs in;
    in.scheme = kSchemeCustom;
    in.back_color = Rgb(48, 32, 16);
    in.button_type = 3;
    EXPECT_EQ(ComputePalette(in).face_light, Rgb(96, 80, 20));
    in.button_type = 14;
    EXPECT_EQ(ComputePalette(in).face_light, Rgb(96, 80, 64));
}

TEST(ComputePalette, UnknownSchemesActAsSystemColours) {
    PaletteInputs system;
    system.scheme = kSchemeSystem;
    const Palette expected = ComputePalette(system);
    EXPECT_EQ(expected.face, platform::GetSysColor(platform::COLOR_BTNFACE));
    EXPECT_EQ(expected.select_light,
              LightenColor(platform::GetSysColor(platform::COLOR_HIGHLIGHT), 176));
    for (int32_t scheme : {0, 5, -1, 1000}) {
        PaletteInputs in;
        in.scheme = scheme;
        in.back_color = Rgb(1, 2, 3);
        const Palette p = ComputePalette(in);
        EXPECT_EQ(p.face, expected.face) << scheme;
        EXPECT_EQ(p.dark_shadow, expected.dark_shadow) << scheme;
    }
}

TEST(ComputePalette, ParentSchemeTakesTheParentsColours) {
    PaletteInputs in;
    in.scheme = kSchemeParent;
    in.parent_back = Rgb(236, 233, 216);
    in.parent_text = Rgb(40, 40, 40);
    const Palette p = ComputePalette(in);
    EXPECT_EQ(p.face, Rgb(236, 233, 216));
    EXPECT_EQ(p.text, Rgb(40, 40, 40));
    EXPECT_EQ(p.text_over, p.text);
    EXPECT_EQ(p.shadow, Rgb(172, 169, 152));
    EXPECT_EQ(p.select, platform::GetSysColor(platform::COLOR_HIGHLIGHT));
}

TEST(HoverPalette, OnlyTheCustomSchemeTakesBackOver) {
    PaletteInputs in;
    in.scheme = kSchemeCustom;
    in.back_color = Rgb(100, 100, 100);
    const Palette hover = HoverPalette(in, Rgb(200, 200, 200));
    EXPECT_EQ(hover.face, Rgb(200, 200, 200));
    EXPECT_EQ(hover.light, Rgb(231, 231, 231));
    in.scheme = kSchemeGrey;
    EXPECT_EQ(HoverPalette(in, Rgb(200, 200, 200)).face, 0xC0C0C0u);
}

}  // namespace
}  // namespace skin_button
