// SPDX-License-Identifier: GPL-3.0-or-later
// Test helpers that talk to the X server directly, beside SDL: XTest for a
// real pointer and keyboard, and screenshots of the root window. Kept apart
// because the X11 headers define macros that clash with the program's names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace x11_probe {

// Opens its own connection to $DISPLAY (one for each thread that calls
// these); false without a display or XTest.
bool Available();
// Waits until the server has handled every request sent so far.
void Sync();

void MovePointer(int x, int y);
void Button(int button, bool down);  // 1 left, 3 right
// Presses or releases the key that types the given Latin-1 character.
void Key(char latin1, bool down);
// Presses and releases the key with the given X keysym (0xFF0D is Return).
void TapKeysym(unsigned long keysym);
// Gives the keyboard to the top-level window under the pointer (no window
// manager does it under Xvfb).
void FocusWindowUnderPointer();

// X window ids, 0 for none.
using XWindow = unsigned long;

// The X window behind an SDL window (by SDL's window id).
XWindow XWindowOf(uint32_t sdl_window_id);
// The window that has the keyboard focus (0 for none or the pointer root).
XWindow FocusedWindow();
// Where the window's top-left corner is on the screen.
std::pair<int, int> Origin(XWindow window);
// A window's width and height.
std::pair<int, int> Size(XWindow window);
// The screen's width and height.
std::pair<int, int> ScreenSize();
// Whether the focus is `window` itself or one of its descendants.
bool HasFocus(XWindow window);
// Whether the window manager is bypassed for the window.
bool OverrideRedirect(XWindow window);
// WM_TRANSIENT_FOR of the window.
XWindow TransientFor(XWindow window);
// The name of the window's first _NET_WM_WINDOW_TYPE atom, or empty.
std::string WindowType(XWindow window);
// Whether `upper` is stacked above `lower` (comparing the root's children
// that hold them, so a window manager's frames count).
bool StackedAbove(XWindow upper, XWindow lower);
// Sends the window a client message, as SDL does to wake its event wait,
// and waits until the server has handled it. A protocol error goes to the
// process's error handler.
void SendMessageTo(XWindow window);
// Whether a window manager following the EWMH runs on the display.
bool WindowManagerRunning();

// Fills the root window (the desktop background) with one colour, so
// whatever a test window does not cover is told apart from what it draws.
void PaintRoot(uint32_t rgb);

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> rgb;  // 0x00RRGGBB, row-major
    uint32_t at(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
};
// The screen's pixels in a rectangle of the root window; empty unless the
// rectangle lies on the screen.
Image Grab(int x, int y, int width, int height);
// One pixel of the screen, or kNoPixel off the screen.
constexpr uint32_t kNoPixel = 0xFF000000u;
uint32_t PixelAt(int x, int y);

}  // namespace x11_probe
