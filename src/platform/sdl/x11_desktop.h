// What the desktop backend does on X11 beside SDL, where SDL 2.26 falls
// short: the keyboard focus without a window manager. Kept apart from the
// backend because the X11 headers define macros that clash with the
// program's own names. Off X11 each call does the least it can (see each).
#pragma once

struct SDL_Window;

namespace platform::sdl {

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

}  // namespace platform::sdl
