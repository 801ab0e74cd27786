// SPDX-License-Identifier: GPL-3.0-or-later
// Repainting an owner-data list: what the parent is asked for, and that a
// repaint allocates no more for a full page than for one row (nothing per
// painted cell). The fixed test face allocates nothing itself, so whatever
// the count shows is the list's own doing.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "platform/headless/headless_backend.h"
#include "platform/listview/listview.h"
#include "platform/text/font_engine.h"
#include "platform/window.h"

namespace {
std::atomic<long> g_allocations{0};
}

void* operator new(std::size_t n) {
    ++g_allocations;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

using namespace platform;

namespace {

int g_asked = 0;

LRESULT PageOwnerProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lp)->code == LVN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(lp);
        ++g_asked;
        std::snprintf(info->item.pszText, static_cast<size_t>(info->item.cchTextMax), "zAbsf]z %d",
                      info->item.iItem);
        return 0;
    }
    return DefWindowProc(h, m, wp, lp);
}

HHOOK g_hook;
LRESULT Hook(int32_t code, WPARAM wp, LPARAM lp) {
    auto* cwp = reinterpret_cast<CWPSTRUCT*>(lp);
    if (cwp->message == WM_CREATE && GetClassName(cwp->hwnd) == kListViewClass)
        reinterpret_cast<CREATESTRUCT*>(cwp->lParam)->style |= LVS_OWNERDATA;
    return CallNextHookEx(g_hook, code, wp, lp);
}

// Counts allocations made while the list handles WM_PAINT, so what the
// window system does around it (composing the owner) does not count.
WNDPROC g_list_proc = nullptr;
long g_in_paint = 0;
LRESULT CountingProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m != WM_PAINT) return CallWindowProc(g_list_proc, h, m, wp, lp);
    const long before = g_allocations.load();
    const LRESULT r = CallWindowProc(g_list_proc, h, m, wp, lp);
    g_in_paint += g_allocations.load() - before;
    return r;
}

long AllocationsForRepaint(HWND lv, HWND owner) {
    InvalidateRect(lv);
    UpdateWindow(owner);  // warms the text engine's caches for this page
    InvalidateRect(lv);
    g_in_paint = 0;
    UpdateWindow(owner);
    return g_in_paint;
}

TEST(ListViewPaintTest, RepaintingAWarmPageAllocatesNothingPerCell) {
    text::InstallFontEngine();
    headless::HeadlessSession session;
    RegisterListViewClass();
    RegisterClass({"LvPageOwner", PageOwnerProc, 0, Rgb(255, 255, 255), {}});
    HWND owner = CreateWindowEx(0, "LvPageOwner", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 400, {});
    g_hook = SetWindowsHookEx(WH_CALLWNDPROC, Hook);
    HWND lv = CreateWindowEx(WS_EX_CLIENTEDGE, kListViewClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 189,
                             339, owner, 1);
    UnhookWindowsHookEx(g_hook);
    SetListViewFont(lv, MakeFont({kTestFontName, 16}));
    g_list_proc = SetWindowProc(lv, CountingProc);
    LVCOLUMNA col;
    col.mask = LVCF_WIDTH;
    col.cx = 170;
    SendMessage(lv, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&col));
    SendMessage(lv, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);

    SendMessage(lv, LVM_SETITEMCOUNT, 1, 0);
    const long one_row = AllocationsForRepaint(lv, owner);
    SendMessage(lv, LVM_SETITEMCOUNT, 30000, 0);
    SendMessage(lv, LVM_SCROLL, 0, 20000 * 40);
    g_asked = 0;
    const long full_page = AllocationsForRepaint(lv, owner);
    const int32_t per_page = static_cast<int32_t>(SendMessage(lv, LVM_GETCOUNTPERPAGE));
    EXPECT_GE(per_page, 5);
    // Two repaints, each asking once for every whole or partly visible row.
    EXPECT_GE(g_asked, 2 * per_page);
    EXPECT_LE(g_asked, 2 * (per_page + 1));
    EXPECT_EQ(full_page, one_row);
    DestroyWindow(owner);
}

}  // namespace
