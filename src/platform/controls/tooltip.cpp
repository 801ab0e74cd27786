// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/controls/tooltip.h"

#include <algorithm>
#include <cmath>

#include "platform/controls/control.h"

namespace platform::controls::tooltips {

namespace {
constexpr const char* kTipClass = "KovelinTooltip";
constexpr uintptr_t kShowTimer = 1;
constexpr uintptr_t kPollTimer = 2;
constexpr uintptr_t kHideTimer = 3;
// How often the pointer is checked while a control is being hovered: there
// is no leave message, so leaving is noticed by looking.
constexpr uint32_t kPollMs = 100;
constexpr int32_t kPadX = 3;
constexpr int32_t kPadY = 2;
// Below the pointer's hot spot, clear of a standard arrow.
constexpr int32_t kBelowPointer = 20;

struct State {
    HWND tip;
    HWND hot;                 // the control the pointer is over
    bool suppressed = false;  // dismissed or timed out until the pointer moves on
};

State& S() {
    static State s;
    return s;
}

FontDesc TipFont() {
    FontDesc f;
    f.name = "MS Sans Serif";
    f.size = 8.25f;
    return f;
}

bool PointerOver(HWND control) {
    if (!IsWindow(control) || !IsWindowVisible(control)) return false;
    HWND under = WindowFromPoint(GetCursorPos());
    return under == control || IsChild(control, under);
}

// Window handles are only unique within one window system, and tests start
// a new one per test: a handle kept from an earlier one may name some other
// window now. Only the tip's own class proves it is still the tip.
bool TipAlive() {
    const State& s = S();
    return IsWindow(s.tip) && GetClassName(s.tip) == kTipClass;
}

std::string TextOf(HWND control) {
    Control* c = Control::FromWindow(control);
    return c ? c->tooltip_text() : std::string();
}

void ForgetHot() {
    State& s = S();
    s.hot = {};
    s.suppressed = false;
    if (TipAlive()) KillTimer(s.tip, kPollTimer);
}

void Show() {
    State& s = S();
    const std::string text = TextOf(s.hot);
    if (text.empty() || !PointerOver(s.hot)) return;
    Surface scratch(1, 1);
    DC dc(scratch);
    dc.SetFont(TipFont());
    Rect calc{0, 0, 0, 0};
    dc.DrawText(text, calc, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    const int32_t w = calc.width() + 2 * kPadX + 2;  // the border's pixel each side
    const int32_t h = calc.height() + 2 * kPadY + 2;
    const Point p = GetCursorPos();
    const int32_t screen_w = GetSystemMetrics(SM_CXSCREEN);
    const int32_t screen_h = GetSystemMetrics(SM_CYSCREEN);
    int32_t x = std::clamp(p.x, 0, std::max(0, screen_w - w));
    int32_t y = p.y + kBelowPointer;
    if (y + h > screen_h) y = std::max(0, p.y - h - 2);
    SetWindowText(s.tip, text);
    SetWindowPos(s.tip, HWND_TOP, x, y, w, h, SWP_NOACTIVATE);
    InvalidateRect(s.tip);
    ShowWindow(s.tip, SW_SHOWNA);
    SetTimer(s.tip, kHideTimer, kShowTimeMs);
}

LRESULT TipProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    State& s = S();
    switch (msg) {
        case WM_NCHITTEST:
            return HTTRANSPARENT;
        case WM_MOUSEACTIVATE:
            return 3;  // never activate
        case WM_TIMER:
            if (wp == kShowTimer) {
                KillTimer(h, kShowTimer);
                Show();
            } else if (wp == kHideTimer) {
                Hide();
                s.suppressed = true;
            } else if (wp == kPollTimer) {
                if (!PointerOver(s.hot)) {
                    Hide();
                    ForgetHot();
                }
            }
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            auto dc = BeginPaint(h, &ps);
            if (dc) {
                Rect r = GetClientRect(h);
                dc->FillRect(r, kSystemColorFlag | COLOR_INFOBK);
                dc->SetFont(TipFont());
                dc->SetBkMode(BkMode::kTransparent);
                dc->SetTextColor(kSystemColorFlag | COLOR_INFOTEXT);
                Rect t = r.inflate(-kPadX, -kPadY);
                dc->DrawText(GetWindowText(h), t, DT_SINGLELINE | DT_NOPREFIX | DT_LEFT);
            }
            EndPaint(h, &ps);
            return 0;
        }
        case WM_REPORTSTATE:
            reinterpret_cast<Json*>(lp)->Set("text", GetWindowText(h));
            return 0;
        default:
            return DefWindowProc(h, msg, wp, lp);
    }
}

HWND EnsureTip() {
    State& s = S();
    if (TipAlive()) return s.tip;
    // A new window system means a new tip, and nothing tracked before it.
    s = State{};
    if (!IsClassRegistered(kTipClass))
        RegisterClass({kTipClass, TipProc, 0, kSystemColorFlag | COLOR_INFOBK, {}});
    // Disabled and never activated: it takes no input, and closing a modal
    // window can never hand the activation to the tip.
    s.tip = CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kTipClass, "",
                           WS_POPUP | WS_BORDER | WS_DISABLED, 0, 0, 10, 10, {});
    SetWindowName(s.tip, "tooltip");
    return s.tip;
}

}  // namespace

void TrackMouse(HWND control) {
    if (!WindowSystemRunning()) return;
    State& s = S();
    if (!EnsureTip()) return;
    if (control != s.hot) {
        Hide();
        ForgetHot();
        s.hot = control;
    }
    if (s.suppressed || IsWindowVisible(s.tip)) return;
    if (TextOf(control).empty()) return;
    // The delay counts from when the pointer comes to rest, so every move
    // before the tip shows starts it again.
    SetTimer(s.tip, kShowTimer, kHoverDelayMs);
    SetTimer(s.tip, kPollTimer, kPollMs);
}

void Dismiss() {
    if (!WindowSystemRunning()) return;
    if (!TipAlive()) return;
    Hide();
    if (S().hot) S().suppressed = true;
}

void Hide() {
    if (!WindowSystemRunning()) return;
    State& s = S();
    if (!TipAlive()) return;
    KillTimer(s.tip, kShowTimer);
    KillTimer(s.tip, kHideTimer);
    if (IsWindowVisible(s.tip)) ShowWindow(s.tip, SW_HIDE);
}

HWND VisibleTip() {
    if (!WindowSystemRunning()) return {};
    HWND t = S().tip;
    return TipAlive() && IsWindowVisible(t) ? t : HWND{};
}

}  // namespace platform::controls::tooltips
