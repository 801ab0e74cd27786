// SPDX-License-Identifier: GPL-3.0-or-later
// Harness scenarios: one command a line, '#' starts a comment.
//
//   wait MS                 advance the virtual clock, running what falls due
//   type TEXT               type UTF-8 text into the focused window; text in
//                           double quotes is what lies between them
//   key NAME                Enter, Escape, Up, Down, Left, Right, PageUp,
//                           PageDown, Home, End, Tab, Space, Backspace,
//                           Delete, Insert, F1..F12, a letter or digit; with
//                           Ctrl+, Shift+ and Alt+ prefixes; Shift, Ctrl or
//                           Alt alone press and release that modifier
//   hold KEY N              KEY held down for N presses (the keyboard's
//                           repeat: N key-downs, then one release)
//   click X Y  rclick X Y  dblclick X Y  move X Y   (screen pixels)
//   drag X1 Y1 X2 Y2        left-button drag
//   press X Y  release X Y  the left button down or up there (the pointer
//                           moves there first)
//   mclick X Y              middle-button click
//   wheel N                 N notches at the pointer (positive: away)
//   clipboard TEXT          put UTF-8 text on the clipboard (quoted as type)
//   clipboard-image         put a picture (no text) on the clipboard
//   shot FILE.png           the active top-level window as a PNG (FILE is
//                           relative to the output folder and stays in it)
//   shot WINDOW FILE.png    a named top-level window as a PNG
//   shot screen FILE.png    the whole virtual screen as a PNG
//   state FILE.json         the program's observable state
//   restart                 close the program as a person would and start
//                           it again (scenarios marked "# harness: program")
//   expect PATH VALUE       stop with an error unless the state value at the
//                           dotted PATH equals VALUE (a JSON literal, or a
//                           bare word for a string); a negative index in
//                           PATH counts from the end of an array
//
// Directives, on lines of their own:
//   # harness: program      run the program rather than the demo windows
//   # load-step: MS         each yield of the start-up (unpacking, loading)
//                           moves the virtual clock on by MS milliseconds
//   # file-size-limit: N    (CTest) run under "ulimit -f N"
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/error.h"

namespace harness {

struct Command {
    int line = 0;
    std::string name;
    std::vector<std::string> args;  // split at blanks; text commands keep one argument
};

// Reads and checks a whole scenario before anything runs, so a typo on the
// last line does not waste a run.
platform::Result<std::vector<Command>> ParseScenario(const std::string& text);

// Parses "Ctrl+Shift+Tab" into a key code and modifier bits.
bool ParseKey(const std::string& name, uint32_t* vk, uint32_t* modifiers);

}  // namespace harness
