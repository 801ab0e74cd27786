// SPDX-License-Identifier: GPL-3.0-or-later
// The default window procedure: what a window does with a message its own
// procedure passes on.

#include <cstring>

#include "platform/ws_internal.h"

namespace platform {

using namespace detail;

namespace {

LRESULT NcHitTest(Window& w, Point screen) {
    Rect wr = GetWindowRect(w.handle);
    Point p = screen - wr.top_left();
    if (!wr.contains(screen)) return HTNOWHERE;
    if (w.region && !w.region->contains(p)) return HTNOWHERE;
    Rect client = ClientRectInWindow(w);
    if (client.contains(p)) return HTCLIENT;
    if ((w.style & WS_CAPTION) == WS_CAPTION) {
        Rect in = NonClientInsets(w);
        if (p.y >= in.left && p.y < in.top && p.x >= in.left && p.x < w.rect.width() - in.right) {
            if ((w.style & WS_SYSMENU) && CaptionButtonRect(w, 0).contains(p)) return HTCLOSE;
            if ((w.style & WS_SYSMENU) && (w.style & WS_MINIMIZEBOX) &&
                !(w.ex_style & WS_EX_TOOLWINDOW) && CaptionButtonRect(w, 1).contains(p))
                return HTMINBUTTON;
            return HTCAPTION;
        }
    }
    return HTBORDER;
}

void BeginMove(HWND hwnd) {
    Window* top = TopOf(Find(hwnd));
    if (!top) return;
    State& s = S();
    if (s.backend->BeginSystemMove(top->handle)) return;
    s.moving = top->handle;
    s.move_grab = s.cursor_pos - top->rect.top_left();
    s.move_button = VK_LBUTTON;
    for (uint8_t vk : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON})
        if (s.key_down[vk]) {
            s.move_button = vk;
            break;
        }
}

}  // namespace

LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Window* w = Find(hwnd);
    if (!w) return 0;
    switch (msg) {
        case WM_NCCREATE:
            return 1;
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        case WM_SETTEXT: {
            const char* text = reinterpret_cast<const char*>(lp);
            w->text = text ? text : "";
            if (!w->is_child()) {
                S().backend->TopLevelChanged(hwnd, TopLevelChange::kCaption);
                Rect in = NonClientInsets(*w);
                if (in.top > in.left)
                    InvalidateWindowArea(*w, Region::FromRect({0, 0, w->rect.width(), in.top}));
            }
            return 1;
        }
        case WM_GETTEXT: {
            char* buf = reinterpret_cast<char*>(lp);
            if (!buf || wp == 0) return 0;
            size_t n = std::min<size_t>(w->text.size(), wp - 1);
            std::memcpy(buf, w->text.data(), n);
            buf[n] = '\0';
            return static_cast<LRESULT>(n);
        }
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(w->text.size());
        case WM_ERASEBKGND: {
            DC* dc = reinterpret_cast<DC*>(wp);
            Color bg = w->cls ? w->cls->background : kNoBackground;
            if (!dc || bg == kNoBackground) return 0;
            dc->FillRect(GetClientRect(hwnd), bg);
            return 1;
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            auto dc = BeginPaint(hwnd, &ps);
            if (dc && w->persistent) {
                DC src(*w->persistent);
                const Rect had = w->persistent->program_bounds();
                dc->BitBlt(0, 0, had.width(), had.height(), src, 0, 0);
            }
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_NCHITTEST:
            return NcHitTest(*w, {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        case WM_SETCURSOR: {
            // The parent may decide the pointer for its children.
            if (w->is_child() && SendMessage(w->parent, WM_SETCURSOR, wp, lp)) return 1;
            if (!(w = Find(hwnd))) return 0;
            if (LOWORD(static_cast<uintptr_t>(lp)) != HTCLIENT) {
                SetCursor(Cursor{});
                return 0;
            }
            Window* under = Find(HWND{static_cast<uint32_t>(wp)});
            if (!under) under = w;
            if (under->cursor)
                SetCursor(*under->cursor);
            else if (under->cls)
                SetCursor(under->cls->cursor);
            return 0;
        }
        case WM_NCLBUTTONDOWN:
            switch (static_cast<LRESULT>(wp)) {
                case HTCAPTION:
                    BeginMove(hwnd);
                    break;
                case HTCLOSE:
                    SendMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE);
                    break;
                case HTMINBUTTON:
                    SendMessage(hwnd, WM_SYSCOMMAND, SC_MINIMIZE);
                    break;
                default:
                    break;
            }
            return 0;
        case WM_SYSCOMMAND:
            switch (wp & 0xFFF0) {
                case SC_CLOSE:
                    SendMessage(hwnd, WM_CLOSE);
                    break;
                case SC_MINIMIZE:
                    ShowWindow(hwnd, SW_MINIMIZE);
                    break;
                case SC_RESTORE:
                    ShowWindow(hwnd, SW_RESTORE);
                    break;
                case SC_MOVE:
                    BeginMove(hwnd);
                    break;
                default:
                    break;
            }
            return 0;
        case WM_SYSCHAR: {
            // Access keys: the first tab stop after the focus that answers.
            const std::vector<HWND> stops = GetTabStops(hwnd);
            if (stops.empty()) return 0;
            size_t start = 0;
            for (size_t i = 0; i < stops.size(); ++i) {
                if (stops[i] == hwnd || IsChild(stops[i], hwnd)) start = i + 1;
            }
            const WPARAM key = wp >= 'A' && wp <= 'Z' ? wp - 'A' + 'a' : wp;
            for (size_t k = 0; k < stops.size(); ++k) {
                const HWND target = stops[(start + k) % stops.size()];
                if (IsWindow(target) && SendMessage(target, WM_ACCESSKEY, key) != 0) break;
            }
            return 0;
        }
        case WM_SYSKEYDOWN:
            // Alt+F4 closes the window the focus is in, whichever control
            // of it holds the focus.
            if (wp == VK_F4) SendMessage(GetAncestorTopLevel(hwnd), WM_SYSCOMMAND, SC_CLOSE);
            return 0;
        case WM_MOUSEWHEEL:
            if (w->is_child()) return SendMessage(w->parent, msg, wp, lp);
            return 0;
        case WM_MOUSEACTIVATE:
            return 1;
        case WM_ACTIVATE:
            if (LOWORD(wp) != WA_INACTIVE && !w->minimised) {
                HWND restore = w->last_focus;
                if (restore && IsWindow(restore) && IsWindowVisible(restore) &&
                    IsWindowEnabled(restore))
                    SetFocus(restore);
                else if (!GetFocus() || GetAncestorTopLevel(GetFocus()) != hwnd)
                    SetFocus(hwnd);
            }
            if (!w->is_child()) {
                Rect in = NonClientInsets(*w);
                if (in.top > in.left)
                    InvalidateWindowArea(*w, Region::FromRect({0, 0, w->rect.width(), in.top}));
            }
            return 0;
        default:
            return 0;
    }
}

}  // namespace platform
