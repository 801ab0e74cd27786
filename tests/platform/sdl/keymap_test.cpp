// SPDX-License-Identifier: GPL-3.0-or-later
// Key translation: codes for the keys the program handles, and which key
// presses leave their character to SDL's text input.

#include "platform/sdl/keymap.h"

#include <gtest/gtest.h>

#include "platform/window.h"

namespace platform::sdl {
namespace {

TEST(SdlKeymap, MapsTheKeyRangesTheProgramUses) {
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_a), 'A');
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_z), 'Z');
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_0), '0');
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_9), '9');
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_F1), static_cast<uint32_t>(VK_F1));
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_F4), static_cast<uint32_t>(VK_F4));
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_F12), 0x7Bu);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_0), 0x60u);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_9), 0x69u);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_ENTER), static_cast<uint32_t>(VK_RETURN));
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_PAGEUP), static_cast<uint32_t>(VK_PRIOR));
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_PAGEDOWN), static_cast<uint32_t>(VK_NEXT));
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_RSHIFT), static_cast<uint32_t>(VK_SHIFT));
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_RCTRL), static_cast<uint32_t>(VK_CONTROL));
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_RALT), static_cast<uint32_t>(VK_MENU));
    // Keys with no code are dropped rather than sent as something else.
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_VOLUMEUP), 0u);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_F13), 0u);
}

TEST(SdlKeymap, ModifiersCombineBothSides) {
    EXPECT_EQ(ModifiersFromSdl(KMOD_NONE), 0u);
    EXPECT_EQ(ModifiersFromSdl(KMOD_RSHIFT), static_cast<uint32_t>(kModShift));
    EXPECT_EQ(ModifiersFromSdl(KMOD_LCTRL | KMOD_RALT),
              static_cast<uint32_t>(kModControl | kModAlt));
    // Lock keys are not modifiers of a key press.
    EXPECT_EQ(ModifiersFromSdl(KMOD_NUM | KMOD_CAPS), 0u);
}

TEST(SdlKeymap, OnlyKeysThatSdlTypesLeaveTheirCharacterToTextInput) {
    // Typed by text input: translating these too would type them twice.
    EXPECT_TRUE(KeyTypesText('A', 0));
    EXPECT_TRUE(KeyTypesText('A', kModShift));
    EXPECT_TRUE(KeyTypesText('7', 0));
    EXPECT_TRUE(KeyTypesText(VK_SPACE, 0));
    EXPECT_TRUE(KeyTypesText(VirtualKeyFromSdl(SDLK_COMMA), 0));
    EXPECT_TRUE(KeyTypesText(VirtualKeyFromSdl(SDLK_KP_5), 0));
    // SDL types nothing for these, so the window system must.
    EXPECT_FALSE(KeyTypesText('A', kModControl));
    EXPECT_FALSE(KeyTypesText(VK_RETURN, 0));
    EXPECT_FALSE(KeyTypesText(VK_ESCAPE, 0));
    EXPECT_FALSE(KeyTypesText(VK_BACK, 0));
    EXPECT_FALSE(KeyTypesText(VK_TAB, 0));
    EXPECT_FALSE(KeyTypesText(VK_LEFT, 0));
    EXPECT_FALSE(KeyTypesText(VK_F1, 0));
}

}  // namespace
}  // namespace platform::sdl
