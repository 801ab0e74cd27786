// SPDX-License-Identifier: GPL-3.0-or-later
// The recording stand-in for the list control and the shared test fixture.
#include "fake_list.h"

#include <cstdio>

namespace vl_test {

using namespace platform;

namespace {

FakeList g_fake;

std::string Hex(uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%X", v);
    return buf;
}

LRESULT FakeListProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    FakeList& f = g_fake;
    auto record = [&](const std::string& text) { f.log.push_back(text); };
    switch (msg) {
        case WM_CREATE:
            f.created_style = reinterpret_cast<CREATESTRUCT*>(lp)->style;
            return 0;
        case WM_DESTROY:
            // Whether the component had handed the window back by now.
            record(std::string("destroy ") +
                   (GetWindowProc(h) == &FakeListProc ? "own" : "replaced") + " prop " +
                   std::to_string(GetProp(h, virtual_list::kComponentProp)));
            return 0;
        case WM_SETFONT:
            record("setfont");
            return 0;
        case WM_SIZE:
            if (f.whole_rows) {
                int32_t height = HIWORD(static_cast<uintptr_t>(lp));
                int32_t snapped = height / f.row_height * f.row_height;
                if (snapped != height) {
                    MoveWindow(h, 0, 0, LOWORD(static_cast<uintptr_t>(lp)), snapped, true);
                }
            }
            return 0;
        case WM_TIMER:
            record("timer " + std::to_string(wp));
            return 0;
        case WM_RBUTTONDOWN:
        case WM_LBUTTONDOWN:
        case WM_MBUTTONDOWN:
            record("press " + Hex(msg));
            return 0;
        case WM_KEYDOWN:
            record("keydown " + std::to_string(wp));
            return 0;
        case WM_CHAR:
            record("char " + std::to_string(wp));
            return 0;
        case WM_NOTIFY: {
            const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
            record("notify " + std::to_string(hdr->code));
            return f.notify_answer;
        }
        case LVM_SETITEMCOUNT:
            f.count = static_cast<int32_t>(wp);
            record("setitemcount " + std::to_string(wp) + "," + std::to_string(lp));
            return 1;
        case LVM_GETTOPINDEX:
            record("gettopindex");
            return f.top;
        case LVM_GETITEMRECT: {
            auto* r = reinterpret_cast<Rect*>(lp);
            record("getitemrect " + std::to_string(wp) + "," + std::to_string(r->left));
            int32_t y = f.header_height + (static_cast<int32_t>(wp) - f.top) * f.row_height;
            *r = Rect{0, y, 170, y + f.row_height};
            return 1;
        }
        case LVM_SCROLL: {
            record("scroll " + std::to_string(wp) + "," + std::to_string(lp));
            f.top += static_cast<int32_t>(lp) / f.row_height;
            return 1;
        }
        case LVM_HITTEST: {
            auto* info = reinterpret_cast<LVHITTESTINFO*>(lp);
            record("hittest " + std::to_string(info->pt.x) + "," + std::to_string(info->pt.y));
            int32_t y = info->pt.y - f.header_height;
            int32_t row = y < 0 ? -1 : f.top + y / f.row_height;
            if (row < 0 || row >= f.count) {
                info->flags = LVHT_NOWHERE;
                return -1;
            }
            info->flags = LVHT_ONITEMLABEL;
            info->iItem = row;
            return row;
        }
        case LVM_GETEXTENDEDLISTVIEWSTYLE:
            record("getexstyle");
            return f.ex_style;
        case LVM_SETEXTENDEDLISTVIEWSTYLE:
            record("setexstyle " + std::to_string(wp) + "," + Hex(static_cast<uint32_t>(lp)));
            f.ex_style = static_cast<uint32_t>(lp);
            return 1;
        case LVM_SETBKCOLOR:
            record("setbkcolor " + Hex(static_cast<uint32_t>(lp)));
            return 1;
        case LVM_SETTEXTBKCOLOR:
            record("settextbkcolor " + Hex(static_cast<uint32_t>(lp)));
            return 1;
        case LVM_SETTEXTCOLOR:
            record("settextcolor " + Hex(static_cast<uint32_t>(lp)));
            return 1;
        case LVM_INSERTCOLUMNA: {
            const auto* col = reinterpret_cast<const LVCOLUMNA*>(lp);
            record("insertcolumn " + std::to_string(wp) + "," + col->pszText + "," +
                   std::to_string(col->cx));
            return static_cast<LRESULT>(wp);
        }
        default:
            return DefWindowProc(h, msg, wp, lp);
    }
}

LRESULT PlainProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProc(h, msg, wp, lp);
}

}  // namespace

FakeList& Fake() {
    return g_fake;
}

void RegisterFakeListClass() {
    RegisterClass({kListViewClass, &FakeListProc, 0, 0xFFFFFF, {}});
}

void VirtualListTest::SetUp() {
    g_fake = FakeList{};
    virtual_list::VirtualListHookEnabled = false;
    session_ = std::make_unique<headless::HeadlessSession>();
    RegisterFakeListClass();
    RegisterClass({"TestForm", &PlainProc, 0, 0xFFFFFF, {}});
    form_ = CreateWindowEx(0, "TestForm", "form", WS_POPUP | WS_VISIBLE, 0, 0, 400, 400, HWND{});
}

void VirtualListTest::TearDown() {
    virtual_list::RemoveCreationHook();
    virtual_list::VirtualListHookEnabled = false;
    session_.reset();
}

std::unique_ptr<virtual_list::UVirtualListView> VirtualListTest::MakeBare() {
    return std::make_unique<virtual_list::UVirtualListView>(form_, host_, "lstMain",
                                                            Rect::FromXYWH(10, 10, 189, 339));
}

std::unique_ptr<virtual_list::UVirtualListView> VirtualListTest::Make() {
    auto c = MakeBare();
    c->InitProperties();
    g_fake.log.clear();
    return c;
}

LRESULT VirtualListTest::Notify(HWND to, HWND from, NMHDR& hdr) {
    hdr.hwndFrom = from;
    return SendMessage(to, WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&hdr));
}

}  // namespace vl_test
