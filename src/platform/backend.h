// SPDX-License-Identifier: GPL-3.0-or-later
// What the window system needs from whatever shows its windows: the
// headless backend (tests, harness) and the desktop backend implement this.
//
// The window system owns every window and composes each top-level window
// into one frame; a backend only presents frames, reports the screen, feeds
// input back through the window system's Inject* calls, and waits.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/cursor.h"
#include "platform/geometry.h"
#include "platform/messages.h"
#include "platform/region.h"

namespace platform {

class Surface;

enum class TopLevelChange {
    kCreated,
    kDestroyed,
    kMoved,
    kResized,
    kShown,
    kHidden,
    kMinimised,
    kRestored,
    kRegion,
    kCaption,
    kActivated,
    kOwner  // a modal loop lent the window an owner for its run
};

class Backend {
  public:
    virtual ~Backend() = default;

    virtual Size ScreenSize() const = 0;

    // A top-level window changed; the backend mirrors it natively.
    virtual void TopLevelChanged(HWND /*top*/, TopLevelChange /*change*/) {}
    // A freshly composed frame of a top-level window; `dirty` is the part
    // that changed, in window coordinates (program pixels; the frame holds
    // frame.scale() device pixels for each).
    virtual void Present(HWND /*top*/, const Surface& /*frame*/, const Rect& /*dirty*/) {}

    // Moves native input into the window system (Inject* calls). Never
    // blocks.
    virtual void PumpInput() {}
    // Called when the message loop has nothing to do. Blocks until input
    // arrives or `deadline_ms` (clock time, or none) passes. Returns false
    // when no more input can ever come (the scripted input of a headless
    // run is used up); the loop then ends.
    virtual bool WaitForInput(std::optional<uint64_t> deadline_ms) = 0;

    virtual void SetCursorShape(const Cursor& /*cursor*/) {}
    virtual void WarpCursor(Point /*screen*/) {}
    // Begins a system move of a top-level window with the pointer (the
    // backend may do it natively). Returns false to let the window system
    // move the window itself from the mouse messages that follow.
    virtual bool BeginSystemMove(HWND /*top*/) { return false; }

    // Clipboard text as UTF-8; nullopt when the clipboard holds no text.
    virtual std::optional<std::string> ClipboardText() const = 0;
    virtual bool SetClipboardText(const std::string& utf8) = 0;
};

}  // namespace platform
