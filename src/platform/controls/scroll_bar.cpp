// SPDX-License-Identifier: GPL-3.0-or-later
// The scroll bar control: position rules, mouse tracking with auto-repeat on
// the window system's timers, keyboard and wheel handling, and the classic
// three-dimensional drawing.
#include "platform/controls/scroll_bar.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/controls/classic_look.h"

namespace platform::controls {


namespace {

constexpr const char* kClassName = "KvScrollBar";
constexpr uintptr_t kRepeatTimer = 1;
// The first repeat waits long enough for a single click not to become two;
// later repeats run at a steady pace.
constexpr uint32_t kFirstRepeatMs = 350;
constexpr uint32_t kRepeatMs = 50;
// A thumb shorter than this would be hard to grab.
constexpr int32_t kMinThumb = 8;
// Wheel notches scroll three small steps, the usual desktop setting.
constexpr int32_t kWheelLines = 3;
constexpr int32_t kWheelDelta = 120;

Status Refuse(const char* what) {
    return MakeError(ErrorCode::kInvalidPropertyValue, std::string("invalid ") + what);
}

bool Fits16(int32_t v) {
    return v >= INT16_MIN && v <= INT16_MAX;
}

}  // namespace

ScrollBar::ScrollBar(HWND parent, const std::string& name, const Rect& r,
                     ScrollOrientation orientation)
    : orientation_(orientation) {
    Create(parent, kClassName, name, r, WS_VISIBLE | WS_TABSTOP);
}

// --- the value rules ---------------------------------------------------------------

int16_t ScrollBar::Clamp(int32_t v) const {
    const int32_t lo = std::min(min_, max_);
    const int32_t hi = std::max(min_, max_);
    return static_cast<int16_t>(std::clamp(v, lo, hi));
}

bool ScrollBar::Store(int16_t v) {
    if (v == value_) return false;
    value_ = v;
    InvalidateRect(hwnd_);
    return true;
}

void ScrollBar::RaiseChange() {
    if (on_change) on_change();
}

void ScrollBar::RaiseScroll() {
    if (on_scroll) on_scroll();
}

Status ScrollBar::set_min(int32_t v) {
    if (!Fits16(v)) return Refuse("minimum");
    min_ = static_cast<int16_t>(v);
    InvalidateRect(hwnd_);
    if (Store(Clamp(value_))) RaiseChange();
    return Status::Ok();
}

Status ScrollBar::set_max(int32_t v) {
    if (!Fits16(v)) return Refuse("maximum");
    max_ = static_cast<int16_t>(v);
    InvalidateRect(hwnd_);
    if (Store(Clamp(value_))) RaiseChange();
    return Status::Ok();
}

Status ScrollBar::set_value(int32_t v) {
    if (!Fits16(v)) return Refuse("value");
    if (Store(Clamp(v))) RaiseChange();
    return Status::Ok();
}

Status ScrollBar::set_small_change(int32_t v) {
    if (v < 1 || v > INT16_MAX) return Refuse("small change");
    small_change_ = static_cast<int16_t>(v);
    return Status::Ok();
}

Status ScrollBar::set_large_change(int32_t v) {
    if (v < 1 || v > INT16_MAX) return Refuse("large change");
    large_change_ = static_cast<int16_t>(v);
    InvalidateRect(hwnd_);  // the thumb's length follows the large change
    return Status::Ok();
}

void ScrollBar::Step(int32_t amount, int32_t steps) {
    const int32_t target = value_ + Direction() * amount * steps;
    if (Store(Clamp(target))) RaiseChange();
}

// --- geometry ----------------------------------------------------------------

ScrollBar::Track ScrollBar::Layout() const {
    const Rect c = GetClientRect(hwnd_);
    const int32_t along = vertical() ? c.height() : c.width();
    const int32_t across = vertical() ? c.width() : c.height();
    Track t;
    t.arrow = along >= 2 * across ? across : along / 2;
    t.start = t.arrow;
    t.length = std::max(0, along - 2 * t.arrow);
    const int32_t range = std::abs(static_cast<int32_t>(max_) - min_);
    if (range == 0 || !IsWindowEnabled(hwnd_) || t.length < kMinThumb) return t;
    // The thumb shows how much of the whole one large step is.
    const int64_t proportional = static_cast<int64_t>(t.length) * large_change_ /
                                 (static_cast<int64_t>(range) + large_change_);
    t.thumb = static_cast<int32_t>(std::clamp<int64_t>(proportional, kMinThumb, t.length));
    const int32_t travel = t.length - t.thumb;
    const double fraction = static_cast<double>(value_ - min_) / (max_ - min_);
    t.thumb_pos = t.start + static_cast<int32_t>(std::lround(travel * fraction));
    return t;
}

Rect ScrollBar::PartRect(Part part) const {
    const Rect c = GetClientRect(hwnd_);
    const Track t = Layout();
    auto span = [&](int32_t from, int32_t to) {
        if (to <= from) return Rect{};
        return vertical() ? Rect{0, from, c.right, to} : Rect{from, 0, to, c.bottom};
    };
    const int32_t end = t.start + t.length;
    switch (part) {
        case Part::kLineUp:
            return span(0, t.arrow);
        case Part::kLineDown:
            return span(end, end + t.arrow);
        case Part::kThumb:
            return t.thumb ? span(t.thumb_pos, t.thumb_pos + t.thumb) : Rect{};
        case Part::kPageUp:
            return t.thumb ? span(t.start, t.thumb_pos) : Rect{};
        case Part::kPageDown:
            return t.thumb ? span(t.thumb_pos + t.thumb, end) : Rect{};
        case Part::kNone:
            break;
    }
    return {};
}

ScrollBar::Part ScrollBar::HitTest(Point client) const {
    for (Part p : {Part::kLineUp, Part::kLineDown, Part::kThumb, Part::kPageUp, Part::kPageDown})
        if (PartRect(p).contains(client)) return p;
    return Part::kNone;
}

// --- tracking ----------------------------------------------------------------

bool ScrollBar::RepeatPressed() {
    switch (pressed_) {
        case Part::kLineUp:
            Step(small_change_, -1);
            return true;
        case Part::kLineDown:
            Step(small_change_, 1);
            return true;
        case Part::kPageUp:
        case Part::kPageDown: {
            // Paging stops once the thumb has come under the pointer, so
            // holding the button never overshoots the place clicked.
            Point p = ScreenToClient(hwnd_, GetCursorPos());
            if (HitTest(p) != pressed_) return false;
            Step(large_change_, pressed_ == Part::kPageUp ? -1 : 1);
            return true;
        }
        default:
            return false;
    }
}

void ScrollBar::EndTracking(bool raise_change) {
    if (pressed_ == Part::kNone) return;
    const bool was_thumb = pressed_ == Part::kThumb;
    pressed_ = Part::kNone;
    pointer_on_pressed_ = false;
    KillTimer(hwnd_, kRepeatTimer);
    InvalidateRect(hwnd_);
    if (was_thumb && raise_change && value_ != drag_start_value_) RaiseChange();
}

LRESULT ScrollBar::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    const Point pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            // A window already holding the capture (a drop-down list that
            // hosts this bar) forwards the press and the rest of it to us,
            // and keeps the focus and the capture itself.
            const bool forwarded = GetCapture() && GetCapture() != hwnd_;
            if (!forwarded) {
                ::platform::SetFocus(hwnd_);
                if (!IsWindow(hwnd_)) return 0;
            }
            pressed_ = HitTest(pt);
            if (pressed_ == Part::kNone) return 0;
            if (!forwarded) {
                own_capture_ = true;
                SetCapture(hwnd_);
            }
            pointer_on_pressed_ = true;
            InvalidateRect(hwnd_);
            if (pressed_ == Part::kThumb) {
                const Track t = Layout();
                drag_offset_ = AxisOf(pt) - t.thumb_pos;
                drag_start_value_ = value_;
                return 0;
            }
            RepeatPressed();
            if (pressed_ != Part::kNone) SetTimer(hwnd_, kRepeatTimer, kFirstRepeatMs);
            return 0;
        }
        case WM_MOUSEMOVE: {
            if (pressed_ == Part::kNone) return 0;
            if (pressed_ != Part::kThumb) {
                const bool on = PartRect(pressed_).contains(pt);
                if (on != pointer_on_pressed_) {
                    pointer_on_pressed_ = on;
                    InvalidateRect(hwnd_);
                }
                return 0;
            }
            const Track t = Layout();
            const int32_t travel = t.length - t.thumb;
            if (t.thumb == 0 || travel <= 0) return 0;
            const int32_t pos = std::clamp(AxisOf(pt) - drag_offset_, t.start, t.start + travel);
            const double v = min_ + static_cast<double>(pos - t.start) * (max_ - min_) /
                                        static_cast<double>(travel);
            if (Store(Clamp(static_cast<int32_t>(std::lround(v))))) RaiseScroll();
            return 0;
        }
        case WM_LBUTTONUP:
            if (own_capture_) {
                own_capture_ = false;
                ReleaseCapture();
            }
            EndTracking(true);
            return 0;
        case WM_CAPTURECHANGED:
            if (own_capture_ && HwndFromParam(lp) != hwnd_) {
                own_capture_ = false;
                EndTracking(true);
            }
            return 0;
        case WM_TIMER:
            if (wp != kRepeatTimer) return 0;
            if (pressed_ == Part::kNone || pressed_ == Part::kThumb) {
                KillTimer(hwnd_, kRepeatTimer);
                return 0;
            }
            SetTimer(hwnd_, kRepeatTimer, kRepeatMs);
            // Arrows repeat only while the pointer stays on them.
            if (pressed_ == Part::kLineUp || pressed_ == Part::kLineDown) {
                Point p = ScreenToClient(hwnd_, GetCursorPos());
                if (!PartRect(pressed_).contains(p)) return 0;
            }
            RepeatPressed();
            return 0;
        case WM_MOUSEWHEEL: {
            // Notches can arrive in fractions from fine-grained wheels; keep
            // the remainder so they add up to whole steps.
            wheel_remainder_ += static_cast<int16_t>(HIWORD(wp));
            const int32_t notches = wheel_remainder_ / kWheelDelta;
            wheel_remainder_ -= notches * kWheelDelta;
            if (notches != 0) Step(small_change_, -notches * kWheelLines);
            return 0;
        }
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_KEYDOWN: {
            int16_t code = static_cast<int16_t>(wp);
            if (on_key_down) on_key_down(code, ShiftState());
            if (!IsWindow(hwnd_)) return 0;
            switch (code) {
                case VK_UP:
                case VK_LEFT:
                    Step(small_change_, -1);
                    break;
                case VK_DOWN:
                case VK_RIGHT:
                    Step(small_change_, 1);
                    break;
                case VK_PRIOR:
                    Step(large_change_, -1);
                    break;
                case VK_NEXT:
                    Step(large_change_, 1);
                    break;
                case VK_HOME:
                    if (Store(min_)) RaiseChange();
                    break;
                case VK_END:
                    if (Store(max_)) RaiseChange();
                    break;
                default:
                    break;
            }
            return 0;
        }
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateRect(hwnd_);
            if (msg == WM_KILLFOCUS) wheel_remainder_ = 0;
            break;  // the base raises the focus events
        case WM_ENABLE:
            if (!wp) EndTracking(false);
            InvalidateRect(hwnd_);
            return 0;
        case WM_SIZE:
            InvalidateRect(hwnd_);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            auto dc = BeginPaint(hwnd_, &ps);
            if (dc) Paint(*dc);
            EndPaint(hwnd_, &ps);
            return 0;
        }
        case WM_DESTROY:
            KillTimer(hwnd_, kRepeatTimer);
            break;
        default:
            break;
    }
    return Control::HandleMessage(msg, wp, lp);
}

// --- drawing ---------------------------------------------------------------

void ScrollBar::Paint(DC& dc) const {
    const Rect c = GetClientRect(hwnd_);
    const bool enabled = IsWindowEnabled(hwnd_);
    const Track t = Layout();

    const Rect track = vertical() ? Rect{0, t.start, c.right, t.start + t.length}
                                  : Rect{t.start, 0, t.start + t.length, c.bottom};
    classic::Dither(dc, track, SystemColor(COLOR_BTNFACE), SystemColor(COLOR_BTNHIGHLIGHT));
    // The part of the track being paged through is shown darkened.
    if ((pressed_ == Part::kPageUp || pressed_ == Part::kPageDown) && pointer_on_pressed_)
        classic::Dither(dc, PartRect(pressed_), SystemColor(COLOR_3DDKSHADOW),
                        SystemColor(COLOR_BTNSHADOW));

    for (Part arrow : {Part::kLineUp, Part::kLineDown}) {
        Rect r = PartRect(arrow);
        if (r.empty()) continue;
        const bool down = pressed_ == arrow && pointer_on_pressed_;
        if (down) {
            classic::FlatPressed(dc, r);
            r = r.offset(1, 1);
        } else {
            classic::RaisedEdge(dc, r);
        }
        const auto dir = vertical() ? (arrow == Part::kLineUp ? classic::ArrowDirection::kUp
                                                              : classic::ArrowDirection::kDown)
                                    : (arrow == Part::kLineUp ? classic::ArrowDirection::kLeft
                                                              : classic::ArrowDirection::kRight);
        if (enabled) {
            classic::Arrow(dc, r, dir, SystemColor(COLOR_BTNTEXT));
        } else {
            // Disabled glyphs are etched: a highlight copy under a grey one.
            classic::Arrow(dc, r.offset(1, 1), dir, SystemColor(COLOR_BTNHIGHLIGHT));
            classic::Arrow(dc, r, dir, SystemColor(COLOR_BTNSHADOW));
        }
    }

    const Rect thumb = PartRect(Part::kThumb);
    if (!thumb.empty()) {
        classic::RaisedEdge(dc, thumb);
        if (GetFocus() == hwnd_ && thumb.width() > 6 && thumb.height() > 6)
            dc.DrawFocusRect(thumb.inflate(-3, -3));
    }
}

void ScrollBar::ReportState(Json& out) const {
    out.Set("min", static_cast<int>(min_));
    out.Set("max", static_cast<int>(max_));
    out.Set("value", static_cast<int>(value_));
    out.Set("small_change", static_cast<int>(small_change_));
    out.Set("large_change", static_cast<int>(large_change_));
}

}  // namespace platform::controls
