// SPDX-License-Identifier: GPL-3.0-or-later
// Internal state of the window system, shared by its implementation files
// (window_core.cpp, message_loop.cpp, input.cpp, painting.cpp). Nothing
// outside src/platform includes this.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/property_bag.h"
#include "platform/window.h"

namespace platform::detail {

struct Window {
    HWND handle;
    std::string class_name;
    const WndClass* cls = nullptr;
    WNDPROC proc = nullptr;
    uint32_t style = 0;
    uint32_t ex_style = 0;
    uintptr_t id = 0;
    intptr_t userdata = 0;
    HWND parent;                 // children only
    HWND owner;                  // top-level windows only
    std::vector<HWND> children;  // bottom of the z-order first
    Rect rect;  // window rectangle: parent client coordinates, or screen for top-levels
    std::string text;
    std::string name;
    std::map<std::string, intptr_t, CaseInsensitiveLess> props;
    std::optional<Region> region;  // window coordinates
    std::optional<Cursor> cursor;
    uint64_t creation_seq = 0;
    bool destroying = false;
    bool created = false;  // WM_CREATE has returned
    bool minimised = false;
    std::unique_ptr<Surface> persistent;

    // Top-level windows only.
    Surface frame;
    Region dirty;                  // window coordinates
    bool present_pending = false;  // drawn on outside painting (GetDC)
    HWND last_focus;

    // While this window handles WM_PAINT: what it may paint (top-level
    // window coordinates).
    std::optional<Region> paint_clip;

    bool is_child() const { return (style & WS_CHILD) != 0; }
    bool visible_flag() const { return (style & WS_VISIBLE) != 0; }
    bool enabled_flag() const { return (style & WS_DISABLED) == 0; }
    // Whether the activation may fall to this top-level window when the
    // active one goes away.
    bool can_take_activation() const {
        return visible_flag() && !minimised && enabled_flag() && !(ex_style & WS_EX_NOACTIVATE);
    }
};

struct Timer {
    HWND hwnd;
    uintptr_t id = 0;
    uint32_t interval = 0;
    uint64_t due = 0;
    uint64_t fired_in_pass = 0;  // DoEvents pass that last delivered it
};

struct Hook {
    uint32_t id = 0;
    HOOKPROC proc = nullptr;
};

enum class InputKind { kMove, kButton, kWheel, kKey, kChar, kClose, kMinimise, kMoved };

struct InputEvent {
    InputKind kind = InputKind::kMove;
    Point pt{};
    MouseButton button = MouseButton::kLeft;
    bool down = false;
    int32_t value = 0;  // wheel delta, key code, code point
    uint32_t modifiers = 0;
    HWND target{};
    bool translate = true;  // a key press also produces its character
};

struct ClickMemory {
    HWND hwnd;
    MouseButton button = MouseButton::kLeft;
    uint64_t time = 0;
    Point pt{};
    bool valid = false;
};

struct State {
    std::unique_ptr<Backend> backend;
    int32_t device_scale = 1;  // device pixels per program pixel of every frame
    std::unique_ptr<Clock> clock;

    std::unordered_map<uint32_t, std::unique_ptr<Window>> windows;
    uint64_t next_seq = 1;
    std::map<std::string, std::unique_ptr<WndClass>, CaseInsensitiveLess> classes;
    std::vector<HWND> top_levels;  // bottom of the z-order first

    std::vector<Hook> hooks;  // newest last
    uint32_t next_hook = 1;
    // The hook chain being run: a snapshot and the position of the running
    // hook, so CallNextHookEx continues it even after a hook removed itself.
    struct HookRun {
        std::vector<Hook> chain;
        size_t index = 0;
    };
    std::vector<HookRun> hook_runs;

    std::deque<MSG> posted;
    std::deque<InputEvent> input;
    std::vector<Timer> timers;
    uint64_t doevents_pass = 0;  // nonzero while DoEvents runs
    uint64_t next_pass = 1;

    HWND focus;
    HWND active;
    HWND capture;
    Point cursor_pos;
    Cursor current_cursor;
    std::optional<Cursor> override_cursor;
    uint8_t key_down[256] = {};
    ClickMemory last_click;
    HWND moving;      // a top-level window following the pointer
    Point move_grab;  // pointer position inside the moving window
    // The mouse button whose release ends the move: the one held when the
    // move began (any button can start one), the left one otherwise.
    uint8_t move_button = VK_LBUTTON;
    int modal_depth = 0;
    std::optional<int32_t> quit_code;
};

State& S();
State* MaybeS();
Window* Find(HWND h);

// Geometry helpers (window_core.cpp).
Rect NonClientInsets(const Window& w);  // left, top, right, bottom thickness
Rect ClientRectInWindow(const Window& w);
Point WindowOriginInTop(const Window& w);  // window top-left in its top-level's window coords
Window* TopOf(Window* w);
// The top-level window of a live window (itself when it is one).
Window& TopRef(Window& w);

// Painting (painting.cpp).
void InvalidateWindowArea(Window& w, const Region& area_in_top);
Region VisibleRegionInTop(const Window& w, bool client_only);
bool PaintPendingTopLevel();
void PaintTopLevel(Window& top);
// Sizes a top-level window's frame to its rectangle at the device scale,
// keeping what fits.
void SizeFrame(Window& top);
void DrawNonClient(Window& w, DC& dc);
// The close (0) or minimise (1) box of a captioned frame, window coordinates.
Rect CaptionButtonRect(const Window& w, int which);

// Input (input.cpp).
bool RouteInput(const InputEvent& ev, MSG* out);
void ActivateTopLevel(HWND top, bool focus_too);

// Loop (message_loop.cpp).
void DropTimersOf(HWND hwnd);

}  // namespace platform::detail
