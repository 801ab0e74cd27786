// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/controls/control.h"

#include <set>

#include "platform/controls/tooltip.h"

namespace platform::controls {

namespace {
constexpr const char* kControlProp = "kv.control";

Cursor CursorFor(int16_t pointer, const PictureRef& icon) {
    switch (pointer) {
        case kPointerIBeam:
            return Cursor{CursorShape::kIBeam, {}, {}};
        case kPointerHourglass:
            return Cursor{CursorShape::kWait, {}, {}};
        case kPointerCustom:
            if (icon) return Cursor{CursorShape::kCustom, icon, {}};
            return Cursor{};
        default:
            return Cursor{};
    }
}
}  // namespace

Control::~Control() {
    if (IsWindow(hwnd_)) {
        RemoveProp(hwnd_, kControlProp);
        DestroyWindow(hwnd_);
    }
}

Control* Control::FromWindow(HWND h) {
    return reinterpret_cast<Control*>(GetProp(h, kControlProp));
}

void Control::EnsureClass(const std::string& class_name, uint32_t class_style, Color background) {
    if (IsClassRegistered(class_name)) return;
    RegisterClass({class_name, &Control::Trampoline, class_style, background, {}});
}

bool Control::Create(HWND parent, const std::string& class_name, const std::string& name,
                     const Rect& r, uint32_t style, uint32_t ex_style, const std::string& text) {
    EnsureClass(class_name);
    name_ = name;
    // The object must be findable from WM_CREATE on, so it travels in the
    // creation record and the trampoline stores it.
    hwnd_ = CreateWindowEx(ex_style, class_name, text, WS_CHILD | style, r.left, r.top, r.width(),
                           r.height(), parent, 0, this);
    if (!hwnd_) return false;
    SetWindowName(hwnd_, name);
    return true;
}

LRESULT Control::Trampoline(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCT*>(lp);
        auto* self = static_cast<Control*>(cs->lpCreateParams);
        if (self) {
            self->hwnd_ = h;
            SetProp(h, kControlProp, reinterpret_cast<intptr_t>(self));
        }
    }
    Control* c = FromWindow(h);
    if (!c) return DefWindowProc(h, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        LRESULT r = c->HandleMessage(msg, wp, lp);
        RemoveProp(h, kControlProp);
        c->hwnd_ = {};
        return r;
    }
    return c->HandleMessage(msg, wp, lp);
}

int16_t Control::ShiftState() {
    int16_t s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= kShiftMask;
    if (GetKeyState(VK_CONTROL) < 0) s |= kCtrlMask;
    if (GetKeyState(VK_MENU) < 0) s |= kAltMask;
    return s;
}

LRESULT Control::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    HWND self = hwnd_;
    auto mouse = [&](int16_t button) {
        MouseEventArgs a;
        a.button = button;
        a.shift = ShiftState();
        a.x = static_cast<float>(GET_X_LPARAM(lp));
        a.y = static_cast<float>(GET_Y_LPARAM(lp));
        return a;
    };
    auto held = [&] {
        int16_t b = 0;
        if (wp & MK_LBUTTON) b |= kLeftButton;
        if (wp & MK_RBUTTON) b |= kRightButton;
        if (wp & MK_MBUTTON) b |= kMiddleButton;
        return b;
    };
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: {
            int16_t b = msg == WM_LBUTTONDOWN   ? kLeftButton
                        : msg == WM_RBUTTONDOWN ? kRightButton
                                                : kMiddleButton;
            tooltips::Dismiss();
            if (msg == WM_LBUTTONDOWN) {
                pressed_inside_ = true;
                // Mouse-up reaches the control even when the pointer leaves it.
                SetCapture(self);
            }
            if (on_mouse_down) {
                MouseEventArgs a = mouse(b);
                on_mouse_down(a);
            }
            return 0;
        }
        case WM_LBUTTONDBLCLK:
            // The release of the second press must come back here wherever
            // the pointer is by then; it is no further click.
            pressed_inside_ = false;
            SetCapture(self);
            if (on_dbl_click) on_dbl_click();
            if (IsWindow(self) && on_mouse_down) {
                MouseEventArgs a = mouse(kLeftButton);
                on_mouse_down(a);
            }
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: {
            int16_t b = msg == WM_LBUTTONUP   ? kLeftButton
                        : msg == WM_RBUTTONUP ? kRightButton
                                              : kMiddleButton;
            bool click = false;
            if (msg == WM_LBUTTONUP) {
                Point p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
                click = pressed_inside_ && GetClientRect(self).contains(p);
                pressed_inside_ = false;
                if (GetCapture() == self) ReleaseCapture();
            }
            if (on_mouse_up) {
                MouseEventArgs a = mouse(b);
                on_mouse_up(a);
            }
            if (click && IsWindow(self) && ClickOnRelease() && on_click) on_click();
            return 0;
        }
        case WM_MOUSEMOVE:
            tooltips::TrackMouse(self);
            if (on_mouse_move) {
                MouseEventArgs a = mouse(held());
                on_mouse_move(a);
            }
            return 0;
        case WM_CAPTURECHANGED:
            if (HwndFromParam(lp) != self) pressed_inside_ = false;
            return 0;
        case WM_KEYDOWN:
        case WM_KEYUP: {
            auto& handler = msg == WM_KEYDOWN ? on_key_down : on_key_up;
            if (handler) {
                int16_t code = static_cast<int16_t>(wp);
                handler(code, ShiftState());
            }
            return 0;
        }
        case WM_CHAR:
            if (on_key_press) {
                int16_t ascii = static_cast<int16_t>(wp <= 0x7FFF ? wp : 0);
                on_key_press(ascii);
            }
            return 0;
        case WM_SETFOCUS:
            if (on_got_focus) on_got_focus();
            return 0;
        case WM_KILLFOCUS:
            if (on_lost_focus) on_lost_focus();
            return 0;
        case WM_SETCURSOR:
            if (mouse_pointer_ != kPointerDefault) {
                ::platform::SetCursor(CursorFor(mouse_pointer_, mouse_icon_));
                return 1;
            }
            break;
        case WM_REPORTSTATE:
            ReportState(*reinterpret_cast<Json*>(lp));
            return 0;
        default:
            break;
    }
    return DefWindowProc(self, msg, wp, lp);
}

void Control::ReportState(Json& /*out*/) const {
}

Rect Control::bounds() const {
    Rect r = GetWindowRect(hwnd_);
    Point p = MapWindowPoint(HWND{}, GetParent(hwnd_), r.top_left());
    return Rect::FromXYWH(p.x, p.y, r.width(), r.height());
}

void Control::Move(int32_t left, int32_t top, int32_t width, int32_t height) {
    MoveWindow(hwnd_, left, top, width, height, true);
}

bool Control::visible() const {
    return IsWindowVisible(hwnd_);
}
void Control::set_visible(bool v) {
    ShowWindow(hwnd_, v ? SW_SHOW : SW_HIDE);
}
bool Control::enabled() const {
    return IsWindowEnabled(hwnd_);
}
void Control::set_enabled(bool v) {
    EnableWindow(hwnd_, v);
}

void Control::set_font(FontRef f) {
    if (!f) return;
    font_ = std::move(f);
    InvalidateRect(hwnd_);
}

void Control::set_fore_color(Color c) {
    if (fore_color_ == c) return;
    fore_color_ = c;
    InvalidateRect(hwnd_);
}

void Control::set_back_color(Color c) {
    if (back_color_ == c) return;
    back_color_ = c;
    InvalidateRect(hwnd_);
}

void Control::set_mouse_pointer(int16_t p) {
    mouse_pointer_ = p;
}
void Control::set_mouse_icon(PictureRef icon) {
    mouse_icon_ = std::move(icon);
}

void Control::SetFocus() {
    ::platform::SetFocus(hwnd_);
}

void Control::ZOrder(int position) {
    SetWindowPos(hwnd_, position == 0 ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Control::Refresh() {
    InvalidateRect(hwnd_);
    UpdateWindow(hwnd_);
}

}  // namespace platform::controls
