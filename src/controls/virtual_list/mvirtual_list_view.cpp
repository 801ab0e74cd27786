// SPDX-License-Identifier: GPL-3.0-or-later
// MVirtualListView: the creation hook, subclassing of the component and
// inner list windows, and the decoding of the list's messages and
// notifications into the component's events.
#include "controls/virtual_list/mvirtual_list_view.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/listview/commctrl.h"

namespace virtual_list {

using platform::HWND;
using platform::LPARAM;
using platform::LRESULT;
using platform::UINT;
using platform::WPARAM;

bool VirtualListHookEnabled = false;

namespace {

platform::HHOOK g_creation_hook;
platform::WNDPROC g_saved_creation_proc = nullptr;

// Class names longer than this are cut, as the platform's fixed buffer does.
constexpr size_t kClassNameCapacity = 128;

int16_t ShiftState() {
    int16_t s = 0;
    if (platform::GetKeyState(platform::VK_SHIFT) < 0) s |= platform::controls::kShiftMask;
    if (platform::GetKeyState(platform::VK_CONTROL) < 0) s |= platform::controls::kCtrlMask;
    if (platform::GetKeyState(platform::VK_MENU) < 0) s |= platform::controls::kAltMask;
    return s;
}

int16_t HeldButtons(WPARAM wp) {
    int16_t b = 0;
    if (wp & platform::MK_LBUTTON) b |= platform::controls::kLeftButton;
    if (wp & platform::MK_RBUTTON) b |= platform::controls::kRightButton;
    if (wp & platform::MK_MBUTTON) b |= platform::controls::kMiddleButton;
    return b;
}

int16_t ButtonOf(UINT msg) {
    switch (msg) {
        case platform::WM_LBUTTONDOWN:
        case platform::WM_LBUTTONUP:
            return platform::controls::kLeftButton;
        case platform::WM_RBUTTONDOWN:
        case platform::WM_RBUTTONUP:
            return platform::controls::kRightButton;
        default:
            return platform::controls::kMiddleButton;
    }
}

}  // namespace

// --- creation hook ----------------------------------------------------------------

void InstallCreationHook() {
    // A second waiting hook would catch the same window again and save
    // CreationWndProc as its own previous procedure, which then calls itself
    // for ever; one waiting hook serves every component anyway.
    RemoveCreationHook();
    g_creation_hook = platform::SetWindowsHookEx(platform::WH_CALLWNDPROC, &CreationHookProc);
}

void RemoveCreationHook() {
    if (g_creation_hook) platform::UnhookWindowsHookEx(g_creation_hook);
    g_creation_hook = {};
}

bool CreationHookPending() {
    return static_cast<bool>(g_creation_hook);
}

LRESULT CreationHookProc(int32_t code, WPARAM wp, LPARAM lp) {
    platform::HHOOK hook = g_creation_hook;
    const auto* cwp = reinterpret_cast<const platform::CWPSTRUCT*>(lp);
    if (cwp && cwp->message == platform::WM_CREATE && hook) {
        std::string name = platform::GetClassName(cwp->hwnd);
        if (name.size() > kClassNameCapacity - 1) name.resize(kClassNameCapacity - 1);
        if (name == platform::kListViewClass || name == "#32770") {
            g_saved_creation_proc = platform::SetWindowProc(cwp->hwnd, &CreationWndProc);
            platform::UnhookWindowsHookEx(hook);
            g_creation_hook = {};
        }
    }
    return platform::CallNextHookEx(hook, code, wp, lp);
}

LRESULT CreationWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    platform::WNDPROC saved = g_saved_creation_proc;
    if (msg == platform::WM_CREATE) {
        if (auto* cs = reinterpret_cast<platform::CREATESTRUCT*>(lp)) {
            cs->style |= platform::LVS_OWNERDATA;
        }
        platform::SetWindowProc(hwnd, saved);
    }
    return platform::CallWindowProc(saved, hwnd, msg, wp, lp);
}

// --- subclassing ----------------------------------------------------------------------

void SubClass(UVirtualListView& c) {
    UnSubClass(c);
    HWND component = c.UChWnd();
    HWND list = c.list_;
    if (platform::GetProp(component, kComponentProp) != 0) return;
    auto self = reinterpret_cast<intptr_t>(&c);
    if (!platform::SetProp(component, kComponentProp, self)) return;
    if (!platform::SetProp(list, kComponentProp, self)) return;
    c.prev_component_proc_ = platform::SetWindowProc(component, &VirtualListWndProc);
    c.prev_list_proc_ = platform::SetWindowProc(list, &VirtualListWndProc);
}

void UnSubClass(UVirtualListView& c) {
    if (c.prev_list_proc_) {
        platform::SetWindowProc(c.list_, c.prev_list_proc_);
        platform::RemoveProp(c.list_, kComponentProp);
        c.prev_list_proc_ = nullptr;
    }
    if (c.prev_component_proc_) {
        platform::SetWindowProc(c.UChWnd(), c.prev_component_proc_);
        platform::RemoveProp(c.UChWnd(), kComponentProp);
        c.prev_component_proc_ = nullptr;
    }
}

ComponentRef ComponentFromWindow(HWND hwnd) {
    auto* c = reinterpret_cast<UVirtualListView*>(platform::GetProp(hwnd, kComponentProp));
    if (!c) return {};
    return ComponentRef{c, c->alive_};
}

LRESULT VirtualListWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    ComponentRef ref = ComponentFromWindow(hwnd);
    if (!ref) return platform::DefWindowProc(hwnd, msg, wp, lp);
    return HandleMessage(*ref.component, hwnd, msg, wp, lp);
}

// --- message handling ---------------------------------------------------------------

// Decodes a notification from the inner list. Returns the answer; the
// notification is never passed on.
LRESULT DecodeListNotification(UVirtualListView& c, const std::shared_ptr<bool>& alive,
                               int32_t code, LPARAM lp) {
    switch (code) {
        case platform::LVN_GETDISPINFOA: {
            platform::NMLVDISPINFOA info;
            std::memcpy(&info, reinterpret_cast<const void*>(lp), sizeof info);
            // The reused string keeps its capacity between cells; a nested
            // request must not clear the text an outer handler is filling.
            std::string nested;
            std::string& text = c.info_depth_ == 0 ? c.info_text_ : nested;
            text.clear();
            int32_t image = 0;
            ++c.info_depth_;
            if (c.ItemInfoCallback) {
                c.ItemInfoCallback(info.item.iItem, info.item.iSubItem,
                                   static_cast<int32_t>(info.item.mask), text, image);
            }
            if (!*alive) return 0;
            --c.info_depth_;
            if ((info.item.mask & platform::LVIF_TEXT) == 0) return 0;
            if (info.item.pszText && info.item.cchTextMax > 0) {
                // The text ends at its first zero byte, as an 8-bit string
                // copy would, and is cut to the buffer.
                size_t n = std::min(text.find('\0'), text.size());
                n = std::min(n, static_cast<size_t>(info.item.cchTextMax - 1));
                std::memcpy(info.item.pszText, text.data(), n);
                info.item.pszText[n] = '\0';
            }
            info.item.iImage = image;
            std::memcpy(reinterpret_cast<void*>(lp), &info, sizeof info);
            return 0;
        }
        case platform::LVN_ITEMCHANGED: {
            platform::NMLISTVIEW nm;
            std::memcpy(&nm, reinterpret_cast<const void*>(lp), sizeof nm);
            if (nm.uNewState & platform::LVIS_SELECTED) {
                c.NoteEvent("ravoItemChanged " + std::to_string(nm.iItem));
                if (c.ravoItemChanged) c.ravoItemChanged(nm.iItem);
            }
            return 0;
        }
        case platform::LVN_COLUMNCLICK: {
            platform::NMLISTVIEW nm;
            std::memcpy(&nm, reinterpret_cast<const void*>(lp), sizeof nm);
            c.NoteEvent("ColumnClick " + std::to_string(nm.iSubItem));
            if (c.ColumnClick) c.ColumnClick(nm.iSubItem);
            return 0;
        }
        case platform::LVN_BEGINLABELEDITA: {
            platform::NMLVDISPINFOA info;
            std::memcpy(&info, reinterpret_cast<const void*>(lp), sizeof info);
            bool cancel = false;
            c.NoteEvent("BeforeLabelEdit " + std::to_string(info.item.iItem));
            if (c.BeforeLabelEdit) c.BeforeLabelEdit(cancel, info.item.iItem);
            return cancel ? 1 : 0;
        }
        case platform::LVN_ENDLABELEDITA: {
            platform::NMLVDISPINFOA info;
            std::memcpy(&info, reinterpret_cast<const void*>(lp), sizeof info);
            // No text means the user abandoned the edit.
            if (!info.item.pszText) return 0;
            std::string label(info.item.pszText);
            bool cancel = false;
            c.NoteEvent("AfterLabelEdit " + std::to_string(info.item.iItem));
            if (c.AfterLabelEdit) c.AfterLabelEdit(cancel, std::move(label), info.item.iItem);
            return cancel ? 0 : 1;
        }
        default:
            // Item changing (allowed), cache hints, find requests, clicks.
            return 0;
    }
}

LRESULT HandleMessage(UVirtualListView& c, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    // Everything needed after an event is copied first: the owner may
    // destroy the component inside its handler.
    std::shared_ptr<bool> alive = c.alive_;
    const bool is_list = hwnd == c.list_;
    platform::WNDPROC previous = is_list ? c.prev_list_proc_ : c.prev_component_proc_;
    auto pass_on = [&](WPARAM w) -> LRESULT {
        if (!previous || !platform::IsWindow(hwnd)) return 0;
        return platform::CallWindowProc(previous, hwnd, msg, w, lp);
    };
    auto mouse_args = [&](int16_t button, auto& handler) {
        if (!handler || !*alive) return;
        int16_t b = button;
        int16_t shift = ShiftState();
        float x = static_cast<float>(platform::GET_X_LPARAM(lp));
        float y = static_cast<float>(platform::GET_Y_LPARAM(lp));
        handler(b, shift, x, y);
    };

    switch (msg) {
        case platform::WM_NOTIFY: {
            if (lp == 0) return pass_on(wp);
            platform::NMHDR hdr;
            std::memcpy(&hdr, reinterpret_cast<const void*>(lp), sizeof hdr);
            if (hdr.code == platform::TTN_NEEDTEXTA) return 1;
            // A column resized with the header's divider: the list has the
            // new width already, and the column record follows it.
            if (!is_list && hdr.code == platform::HDN_ITEMCHANGEDA &&
                hdr.hwndFrom.id == static_cast<uint32_t>(
                                       platform::SendMessage(c.list_, platform::LVM_GETHEADER))) {
                platform::NMHEADERA nm;
                std::memcpy(&nm, reinterpret_cast<const void*>(lp), sizeof nm);
                const auto width = static_cast<int32_t>(platform::SendMessage(
                    c.list_, platform::LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(nm.iItem)));
                if (nm.iItem >= 0 && nm.iItem < c.GetColumnHeaders().Count())
                    (void)c.GetColumnHeaders().SetItemWidth(nm.iItem, width);
            }
            if (hdr.hwndFrom != c.list_) return pass_on(wp);
            return DecodeListNotification(c, alive, hdr.code, lp);
        }
        case platform::WM_TIMER: {
            if (is_list && c.pending_click_.click_pending) {
                c.pending_click_.click_pending = false;
                int32_t item = 0;
                int32_t flags = 0;
                (void)c.HitTest(c.pending_click_.x, c.pending_click_.y, item, flags);
                switch (c.pending_click_.button) {
                    case platform::WM_LBUTTONDOWN:
                        c.pending_click_.button = 1;
                        break;
                    case platform::WM_RBUTTONDOWN:
                        c.pending_click_.button = 2;
                        break;
                    case platform::WM_MBUTTONDOWN:
                        c.pending_click_.button = 4;
                        break;
                    default:
                        break;
                }
                c.NoteEvent("ItemClick " + std::to_string(c.pending_click_.button) + " " +
                            std::to_string(item));
                if (c.ItemClick) {
                    c.ItemClick(static_cast<int32_t>(c.pending_click_.button), item);
                }
                if (!*alive) return 0;
            }
            return pass_on(wp);
        }
        case platform::WM_LBUTTONDOWN:
        case platform::WM_RBUTTONDOWN:
        case platform::WM_MBUTTONDOWN: {
            c.pending_click_.click_pending = true;
            c.pending_click_.x = platform::GET_X_LPARAM(lp);
            c.pending_click_.y = platform::GET_Y_LPARAM(lp);
            c.pending_click_.button = msg;
            if (!is_list) return pass_on(wp);
            if (msg == platform::WM_LBUTTONDOWN) c.left_pressed_ = true;
            LRESULT r = pass_on(wp);
            if (*alive) {
                c.NoteEvent("MouseDown " + std::to_string(ButtonOf(msg)));
                mouse_args(ButtonOf(msg), c.MouseDown);
            }
            return r;
        }
        default:
            break;
    }

    if (!is_list) return pass_on(wp);

    // The inner list is a plain window without events of its own: its input
    // and focus messages become the component's forwarded events. Key
    // events come before the list sees the key, so that a changed key code
    // is what the list gets and 0 swallows the key.
    switch (msg) {
        case platform::WM_KEYDOWN:
        case platform::WM_KEYUP: {
            auto& handler = msg == platform::WM_KEYDOWN ? c.KeyDown : c.KeyUp;
            c.NoteEvent((msg == platform::WM_KEYDOWN ? "KeyDown " : "KeyUp ") +
                        std::to_string(wp & 0xFFFF));
            if (!handler) return pass_on(wp);
            int16_t key = static_cast<int16_t>(wp & 0xFFFF);
            int16_t shift = ShiftState();
            handler(key, shift);
            if (!*alive || key == 0) return 0;
            return pass_on(static_cast<WPARAM>(static_cast<uint16_t>(key)));
        }
        case platform::WM_CHAR: {
            // Code points beyond 16 bits cannot be handed to the event.
            if (wp <= 0x7FFF) c.NoteEvent("KeyPress " + std::to_string(wp));
            if (!c.KeyPress || wp > 0x7FFF) return pass_on(wp);
            int16_t ascii = static_cast<int16_t>(wp);
            c.KeyPress(ascii);
            if (!*alive || ascii == 0) return 0;
            return pass_on(static_cast<WPARAM>(static_cast<uint16_t>(ascii)));
        }
        case platform::WM_MOUSEMOVE: {
            LRESULT r = pass_on(wp);
            mouse_args(HeldButtons(wp), c.MouseMove);
            return r;
        }
        case platform::WM_LBUTTONUP:
        case platform::WM_RBUTTONUP:
        case platform::WM_MBUTTONUP: {
            LRESULT r = pass_on(wp);
            if (*alive) c.NoteEvent("MouseUp " + std::to_string(ButtonOf(msg)));
            mouse_args(ButtonOf(msg), c.MouseUp);
            if (msg == platform::WM_LBUTTONUP && *alive && c.left_pressed_) {
                c.left_pressed_ = false;
                c.NoteEvent("Click");
                if (c.Click) c.Click();
            }
            return r;
        }
        case platform::WM_LBUTTONDBLCLK: {
            LRESULT r = pass_on(wp);
            if (*alive) c.NoteEvent("DblClick");
            if (*alive && c.DblClick) c.DblClick();
            return r;
        }
        case platform::WM_SETFOCUS: {
            LRESULT r = pass_on(wp);
            if (*alive) c.NoteEvent("LVGotFocus");
            if (*alive && c.LVGotFocus) c.LVGotFocus();
            return r;
        }
        case platform::WM_KILLFOCUS: {
            LRESULT r = pass_on(wp);
            if (*alive) c.NoteEvent("LVLostFocus");
            if (*alive && c.LVLostFocus) c.LVLostFocus();
            return r;
        }
        default:
            return pass_on(wp);
    }
}

}  // namespace virtual_list
