// SPDX-License-Identifier: GPL-3.0-or-later
// Translation of SDL's keyboard reports into the window system's virtual key
// codes and modifier flags.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace platform::sdl {

// The virtual key code for an SDL key, or 0 for keys the program has no code
// for (those keys still type their text through text input).
uint32_t VirtualKeyFromSdl(SDL_Keycode key);

// kModShift / kModControl / kModAlt from SDL's modifier state.
uint32_t ModifiersFromSdl(uint16_t sdl_mod);

// Whether a key press also arrives as typed text from SDL's text input. Such
// presses go to the window system without their own character, so a letter
// is not typed twice; the others (Enter, Escape, Backspace, Tab, control
// letters) are translated by the window system itself, as SDL types no text
// for them.
bool KeyTypesText(uint32_t vk, uint32_t modifiers);

}  // namespace platform::sdl
