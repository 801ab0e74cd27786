// SPDX-License-Identifier: GPL-3.0-or-later
// The button demo window: the owner-drawn button in the styles and colour
// schemes the program uses, beside a few of its other styles, for
// scenarios that look at their faces, shapes and focus.
#pragma once

#include "platform/window.h"

namespace harness {

// Creates and shows the button demo window ("frmButtons").
platform::HWND CreateDemoButtonsWindow();

}  // namespace harness
