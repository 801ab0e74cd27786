// SPDX-License-Identifier: GPL-3.0-or-later
// What the desktop tests on a real X server share: a window system on the
// desktop backend, pumping it until the server has caught up, screenshots,
// and a window manager to run beside it. The tests skip unless
// run_under_xvfb.sh runs them, so an ordinary test run never opens windows
// on someone's desktop.
#pragma once

#include <sys/types.h>

#include <memory>
#include <string>

#include "platform/sdl/sdl_backend.h"
#include "platform/window.h"
#include "x11_probe.h"

namespace platform::sdl {

class Desktop {
  public:
    // Why the desktop tests cannot run here; empty when they can.
    static std::string Unavailable();

    Desktop() = default;
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    // Starts the window system on the desktop backend (and the display's
    // window manager, if any, is looked for now). Returns an error message.
    std::string Start();
    void Stop() { session_.reset(); }

    SdlBackend& backend() { return *backend_; }
    // The window system's clock: it moves only when a test says so.
    VirtualClock& clock() { return *clock_; }

    // Lets the X server, SDL and the window system work until `done` holds.
    // Each round waits for a native event (at most 20 ms), so this follows
    // the server rather than a clock; the round limit bounds a failure.
    template <class Pred>
    bool PumpUntil(Pred done, int rounds = 250) {
        for (int i = 0; i < rounds; ++i) {
            x11_probe::Sync();
            SDL_WaitEventTimeout(nullptr, 20);
            DoEvents();
            if (done()) return true;
        }
        return false;
    }
    // A few rounds with nothing to wait for, so late events still arrive.
    void Settle() {
        PumpUntil([] { return false; }, 5);
    }

    // The X window behind a top-level window.
    x11_probe::XWindow XWindowOf(HWND top) const {
        return x11_probe::XWindowOf(backend_->NativeWindowId(top));
    }

    // Writes the screen to $KOVELIN_SHOT_DIR/name, if that is set.
    static void SaveShot(const std::string& name);

  private:
    SdlBackend* backend_ = nullptr;
    VirtualClock* clock_ = nullptr;
    std::unique_ptr<WindowSystemSession> session_;
};

// A window manager on the test display for as long as this lives.
class WindowManager {
  public:
    WindowManager() = default;
    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;
    ~WindowManager() { Stop(); }

    // Whether the program is installed.
    static bool Installed(const char* program);
    // Starts `program` and waits until it manages the display. Returns an
    // error message.
    std::string Start(const char* program);
    void Stop();

  private:
    pid_t pid_ = -1;
};

}  // namespace platform::sdl
