// SPDX-License-Identifier: GPL-3.0-or-later
// The headless backend: the whole window system with no display. A virtual
// screen, a virtual clock, an in-memory clipboard, and scripted input. Sounds
// play on SDL's silent audio driver, never on a sound card.
//
// When a message loop runs out of work it asks the backend to wait; here
// that runs the next step of a script (the harness's scenario, or a test's
// list of steps), so scripted input reaches modal loops too.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/backend.h"
#include "platform/clock.h"
#include "platform/window.h"

namespace platform::headless {

class HeadlessBackend final : public Backend {
  public:
    explicit HeadlessBackend(Size screen = {1024, 768});

    Size ScreenSize() const override { return screen_; }
    void Present(HWND top, const Surface& frame, const Rect& dirty) override;
    bool WaitForInput(std::optional<uint64_t> deadline_ms) override;
    void SetCursorShape(const Cursor& cursor) override { cursor_ = cursor; }
    void WarpCursor(Point screen) override { warped_to_ = screen; }
    std::optional<std::string> ClipboardText() const override { return clipboard_; }
    bool SetClipboardText(const std::string& utf8) override;

    // The clipboard holds a picture (no text).
    void SetClipboardImage();

    // Work to do when a loop is idle. A step returns false when the script
    // has nothing more to give; loops then end.
    using Step = std::function<bool()>;
    void SetIdleHandler(Step handler) { idle_ = std::move(handler); }
    // Queues one-off steps, run before the idle handler.
    void QueueStep(Step step) { steps_.push_back(std::move(step)); }

    // Virtual time the idle waits may move forward to (for `wait`). The
    // backend also watches the clock's sleeps: a running clock that reaches
    // its target while the program sleeps (an animation paced by Sleep
    // calls) hands over to the script there, so the script sees the
    // program mid-sleep; input it makes waits for the program's next yield.
    void SetClock(VirtualClock* clock);
    // Asks idle waits to let virtual time run until `target_ms`, stopping at
    // each timer on the way.
    void RunClockUntil(uint64_t target_ms) { run_until_ = target_ms; }
    bool clock_running() const { return run_until_.has_value(); }

    const Cursor& cursor() const { return cursor_; }
    uint64_t present_count() const { return presents_; }
    std::optional<Point> warped_to() const { return warped_to_; }

  private:
    // Runs script steps at each `RunClockUntil` target up to `until_ms`.
    void SleepUntil(uint64_t until_ms);
    // The next step: a queued one, else the idle handler's; false when the
    // script has nothing more.
    bool NextStep();

    Size screen_;
    std::optional<std::string> clipboard_;
    Cursor cursor_;
    std::optional<Point> warped_to_;
    uint64_t presents_ = 0;
    Step idle_;
    std::deque<Step> steps_;
    VirtualClock* clock_ = nullptr;
    std::optional<uint64_t> run_until_;
};

// A window system on the headless backend and a virtual clock, for tests
// and the harness.
class HeadlessSession {
  public:
    explicit HeadlessSession(Size screen = {1024, 768});

    HeadlessBackend& backend() { return *backend_; }
    VirtualClock& clock() { return *clock_; }

    // Moves virtual time on by `ms`, delivering every timer at its due time
    // and letting messages and paints run after each.
    void Advance(uint64_t ms);

    // Input helpers in screen pixels; each lets the messages run.
    void Click(Point screen, MouseButton button = MouseButton::kLeft);
    void DoubleClick(Point screen);
    void MoveMouse(Point screen);
    void Drag(Point from, Point to, int steps = 4);
    void Key(uint32_t vk, uint32_t modifiers = 0);
    void Type(std::string_view utf8);

  private:
    // Declared first: owned by the session below, reached through these.
    HeadlessBackend* backend_;
    VirtualClock* clock_;
    WindowSystemSession session_;
};

}  // namespace platform::headless
