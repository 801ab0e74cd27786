// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/controls/command_button.h"

#include <algorithm>

namespace platform::controls {

namespace {
constexpr const char* kButtonClass = "KovelinCommandButton";

void Edge(DC& dc, const Rect& r, Color top_left, Color bottom_right) {
    dc.FillRect({r.left, r.top, r.right - 1, r.top + 1}, top_left);
    dc.FillRect({r.left, r.top, r.left + 1, r.bottom - 1}, top_left);
    dc.FillRect({r.left, r.bottom - 1, r.right, r.bottom}, bottom_right);
    dc.FillRect({r.right - 1, r.top, r.right, r.bottom}, bottom_right);
}
}  // namespace

CommandButton::CommandButton(HWND parent, std::string name, const Rect& r, std::string caption)
    : caption_(std::move(caption)) {
    EnsureClass(kButtonClass, 0, kNoBackground);
    Create(parent, kButtonClass, name, r, WS_VISIBLE | WS_TABSTOP, 0, caption_);
}

void CommandButton::set_caption(std::string c) {
    caption_ = std::move(c);
    SetWindowText(hwnd_, caption_);
    InvalidateRect(hwnd_);
}

void CommandButton::set_default(bool d) {
    default_ = d;
    InvalidateRect(hwnd_);
}

void CommandButton::set_value(bool v) {
    if (!v || value_) return;
    value_ = true;
    if (Click()) value_ = false;
}

bool CommandButton::Click() {
    HWND self = hwnd_;
    if (on_click) on_click();
    // The handler may have unloaded the form and with it this object.
    return IsWindow(self);
}

void CommandButton::SetPressed(bool p) {
    if (p == pressed_) return;
    pressed_ = p;
    InvalidateRect(hwnd_);
}

void CommandButton::Paint() {
    PAINTSTRUCT ps;
    auto dc = BeginPaint(hwnd_, &ps);
    if (!dc) {
        EndPaint(hwnd_, &ps);
        return;
    }
    const Rect client = GetClientRect(hwnd_);
    const bool focused = has_focus();
    Rect r = client;
    dc->FillRect(r, EffectiveBackColor());
    if (default_ || focused) {
        dc->FrameRect(r, SystemColor(COLOR_WINDOWFRAME));
        r = r.inflate(-1, -1);
    }
    if (pressed_) {
        dc->FrameRect(r, SystemColor(COLOR_BTNSHADOW));
    } else {
        Edge(*dc, r, SystemColor(COLOR_BTNHIGHLIGHT), SystemColor(COLOR_3DDKSHADOW));
        Edge(*dc, r.inflate(-1, -1), SystemColor(COLOR_3DLIGHT), SystemColor(COLOR_BTNSHADOW));
    }

    if (!caption_.empty()) {
        dc->SetFont(font_->desc());
        dc->SetBkMode(BkMode::kTransparent);
        const uint32_t format = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
        Rect text = client.inflate(-4, -4);
        Rect calc = text;
        dc->DrawText(caption_, calc, format | DT_CALCRECT);
        // Centre the (possibly wrapped) caption vertically by hand: the
        // centring flag only works for single lines.
        text.top += std::max(0, (text.height() - calc.height()) / 2);
        if (pressed_) text = text.offset(1, 1);
        if (enabled()) {
            dc->SetTextColor(EffectiveForeColor());
            dc->DrawText(caption_, text, format);
        } else {
            Rect shadow = text.offset(1, 1);
            dc->SetTextColor(SystemColor(COLOR_BTNHIGHLIGHT));
            dc->DrawText(caption_, shadow, format);
            dc->SetTextColor(SystemColor(COLOR_GRAYTEXT));
            dc->DrawText(caption_, text, format);
        }
    }
    if (focused) dc->DrawFocusRect(client.inflate(-4, -4));
    EndPaint(hwnd_, &ps);
}

LRESULT CommandButton::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    HWND self = hwnd_;
    const Point at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;  // the paint fills the whole face
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ENABLE:
            InvalidateRect(self);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            ::platform::SetFocus(self);
            if (!IsWindow(self)) return 0;
            mouse_tracking_ = true;
            SetPressed(true);
            Control::HandleMessage(WM_LBUTTONDOWN, wp, lp);
            return 0;
        case WM_MOUSEMOVE:
            // Sliding off the button while holding it pops it back up;
            // sliding back on presses it again.
            if (mouse_tracking_) SetPressed(GetClientRect(self).contains(at));
            return Control::HandleMessage(msg, wp, lp);
        case WM_LBUTTONUP: {
            const bool click = mouse_tracking_ && GetClientRect(self).contains(at);
            mouse_tracking_ = false;
            SetPressed(false);
            Control::HandleMessage(msg, wp, lp);
            if (click && IsWindow(self)) Click();
            return 0;
        }
        case WM_CAPTURECHANGED:
            if (HwndFromParam(lp) != self && mouse_tracking_) {
                mouse_tracking_ = false;
                SetPressed(false);
            }
            return Control::HandleMessage(msg, wp, lp);
        case WM_SETFOCUS:
            InvalidateRect(self);
            return Control::HandleMessage(msg, wp, lp);
        case WM_KILLFOCUS:
            space_down_ = false;
            if (!mouse_tracking_) SetPressed(false);
            InvalidateRect(self);
            return Control::HandleMessage(msg, wp, lp);
        case WM_KEYDOWN: {
            int16_t code = static_cast<int16_t>(wp);
            if (on_key_down) on_key_down(code, ShiftState());
            if (!IsWindow(self)) return 0;
            if (code == VK_SPACE && !space_down_ && !mouse_tracking_) {
                space_down_ = true;
                SetPressed(true);
            } else if (code == VK_RETURN) {
                Click();
            }
            return 0;
        }
        case WM_KEYUP: {
            int16_t code = static_cast<int16_t>(wp);
            if (on_key_up) on_key_up(code, ShiftState());
            if (!IsWindow(self)) return 0;
            if (code == VK_SPACE && space_down_) {
                space_down_ = false;
                SetPressed(false);
                Click();
            }
            return 0;
        }
        default:
            return Control::HandleMessage(msg, wp, lp);
    }
}

void CommandButton::ReportState(Json& out) const {
    out.Set("caption", caption_);
    if (pressed_) out.Set("pressed", true);
}

}  // namespace platform::controls
