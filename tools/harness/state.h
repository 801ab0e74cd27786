// SPDX-License-Identifier: GPL-3.0-or-later
// The harness's state report: every top-level window and its controls, with
// what the window system knows of each (class, caption, visibility, place)
// and whatever each window adds itself through WM_REPORTSTATE.
#pragma once

#include <functional>
#include <string>

#include "platform/json.h"

namespace harness {

platform::Json CaptureState();

// Adds state that belongs to no window (the program's start-up) to every
// report, under "program".
void SetExtraState(std::function<void(platform::Json&)> reporter);

// The value at a dotted path ("frmDemo.controls.clicker.state.clicks"), or
// null when there is none.
const platform::Json* LookupPath(const platform::Json& root, const std::string& path);

}  // namespace harness
