// SPDX-License-Identifier: GPL-3.0-or-later
// The creation hook, subclassing of both windows, and how the replacement
// procedure decodes the list's notifications, presses and timer messages.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "fake_list.h"

using namespace platform;
using namespace virtual_list;
using vl_test::Fake;
using vl_test::VirtualListTest;

namespace {

using Strings = std::vector<std::string>;

LRESULT DialogProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProc(h, msg, wp, lp);
}

// --- creation hook -------------------------------------------------------------

TEST_F(VirtualListTest, HookGivesTheInnerListTheOwnerDataStyleAtCreation) {
    VirtualListHookEnabled = true;
    auto c = MakeBare();
    EXPECT_TRUE(Fake().created_style & LVS_OWNERDATA);
    EXPECT_TRUE(GetWindowLongPtr(c->hwnd(), GWL_STYLE) & LVS_OWNERDATA);
    // The hook removed itself and the list has its own procedure back.
    EXPECT_FALSE(CreationHookPending());
    EXPECT_NE(GetWindowProc(c->hwnd()), &CreationWndProc);

    // A second list made with the switch off is an ordinary list.
    VirtualListHookEnabled = false;
    auto plain = MakeBare();
    EXPECT_FALSE(Fake().created_style & LVS_OWNERDATA);
}

TEST_F(VirtualListTest, DialogCreatedFirstUsesUpTheHook) {
    RegisterClass({"#32770", &DialogProc, 0, 0xFFFFFF, {}});
    InstallCreationHook();
    HWND dialog = CreateWindowEx(0, "#32770", "msg", WS_POPUP, 0, 0, 100, 50, HWND{});
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(GetWindowLongPtr(dialog, GWL_STYLE) & LVS_OWNERDATA);
    EXPECT_FALSE(CreationHookPending());

    auto c = MakeBare();
    EXPECT_FALSE(Fake().created_style & LVS_OWNERDATA);
}

TEST_F(VirtualListTest, HookIgnoresOtherClassesAndAWaitingHookIsReplacedNotDoubled) {
    InstallCreationHook();
    CreateWindowEx(0, "TestForm", "other", WS_POPUP, 0, 0, 10, 10, HWND{});
    EXPECT_TRUE(CreationHookPending());
    // Two components initialised before either list exists must not both
    // catch the same list (that would leave a procedure calling itself).
    InstallCreationHook();
    VirtualListHookEnabled = true;
    auto c = MakeBare();
    EXPECT_TRUE(Fake().created_style & LVS_OWNERDATA);
    EXPECT_FALSE(CreationHookPending());
    c->InitProperties();
    EXPECT_EQ(SendMessage(c->hwnd(), LVM_GETTOPINDEX), 0);
}

// --- subclassing -----------------------------------------------------------------

TEST_F(VirtualListTest, SubClassTwiceLeavesOneReplacementAndUnSubClassRestores) {
    auto c = MakeBare();
    WNDPROC list_proc = GetWindowProc(c->hwnd());
    WNDPROC component_proc = GetWindowProc(c->UChWnd());
    c->InitProperties();
    c->SubClass();
    EXPECT_EQ(GetWindowProc(c->hwnd()), &VirtualListWndProc);
    EXPECT_EQ(GetWindowProc(c->UChWnd()), &VirtualListWndProc);

    // One message reaches the list exactly once.
    Fake().log.clear();
    SendMessage(c->hwnd(), LVM_GETTOPINDEX);
    EXPECT_EQ(Fake().log, Strings{"gettopindex"});

    c->UnSubClass();
    EXPECT_EQ(GetWindowProc(c->hwnd()), list_proc);
    EXPECT_EQ(GetWindowProc(c->UChWnd()), component_proc);
    EXPECT_EQ(GetProp(c->hwnd(), kComponentProp), 0);
    EXPECT_EQ(GetProp(c->UChWnd(), kComponentProp), 0);
    // A second UnSubClass has nothing left to undo.
    c->UnSubClass();
    EXPECT_EQ(GetWindowProc(c->hwnd()), list_proc);
}

TEST_F(VirtualListTest, SubClassLeavesAWindowThatAlreadyHasTheProperty) {
    auto c = MakeBare();
    WNDPROC list_proc = GetWindowProc(c->hwnd());
    SetProp(c->UChWnd(), kComponentProp, 1234);
    c->InitProperties();
    EXPECT_EQ(GetWindowProc(c->hwnd()), list_proc);
    EXPECT_EQ(GetProp(c->hwnd(), kComponentProp), 0);
    // Without the saved procedure the component's own list messages go
    // nowhere, and the stored count is all there is.
    Fake().log.clear();
    ASSERT_TRUE(c->SetItemCount(40).ok());
    EXPECT_TRUE(Fake().log.empty());
    EXPECT_EQ(c->ListCount().value(), 40);
    RemoveProp(c->UChWnd(), kComponentProp);
}

TEST_F(VirtualListTest, DestroyingTheComponentRestoresTheListBeforeItGoes) {
    auto c = Make();
    ASSERT_EQ(GetWindowProc(c->hwnd()), &VirtualListWndProc);
    c.reset();
    EXPECT_EQ(Fake().log, Strings{"destroy own prop 0"});
}

// --- presses and timers ----------------------------------------------------------

TEST_F(VirtualListTest, PressBecomesItemClickAtTheListsNextTimerMessage) {
    auto c = Make();
    Fake().count = 100;
    Fake().top = 10;
    std::vector<std::pair<int32_t, int32_t>> clicks;
    c->ItemClick = [&](int32_t button, int32_t item) { clicks.emplace_back(button, item); };

    SendMessage(c->hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(30, 18 + 2 * 20 + 5));
    SendMessage(c->hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(31, 60));
    EXPECT_TRUE(clicks.empty());
    EXPECT_TRUE(c->PendingClick().click_pending);
    // A timer of the component window is not the list's.
    SendMessage(c->UChWnd(), WM_TIMER, 1);
    EXPECT_TRUE(clicks.empty());

    Fake().log.clear();
    SendMessage(c->hwnd(), WM_TIMER, 1);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], std::make_pair(2, 12));
    // The hit test went straight to the list, and the timer was passed on.
    EXPECT_EQ(Fake().log, (Strings{"hittest 30,63", "timer 1"}));
    EXPECT_EQ(c->PendingClick().button, 2u);

    // Only one event per press.
    SendMessage(c->hwnd(), WM_TIMER, 1);
    EXPECT_EQ(clicks.size(), 1u);

    // A middle press below the last row reports row 0; a press with negative
    // coordinates is read as signed.
    Fake().count = 11;
    SendMessage(c->hwnd(), WM_MBUTTONDOWN, 0, MAKELPARAM(5, 300));
    SendMessage(c->hwnd(), WM_TIMER, 7);
    EXPECT_EQ(clicks.back(), std::make_pair(4, 0));
    SendMessage(c->hwnd(), WM_LBUTTONDOWN, 0, MAKELPARAM(-3, -4));
    EXPECT_EQ(c->PendingClick().x, -3);
    EXPECT_EQ(c->PendingClick().y, -4);
}

TEST_F(VirtualListTest, OwnerDestroyingTheComponentInsideItemClickIsSafe) {
    auto c = Make();
    Fake().count = 5;
    HWND list = c->hwnd();
    c->ItemClick = [&](int32_t, int32_t) { c.reset(); };
    SendMessage(list, WM_LBUTTONDOWN, 0, MAKELPARAM(3, 25));
    SendMessage(list, WM_TIMER, 1);
    EXPECT_EQ(c, nullptr);
    EXPECT_FALSE(IsWindow(list));
}

// --- notifications ---------------------------------------------------------------

TEST_F(VirtualListTest, ItemInfoCallbackFillsTheListsBufferCutToItsCapacity) {
    auto c = Make();
    std::vector<std::string> arrived;
    std::string answer;
    c->ItemInfoCallback = [&](int32_t item, int32_t sub, int32_t mask, std::string& text,
                              int32_t& image) {
        arrived.push_back(std::to_string(item) + "/" + std::to_string(sub) + "/" +
                          std::to_string(mask) + "/'" + text + "'/" + std::to_string(image));
        text = answer;
        image = 5;
    };
    char buffer[8];
    NMLVDISPINFOA info;
    info.hdr.code = LVN_GETDISPINFOA;
    info.item.mask = LVIF_TEXT;
    info.item.iItem = 42;
    info.item.iSubItem = 0;
    info.item.pszText = buffer;
    info.item.cchTextMax = sizeof buffer;

    answer = "abcdefghijk";
    EXPECT_EQ(Notify(c->UChWnd(), c->hwnd(), info.hdr), 0);
    EXPECT_STREQ(buffer, "abcdefg");
    EXPECT_EQ(info.item.iImage, 5);

    // The next request starts empty again; Preeti bytes pass unchanged.
    answer = "\xE2\xA5k";
    info.item.iItem = 43;
    Notify(c->UChWnd(), c->hwnd(), info.hdr);
    EXPECT_STREQ(buffer, "\xE2\xA5k");
    // Text after an embedded zero is not copied.
    answer = std::string("ab\0cd", 5);
    Notify(c->UChWnd(), c->hwnd(), info.hdr);
    EXPECT_STREQ(buffer, "ab");
    EXPECT_EQ(arrived[1], "43/0/1/''/0");
    EXPECT_EQ(arrived[0], "42/0/1/''/0");

    // Without LVIF_TEXT the owner is still asked, and nothing comes back.
    std::memcpy(buffer, "zzzzzzz", 8);
    info.item.mask = LVIF_IMAGE;
    info.item.iImage = -1;
    Notify(c->UChWnd(), c->hwnd(), info.hdr);
    EXPECT_EQ(arrived.size(), 4u);
    EXPECT_STREQ(buffer, "zzzzzzz");
    EXPECT_EQ(info.item.iImage, -1);

    // A buffer of capacity 1 gets the terminator only; no buffer, nothing.
    info.item.mask = LVIF_TEXT;
    info.item.cchTextMax = 1;
    Notify(c->UChWnd(), c->hwnd(), info.hdr);
    EXPECT_STREQ(buffer, "");
    info.item.pszText = nullptr;
    info.item.cchTextMax = 0;
    EXPECT_EQ(Notify(c->UChWnd(), c->hwnd(), info.hdr), 0);
}

TEST_F(VirtualListTest, SelectionChangesRaiseRavoItemChangedOnlyForSelectedRows) {
    auto c = Make();
    std::vector<int32_t> rows;
    c->ravoItemChanged = [&](int32_t& item) {
        rows.push_back(item);
        item = 999;  // has no effect
    };
    NMLISTVIEW nm;
    nm.hdr.code = LVN_ITEMCHANGING;
    nm.iItem = 3;
    nm.uNewState = LVIS_SELECTED;
    EXPECT_EQ(Notify(c->UChWnd(), c->hwnd(), nm.hdr), 0);
    EXPECT_TRUE(rows.empty());

    nm.hdr.code = LVN_ITEMCHANGED;
    nm.uNewState = LVIS_SELECTED | LVIS_FOCUSED;
    EXPECT_EQ(Notify(c->UChWnd(), c->hwnd(), nm.hdr), 0);
    EXPECT_EQ(nm.iItem, 3);
    // Losing the selection raises nothing; focus moving onto an already
    // selected row raises it again.
    nm.iItem = 2;
    nm.uNewState = 0;
    nm.uOldState = LVIS_SELECTED | LVIS_FOCUSED;
    Notify(c->UChWnd(), c->hwnd(), nm.hdr);
    nm.iItem = 3;
    nm.uNewState = LVIS_SELECTED | LVIS_FOCUSED;
    nm.uOldState = LVIS_SELECTED;
    Notify(c->UChWnd(), c->hwnd(), nm.hdr);
    EXPECT_EQ(rows, (std::vector<int32_t>{3, 3}));
}

TEST_F(VirtualListTest, ColumnClickAndLabelEditsAreAnsweredHere) {
    auto c = Make();
    int32_t column = -1;
    c->ColumnClick = [&](int32_t n) { column = n; };
    NMLISTVIEW nm;
    nm.hdr.code = LVN_COLUMNCLICK;
    nm.iSubItem = 2;
    EXPECT_EQ(Notify(c->UChWnd(), c->hwnd(), nm.hdr), 0);
    EXPECT_EQ(column, 2);

    bool forbid = true;
    int32_t begin_item = -1;
    c->BeforeLabelEdit = [&](bool& cancel, int32_t item) {
        begin_item = item;
        cancel = forbid;
    };
    NMLVDISPINFOA info;
    info.hdr.code = LVN_BEGINLABELEDITA;
    info.item.iItem = 7;
    EXPECT_EQ(Notify(c->UChWnd(), c->hwnd(), info.hdr), 1);
    EXPECT_EQ(begin_item, 7);
    forbid = false;
    EXPECT_EQ(Notify(c->UChWnd(), c->hwnd(), info.hdr), 0);

    Strings edits;
    bool reject = false;
    c->AfterLabelEdit = [&](bool& cancel, std::string text, int32_t item) {
        edits.push_back(std::to_string(item) + ":" + text);
        cancel = reject;
    };
    char label[] = "kml";
    info.hdr.code = LVN_ENDLABELEDITA;
    info.item.pszText = label;
    EXPECT_EQ(Notify(c->UChWnd(), c->hwnd(), info.hdr), 1);
    reject = true;
    EXPECT_EQ(Notify(c->UChWnd(), c->hwnd(), info.hdr), 0);
    // Abandoned: no text, no event, answer 0.
    info.item.pszText = nullptr;
    reject = false;
    EXPECT_EQ(Notify(c->UChWnd(), c->hwnd(), info.hdr), 0);
    EXPECT_EQ(edits, (Strings{"7:kml", "7:kml"}));

    // Cache hints and find requests are answered 0.
    NMLVCACHEHINT hint;
    hint.hdr.code = LVN_ODCACHEHINT;
    EXPECT_EQ(Notify(c->UChWnd(), c->hwnd(), hint.hdr), 0);
}

TEST_F(VirtualListTest, ForeignNotificationsPassOnAndTooltipRequestsStopHere) {
    auto c = Make();
    HWND header = CreateWindowEx(0, "TestForm", "", WS_CHILD, 0, 0, 10, 10, c->hwnd());
    // A header notification reaching the list goes to the list unchanged.
    NMHDR hdr;
    hdr.code = HDN_ITEMCLICKA;
    EXPECT_EQ(Notify(c->hwnd(), header, hdr), 77);
    EXPECT_EQ(Fake().log, Strings{"notify " + std::to_string(HDN_ITEMCLICKA)});

    // A tooltip request is answered 1 whoever sends it and goes no further.
    Fake().log.clear();
    hdr.code = TTN_NEEDTEXTA;
    EXPECT_EQ(Notify(c->hwnd(), header, hdr), 1);
    EXPECT_EQ(Notify(c->UChWnd(), c->hwnd(), hdr), 1);
    EXPECT_EQ(Notify(c->UChWnd(), header, hdr), 1);
    EXPECT_TRUE(Fake().log.empty());
}

TEST_F(VirtualListTest, KeysAreForwardedAndChangesHandedBack) {
    auto c = Make();
    c->KeyDown = [](int16_t& key, int16_t&) {
        if (key == VK_F2) key = 0;
        if (key == VK_NEXT) key = VK_END;
    };
    c->KeyPress = [](int16_t& ascii) {
        if (ascii == 'a') ascii = 'b';
    };
    SendMessage(c->hwnd(), WM_KEYDOWN, VK_F2);
    SendMessage(c->hwnd(), WM_KEYDOWN, VK_NEXT);
    SendMessage(c->hwnd(), WM_CHAR, 'a');
    SendMessage(c->hwnd(), WM_CHAR, 0x915);  // beyond the event's range: unchanged
    EXPECT_EQ(Fake().log, (Strings{"keydown " + std::to_string(VK_END), "char 98", "char 2325"}));
}

}  // namespace
