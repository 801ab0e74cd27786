// SPDX-License-Identifier: GPL-3.0-or-later
// Tooltips: one process-wide tip window shared by every control. The base
// control reports pointer moves and button presses here; when the pointer
// has rested over a control with tooltip text for the hover delay, the tip
// appears below the pointer, and it goes away when the pointer leaves the
// control, a button is pressed, or it has been up for a few seconds. All
// timing runs on the window system's timers, so tests drive it with the
// virtual clock.
#pragma once

#include "platform/window.h"

namespace platform::controls::tooltips {

constexpr uint32_t kHoverDelayMs = 500;
constexpr uint32_t kShowTimeMs = 5000;

// The pointer moved over `control` (a window made by the control framework).
void TrackMouse(HWND control);
// A mouse button went down somewhere in a control: hide the tip and keep it
// away until the pointer moves onto another control.
void Dismiss();
// Hides the tip without changing what it is tracking.
void Hide();

// The tip window while it shows, or a null handle.
HWND VisibleTip();

}  // namespace platform::controls::tooltips
