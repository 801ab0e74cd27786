// SPDX-License-Identifier: GPL-3.0-or-later
// A small window built only from the platform layer, so the layer's
// behaviour (painting, input, focus, timers, regions, modal loops, text) can
// be seen and tested end to end before the program's own windows exist.
#pragma once

#include "platform/window.h"

namespace harness {

// Creates and shows the demo window ("frmDemo").
platform::HWND CreateDemoWindow();

// Adds the scroll bar and combo box demo ("frmControlsB"), owned by the
// demo window.
void AddDemoControlsB(platform::HWND parent_form);

// Adds the labels, pictures, buttons, timer, tooltips and message boxes
// demo ("frmControlsA"), beside the demo window.
void AddDemoControlsA(platform::HWND parent_form);

}  // namespace harness
