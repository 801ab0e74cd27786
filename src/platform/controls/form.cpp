// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/controls/form.h"

namespace platform::controls {

namespace {
constexpr const char* kFormClass = "KovelinForm";
constexpr const char* kFormProp = "kv.form";

uint32_t StyleFor(const FormOptions& o) {
    switch (o.border) {
        case BorderStyle::kNone:
            return WS_POPUP;
        case BorderStyle::kFixedToolWindow:
            return WS_POPUP | WS_CAPTION | WS_SYSMENU;
        case BorderStyle::kFixedDialog:
            return WS_POPUP | WS_CAPTION | WS_SYSMENU;
        case BorderStyle::kFixedSingle:
        default:
            return WS_POPUP | WS_CAPTION | WS_SYSMENU |
                   (o.min_button ? static_cast<uint32_t>(WS_MINIMIZEBOX) : 0u);
    }
}
}  // namespace

Form::Form(FormOptions options) : options_(std::move(options)), back_color_(options_.back_color) {
}

Form::~Form() {
    if (IsWindow(hwnd_)) {
        unloading_ = true;
        DestroyWindow(hwnd_);
    }
}

Form* Form::FromWindow(HWND h) {
    return reinterpret_cast<Form*>(GetProp(h, kFormProp));
}

void Form::Load() {
    if (IsWindow(hwnd_)) return;
    controls_.clear();  // left from an earlier load; their windows are gone
    if (!IsClassRegistered(kFormClass))
        RegisterClass({kFormClass, &Form::Trampoline, CS_DBLCLKS, kNoBackground, {}});
    const uint32_t style = StyleFor(options_);
    const uint32_t ex = options_.border == BorderStyle::kFixedToolWindow
                            ? static_cast<uint32_t>(WS_EX_TOOLWINDOW)
                            : 0u;
    hwnd_ = CreateWindowEx(ex, kFormClass, options_.caption, style, options_.left, options_.top,
                           options_.client_width, options_.client_height, {}, 0, this);
    if (!hwnd_) return;
    SetWindowName(hwnd_, options_.name);
    // Size the frame so the client area is what was asked for.
    Rect frame = GetClientAreaInWindow(hwnd_);
    Rect outer = GetWindowRect(hwnd_);
    int32_t extra_w = outer.width() - frame.width();
    int32_t extra_h = outer.height() - frame.height();
    SetWindowPos(hwnd_, {}, 0, 0, options_.client_width + extra_w, options_.client_height + extra_h,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (options_.position == StartUpPosition::kCenterScreen) CenterWindow(hwnd_);
    if (on_load) on_load();
}

void Form::Show(bool modal) {
    Load();
    if (!IsWindow(hwnd_)) return;
    if (modal) {
        if (options_.position == StartUpPosition::kCenterOwner && GetActiveWindow())
            CenterWindow(hwnd_, GetActiveWindow());
        RunModal(hwnd_);
    } else {
        ShowWindow(hwnd_, SW_SHOW);
    }
}

void Form::Hide() {
    if (IsWindow(hwnd_)) ShowWindow(hwnd_, SW_HIDE);
}

bool Form::Unload(int16_t mode) {
    if (!IsWindow(hwnd_) || unloading_) return true;
    int16_t cancel = 0;
    if (on_query_unload) on_query_unload(cancel, mode);
    if (cancel) return false;
    if (on_unload) on_unload(cancel);
    if (cancel) return false;
    unloading_ = true;
    HWND h = hwnd_;
    DestroyWindow(h);
    unloading_ = false;
    return true;
}

WindowState Form::window_state() const {
    return IsIconic(hwnd_) ? WindowState::kMinimized : WindowState::kNormal;
}

void Form::set_window_state(WindowState s) {
    ShowWindow(hwnd_, s == WindowState::kMinimized ? SW_MINIMIZE : SW_RESTORE);
}

std::string Form::caption() const {
    return GetWindowText(hwnd_);
}
void Form::set_caption(const std::string& c) {
    SetWindowText(hwnd_, c);
}

void Form::set_back_color(Color c) {
    back_color_ = c;
    InvalidateRect(hwnd_);
}

void Form::set_picture(PictureRef p) {
    picture_ = std::move(p);
    InvalidateRect(hwnd_);
}

void Form::set_auto_redraw(bool on) {
    SetPersistentDrawing(hwnd_, on);
    if (on) {
        if (auto dc = PersistentDC(hwnd_)) dc->FillRect(GetClientRect(hwnd_), back_color_);
    }
}

std::unique_ptr<DC> Form::drawing_dc() {
    if (HasPersistentDrawing(hwnd_)) return PersistentDC(hwnd_);
    return GetDC(hwnd_);
}

Size Form::client_size() const {
    return GetClientRect(hwnd_).size();
}

void Form::set_client_size(int32_t width, int32_t height) {
    Rect frame = GetClientAreaInWindow(hwnd_);
    Rect outer = GetWindowRect(hwnd_);
    SetWindowPos(hwnd_, {}, 0, 0, width + outer.width() - frame.width(),
                 height + outer.height() - frame.height(), SWP_NOMOVE | SWP_NOZORDER);
}

Control* Form::FindControl(const std::string& name) const {
    for (const auto& c : controls_)
        if (c->name() == name) return c.get();
    return nullptr;
}

void Form::ReportState(Json& /*out*/) const {
}

void Form::DestroyControls() {
    // The children are being destroyed with the window and forget their
    // handles; the objects themselves stay until the form is loaded again or
    // goes, because a control's own handler may be what is unloading the
    // form (a timer handing over to the next window, a close button).
}

LRESULT Form::Trampoline(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCT*>(lp);
        if (auto* self = static_cast<Form*>(cs->lpCreateParams)) {
            self->hwnd_ = h;
            SetProp(h, kFormProp, reinterpret_cast<intptr_t>(self));
        }
    }
    Form* f = FromWindow(h);
    if (!f) return DefWindowProc(h, msg, wp, lp);
    LRESULT r = f->HandleMessage(msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        RemoveProp(h, kFormProp);
        f->hwnd_ = {};
    }
    return r;
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    HWND self = hwnd_;
    auto mouse = [&](int16_t button) {
        MouseEventArgs a;
        a.button = button;
        a.x = static_cast<float>(GET_X_LPARAM(lp));
        a.y = static_cast<float>(GET_Y_LPARAM(lp));
        return a;
    };
    switch (msg) {
        case WM_CLOSE:
            // The user closed the form: ask first, as code-driven unloads do.
            Unload(kFormControlMenu);
            return 0;
        case WM_DESTROY:
            if (!unloading_) {
                int16_t cancel = 0;
                if (on_unload) on_unload(cancel);  // cannot be cancelled any more
            }
            return 0;
        case WM_NCDESTROY:
            DestroyControls();
            return 0;
        case WM_ERASEBKGND: {
            DC* dc = reinterpret_cast<DC*>(wp);
            if (dc && !HasPersistentDrawing(self)) dc->FillRect(GetClientRect(self), back_color_);
            return 1;
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            auto dc = BeginPaint(self, &ps);
            if (dc) {
                if (Surface* s = PersistentSurface(self)) {
                    DC src(*s);
                    const Rect had = s->program_bounds();
                    dc->BitBlt(0, 0, had.width(), had.height(), src, 0, 0);
                } else if (picture_) {
                    DC src(picture_->pixels());
                    dc->BitBlt(0, 0, picture_->width_px(), picture_->height_px(), src, 0, 0);
                }
                if (on_paint) on_paint(*dc);
            }
            EndPaint(self, &ps);
            return 0;
        }
        case WM_SIZE:
            if (on_resize) on_resize();
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wp) != WA_INACTIVE && on_activate) on_activate();
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            if (on_mouse_down) {
                MouseEventArgs a = mouse(msg == WM_LBUTTONDOWN ? kLeftButton : kRightButton);
                on_mouse_down(a);
            }
            return 0;
        case WM_MOUSEMOVE:
            if (on_mouse_move) {
                MouseEventArgs a = mouse((wp & MK_LBUTTON) ? kLeftButton : 0);
                on_mouse_move(a);
            }
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            if (on_mouse_up) {
                MouseEventArgs a = mouse(msg == WM_LBUTTONUP ? kLeftButton : kRightButton);
                on_mouse_up(a);
            }
            if (msg == WM_LBUTTONUP && IsWindow(self) && on_click) on_click();
            return 0;
        case WM_KEYDOWN:
            if (on_key_down) {
                int16_t code = static_cast<int16_t>(wp);
                on_key_down(code, 0);
            }
            return 0;
        case WM_REPORTSTATE:
            ReportState(*reinterpret_cast<Json*>(lp));
            return 0;
        default:
            break;
    }
    return DefWindowProc(self, msg, wp, lp);
}

}  // namespace platform::controls
