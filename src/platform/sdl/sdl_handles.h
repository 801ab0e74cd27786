// SPDX-License-Identifier: GPL-3.0-or-later
// Owners for SDL handles, so every window, cursor and surface the desktop
// backend makes is released exactly once, whatever path leaves the scope.
#pragma once

#include <SDL.h>

#include <memory>

namespace platform::sdl {

struct SdlWindowDeleter {
    void operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
};
struct SdlCursorDeleter {
    void operator()(SDL_Cursor* c) const { SDL_FreeCursor(c); }
};
struct SdlSurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
struct SdlTextDeleter {
    void operator()(char* t) const { SDL_free(t); }
};

using SdlWindowPtr = std::unique_ptr<SDL_Window, SdlWindowDeleter>;
using SdlCursorPtr = std::unique_ptr<SDL_Cursor, SdlCursorDeleter>;
using SdlSurfacePtr = std::unique_ptr<SDL_Surface, SdlSurfaceDeleter>;
using SdlTextPtr = std::unique_ptr<char, SdlTextDeleter>;

// SDL's video subsystem, started for as long as the owner lives.
class SdlVideo {
  public:
    SdlVideo() = default;
    SdlVideo(const SdlVideo&) = delete;
    SdlVideo& operator=(const SdlVideo&) = delete;
    ~SdlVideo() {
        if (started_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    bool Start() {
        if (!started_) started_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
        return started_;
    }

  private:
    bool started_ = false;
};

}  // namespace platform::sdl
