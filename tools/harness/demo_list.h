// SPDX-License-Identifier: GPL-3.0-or-later
// The list demo window: owner-data list views of 100,000 numbered rows at
// the size the main window gives its headword list, for scenarios that
// scroll, select and mark rows.
#pragma once

#include "platform/window.h"

namespace harness {

// Creates and shows the list demo window ("frmList") without activating it.
platform::HWND CreateDemoListWindow();

}  // namespace harness
