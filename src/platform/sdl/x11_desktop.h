// SPDX-License-Identifier: GPL-3.0-or-later
// What the desktop backend does on X11 beside SDL, where SDL 2.26 falls
// short: the keyboard focus without a window manager, an X error SDL can
// provoke by itself, and where a window really is. Kept apart from the
// backend because the X11 headers define macros that clash with the
// program's own names. Off X11 each call does the least it can (see each).
#pragma once

#include <optional>
#include <string>

#include "platform/geometry.h"

struct SDL_Window;

namespace platform::sdl {

// The desktop's Xft.dpi resource as text ("192"), read from the X server's
// resource database; nothing when it is not set or off X11.
std::optional<std::string> XftDpi();

// --- the keyboard focus ---------------------------------------------------------
// SDL leaves the focus to a window manager. With none running, SDL gives
// the focus to every window it maps, even one that is only shown beside the
// active one, and nothing gives it to a window the program activates.

// Runs `map` (SDL_ShowWindow or SDL_RestoreWindow) on the window and then
// puts the keyboard focus back where it was, if mapping moved it onto the
// window. Off X11 it only runs `map`.
void MapKeepingFocus(SDL_Window* window, void (*map)(SDL_Window*));

// Gives `to` the keyboard focus if `from` has it. Done before `from` goes
// away, this keeps the desktop from handing the focus to a window of its own
// choosing first (a window manager that falls back to another window can
// then refuse a later request for `to`). Does nothing off X11.
void PassFocus(SDL_Window* from, SDL_Window* to);

// Gives the window the keyboard focus if no window manager runs on its X
// display; with one, the manager moves the focus (on SDL_RaiseWindow's
// request) and this does nothing, as it does off X11.
void FocusIfUnmanaged(SDL_Window* window);

// --- errors ---------------------------------------------------------------------

// While waiting for events SDL names its newest window as the one to wake
// it through, and any event that arrives meanwhile makes it send that window
// a message from a second connection. When the program destroys that window
// straight away (a pop-up that closes on the click that woke the wait), the
// server may see the destruction first and reject the message, and Xlib's
// default answer to the rejection ends the process. This installs an error
// handler that drops exactly those rejections and passes every other error
// on to the handler that was in place first. Called before SDL's video
// starts; harmless where SDL does not use X11.
void TolerateMessagesToDestroyedWindows();

// --- position -------------------------------------------------------------------

// Where the window's top-left corner is on the screen, asked of the X
// server; nullopt off X11. SDL's own reports can be wrong while a window
// manager reparents a window that is being moved (the position comes out
// counted twice).
std::optional<Point> ScreenPosition(SDL_Window* window);

}  // namespace platform::sdl
