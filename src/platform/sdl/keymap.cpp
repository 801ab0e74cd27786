// SPDX-License-Identifier: GPL-3.0-or-later
// Key translation: the layer's virtual key codes keep the values of the
// platform the program was designed for, so keys the message constants do
// not name yet (numeric pad, punctuation) use those values here.

#include "platform/sdl/keymap.h"

#include "platform/messages.h"
#include "platform/window.h"

namespace platform::sdl {

namespace {

// Punctuation keys of a US layout and the numeric pad, by their platform
// values.
enum : uint32_t {
    kVkPause = 0x13,
    kVkCapital = 0x14,
    kVkNumpad0 = 0x60,
    kVkMultiply = 0x6A,
    kVkAdd = 0x6B,
    kVkSubtract = 0x6D,
    kVkDecimal = 0x6E,
    kVkDivide = 0x6F,
    kVkApps = 0x5D,
    kVkOem1 = 0xBA,  // ;
    kVkOemPlus = 0xBB,
    kVkOemComma = 0xBC,
    kVkOemMinus = 0xBD,
    kVkOemPeriod = 0xBE,
    kVkOem2 = 0xBF,  // /
    kVkOem3 = 0xC0,  // `
    kVkOem4 = 0xDB,  // [
    kVkOem5 = 0xDC,  // backslash
    kVkOem6 = 0xDD,  // ]
    kVkOem7 = 0xDE,  // '
};

}  // namespace

uint32_t VirtualKeyFromSdl(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return static_cast<uint32_t>('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9) return static_cast<uint32_t>('0' + (key - SDLK_0));
    if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + static_cast<uint32_t>(key - SDLK_F1);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9)
        return kVkNumpad0 + 1 + static_cast<uint32_t>(key - SDLK_KP_1);
    switch (key) {
        case SDLK_KP_0:
            return kVkNumpad0;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
        case SDLK_RETURN2:
            return VK_RETURN;
        case SDLK_ESCAPE:
            return VK_ESCAPE;
        case SDLK_TAB:
            return VK_TAB;
        case SDLK_BACKSPACE:
            return VK_BACK;
        case SDLK_DELETE:
            return VK_DELETE;
        case SDLK_INSERT:
            return VK_INSERT;
        case SDLK_SPACE:
            return VK_SPACE;
        case SDLK_HOME:
            return VK_HOME;
        case SDLK_END:
            return VK_END;
        case SDLK_PAGEUP:
            return VK_PRIOR;
        case SDLK_PAGEDOWN:
            return VK_NEXT;
        case SDLK_LEFT:
            return VK_LEFT;
        case SDLK_RIGHT:
            return VK_RIGHT;
        case SDLK_UP:
            return VK_UP;
        case SDLK_DOWN:
            return VK_DOWN;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return VK_SHIFT;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            return VK_CONTROL;
        case SDLK_LALT:
        case SDLK_RALT:
            return VK_MENU;
        case SDLK_PAUSE:
            return kVkPause;
        case SDLK_CAPSLOCK:
            return kVkCapital;
        case SDLK_APPLICATION:
            return kVkApps;
        case SDLK_KP_MULTIPLY:
            return kVkMultiply;
        case SDLK_KP_PLUS:
            return kVkAdd;
        case SDLK_KP_MINUS:
            return kVkSubtract;
        case SDLK_KP_PERIOD:
            return kVkDecimal;
        case SDLK_KP_DIVIDE:
            return kVkDivide;
        case SDLK_SEMICOLON:
            return kVkOem1;
        case SDLK_EQUALS:
            return kVkOemPlus;
        case SDLK_COMMA:
            return kVkOemComma;
        case SDLK_MINUS:
            return kVkOemMinus;
        case SDLK_PERIOD:
            return kVkOemPeriod;
        case SDLK_SLASH:
            return kVkOem2;
        case SDLK_BACKQUOTE:
            return kVkOem3;
        case SDLK_LEFTBRACKET:
            return kVkOem4;
        case SDLK_BACKSLASH:
            return kVkOem5;
        case SDLK_RIGHTBRACKET:
            return kVkOem6;
        case SDLK_QUOTE:
            return kVkOem7;
        default:
            return 0;
    }
}

uint32_t ModifiersFromSdl(uint16_t sdl_mod) {
    uint32_t m = 0;
    if (sdl_mod & KMOD_SHIFT) m |= kModShift;
    if (sdl_mod & KMOD_CTRL) m |= kModControl;
    if (sdl_mod & KMOD_ALT) m |= kModAlt;
    return m;
}

bool KeyTypesText(uint32_t vk, uint32_t modifiers) {
    // With Control held SDL's text input drops the control character, so
    // the window system must make it (Ctrl+A types 0x01).
    if (modifiers & kModControl) return false;
    if (vk >= 'A' && vk <= 'Z') return true;
    if (vk >= '0' && vk <= '9') return true;
    if (vk == VK_SPACE) return true;
    if (vk >= kVkNumpad0 && vk <= kVkDivide && vk != 0x6C) return true;
    if ((vk >= kVkOem1 && vk <= kVkOem3) || (vk >= kVkOem4 && vk <= kVkOem7)) return true;
    return false;
}

}  // namespace platform::sdl
