// SPDX-License-Identifier: GPL-3.0-or-later
// Modal message boxes: an icon, word-wrapped text, and a row of buttons,
// sized to the text and centred on the owner (or the screen). The window's
// class name is "#32770", the platform's dialog class, because components
// find open message boxes by that name. Text and title are Windows-1252
// bytes shown in "MS Sans Serif".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window.h"

namespace platform::controls {

// Flags and answers, platform values.
enum MessageBoxFlags : uint32_t {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_ICONHAND = 0x10,
    MB_ICONSTOP = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_DEFBUTTON2 = 0x100,
    MB_DEFBUTTON3 = 0x200,
};
enum MessageBoxResult : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

inline constexpr const char* kMessageBoxClass = "#32770";

// Shows the box and runs a modal loop until it is answered. Enter presses
// the focused button (the default one at first), Escape and the close box
// answer Cancel, or No when there is no Cancel, or OK when it stands alone;
// Tab and the arrow keys move between the buttons. Button sets the flags do
// not name fall back to OK alone.
int MessageBox(HWND owner, std::string_view text, std::string_view title, uint32_t flags);

// A message box as it was shown and answered, for state reports.
struct MessageBoxRecord {
    std::string icon;  // "stop", "question", "exclamation", "information" or "none"
    std::string text;
    std::string title;
    std::vector<std::string> buttons;  // captions, left to right
    std::string answer;                // the caption of the button that answered
};

// The message boxes answered lately, oldest first (at most
// kMessageBoxRecord of them).
inline constexpr size_t kMessageBoxRecord = 16;
const std::vector<MessageBoxRecord>& RecentMessageBoxes();

}  // namespace platform::controls
