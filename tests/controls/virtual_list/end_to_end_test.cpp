// SPDX-License-Identifier: GPL-3.0-or-later
// The component on the real list control, driven by input as a user would:
// painting asks only for visible rows, a click selects and becomes ItemClick
// at the list's timer, the keyboard moves the selection, TopIndex scrolls, a
// click on the header is a ColumnClick and nothing else.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "controls/virtual_list/mvirtual_list_view.h"
#include "controls/virtual_list/virtual_list_view.h"
#include "platform/headless/headless_backend.h"
#include "platform/listview/listview.h"
#include "platform/text.h"
#include "platform/window.h"

using namespace platform;
using namespace virtual_list;

namespace {

LRESULT FormProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProc(h, msg, wp, lp);
}

class EndToEndTest : public ::testing::Test {
  protected:
    void SetUp() override {
        RegisterListViewClass();
        RegisterClass({"E2EForm", &FormProc, 0, 0xFFFFFF, {}});
        form_ = CreateWindowEx(0, "E2EForm", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 400, HWND{});
        VirtualListHookEnabled = true;
        list_ = std::make_unique<UVirtualListView>(form_, host_, "lstMain",
                                                   Rect::FromXYWH(10, 10, 189, 339));
        VirtualListHookEnabled = false;
        list_->InitProperties();
        ASSERT_TRUE(list_->SetFont(MakeFont(FontDesc{kTestFontName, 12.0f})).ok());
        ASSERT_TRUE(list_->GetColumnHeaders().Add("zAb", 170).ok());
        ASSERT_TRUE(list_->SetFullRowSelect(true).ok());
        ASSERT_TRUE(list_->SetShowGridLines(true).ok());
        list_->ItemInfoCallback = [this](int32_t item, int32_t sub, int32_t, std::string& text,
                                         int32_t&) {
            asked_.insert(item);
            if (sub == 0) text = "Row " + std::to_string(item);
        };
        ASSERT_TRUE(list_->SetItemCount(30000).ok());
    }
    void TearDown() override {
        list_.reset();
        RemoveCreationHook();
    }

    // The screen point in the middle of a row.
    Point RowPoint(int32_t row) {
        Rect r;
        r.left = LVIR_BOUNDS;
        SendMessage(list_->hwnd(), LVM_GETITEMRECT, static_cast<WPARAM>(row),
                    reinterpret_cast<LPARAM>(&r));
        return ClientToScreen(list_->hwnd(), {40, (r.top + r.bottom) / 2});
    }

    headless::HeadlessSession session_;
    ComponentHost host_;
    HWND form_;
    std::unique_ptr<UVirtualListView> list_;
    std::set<int32_t> asked_;
};

TEST_F(EndToEndTest, PaintingAsksOnlyForVisibleRows) {
    EXPECT_TRUE(GetWindowLongPtr(list_->hwnd(), GWL_STYLE) & LVS_OWNERDATA);
    asked_.clear();
    RenderWindow(form_);
    auto per_page = SendMessage(list_->hwnd(), LVM_GETCOUNTPERPAGE);
    ASSERT_FALSE(asked_.empty());
    EXPECT_EQ(*asked_.begin(), 0);
    EXPECT_LE(*asked_.rbegin(), per_page + 1);

    ASSERT_TRUE(list_->SetTopIndex(1000).ok());
    EXPECT_EQ(list_->TopIndex(), 1000);
    asked_.clear();
    RenderWindow(form_);
    ASSERT_FALSE(asked_.empty());
    EXPECT_EQ(*asked_.begin(), 1000);
    EXPECT_LE(*asked_.rbegin(), 1000 + per_page + 1);
    ASSERT_TRUE(list_->SetTopIndex(990).ok());
    EXPECT_EQ(list_->TopIndex(), 990);
}

TEST_F(EndToEndTest, ClickSelectsAndBecomesItemClickAtTheListsTimer) {
    std::vector<int32_t> changed;
    std::vector<std::pair<int32_t, int32_t>> clicks;
    int click_events = 0;
    list_->ravoItemChanged = [&](int32_t& item) { changed.push_back(item); };
    list_->ItemClick = [&](int32_t button, int32_t item) { clicks.emplace_back(button, item); };
    list_->Click = [&] { ++click_events; };

    session_.Click(RowPoint(3));
    ASSERT_FALSE(changed.empty());
    EXPECT_EQ(changed.back(), 3);
    EXPECT_EQ(click_events, 1);
    session_.Advance(100);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], std::make_pair(1, 3));

    // The keyboard moves the selection; each new row is reported.
    session_.Key(VK_DOWN);
    EXPECT_EQ(changed.back(), 4);
    session_.Click(RowPoint(6), MouseButton::kRight);
    session_.Advance(100);
    EXPECT_EQ(clicks.back(), std::make_pair(2, 6));
}

TEST_F(EndToEndTest, HeaderClickIsAColumnClickAndNoItemClick) {
    std::vector<int32_t> columns;
    std::vector<std::pair<int32_t, int32_t>> clicks;
    list_->ColumnClick = [&](int32_t column) { columns.push_back(column); };
    list_->ItemClick = [&](int32_t button, int32_t item) { clicks.emplace_back(button, item); };

    const Point caption = ClientToScreen(list_->hwnd(), {40, 5});
    session_.Click(caption);
    session_.Advance(100);
    EXPECT_EQ(columns, std::vector<int32_t>{0});
    EXPECT_TRUE(clicks.empty());
    // Neither does a divider drag, nor a right press on the header.
    session_.Drag(ClientToScreen(list_->hwnd(), {169, 5}), ClientToScreen(list_->hwnd(), {120, 5}));
    session_.Click(caption, MouseButton::kRight);
    session_.Advance(100);
    EXPECT_TRUE(clicks.empty());
    EXPECT_EQ(columns.size(), 1u);
    EXPECT_EQ(SendMessage(list_->hwnd(), LVM_GETCOLUMNWIDTH, 0), 121);
    EXPECT_EQ(list_->GetColumnHeaders().Item(0)->width, 121);

    // A press on a row still is one.
    session_.Click(RowPoint(2));
    session_.Advance(100);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], std::make_pair(1, 2));
}

}  // namespace
