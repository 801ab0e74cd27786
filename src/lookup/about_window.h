// The about window frmAbout: a small tool window over the main window with
// the program's about picture and one button.
#pragma once

#include "platform/window.h"

namespace lookup {

// Shows frmAbout modally, centred on the active window (the main window);
// returns when it is closed.
void ShowAboutWindow();

}  // namespace lookup
