// SPDX-License-Identifier: GPL-3.0-or-later
// The window system: windows identified by handles, window procedures,
// subclassing, properties, hooks, sending and posting, the message loop,
// timers, input routing, focus, capture, regions and painting.
//
// One user-interface thread owns everything; there are no locks. The calls
// keep the shape and the message numbers of the platform the components
// were designed for, so message-level code (hooks, subclassed procedures,
// notification decoding) can be written as it was designed.
//
// Coordinates: a window's position is relative to its parent's client area
// (screen coordinates for top-level windows); client coordinates start at
// the top-left of the client area; window coordinates at the top-left of the
// whole window, frame included. Regions handed to SetWindowRgn are in window
// coordinates.
//
// Not done yet: scroll bars owned by the window frame (WS_VSCROLL/WS_HSCROLL
// draw nothing; the program uses scroll bar controls), resizable frames.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/backend.h"
#include "platform/clock.h"
#include "platform/color.h"
#include "platform/cursor.h"
#include "platform/dc.h"
#include "platform/geometry.h"
#include "platform/messages.h"
#include "platform/region.h"

namespace platform {

// --- the session -------------------------------------------------------------

// Starts the window system on a backend and a clock. There is one window
// system per process at a time; tests start and stop one per test.
class WindowSystemSession {
  public:
    WindowSystemSession(std::unique_ptr<Backend> backend, std::unique_ptr<Clock> clock);
    ~WindowSystemSession();  // destroys every remaining window
    WindowSystemSession(const WindowSystemSession&) = delete;
    WindowSystemSession& operator=(const WindowSystemSession&) = delete;

    Backend& backend();
    Clock& clock();
};

bool WindowSystemRunning();
Backend& CurrentBackend();
Clock& CurrentClock();

// --- classes and creation ------------------------------------------------------

struct WndClass {
    std::string name;
    WNDPROC proc = nullptr;
    uint32_t style = 0;             // CS_*
    Color background = 0x8000000F;  // button face; kNoBackground for none
    Cursor cursor;
};
constexpr Color kNoBackground = 0xFFFFFFFF;

bool RegisterClass(const WndClass& wc);
bool IsClassRegistered(std::string_view name);

// Sends WM_NCCREATE and WM_CREATE with a CREATESTRUCT; a window procedure
// (or a hook) may change the record's style during WM_CREATE, and the window
// takes the style from the record afterwards. Returns a null handle when the
// class is unknown or WM_CREATE returns -1. For WS_POPUP and overlapped
// windows `parent` is the owner.
HWND CreateWindowEx(uint32_t ex_style, std::string_view class_name, std::string_view text,
                    uint32_t style, int32_t x, int32_t y, int32_t width, int32_t height,
                    HWND parent, uintptr_t id = 0, void* create_params = nullptr);
// WM_DESTROY (the window, then its children), WM_NCDESTROY (children first),
// then the handle is gone. Owned top-level windows go first.
bool DestroyWindow(HWND hwnd);
bool IsWindow(HWND hwnd);

LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

// --- procedures, long values, properties ------------------------------------

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
// GWLP_WNDPROC values are WNDPROC pointers cast to intptr_t.
intptr_t GetWindowLongPtr(HWND hwnd, int32_t index);
// Returns the previous value, 0 on failure.
intptr_t SetWindowLongPtr(HWND hwnd, int32_t index, intptr_t value);
WNDPROC GetWindowProc(HWND hwnd);
WNDPROC SetWindowProc(HWND hwnd, WNDPROC proc);  // returns the previous one

bool SetProp(HWND hwnd, std::string_view name, intptr_t value);
intptr_t GetProp(HWND hwnd, std::string_view name);  // 0 when missing
intptr_t RemoveProp(HWND hwnd, std::string_view name);

std::string GetClassName(HWND hwnd);
// A window's program name ("frmMain", "cmbSearch"), for the harness and
// for finding windows in tests.
void SetWindowName(HWND hwnd, std::string_view name);
std::string GetWindowName(HWND hwnd);
// The first window (depth first, from `root`, or among top-level windows
// and their descendants when root is null) with that name.
HWND FindWindowByName(std::string_view name, HWND root = HWND{});
std::string GetWindowText(HWND hwnd);
bool SetWindowText(HWND hwnd, std::string_view text);

// --- hooks -----------------------------------------------------------------

using HOOKPROC = LRESULT (*)(int32_t code, WPARAM wp, LPARAM lp);
struct HHOOK {
    uint32_t id = 0;
    explicit operator bool() const { return id != 0; }
    friend bool operator==(HHOOK a, HHOOK b) { return a.id == b.id; }
};

// A WH_CALLWNDPROC hook sees every sent message (lParam: CWPSTRUCT*) before
// the target window does. The newest hook runs first; each passes on with
// CallNextHookEx. A hook may remove itself while it runs.
HHOOK SetWindowsHookEx(int32_t kind, HOOKPROC proc);
LRESULT CallNextHookEx(HHOOK hook, int32_t code, WPARAM wp, LPARAM lp);
bool UnhookWindowsHookEx(HHOOK hook);

// --- sending and the loop ------------------------------------------------------

// Synchronous: through the hooks, then the window's current procedure.
// Returns 0 for a window that does not exist.
LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0);
// Queued; a null window posts a thread message.
bool PostMessage(HWND hwnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0);
void PostQuitMessage(int32_t code);

// Waits for the next message (posted, input, paint, then timers); false on
// WM_QUIT or when the backend reports no more input can come.
bool GetMessage(MSG* msg);
bool PeekMessage(MSG* msg, UINT remove_flags);
LRESULT DispatchMessage(const MSG& msg);
// Runs until WM_QUIT; returns its code.
int32_t RunMessageLoop();
// Lets pending messages, input, paints and due timers run once, without
// waiting.
void DoEvents();
// Shows a window modally: disables every other enabled top-level window,
// runs a nested loop until the window is destroyed or hidden (or the loop
// is told to quit), then re-enables them.
void RunModal(HWND hwnd);
bool InModalLoop();

// --- timers -----------------------------------------------------------------

// WM_TIMER (wParam = id) to the window through the loop. Setting an existing
// id restarts it. An interval of 0 fires at every loop pass.
bool SetTimer(HWND hwnd, uintptr_t id, uint32_t interval_ms);
bool KillTimer(HWND hwnd, uintptr_t id);
// Clock time at which the next timer is due, if any.
std::optional<uint64_t> NextTimerDue();
// Milliseconds since the clock started, wrapping at 32 bits.
uint32_t GetTickCount();
// Blocks (real clock) or moves virtual time on; no messages run.
void Sleep(uint32_t ms);

// --- tree, geometry, visibility ----------------------------------------------

HWND GetParent(HWND hwnd);  // the parent of a child, the owner of a top-level
HWND GetAncestorTopLevel(HWND hwnd);
HWND GetWindow(HWND hwnd, UINT relation);
bool IsChild(HWND parent, HWND hwnd);
std::vector<HWND> GetChildren(HWND hwnd);  // bottom of the z-order first
std::vector<HWND> GetTopLevelWindows();    // bottom of the z-order first

Rect GetWindowRect(HWND hwnd);  // screen coordinates
Rect GetClientRect(HWND hwnd);  // (0, 0, width, height)
// Where the client area lies inside the window (frame thickness).
Rect GetClientAreaInWindow(HWND hwnd);
bool MoveWindow(HWND hwnd, int32_t x, int32_t y, int32_t width, int32_t height,
                bool repaint = true);
bool SetWindowPos(HWND hwnd, HWND insert_after, int32_t x, int32_t y, int32_t width, int32_t height,
                  UINT flags);
bool BringWindowToTop(HWND hwnd);
Point ClientToScreen(HWND hwnd, Point p);
Point ScreenToClient(HWND hwnd, Point p);
Point MapWindowPoint(HWND from, HWND to, Point p);  // null handle: screen
// Centres a top-level window on the screen or on another window.
void CenterWindow(HWND hwnd, HWND over = HWND{});

bool ShowWindow(HWND hwnd, int32_t command);
bool IsWindowVisible(HWND hwnd);  // the window and all its ancestors
bool IsIconic(HWND hwnd);
bool EnableWindow(HWND hwnd, bool enable);  // returns whether it was disabled
bool IsWindowEnabled(HWND hwnd);

// The window owns the region from now on. An empty optional removes it.
bool SetWindowRgn(HWND hwnd, std::optional<Region> region, bool redraw = true);
std::optional<Region> GetWindowRgn(HWND hwnd);

int32_t GetSystemMetrics(int32_t index);

// --- focus, activation, capture, cursor ---------------------------------------

HWND SetFocus(HWND hwnd);  // returns the previous focus
HWND GetFocus();
HWND GetActiveWindow();
HWND SetActiveWindow(HWND hwnd);
// The next (or previous) window with WS_TABSTOP in creation order among the
// visible, enabled descendants of the same top-level window.
HWND GetNextTabStop(HWND from, bool previous);
// Every such tab stop of `within`'s top-level window, in Tab order.
std::vector<HWND> GetTabStops(HWND within);

HWND SetCapture(HWND hwnd);
bool ReleaseCapture();
HWND GetCapture();

Point GetCursorPos();
// Moves the pointer; the window under it gets a WM_MOUSEMOVE.
bool SetCursorPos(int32_t x, int32_t y);
// Sets the pointer shape now (until the next WM_SETCURSOR handling).
void SetCursor(const Cursor& cursor);
Cursor GetCurrentCursor();
// A window's own pointer shape (used when the pointer is over it).
void SetWindowCursor(HWND hwnd, std::optional<Cursor> cursor);
// While set, every window shows this shape (an application-wide hourglass).
void SetOverrideCursor(std::optional<Cursor> cursor);

HWND WindowFromPoint(Point screen);
// Whether a key or button is down now (high bit), as the platform reports.
int16_t GetKeyState(uint32_t vk);

// --- input (from backends) ------------------------------------------------------

enum class MouseButton { kLeft, kRight, kMiddle };

enum KeyModifiers : uint32_t { kModShift = 1, kModControl = 2, kModAlt = 4 };

// Input enters the queue here and is routed when the loop takes it.
void InjectMouseMove(Point screen);
void InjectMouseButton(Point screen, MouseButton button, bool down);
void InjectMouseWheel(Point screen, int32_t delta);  // 120 a notch, positive away
// With `translate` off the key press types no character: a desktop backend
// whose keyboard reports typed text separately uses that.
void InjectKey(uint32_t vk, bool down, uint32_t modifiers, bool translate = true);
// Typed text (UTF-8): one WM_CHAR per code point to the focused window.
// Letters, digits and spaces also come as key presses unless `with_keys` is
// off (the backend already reported the keys themselves).
void InjectText(std::string_view utf8, bool with_keys = true);
// The close box of a native frame was used.
void InjectCloseRequest(HWND top);
void InjectMinimise(HWND top, bool minimised);
// A native move of a top-level window.
void InjectMoved(HWND top, Point screen);

// --- painting ---------------------------------------------------------------

// Marks part of the client area (null: all) for repainting.
bool InvalidateRect(HWND hwnd, const Rect* rect = nullptr, bool erase = true);
bool ValidateRect(HWND hwnd, const Rect* rect = nullptr);
// Paints now whatever of the window's top-level frame is invalid.
bool UpdateWindow(HWND hwnd);

struct PAINTSTRUCT {
    Rect rcPaint;  // client coordinates
    bool fErase = false;
};
// Inside WM_PAINT: a context on the window's client area, clipped to what
// needs painting and to what of the window is visible.
std::unique_ptr<DC> BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
void EndPaint(HWND hwnd, const PAINTSTRUCT* ps);
// Outside painting: a context on the client area as it is on screen now.
std::unique_ptr<DC> GetDC(HWND hwnd);
// The whole window, frame included.
std::unique_ptr<DC> GetWindowDC(HWND hwnd);

// Persistent drawing: the window keeps a picture of its client area; what is
// drawn on it (PersistentDC) survives repaints, which show the picture.
void SetPersistentDrawing(HWND hwnd, bool enabled);
bool HasPersistentDrawing(HWND hwnd);
std::unique_ptr<DC> PersistentDC(HWND hwnd);  // null without persistent drawing
Surface* PersistentSurface(HWND hwnd);

// Device pixels per program pixel (1 to kMaxDeviceScale) of every window's
// frame and persistent picture. Windows, regions, input and layout stay in
// program pixels; frames, shots and what the backend shows are realised at
// this scale. Set it at start-up, before windows are made; a change
// repaints every window at the new scale.
void SetDeviceScale(int32_t scale);
int32_t DeviceScale();

// Composes a top-level window as it looks now (frame, children, region) and
// returns the frame (at the device scale); pixels outside its region keep
// `outside`.
Surface RenderWindow(HWND top, Color outside = 0x808080);
// Composes the whole screen as it looks now: the visible top-level windows
// that are not minimised, bottom of the z-order first, on `desktop`, at the
// device scale.
Surface RenderScreen(Color desktop = 0x808080);

// --- clipboard -----------------------------------------------------------------

std::optional<std::string> GetClipboardTextUtf8();
bool SetClipboardTextUtf8(const std::string& utf8);

}  // namespace platform
