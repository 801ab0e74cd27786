// SPDX-License-Identifier: GPL-3.0-or-later
// The list demo window "frmList": two owner-data list views at the size the
// main window gives its headword list (189 x 339). "lstDemo" holds 100,000
// numbered rows in a Latin face; "lstNepali" shows the same rows in the
// Preeti face the dictionary uses. The window answers each list's text
// requests, shows the last selected row under the lists, and marks the
// focused row with the drop highlight when M is pressed in a list.

#include "demo_list.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/json.h"
#include "platform/listview/listview.h"
#include "platform/preeti/preeti.h"

namespace harness {

using namespace platform;

namespace {

constexpr int32_t kRows = 100000;
constexpr int32_t kListWidth = 189;
constexpr int32_t kListHeight = 339;
constexpr int32_t kMargin = 12;
enum : uintptr_t { kIdDemo = 1, kIdNepali = 2 };

// "Row" in Preeti bytes, for the Nepali list, and the Preeti bytes of the
// Devanagari digits (ASCII digits are letters in that encoding).
std::string g_nepali_row;
char g_nepali_digits[10] = {};
int32_t g_last_selected = -1;
WNDPROC g_list_proc = nullptr;

// M marks the focused row with the drop highlight, moving the mark there.
LRESULT MarkingListProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_KEYDOWN && wp == 'M') {
        LVITEMA mark;
        mark.stateMask = LVIS_DROPHILITED;
        mark.state = 0;
        SendMessage(h, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&mark));
        const LRESULT row = SendMessage(h, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED);
        mark.state = LVIS_DROPHILITED;
        if (row >= 0)
            SendMessage(h, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                        reinterpret_cast<LPARAM>(&mark));
        return 0;
    }
    return CallWindowProc(g_list_proc, h, m, wp, lp);
}

LRESULT OnNotify(HWND h, LPARAM lp) {
    const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
    if (hdr->code == LVN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(lp);
        if (!(info->item.mask & LVIF_TEXT) || !info->item.pszText || info->item.cchTextMax <= 0)
            return 0;
        const int32_t row = info->item.iItem;
        // Written straight into the list's buffer, cut to its capacity.
        if (hdr->idFrom == kIdNepali) {
            const int n =
                std::snprintf(info->item.pszText, static_cast<size_t>(info->item.cchTextMax),
                              "%s %d", g_nepali_row.c_str(), row + 1);
            const int written = std::min(n, info->item.cchTextMax - 1);
            for (int i = static_cast<int>(g_nepali_row.size()) + 1; i < written; ++i) {
                char& c = info->item.pszText[i];
                if (c >= '0' && c <= '9') c = g_nepali_digits[c - '0'];
            }
        } else {
            std::snprintf(info->item.pszText, static_cast<size_t>(info->item.cchTextMax), "Row %d",
                          row + 1);
        }
        return 0;
    }
    if (hdr->code == LVN_ITEMCHANGED) {
        const auto* nm = reinterpret_cast<const NMLISTVIEW*>(lp);
        if ((nm->uNewState & LVIS_SELECTED) && hdr->idFrom == kIdDemo) {
            g_last_selected = nm->iItem;
            const Rect status{0, kMargin + kListHeight, GetClientRect(h).right,
                              GetClientRect(h).bottom};
            InvalidateRect(h, &status);
        }
    }
    return 0;
}

void OnPaint(HWND h) {
    PAINTSTRUCT ps;
    auto dc = BeginPaint(h, &ps);
    FontDesc ui;
    dc->SetFont(ui);
    dc->SetBkMode(BkMode::kTransparent);
    dc->SetTextColor(0x80000000 | COLOR_BTNTEXT);
    const std::string line = g_last_selected < 0
                                 ? std::string("Nothing selected yet. M marks the focused row.")
                                 : "Selected: Row " + std::to_string(g_last_selected + 1) +
                                       "    M marks the focused row.";
    dc->TextOut(kMargin, static_cast<float>(kMargin + kListHeight + 8), line);
    EndPaint(h, &ps);
}

LRESULT DemoListFrameProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    switch (m) {
        case WM_NOTIFY:
            return OnNotify(h, lp);
        case WM_PAINT:
            OnPaint(h);
            return 0;
        case WM_REPORTSTATE:
            reinterpret_cast<Json*>(lp)->Set("last_selected", g_last_selected);
            return 0;
        default:
            return DefWindowProc(h, m, wp, lp);
    }
}

// Catches the list's creation and makes it owner-data, the way the
// dictionary's own list is made.
HHOOK g_hook;
LRESULT OwnerDataHook(int32_t code, WPARAM wp, LPARAM lp) {
    const HHOOK hook = g_hook;
    auto* cwp = reinterpret_cast<CWPSTRUCT*>(lp);
    if (cwp->message == WM_CREATE && GetClassName(cwp->hwnd) == kListViewClass) {
        reinterpret_cast<CREATESTRUCT*>(cwp->lParam)->style |= LVS_OWNERDATA;
        g_hook = {};
        UnhookWindowsHookEx(hook);
    }
    return CallNextHookEx(hook, code, wp, lp);
}

HWND MakeList(HWND parent, const char* name, uintptr_t id, int32_t x, FontDesc font,
              const char* caption) {
    g_hook = SetWindowsHookEx(WH_CALLWNDPROC, OwnerDataHook);
    HWND lv = CreateWindowEx(WS_EX_CLIENTEDGE, kListViewClass, "",
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS, x,
                             kMargin, kListWidth, kListHeight, parent, id);
    SetWindowName(lv, name);
    SetListViewFont(lv, MakeFont(std::move(font)));
    LVCOLUMNA col;
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.cx = 170;
    std::string text = caption;
    col.pszText = text.data();
    SendMessage(lv, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&col));
    SendMessage(lv, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    SendMessage(lv, LVM_SETITEMCOUNT, kRows, LVSICF_NOINVALIDATEALL);
    g_list_proc = SetWindowProc(lv, MarkingListProc);
    return lv;
}

}  // namespace

HWND CreateDemoListWindow() {
    RegisterListViewClass();
    RegisterClass({"DemoListFrame", DemoListFrameProc, 0, 0x80000000 | COLOR_BTNFACE, {}});
    g_nepali_row = preeti::FromUnicode("पङ्क्ति").value_or("k+lQm");
    for (int d = 0; d < 10; ++d) {
        const std::string digit = preeti::FromUnicode(std::string(1, static_cast<char>('0' + d)))
                                      .value_or(std::string(1, static_cast<char>('0' + d)));
        g_nepali_digits[d] = digit.empty() ? static_cast<char>('0' + d) : digit[0];
    }
    const int32_t width = 3 * kMargin + 2 * kListWidth;
    const int32_t height = kMargin + kListHeight + 56;
    HWND h = CreateWindowEx(0, "DemoListFrame", "Kovelin list demo",
                            WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, width, height, {});
    SetWindowName(h, "frmList");
    FontDesc latin;
    latin.name = "Arial";
    latin.size = 10;
    MakeList(h, "lstDemo", kIdDemo, kMargin, latin, "Rows");
    FontDesc nepali;
    nepali.name = "OrvSoft";
    nepali.size = 16;
    MakeList(h, "lstNepali", kIdNepali, 2 * kMargin + kListWidth, nepali,
             preeti::FromUnicode("शब्द").value_or("zAb").c_str());
    // Shown without taking the activation from the layer demo window.
    ShowWindow(h, SW_SHOWNA);
    return h;
}

}  // namespace harness
