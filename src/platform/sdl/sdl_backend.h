// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop backend: every top-level window of the window system becomes
// a borderless native SDL window at the same screen position and size (the
// window system draws caption bars and borders into its frames itself).
// Composed frames are copied into the native window's framebuffer, only the
// part that changed; native mouse, keyboard, text, focus, minimise and close
// events go back through the window system's Inject* calls.
//
// Window regions become the native window's shape on X11; elsewhere the
// window stays rectangular and the region still clips drawing and input.
//
// Pop-ups (drop-down lists, tips) become the desktop's own pop-ups, which
// the window manager leaves alone and which never take the keyboard; owned
// windows stay with their owner, message boxes as its dialogs. Showing a
// window leaves the keyboard focus where it is; activating one moves it
// there.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/device_scale.h"
#include "platform/error.h"
#include "platform/region.h"
#include "platform/sdl/screen_scale.h"
#include "platform/sdl/sdl_handles.h"
#include "platform/surface.h"

namespace platform::sdl {

// What a top-level window becomes natively.
enum class NativeKind {
    kNormal,
    kDialog,     // a dialog box (WS_EX_DLGMODALFRAME)
    kUtility,    // a tool window (WS_EX_TOOLWINDOW)
    kPopupMenu,  // a pop-up that takes clicks (WS_EX_NOACTIVATE), e.g. a drop-down list
    kTooltip,    // a pop-up that takes no input (WS_EX_NOACTIVATE, disabled)
};

// The scale of this desktop (see platform/device_scale.h), the X resource
// Xft.dpi included, up to the factor at which the screen holds a window of
// `largest_window` program pixels. Draw at its whole scale (SetDeviceScale
// once the window system runs) and give its factor to the backend
// (SetScreenFactor).
ScaleChoice DesktopScale(Size largest_window);

class SdlBackend final : public Backend {
  public:
    // Starts SDL's video subsystem; fails when there is no display to use.
    static Result<std::unique_ptr<SdlBackend>> Create();
    ~SdlBackend() override;
    SdlBackend(const SdlBackend&) = delete;
    SdlBackend& operator=(const SdlBackend&) = delete;

    Size ScreenSize() const override;
    void TopLevelChanged(HWND top, TopLevelChange change) override;
    void Present(HWND top, const Surface& frame, const Rect& dirty) override;
    void PumpInput() override;
    bool WaitForInput(std::optional<uint64_t> deadline_ms) override;
    void SetCursorShape(const Cursor& cursor) override;
    void WarpCursor(Point screen) override;
    std::optional<std::string> ClipboardText() const override;
    bool SetClipboardText(const std::string& utf8) override;

    // Screen pixels per program pixel. Without one (or with 0) the screen
    // shows frames as drawn, DeviceScale() pixels per program pixel; a
    // factor below DeviceScale() (1.5 for frames drawn at 2) sizes, places
    // and shapes native windows at that factor, reduces every frame to it
    // with an area-averaging filter, maps the pointer back with it, and
    // enlarges custom cursors by it.
    void SetScreenFactor(double factor) { screen_factor_ = factor; }
    ScreenScale Screen() const;

    // Whether the window has a native window, and whether its region is
    // applied to it as a native shape (for tests and diagnostics).
    bool HasNativeWindow(HWND top) const;
    bool IsNativelyShaped(HWND top) const;
    // Where the native window is on the screen: where it was last moved, or
    // where the display says it went.
    std::optional<Point> NativePosition(HWND top) const;
    // SDL's id of the native window (0 when there is none), which its
    // events carry.
    uint32_t NativeWindowId(HWND top) const;

  private:
    struct Native {
        HWND hwnd;
        SdlWindowPtr window;
        NativeKind kind = NativeKind::kNormal;
        Point position;   // on the screen, as last moved or seen moving
        Surface shown;    // the frame the native window shows, to repaint exposures
        Surface reduced;  // the frame reduced to the screen's factor, when it is
        bool shaped = false;
        std::optional<Region> region;           // the window's region, program pixels
        std::deque<Point> requested_positions;  // our own moves, not yet echoed
    };

    SdlBackend() = default;

    Native* NativeOf(HWND top);
    const Native* NativeOf(HWND top) const;
    Native* NativeOfSdl(uint32_t sdl_window_id);
    const Native* NativeOfSdl(uint32_t sdl_window_id) const;

    void CreateNative(HWND top);
    // Before an owned window is hidden or destroyed: its keyboard focus goes
    // to its owner rather than wherever the desktop would send it.
    void HandFocusToOwner(Native& n);
    void ApplyShape(Native& n);
    void ApplyTitle(Native& n);
    void MoveNative(Native& n);
    // Copies part of the retained frame to the native window.
    void Blit(Native& n, Rect area);

    void HandleEvent(const SDL_Event& ev);
    void HandleWindowEvent(const SDL_WindowEvent& ev);
    Point ScreenPointFor(uint32_t sdl_window_id, int32_t x, int32_t y, bool button_held) const;
    void ApplyPendingActivation();
    void FollowPointer();

    SdlVideo video_;
    std::map<uint32_t, Native> windows_;  // by window handle id
    std::map<CursorShape, SdlCursorPtr> system_cursors_;
    SdlCursorPtr custom_cursor_;
    uint32_t buttons_held_ = 0;
    Point last_pointer_;  // where the window system was last told the pointer is
    bool pumping_ = false;
    std::optional<HWND> pending_activation_;
    HWND following_native_focus_;  // being activated because it has the native focus
    double screen_factor_ = 0;     // 0: DeviceScale()
};

}  // namespace platform::sdl
