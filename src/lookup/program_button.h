// SPDX-License-Identifier: GPL-3.0-or-later
// The look every owner-drawn button of the program's windows shares.
#pragma once

#include <optional>
#include <string>

#include "controls/skin_button/flarvet_button.h"

namespace lookup {

// A button's own colours: its face and text, normally and under the pointer.
struct ButtonColors {
    platform::Color back;
    platform::Color back_over;
    platform::Color fore;
    platform::Color fore_over;
};

// The skin's colours, worn by the tab buttons and the about window's
// button: a warm pale face that lightens under the pointer, deep red text.
inline constexpr ButtonColors kSkinButtonColors = {
    platform::Rgb(0xF6, 0xEA, 0xD4), platform::Rgb(0xFD, 0xF6, 0xE8),
    platform::Rgb(0x6E, 0x1E, 0x14), platform::Rgb(0xB0, 0x30, 0x20)};

// Gives a freshly made button the program's look and shows it: style 14,
// no picture or effect, the focus rectangle, the arrow pointer, `caption`
// in "OrvPreeti" at `points` (the host's font when `points` is 0), in its
// own colours (colour scheme 2) when `colors` is given, else in the fixed
// grey palette (scheme 3).
void StyleProgramButton(skin_button::FlarvetButon& b, const std::string& caption, float points,
                        const std::optional<ButtonColors>& colors);

}  // namespace lookup
