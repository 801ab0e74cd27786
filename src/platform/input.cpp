// SPDX-License-Identifier: GPL-3.0-or-later
// Input routing: mouse input goes to the window under the pointer (or the
// capture), honouring z-order, visibility, enabled state and window regions;
// keys and characters go to the focused window. Also the hit-testing that
// WindowFromPoint shares.

#include <algorithm>
#include <cstdlib>

#include "platform/preeti/preeti.h"
#include "platform/ws_internal.h"

namespace platform {

using namespace detail;

namespace {

constexpr uint32_t kDoubleClickMs = 500;

struct Hit {
    HWND hwnd;
    LRESULT code = HTNOWHERE;
};

bool InsideWindowShape(const Window& w, Point in_window) {
    if (in_window.x < 0 || in_window.y < 0 || in_window.x >= w.rect.width() ||
        in_window.y >= w.rect.height())
        return false;
    return !w.region || w.region->contains(in_window);
}

// The deepest window under a screen point, before the enabled-state rule.
Hit HitTestScreen(Point screen) {
    State& s = S();
    for (auto it = s.top_levels.rbegin(); it != s.top_levels.rend(); ++it) {
        Window* top = Find(*it);
        if (!top || !top->visible_flag() || top->minimised) continue;
        if (!InsideWindowShape(*top, screen - top->rect.top_left())) continue;
        Window* cur = top;
        LRESULT code = SendMessage(top->handle, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
        if (!Find(*it)) return {};
        while (code == HTCLIENT) {
            Point client = ScreenToClient(cur->handle, screen);
            Window* next = nullptr;
            LRESULT next_code = HTNOWHERE;
            for (auto k = cur->children.rbegin(); k != cur->children.rend(); ++k) {
                Window* kw = Find(*k);
                if (!kw || !kw->visible_flag()) continue;
                if (!InsideWindowShape(*kw, client - kw->rect.top_left())) continue;
                LRESULT c = SendMessage(*k, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
                if (c == HTTRANSPARENT) continue;
                next = Find(*k);
                next_code = c;
                break;
            }
            if (!next) break;
            cur = next;
            code = next_code;
        }
        return {cur->handle, code};
    }
    return {};
}

// Input for a disabled child goes to its parent; a disabled top-level
// window and everything inside it take none.
Hit ApplyEnabledRule(Hit hit) {
    Window* w = Find(hit.hwnd);
    while (w && !w->enabled_flag()) {
        if (!w->is_child()) return {};
        w = Find(w->parent);
        hit.code = HTCLIENT;
    }
    if (!w) return {};
    // The children of a disabled top-level window (the owner of a modal
    // one) take no input either.
    for (Window* up = w; up; up = up->is_child() ? Find(up->parent) : nullptr)
        if (!up->enabled_flag()) return {};
    hit.hwnd = w->handle;
    return hit;
}

WPARAM MouseKeyFlags() {
    State& s = S();
    WPARAM f = 0;
    if (s.key_down[VK_LBUTTON]) f |= MK_LBUTTON;
    if (s.key_down[VK_RBUTTON]) f |= MK_RBUTTON;
    if (s.key_down[VK_MBUTTON]) f |= MK_MBUTTON;
    if (s.key_down[VK_SHIFT]) f |= MK_SHIFT;
    if (s.key_down[VK_CONTROL]) f |= MK_CONTROL;
    return f;
}

UINT ButtonMessage(MouseButton b, bool down, bool dbl, bool nc) {
    UINT base = b == MouseButton::kLeft    ? WM_LBUTTONDOWN
                : b == MouseButton::kRight ? WM_RBUTTONDOWN
                                           : WM_MBUTTONDOWN;
    UINT m = down ? (dbl ? base + 2 : base) : base + 1;
    if (nc) m = m - WM_LBUTTONDOWN + WM_NCLBUTTONDOWN;  // only meaningful for the left button
    return m;
}

uint32_t ButtonVk(MouseButton b) {
    return b == MouseButton::kLeft    ? VK_LBUTTON
           : b == MouseButton::kRight ? VK_RBUTTON
                                      : VK_MBUTTON;
}

void Fill(MSG* out, HWND h, UINT m, WPARAM wp, LPARAM lp) {
    State& s = S();
    out->hwnd = h;
    out->message = m;
    out->wParam = wp;
    out->lParam = lp;
    out->time = GetTickCount();
    out->pt_x = s.cursor_pos.x;
    out->pt_y = s.cursor_pos.y;
}

// The character a key press types, as the platform's translation gives it.
int32_t CharForKey(uint32_t vk, uint32_t mods) {
    const bool ctrl = mods & kModControl;
    const bool shift = mods & kModShift;
    switch (vk) {
        case VK_RETURN:
            return ctrl ? 0x0A : 0x0D;
        case VK_ESCAPE:
            return 0x1B;
        case VK_BACK:
            return ctrl ? 0x7F : 0x08;
        case VK_TAB:
            return ctrl ? -1 : 0x09;
        case VK_SPACE:
            return ' ';
        default:
            break;
    }
    if (vk >= 'A' && vk <= 'Z') {
        if (ctrl) return static_cast<int32_t>(vk - 'A' + 1);
        return static_cast<int32_t>(shift ? vk : vk + 32);
    }
    if (vk >= '0' && vk <= '9' && !ctrl) return static_cast<int32_t>(vk);
    return -1;
}

HWND KeyTarget() {
    State& s = S();
    HWND t = s.focus ? s.focus : s.active;
    Window* w = Find(t);
    if (!w) return {};
    Window* top = TopOf(w);
    if (!top || !top->enabled_flag()) return {};
    return t;
}

void SetModifierState(uint32_t mods) {
    State& s = S();
    s.key_down[VK_SHIFT] = (mods & kModShift) ? 1 : 0;
    s.key_down[VK_CONTROL] = (mods & kModControl) ? 1 : 0;
    s.key_down[VK_MENU] = (mods & kModAlt) ? 1 : 0;
}

}  // namespace

HWND WindowFromPoint(Point screen) {
    if (!MaybeS()) return {};
    Hit h = HitTestScreen(screen);
    if (Window* w = Find(h.hwnd)) {
        // A disabled child reports its parent, as input would go there.
        while (w && !w->enabled_flag() && w->is_child()) w = Find(w->parent);
        return w ? w->handle : HWND{};
    }
    return {};
}

namespace detail {

bool RouteInput(const InputEvent& ev, MSG* out) {
    State& s = S();
    switch (ev.kind) {
        case InputKind::kMove: {
            s.cursor_pos = ev.pt;
            if (Window* mw = Find(s.moving)) {
                if (!s.key_down[s.move_button]) {
                    s.moving = {};
                } else {
                    Point p = ev.pt - s.move_grab;
                    SetWindowPos(mw->handle, {}, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
                    return false;
                }
            }
            Hit hit;
            if (s.capture) {
                hit = {s.capture, HTCLIENT};
            } else {
                hit = ApplyEnabledRule(HitTestScreen(ev.pt));
            }
            if (!hit.hwnd) {
                SetCursor(Cursor{});
                return false;
            }
            if (!s.capture)
                SendMessage(hit.hwnd, WM_SETCURSOR, hit.hwnd.id,
                            MAKELPARAM(static_cast<int32_t>(hit.code), WM_MOUSEMOVE));
            if (!Find(hit.hwnd)) return false;
            if (hit.code == HTCLIENT) {
                Point c = ScreenToClient(hit.hwnd, ev.pt);
                Fill(out, hit.hwnd, WM_MOUSEMOVE, MouseKeyFlags(), MAKELPARAM(c.x, c.y));
            } else {
                Fill(out, hit.hwnd, WM_NCMOUSEMOVE, static_cast<WPARAM>(hit.code),
                     MAKELPARAM(ev.pt.x, ev.pt.y));
            }
            return true;
        }
        case InputKind::kButton: {
            s.cursor_pos = ev.pt;
            s.key_down[ButtonVk(ev.button)] = ev.down ? 1 : 0;
            if (!ev.down && ButtonVk(ev.button) == s.move_button && s.moving) {
                s.moving = {};
                return false;
            }
            Hit hit;
            if (s.capture) {
                hit = {s.capture, HTCLIENT};
            } else {
                hit = ApplyEnabledRule(HitTestScreen(ev.pt));
            }
            if (!hit.hwnd) return false;
            if (ev.down) {
                // A pop-up takes clicks without taking the activation.
                Window* top = TopOf(Find(hit.hwnd));
                if (top && s.active != top->handle && !(top->ex_style & WS_EX_NOACTIVATE))
                    ActivateTopLevel(top->handle, true);
                if (!Find(hit.hwnd)) return false;
            }
            const bool nc = hit.code != HTCLIENT;
            if (nc && ev.button != MouseButton::kLeft) return false;
            bool dbl = false;
            if (ev.down && !nc) {
                Window* w = Find(hit.hwnd);
                uint64_t now = s.clock->NowMs();
                ClickMemory& last = s.last_click;
                if (w->cls && (w->cls->style & CS_DBLCLKS) && last.valid && last.hwnd == hit.hwnd &&
                    last.button == ev.button && now - last.time <= kDoubleClickMs &&
                    std::abs(ev.pt.x - last.pt.x) <= 2 && std::abs(ev.pt.y - last.pt.y) <= 2) {
                    dbl = true;
                    last.valid = false;
                } else {
                    last = ClickMemory{hit.hwnd, ev.button, now, ev.pt, true};
                }
            }
            UINT m = ButtonMessage(ev.button, ev.down, dbl, nc);
            if (nc) {
                Fill(out, hit.hwnd, m, static_cast<WPARAM>(hit.code), MAKELPARAM(ev.pt.x, ev.pt.y));
            } else {
                Point c = ScreenToClient(hit.hwnd, ev.pt);
                Fill(out, hit.hwnd, m, MouseKeyFlags(), MAKELPARAM(c.x, c.y));
            }
            return true;
        }
        case InputKind::kWheel: {
            s.cursor_pos = ev.pt;
            Hit hit = ApplyEnabledRule(HitTestScreen(ev.pt));
            HWND target = s.capture ? s.capture : hit.hwnd;
            if (!target) return false;
            WPARAM wp =
                (static_cast<WPARAM>(static_cast<uint16_t>(static_cast<int16_t>(ev.value))) << 16) |
                MouseKeyFlags();
            Fill(out, target, WM_MOUSEWHEEL, wp, MAKELPARAM(ev.pt.x, ev.pt.y));
            return true;
        }
        case InputKind::kKey: {
            SetModifierState(ev.modifiers);
            if (ev.value >= 0 && ev.value < 256) s.key_down[ev.value] = ev.down ? 1 : 0;
            HWND target = KeyTarget();
            if (!target) return false;
            const uint32_t vk = static_cast<uint32_t>(ev.value);
            const bool alt = ev.modifiers & kModAlt;
            if (ev.down && vk == VK_TAB && !(ev.modifiers & (kModControl | kModAlt))) {
                LRESULT code = SendMessage(target, WM_GETDLGCODE, vk);
                if (!(code & (DLGC_WANTTAB | DLGC_WANTALLKEYS))) {
                    HWND next = GetNextTabStop(target, ev.modifiers & kModShift);
                    if (next) SetFocus(next);
                    return false;
                }
            }
            UINT m = ev.down ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (alt ? WM_SYSKEYUP : WM_KEYUP);
            LPARAM lp = ev.down ? 1 : static_cast<LPARAM>(0xC0000001u);
            Fill(out, target, m, vk, lp);
            if (ev.down && ev.translate) {
                int32_t ch = CharForKey(vk, ev.modifiers);
                if (ch >= 0) {
                    InputEvent c;
                    c.kind = InputKind::kChar;
                    c.value = ch;
                    c.modifiers = ev.modifiers;
                    c.target = target;
                    s.input.push_front(c);
                }
            }
            return true;
        }
        case InputKind::kChar: {
            HWND target = Find(ev.target) ? ev.target : KeyTarget();
            if (!target) return false;
            UINT m = (ev.modifiers & kModAlt) ? WM_SYSCHAR : WM_CHAR;
            Fill(out, target, m, static_cast<WPARAM>(ev.value), 1);
            return true;
        }
        case InputKind::kClose:
            if (Find(ev.target) && IsWindowEnabled(ev.target))
                SendMessage(ev.target, WM_SYSCOMMAND, SC_CLOSE);
            return false;
        case InputKind::kMinimise:
            if (Find(ev.target)) ShowWindow(ev.target, ev.down ? SW_MINIMIZE : SW_RESTORE);
            return false;
        case InputKind::kMoved:
            if (Find(ev.target))
                SetWindowPos(ev.target, {}, ev.pt.x, ev.pt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            return false;
    }
    return false;
}

}  // namespace detail

// --- injection -------------------------------------------------------------------

namespace {
void Queue(const InputEvent& e) {
    if (MaybeS()) S().input.push_back(e);
}
}  // namespace

void InjectMouseMove(Point screen) {
    Queue({.kind = InputKind::kMove, .pt = screen});
}

void InjectMouseButton(Point screen, MouseButton button, bool down) {
    Queue({.kind = InputKind::kButton, .pt = screen, .button = button, .down = down});
}

void InjectMouseWheel(Point screen, int32_t delta) {
    Queue({.kind = InputKind::kWheel, .pt = screen, .value = delta});
}

void InjectKey(uint32_t vk, bool down, uint32_t modifiers, bool translate) {
    Queue({.kind = InputKind::kKey,
           .down = down,
           .value = static_cast<int32_t>(vk & 0xFF),
           .modifiers = modifiers,
           .translate = translate});
}

void InjectText(std::string_view utf8, bool with_keys) {
    if (!MaybeS()) return;
    size_t i = 0;
    while (i < utf8.size()) {
        char32_t cp = 0;
        const size_t len = preeti::DecodeUtf8(utf8, i, &cp);
        if (len == 0) {
            ++i;  // a byte that is not part of valid UTF-8 is not text
            continue;
        }
        i += len;
        // Letters, digits and space come as key presses too, as a keyboard
        // would send them; everything else only as characters.
        uint32_t vk = 0;
        uint32_t mods = 0;
        if (!with_keys)
            vk = 0;
        else if (cp >= 'a' && cp <= 'z')
            vk = cp - 32;
        else if (cp >= 'A' && cp <= 'Z')
            vk = cp, mods = kModShift;
        else if (cp >= '0' && cp <= '9')
            vk = cp;
        else if (cp == ' ')
            vk = VK_SPACE;
        const int32_t key = static_cast<int32_t>(vk);
        if (vk)
            Queue({.kind = InputKind::kKey,
                   .down = true,
                   .value = key,
                   .modifiers = mods,
                   .translate = false});
        Queue({.kind = InputKind::kChar, .value = static_cast<int32_t>(cp)});
        if (vk) Queue({.kind = InputKind::kKey, .down = false, .value = key, .translate = false});
    }
}

void InjectCloseRequest(HWND top) {
    Queue({.kind = InputKind::kClose, .target = top});
}

void InjectMinimise(HWND top, bool minimised) {
    Queue({.kind = InputKind::kMinimise, .down = minimised, .target = top});
}

void InjectMoved(HWND top, Point screen) {
    Queue({.kind = InputKind::kMoved, .pt = screen, .target = top});
}

}  // namespace platform
