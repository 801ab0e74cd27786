// SPDX-License-Identifier: GPL-3.0-or-later
// The list view control at the message level, as a subclassing component
// and its owner see it: the notifications and their records, owner-data
// text requests while painting, scrolling by whole rows, geometry answers,
// the drop highlight, label editing, the header's clicks and divider drags,
// the press timer, and the creation record changed by a hook.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"
#include "platform/listview/listview.h"
#include "platform/text/font_engine.h"
#include "platform/window.h"

using namespace platform;
using platform::headless::HeadlessSession;

namespace {

struct Note {
    int32_t code = 0;
    int32_t item = -1;
    int32_t sub = 0;
    uint32_t new_state = 0;
    uint32_t old_state = 0;
    bool null_text = false;
    std::string text;
    int32_t capacity = 0;
    int32_t width = -1;  // a header record's width, when it has one
    HWND from;
};

// What the parent window saw and how it answers.
struct Owner {
    std::vector<Note> notes;
    std::string long_text;  // when set, every row's text (pointed at, not copied)
    LRESULT begin_edit_answer = 0;
    LRESULT end_edit_answer = 1;
    LRESULT changing_answer = 0;
    int32_t refused_header_code = 0;  // answered with 1; the rest with 0
    bool destroy_on_changed = false;
} g_owner;

std::string g_row_text;

LRESULT OwnerProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m != WM_NOTIFY) return DefWindowProc(h, m, wp, lp);
    const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
    Note n;
    n.code = hdr->code;
    n.from = hdr->hwndFrom;
    switch (hdr->code) {
        case HDN_BEGINTRACKA:
        case HDN_TRACKA:
        case HDN_ENDTRACKA:
        case HDN_ITEMCHANGINGA:
        case HDN_ITEMCHANGEDA:
        case HDN_DIVIDERDBLCLICKA: {
            const auto* nm = reinterpret_cast<const NMHEADERA*>(lp);
            n.item = nm->iItem;
            if (nm->pitem && (nm->pitem->mask & HDI_WIDTH)) n.width = nm->pitem->cxy;
            break;
        }
        case LVN_ITEMCHANGING:
        case LVN_ITEMCHANGED:
        case LVN_COLUMNCLICK: {
            const auto* nm = reinterpret_cast<const NMLISTVIEW*>(lp);
            n.item = nm->iItem;
            n.sub = nm->iSubItem;
            n.new_state = nm->uNewState;
            n.old_state = nm->uOldState;
            break;
        }
        case LVN_GETDISPINFOA:
        case LVN_BEGINLABELEDITA:
        case LVN_ENDLABELEDITA: {
            auto* info = reinterpret_cast<NMLVDISPINFOA*>(const_cast<NMHDR*>(hdr));
            n.item = info->item.iItem;
            n.sub = info->item.iSubItem;
            n.null_text = info->item.pszText == nullptr;
            n.capacity = info->item.cchTextMax;
            if (info->item.pszText && hdr->code != LVN_GETDISPINFOA) n.text = info->item.pszText;
            if (hdr->code == LVN_GETDISPINFOA) {
                if (!g_owner.long_text.empty()) {
                    info->item.pszText = g_owner.long_text.data();
                } else {
                    g_row_text = "Row " + std::to_string(info->item.iItem);
                    std::strncpy(info->item.pszText, g_row_text.c_str(),
                                 static_cast<size_t>(info->item.cchTextMax - 1));
                    info->item.pszText[info->item.cchTextMax - 1] = '\0';
                }
            }
            break;
        }
        default:
            break;
    }
    g_owner.notes.push_back(n);
    if (hdr->code == g_owner.refused_header_code) return 1;
    if (hdr->code == LVN_ITEMCHANGING) return g_owner.changing_answer;
    if (hdr->code == LVN_BEGINLABELEDITA) return g_owner.begin_edit_answer;
    if (hdr->code == LVN_ENDLABELEDITA) return g_owner.end_edit_answer;
    if (hdr->code == LVN_ITEMCHANGED && g_owner.destroy_on_changed) DestroyWindow(hdr->hwndFrom);
    return 0;
}

HHOOK g_hook;
LRESULT OwnerDataHook(int32_t code, WPARAM wp, LPARAM lp) {
    auto* cwp = reinterpret_cast<CWPSTRUCT*>(lp);
    if (cwp->message == WM_CREATE && GetClassName(cwp->hwnd) == kListViewClass) {
        reinterpret_cast<CREATESTRUCT*>(cwp->lParam)->style |= LVS_OWNERDATA;
        const HHOOK self = g_hook;
        g_hook = {};
        UnhookWindowsHookEx(self);
        return CallNextHookEx(self, code, wp, lp);
    }
    return CallNextHookEx(g_hook, code, wp, lp);
}

// Messages a subclassing procedure sees, as "down"/"timer N".
std::vector<std::string> g_seen;
WNDPROC g_prev = nullptr;
LRESULT Spy(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN) g_seen.push_back("down");
    if (m == WM_TIMER) g_seen.push_back("timer " + std::to_string(wp));
    return CallWindowProc(g_prev, h, m, wp, lp);
}

// The fixed test face at 12 points: 16-pixel text, 20-pixel rows, a
// 22-pixel header. The list sits at (10, 10) in a frameless owner at the
// screen's origin, 222 pixels high: exactly ten rows below the header.
constexpr int32_t kRow = 20;
constexpr int32_t kHeader = 22;
constexpr int32_t kLeft = 10;
constexpr int32_t kTop = 10;

class ListViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        text::InstallFontEngine();
        g_owner = Owner{};
        g_seen.clear();
        RegisterListViewClass();
        RegisterClass({"LvOwner", OwnerProc, 0, Rgb(255, 255, 255), {}});
        owner_ = CreateWindowEx(0, "LvOwner", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, {});
    }

    HWND MakeList(uint32_t style, int32_t rows = 0, bool owner_data = true) {
        if (owner_data) g_hook = SetWindowsHookEx(WH_CALLWNDPROC, OwnerDataHook);
        HWND lv = CreateWindowEx(0, kListViewClass, "", WS_CHILD | WS_VISIBLE | style, kLeft, kTop,
                                 200, kHeader + 10 * kRow, owner_, 7);
        SetListViewFont(lv, MakeFont({kTestFontName, 12}));
        LVCOLUMNA col;
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.cx = 170;
        char caption[] = "Word";
        col.pszText = caption;
        SendMessage(lv, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&col));
        SendMessage(lv, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
        if (rows) SendMessage(lv, LVM_SETITEMCOUNT, rows, LVSICF_NOINVALIDATEALL);
        UpdateWindow(owner_);
        g_owner.notes.clear();
        return lv;
    }

    static Point RowPoint(int32_t visible_index, int32_t x = 40) {
        return {kLeft + x, kTop + kHeader + visible_index * kRow + kRow / 2};
    }

    std::vector<Note> Notes(int32_t code) const {
        std::vector<Note> out;
        for (const Note& n : g_owner.notes)
            if (n.code == code) out.push_back(n);
        return out;
    }

    static LRESULT State(HWND lv, int32_t row) {
        return SendMessage(lv, LVM_GETITEMSTATE, row, 0xF);
    }
    static LRESULT Top(HWND lv) { return SendMessage(lv, LVM_GETTOPINDEX); }

    HeadlessSession session_;
    HWND owner_;
};

TEST_F(ListViewTest, CreationHookMakesTheListOwnerData) {
    HWND data = MakeList(LVS_REPORT, 0, true);
    EXPECT_EQ(SendMessage(data, LVM_SETITEMCOUNT, 30000, LVSICF_NOINVALIDATEALL), 1);
    EXPECT_EQ(SendMessage(data, LVM_GETITEMCOUNT), 30000);
    LVITEMA item;
    item.mask = LVIF_TEXT;
    EXPECT_EQ(SendMessage(data, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)), -1);

    // Without the hook the list stores its rows and takes a count as a hint.
    HWND plain = MakeList(LVS_REPORT, 0, false);
    SendMessage(plain, LVM_SETITEMCOUNT, 50, 0);
    EXPECT_EQ(SendMessage(plain, LVM_GETITEMCOUNT), 0);
    char a[] = "alpha", b[] = "beta";
    item.pszText = a;
    item.iItem = 0;
    EXPECT_EQ(SendMessage(plain, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)), 0);
    item.pszText = b;
    EXPECT_EQ(SendMessage(plain, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)), 0);
    char out[16] = {};
    LVITEMA get;
    get.pszText = out;
    get.cchTextMax = sizeof out;
    EXPECT_EQ(SendMessage(plain, LVM_GETITEMTEXTA, 1, reinterpret_cast<LPARAM>(&get)), 5);
    EXPECT_STREQ(out, "alpha");
    EXPECT_TRUE(Notes(LVN_GETDISPINFOA).empty());
}

TEST_F(ListViewTest, ClickSelectsWithChangingThenChangedForBothRows) {
    HWND lv = MakeList(LVS_REPORT, 100);
    session_.Click(RowPoint(2));
    session_.Click(RowPoint(5));
    std::vector<std::string> seq;
    for (const Note& n : g_owner.notes) {
        if (n.code != LVN_ITEMCHANGING && n.code != LVN_ITEMCHANGED) continue;
        seq.push_back(std::to_string(n.code) + " " + std::to_string(n.item) + " " +
                      std::to_string(n.old_state) + ">" + std::to_string(n.new_state));
    }
    const std::vector<std::string> want = {
        "-100 2 0>3", "-101 2 0>3",  // row 2 selected and focused
        "-100 2 3>0", "-101 2 3>0",  // row 2 loses both
        "-100 5 0>3", "-101 5 0>3",
    };
    EXPECT_EQ(seq, want);
    EXPECT_EQ(SendMessage(lv, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 5);

    // A refused change leaves the selection where it was.
    g_owner.changing_answer = 1;
    session_.Click(RowPoint(7));
    EXPECT_EQ(State(lv, 5), LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(State(lv, 7), 0);
}

TEST_F(ListViewTest, KeyboardMovesSelectionAndScrolls) {
    HWND lv = MakeList(LVS_REPORT, 1000);
    SetFocus(lv);
    session_.Key(VK_DOWN);  // nothing focused yet: the first row
    EXPECT_EQ(State(lv, 0), LVIS_SELECTED | LVIS_FOCUSED);
    session_.Key(VK_DOWN);
    EXPECT_EQ(State(lv, 1), LVIS_SELECTED | LVIS_FOCUSED);
    session_.Key(VK_NEXT);  // to the last whole row of the page first...
    EXPECT_EQ(SendMessage(lv, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 9);
    EXPECT_EQ(Top(lv), 0);
    session_.Key(VK_NEXT);  // ...then a page on
    EXPECT_EQ(SendMessage(lv, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 18);
    EXPECT_EQ(Top(lv), 9);
    session_.Key(VK_PRIOR);
    EXPECT_EQ(SendMessage(lv, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 9);
    session_.Key(VK_END);
    EXPECT_EQ(State(lv, 999), LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(Top(lv), 990);
    session_.Key(VK_HOME);
    EXPECT_EQ(Top(lv), 0);
    session_.Key(VK_UP);  // already at the top: no change, no notification
    g_owner.notes.clear();
    session_.Key(VK_UP);
    EXPECT_TRUE(Notes(LVN_ITEMCHANGED).empty());
    // Typing does nothing special.
    session_.Type("R");
    EXPECT_EQ(State(lv, 0), LVIS_SELECTED | LVIS_FOCUSED);
}

TEST_F(ListViewTest, OwnerDataTextIsAskedOnlyForVisibleRowsWithinCapacity) {
    HWND lv = MakeList(LVS_REPORT, 30000);
    SendMessage(lv, LVM_SCROLL, 0, 500 * kRow);
    UpdateWindow(owner_);
    g_owner.notes.clear();
    InvalidateRect(lv);
    UpdateWindow(owner_);
    const std::vector<Note> asked = Notes(LVN_GETDISPINFOA);
    ASSERT_EQ(asked.size(), 10u);
    for (size_t i = 0; i < asked.size(); ++i) {
        EXPECT_EQ(asked[i].item, 500 + static_cast<int32_t>(i));
        EXPECT_EQ(asked[i].sub, 0);
        EXPECT_EQ(asked[i].capacity, kListViewTextCapacity);
    }

    // An owner pointing at text longer than the buffer is read no further
    // than the buffer's capacity less one, and painting it is safe.
    g_owner.long_text = std::string(1000, 'x');
    char out[1200];
    LVITEMA get;
    get.pszText = out;
    get.cchTextMax = sizeof out;
    EXPECT_EQ(SendMessage(lv, LVM_GETITEMTEXTA, 3, reinterpret_cast<LPARAM>(&get)),
              kListViewTextCapacity - 1);
    InvalidateRect(lv);
    UpdateWindow(owner_);
}

TEST_F(ListViewTest, ScrollMovesByWholeRowsAndClamps) {
    HWND lv = MakeList(LVS_REPORT, 100);
    SendMessage(lv, LVM_SCROLL, 0, kRow * 5 / 2);  // two and a half rows
    EXPECT_EQ(Top(lv), 2);
    SendMessage(lv, LVM_SCROLL, 0, -(kRow + kRow / 2));
    EXPECT_EQ(Top(lv), 1);
    SendMessage(lv, LVM_SCROLL, 0, kRow - 1);  // less than a row
    EXPECT_EQ(Top(lv), 1);
    SendMessage(lv, LVM_SCROLL, 0, 1000000 * kRow);
    EXPECT_EQ(Top(lv), 90);  // the last page is full
    SendMessage(lv, LVM_SCROLL, 0, -2000000000);
    EXPECT_EQ(Top(lv), 0);

    // Shrinking the count pulls the top back and forgets rows that are gone.
    SendMessage(lv, LVM_SCROLL, 0, 80 * kRow);
    session_.Click(RowPoint(5));
    SendMessage(lv, LVM_SETITEMCOUNT, 50, LVSICF_NOINVALIDATEALL);
    EXPECT_EQ(Top(lv), 40);
    EXPECT_EQ(SendMessage(lv, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), -1);
    SendMessage(lv, LVM_SETITEMCOUNT, 0, LVSICF_NOINVALIDATEALL);
    EXPECT_EQ(Top(lv), 0);
}

TEST_F(ListViewTest, ItemRectAndHitTestAgree) {
    HWND lv = MakeList(LVS_REPORT, 0);
    Rect r;
    r.left = LVIR_BOUNDS;
    ASSERT_EQ(SendMessage(lv, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r)), 1);
    EXPECT_EQ(r, (Rect{0, kHeader, 170, kHeader + kRow}));  // even with no rows

    SendMessage(lv, LVM_SETITEMCOUNT, 100, LVSICF_NOINVALIDATEALL);
    SendMessage(lv, LVM_SCROLL, 0, 3 * kRow);
    r = Rect{};
    SendMessage(lv, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.top, kHeader - 3 * kRow);
    EXPECT_EQ(r.height(), kRow);
    for (int32_t row : {3, 7, 12}) {
        Rect b;
        SendMessage(lv, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&b));
        LVHITTESTINFO hit;
        hit.pt = {b.left + 5, b.top};
        EXPECT_EQ(SendMessage(lv, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), row);
        EXPECT_EQ(hit.flags, LVHT_ONITEMLABEL);
        hit.pt = {b.left + 5, b.bottom - 1};
        EXPECT_EQ(SendMessage(lv, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), row);
    }
    LVHITTESTINFO hit;
    hit.pt = {5, 5};  // the header
    EXPECT_EQ(SendMessage(lv, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
    hit.pt = {5, 1000};
    EXPECT_EQ(SendMessage(lv, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
    EXPECT_EQ(hit.flags & LVHT_BELOW, LVHT_BELOW);
    // Below the last row of a short list.
    SendMessage(lv, LVM_SETITEMCOUNT, 2, LVSICF_NOINVALIDATEALL);
    hit.pt = {5, kHeader + 2 * kRow + 1};
    EXPECT_EQ(SendMessage(lv, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
    EXPECT_EQ(hit.flags, LVHT_NOWHERE);
}

TEST_F(ListViewTest, DropHighlightIsIndependentOfSelection) {
    HWND lv = MakeList(LVS_REPORT, 100);
    session_.Click(RowPoint(3));
    LVITEMA mark;
    mark.stateMask = LVIS_DROPHILITED;
    mark.state = 11;  // only the masked bit counts
    g_owner.notes.clear();
    SendMessage(lv, LVM_SETITEMSTATE, 5, reinterpret_cast<LPARAM>(&mark));
    EXPECT_EQ(State(lv, 5), LVIS_DROPHILITED);
    EXPECT_EQ(State(lv, 3), LVIS_SELECTED | LVIS_FOCUSED);
    ASSERT_EQ(Notes(LVN_ITEMCHANGED).size(), 1u);
    EXPECT_EQ(Notes(LVN_ITEMCHANGED)[0].new_state, uint32_t{LVIS_DROPHILITED});

    // Marking the selected row keeps its selection, and says so.
    g_owner.notes.clear();
    SendMessage(lv, LVM_SETITEMSTATE, 3, reinterpret_cast<LPARAM>(&mark));
    EXPECT_EQ(State(lv, 3), LVIS_SELECTED | LVIS_FOCUSED | LVIS_DROPHILITED);
    ASSERT_EQ(Notes(LVN_ITEMCHANGED).size(), 1u);
    EXPECT_EQ(Notes(LVN_ITEMCHANGED)[0].new_state & LVIS_SELECTED, uint32_t{LVIS_SELECTED});

    // Moving the selection leaves both marks; clearing a mark leaves the selection.
    session_.Click(RowPoint(7));
    EXPECT_EQ(State(lv, 5), LVIS_DROPHILITED);
    EXPECT_EQ(State(lv, 3), LVIS_DROPHILITED);
    mark.state = 0;
    SendMessage(lv, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&mark));
    EXPECT_EQ(State(lv, 3), 0);
    EXPECT_EQ(State(lv, 5), 0);
    EXPECT_EQ(State(lv, 7), LVIS_SELECTED | LVIS_FOCUSED);

    // The mark is painted like a selection, whether or not the list has focus.
    mark.state = LVIS_DROPHILITED;
    SendMessage(lv, LVM_SETITEMSTATE, 6, reinterpret_cast<LPARAM>(&mark));
    SetFocus(owner_);
    UpdateWindow(owner_);
    Surface shot = RenderWindow(owner_);
    const Point marked = RowPoint(6, 150);
    const Point plain = RowPoint(8, 150);
    EXPECT_EQ(shot.pixel(marked.x, marked.y), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(shot.pixel(plain.x, plain.y), GetSysColor(COLOR_WINDOW));
}

TEST_F(ListViewTest, ExtendedStylesFollowTheMaskAndChangeTheDrawing) {
    HWND lv = MakeList(LVS_REPORT, 100);  // full-row select and grid lines, mask 0
    EXPECT_EQ(SendMessage(lv, LVM_GETEXTENDEDLISTVIEWSTYLE),
              LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    // A mask limits the change to its bits and the old style comes back.
    EXPECT_EQ(SendMessage(lv, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, 0),
              LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    EXPECT_EQ(SendMessage(lv, LVM_GETEXTENDEDLISTVIEWSTYLE), LVS_EX_GRIDLINES);

    session_.Click(RowPoint(2));
    UpdateWindow(owner_);
    Surface shot = RenderWindow(owner_);
    // Without full-row select only the label is highlighted. (Probed in the
    // gap above the text, inside the focus rectangle.)
    const Point label = RowPoint(2, 8) - Point{0, kRow / 2 - 1};
    const Point beyond = RowPoint(2, 150);
    EXPECT_EQ(shot.pixel(label.x, label.y), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(shot.pixel(beyond.x, beyond.y), GetSysColor(COLOR_WINDOW));
    // Grid lines: the last pixel row of each row, also under empty rows.
    const int32_t grid_y = kTop + kHeader + 5 * kRow - 1;
    EXPECT_NE(shot.pixel(kLeft + 100, grid_y), GetSysColor(COLOR_WINDOW));
    SendMessage(lv, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    UpdateWindow(owner_);
    shot = RenderWindow(owner_);
    EXPECT_EQ(shot.pixel(beyond.x, beyond.y), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(shot.pixel(kLeft + 100, grid_y), GetSysColor(COLOR_WINDOW));
}

TEST_F(ListViewTest, LabelEditBeginForbidEndAndAbandon) {
    HWND lv = MakeList(LVS_REPORT | LVS_EDITLABELS, 100);
    session_.Click(RowPoint(4));
    session_.Key(VK_F2);
    ASSERT_EQ(Notes(LVN_BEGINLABELEDITA).size(), 1u);
    EXPECT_EQ(Notes(LVN_BEGINLABELEDITA)[0].item, 4);
    HWND box = HwndFromParam(SendMessage(lv, LVM_GETEDITCONTROL));
    ASSERT_TRUE(IsWindow(box));
    EXPECT_EQ(GetWindowText(box), "Row 4");
    session_.Type("x");
    session_.Key(VK_RETURN);
    ASSERT_EQ(Notes(LVN_ENDLABELEDITA).size(), 1u);
    EXPECT_EQ(Notes(LVN_ENDLABELEDITA)[0].text, "Row 4x");
    EXPECT_FALSE(IsWindow(box));
    EXPECT_EQ(GetFocus(), lv);

    // Escape abandons: a null text pointer.
    g_owner.notes.clear();
    session_.Key(VK_F2);
    session_.Type("y");
    session_.Key(VK_ESCAPE);
    ASSERT_EQ(Notes(LVN_ENDLABELEDITA).size(), 1u);
    EXPECT_TRUE(Notes(LVN_ENDLABELEDITA)[0].null_text);

    // So does losing the focus.
    g_owner.notes.clear();
    session_.Key(VK_F2);
    SetFocus(owner_);
    ASSERT_EQ(Notes(LVN_ENDLABELEDITA).size(), 1u);
    EXPECT_TRUE(Notes(LVN_ENDLABELEDITA)[0].null_text);

    // The parent may forbid the edit.
    SetFocus(lv);
    g_owner.notes.clear();
    g_owner.begin_edit_answer = 1;
    session_.Key(VK_F2);
    EXPECT_EQ(Notes(LVN_BEGINLABELEDITA).size(), 1u);
    EXPECT_EQ(SendMessage(lv, LVM_GETEDITCONTROL), 0);
}

TEST_F(ListViewTest, ScrollingAbandonsAnEditEvenWhenTheParentThenDestroysTheList) {
    HWND lv = MakeList(LVS_REPORT | LVS_EDITLABELS, 100);
    session_.Click(RowPoint(1));
    session_.Key(VK_F2);
    ASSERT_NE(SendMessage(lv, LVM_GETEDITCONTROL), 0);
    g_owner.destroy_on_changed = true;  // any later change notification destroys it
    InjectMouseWheel(RowPoint(3), -120);
    DoEvents();
    ASSERT_EQ(Notes(LVN_ENDLABELEDITA).size(), 1u);
    EXPECT_TRUE(Notes(LVN_ENDLABELEDITA)[0].null_text);
    EXPECT_EQ(Top(lv), 3);
    EXPECT_EQ(SendMessage(lv, LVM_GETEDITCONTROL), 0);
    session_.Key(VK_DOWN);  // the parent destroys the list in LVN_ITEMCHANGED
    EXPECT_FALSE(IsWindow(lv));
}

TEST_F(ListViewTest, SlowSecondClickStartsAnEditButADoubleClickDoesNot) {
    HWND lv = MakeList(LVS_REPORT | LVS_EDITLABELS, 100);
    session_.Click(RowPoint(2));
    session_.Advance(600);
    session_.DoubleClick(RowPoint(2));
    session_.Advance(1000);
    EXPECT_TRUE(Notes(LVN_BEGINLABELEDITA).empty());
    session_.Advance(600);
    session_.Click(RowPoint(2));
    EXPECT_TRUE(Notes(LVN_BEGINLABELEDITA).empty());  // not before the double-click time
    session_.Advance(600);
    EXPECT_EQ(Notes(LVN_BEGINLABELEDITA).size(), 1u);
    EXPECT_NE(SendMessage(lv, LVM_GETEDITCONTROL), 0);

    // Without LVS_EDITLABELS neither F2 nor clicks edit.
    HWND plain = MakeList(LVS_REPORT, 100);
    session_.Click(RowPoint(1));
    session_.Advance(600);
    session_.Click(RowPoint(1));
    session_.Advance(600);
    session_.Key(VK_F2);
    EXPECT_TRUE(Notes(LVN_BEGINLABELEDITA).empty());
    EXPECT_EQ(SendMessage(plain, LVM_GETEDITCONTROL), 0);
}

TEST_F(ListViewTest, HeaderClickReportsTheColumn) {
    HWND lv = MakeList(LVS_REPORT, 10);
    LVCOLUMNA col;
    col.mask = LVCF_WIDTH;
    col.cx = 20;
    SendMessage(lv, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&col));
    session_.Click({kLeft + 180, kTop + 5});
    ASSERT_EQ(Notes(LVN_COLUMNCLICK).size(), 1u);
    EXPECT_EQ(Notes(LVN_COLUMNCLICK)[0].sub, 1);
    // A press dragged off the header item before release is no click.
    session_.Drag({kLeft + 20, kTop + 5}, {kLeft + 20, kTop + 100});
    EXPECT_EQ(Notes(LVN_COLUMNCLICK).size(), 1u);
    EXPECT_TRUE(Notes(LVN_ITEMCHANGED).empty());  // header presses select nothing
}

// The header's notifications, oldest first, as "code item width".
std::vector<std::string> HeaderNotes(HWND header) {
    std::vector<std::string> out;
    for (const Note& n : g_owner.notes)
        if (n.code <= HDN_ITEMCHANGINGA && n.code >= HDN_TRACKA) {
            EXPECT_EQ(n.from, header);
            out.push_back(std::to_string(n.code) + " " + std::to_string(n.item) + " " +
                          std::to_string(n.width));
        }
    return out;
}

TEST_F(ListViewTest, DraggingADividerResizesTheColumn) {
    HWND lv = MakeList(LVS_REPORT, 10);
    const HWND header{static_cast<uint32_t>(SendMessage(lv, LVM_GETHEADER))};
    ASSERT_TRUE(IsWindow(header));
    EXPECT_EQ(GetParent(header), lv);
    // The pointer over the divider shows the resize shape, over a caption not.
    session_.MoveMouse({kLeft + 168, kTop + 5});
    EXPECT_EQ(GetCurrentCursor().shape, CursorShape::kSizeWE);
    session_.MoveMouse({kLeft + 100, kTop + 5});
    EXPECT_EQ(GetCurrentCursor().shape, CursorShape::kArrow);

    // Grabbed two pixels left of the edge and let go at 120: the edge lands
    // two pixels right of the pointer.
    session_.Drag({kLeft + 168, kTop + 5}, {kLeft + 120, kTop + 5}, 2);
    EXPECT_EQ(SendMessage(lv, LVM_GETCOLUMNWIDTH, 0), 122);
    EXPECT_EQ(HeaderNotes(header),
              (std::vector<std::string>{"-306 0 170", "-308 0 146", "-308 0 122", "-307 0 122",
                                        "-300 0 122", "-301 0 122"}));
    EXPECT_TRUE(Notes(LVN_COLUMNCLICK).empty());
    EXPECT_TRUE(Notes(LVN_ITEMCHANGED).empty());
    // The rows follow the new width.
    Rect r;
    r.left = LVIR_BOUNDS;
    SendMessage(lv, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.right, 122);

    // A refused begin-track is no drag: nothing is tracked or changed.
    g_owner.notes.clear();
    g_owner.refused_header_code = HDN_BEGINTRACKA;
    session_.Drag({kLeft + 122, kTop + 5}, {kLeft + 60, kTop + 5});
    EXPECT_EQ(SendMessage(lv, LVM_GETCOLUMNWIDTH, 0), 122);
    EXPECT_EQ(HeaderNotes(header), (std::vector<std::string>{"-306 0 122"}));
    EXPECT_TRUE(Notes(LVN_COLUMNCLICK).empty());

    // A refused change ends the drag with the old width. (Later than the
    // double-click time, so the press is a press of its own.)
    session_.Advance(1000);
    g_owner.notes.clear();
    g_owner.refused_header_code = HDN_ITEMCHANGINGA;
    session_.Drag({kLeft + 122, kTop + 5}, {kLeft + 60, kTop + 5}, 1);
    EXPECT_EQ(SendMessage(lv, LVM_GETCOLUMNWIDTH, 0), 122);
    EXPECT_EQ(HeaderNotes(header),
              (std::vector<std::string>{"-306 0 122", "-308 0 60", "-307 0 60", "-300 0 60"}));
}

TEST_F(ListViewTest, DoubleClickOnADividerFitsTheColumnToItsCells) {
    HWND lv = MakeList(LVS_REPORT, 10);
    SendMessage(lv, LVM_SETCOLUMNWIDTH, 0, static_cast<LPARAM>(0xFFFF));
    const LRESULT fitted = SendMessage(lv, LVM_GETCOLUMNWIDTH, 0);
    ASSERT_NE(fitted, 170);
    SendMessage(lv, LVM_SETCOLUMNWIDTH, 0, 170);
    g_owner.notes.clear();
    session_.DoubleClick({kLeft + 170, kTop + 5});
    EXPECT_EQ(SendMessage(lv, LVM_GETCOLUMNWIDTH, 0), fitted);
    ASSERT_EQ(Notes(HDN_DIVIDERDBLCLICKA).size(), 1u);
    EXPECT_EQ(Notes(HDN_DIVIDERDBLCLICKA)[0].item, 0);
    // A drag that is its own double click's first half leaves the width as it was.
    EXPECT_TRUE(Notes(HDN_ITEMCHANGEDA).empty());
    EXPECT_TRUE(Notes(LVN_COLUMNCLICK).empty());
}

TEST_F(ListViewTest, EveryPressIsFollowedByTheListsOwnTimer) {
    HWND lv = MakeList(LVS_REPORT, 100);
    g_prev = SetWindowProc(lv, Spy);
    session_.Click(RowPoint(1), MouseButton::kRight);
    EXPECT_EQ(g_seen, (std::vector<std::string>{"down"}));
    session_.Advance(50);
    EXPECT_EQ(g_seen, (std::vector<std::string>{"down", "timer 1"}));
    session_.Advance(1000);  // one timer per press, not a running one
    EXPECT_EQ(g_seen.size(), 2u);
    session_.Click(RowPoint(8, 190));  // also on the scroll bar, or on no row
    session_.Advance(50);
    EXPECT_EQ(g_seen.back(), "timer 1");
    // A press on the header stays with the header: the list sees nothing.
    g_seen.clear();
    session_.Click({kLeft + 40, kTop + 5});
    session_.Advance(50);
    EXPECT_TRUE(g_seen.empty());
    EXPECT_EQ(Notes(LVN_COLUMNCLICK).size(), 1u);
}

TEST_F(ListViewTest, WheelAndScrollBarScroll) {
    HWND lv = MakeList(LVS_REPORT, 100);
    session_.MoveMouse(RowPoint(3));
    InjectMouseWheel(RowPoint(3), -120);
    DoEvents();
    EXPECT_EQ(Top(lv), 3);
    InjectMouseWheel(RowPoint(3), 60);  // half a notch waits for the other half
    DoEvents();
    EXPECT_EQ(Top(lv), 3);
    InjectMouseWheel(RowPoint(3), 60);
    DoEvents();
    EXPECT_EQ(Top(lv), 0);

    const int32_t bar_x = kLeft + 200 - 8;
    session_.Click({bar_x, kTop + 220});  // the down arrow
    EXPECT_EQ(Top(lv), 1);
    session_.Click({bar_x, kTop + 200});  // the track below the thumb
    EXPECT_EQ(Top(lv), 11);
    session_.Click({bar_x, kTop + 5});  // the up arrow
    EXPECT_EQ(Top(lv), 10);
    // Dragging the thumb to the bottom shows the last page.
    // Find the thumb by its face colour.
    Surface shot = RenderWindow(owner_);
    int32_t y = kTop + 17;
    while (y < kTop + 222 && shot.pixel(bar_x, y) != GetSysColor(COLOR_BTNFACE)) ++y;
    session_.Drag({bar_x, y + 2}, {bar_x, kTop + 400});
    EXPECT_EQ(Top(lv), 90);
}

TEST_F(ListViewTest, ParentDestroyingTheListInANotificationIsSafe) {
    HWND lv = MakeList(LVS_REPORT, 100);
    g_owner.destroy_on_changed = true;
    session_.Click(RowPoint(2));
    EXPECT_FALSE(IsWindow(lv));
    session_.Advance(100);  // the press timer died with the window
}

TEST_F(ListViewTest, StoredRowsKeepStatesInStepWithInsertsAndDeletes) {
    HWND lv = MakeList(LVS_REPORT, 0, false);
    char t[] = "r";
    LVITEMA item;
    item.mask = LVIF_TEXT;
    item.pszText = t;
    for (int i = 0; i < 5; ++i) {
        item.iItem = i;
        SendMessage(lv, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    session_.Click(RowPoint(3));
    item.iItem = 0;
    SendMessage(lv, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(State(lv, 4), LVIS_SELECTED | LVIS_FOCUSED);
    SendMessage(lv, LVM_DELETEITEM, 4, 0);
    EXPECT_EQ(SendMessage(lv, LVM_GETSELECTEDCOUNT), 0);
    EXPECT_EQ(SendMessage(lv, LVM_GETITEMCOUNT), 5);
    EXPECT_EQ(SendMessage(lv, LVM_DELETEITEM, 5, 0), 0);
}

}  // namespace
