// Test helpers that talk to the X server directly, beside SDL: XTest for a
// real pointer and keyboard, and screenshots of the root window. Kept apart
// because the X11 headers define macros that clash with the program's names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace x11_probe {

// Opens its own connection to $DISPLAY; false without a display or XTest.
bool Available();
// Waits until the server has handled every request sent so far.
void Sync();

void MovePointer(int x, int y);
void Button(int button, bool down);  // 1 left, 3 right
// Presses or releases the key that types the given Latin-1 character.
void Key(char latin1, bool down);
// Gives the keyboard to the top-level window under the pointer (no window
// manager does it under Xvfb).
void FocusWindowUnderPointer();

// Fills the root window (the desktop background) with one colour, so
// whatever a test window does not cover is told apart from what it draws.
void PaintRoot(uint32_t rgb);

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> rgb;  // 0x00RRGGBB, row-major
    uint32_t at(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
};
// The screen's pixels in a rectangle of the root window.
Image Grab(int x, int y, int width, int height);

}  // namespace x11_probe
