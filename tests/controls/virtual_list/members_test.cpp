// SPDX-License-Identifier: GPL-3.0-or-later
// The component's members as the list sees them: the messages each sends,
// scrolling arithmetic, error codes, design mode, saved properties, resizing.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "fake_list.h"

using namespace platform;
using namespace virtual_list;
using vl_test::Fake;
using vl_test::VirtualListTest;

namespace {

using Strings = std::vector<std::string>;

TEST_F(VirtualListTest, TopIndexScrollsByWholeRowsFromTheCurrentTop) {
    auto c = Make();
    Fake().top = 10;
    Fake().row_height = 17;
    ASSERT_TRUE(c->SetTopIndex(25).ok());
    EXPECT_EQ(Fake().log, (Strings{"getitemrect 0,0", "gettopindex", "scroll 0,255"}));
    EXPECT_EQ(c->TopIndex(), 25);

    Fake().log.clear();
    ASSERT_TRUE(c->SetTopIndex(25).ok());
    EXPECT_EQ(Fake().log.back(), "scroll 0,0");
    ASSERT_TRUE(c->SetTopIndex(3).ok());
    EXPECT_EQ(Fake().log.back(), "scroll 0,-374");
    EXPECT_EQ(c->TopIndex(), 3);
}

TEST_F(VirtualListTest, TopIndexOverflowFailsWithError6AndScrollsNothing) {
    auto c = Make();
    Fake().row_height = 1 << 20;
    Status s = c->SetTopIndex(5000);
    EXPECT_EQ(s.error().code, ErrorCode::kOverflow);
    Fake().row_height = 20;
    Fake().top = 10;
    s = c->SetTopIndex(std::numeric_limits<int32_t>::min());
    EXPECT_EQ(s.error().code, ErrorCode::kOverflow);
    for (const std::string& m : Fake().log) EXPECT_NE(m.rfind("scroll", 0), 0u) << m;
}

TEST_F(VirtualListTest, ExtendedStylesAreSentOnlyWhenTheBitChanges) {
    auto c = Make();
    ASSERT_TRUE(c->SetFullRowSelect(true).ok());
    ASSERT_TRUE(c->SetFullRowSelect(true).ok());
    EXPECT_EQ(Fake().log, (Strings{"getexstyle", "setexstyle 0,20", "getexstyle"}));
    EXPECT_TRUE(c->FullRowSelect());

    Fake().log.clear();
    ASSERT_TRUE(c->SetShowGridLines(true).ok());
    ASSERT_TRUE(c->SetShowGridLines(true).ok());
    EXPECT_EQ(Fake().log, (Strings{"getexstyle", "setexstyle 0,21", "getexstyle"}));

    // Switching either off clears only its own bit.
    Fake().log.clear();
    ASSERT_TRUE(c->SetFullRowSelect(false).ok());
    ASSERT_TRUE(c->SetShowGridLines(false).ok());
    EXPECT_EQ(Fake().log,
              (Strings{"getexstyle", "setexstyle 0,1", "getexstyle", "setexstyle 0,0"}));
    EXPECT_FALSE(c->ShowGridLines());
}

TEST_F(VirtualListTest, CountMessagesAndListCountLimits) {
    auto c = Make();
    ASSERT_TRUE(c->SetItemCount(32767).ok());
    EXPECT_EQ(c->ListCount().value(), 32767);
    ASSERT_TRUE(c->SetItemCount(30000 + 2768).ok());
    EXPECT_EQ(c->ListCount().error().code, ErrorCode::kOverflow);
    EXPECT_EQ(c->ItemCount(), 32768);
    ASSERT_TRUE(c->Clear().ok());
    EXPECT_EQ(c->ListCount().value(), 0);
    EXPECT_EQ(Fake().log,
              (Strings{"setitemcount 32767,1", "setitemcount 32768,1", "setitemcount 0,1"}));
}

TEST_F(VirtualListTest, HitTestWritesOnlyWhenARowIsHit) {
    auto c = Make();
    Fake().count = 3;
    int32_t item = -5;
    int32_t flags = -6;
    ASSERT_TRUE(c->HitTest(4, 18 + 2 * 20 + 1, item, flags).ok());
    EXPECT_EQ(item, 2);
    EXPECT_EQ(flags, static_cast<int32_t>(LVHT_ONITEMLABEL));
    item = -5;
    flags = -6;
    ASSERT_TRUE(c->HitTest(4, 200, item, flags).ok());
    EXPECT_EQ(item, -5);
    EXPECT_EQ(flags, -6);
}

TEST_F(VirtualListTest, DesignModeRefusesRunTimeMembersAndDrawsThePlaceholder) {
    host_.user_mode = false;
    auto c = MakeBare();
    c->InitProperties();
    EXPECT_TRUE(c->DesignMode());
    EXPECT_EQ(c->ListCount().error().number(), 394);
    EXPECT_EQ(c->FontBold().error().number(), 394);
    EXPECT_EQ(c->FontName().error().number(), 394);
    EXPECT_EQ(c->SetFontSize(12).error().number(), 394);
    EXPECT_EQ(c->SetFontUnderline(true).error().number(), 394);
    EXPECT_FALSE(c->FullRowSelect());
    EXPECT_FALSE(c->ShowGridLines());
    // Not subclassed; the list hidden, a single border, persistent drawing.
    EXPECT_NE(GetWindowProc(c->hwnd()), &VirtualListWndProc);
    EXPECT_FALSE(IsWindowVisible(c->hwnd()));
    EXPECT_TRUE(GetWindowLongPtr(c->UChWnd(), GWL_STYLE) & WS_BORDER);
    EXPECT_TRUE(HasPersistentDrawing(c->UChWnd()));

    // A host that cannot answer is a designer too.
    host_.user_mode = true;
    host_.fail_user_mode = true;
    auto d = MakeBare();
    d->InitProperties();
    EXPECT_TRUE(d->DesignMode());
}

TEST_F(VirtualListTest, SavedPropertiesAreAppliedInOrderWithDefaults) {
    auto c = MakeBare();
    PropertyBag bag;
    FontDesc saved{"OrvSoft", 16.0f};
    bag.Write<FontDesc>("Font", saved, FontDesc{});
    bag.Write<int32_t>("backcolor", 0x00FF00, 0);  // keys ignore case
    c->ReadProperties(bag);
    EXPECT_EQ(c->Font()->desc(), saved);
    EXPECT_EQ(c->BackColor(), 0x00FF00u);
    EXPECT_EQ(c->ForeColor(), kDefaultForeColor);
    // Window text (the default) translates to black.
    EXPECT_EQ(Fake().log,
              (Strings{"setfont", "setbkcolor FF00", "settextbkcolor FF00", "settextcolor 0"}));
    // Reading marks nothing changed; colour and font lets do, attributes not.
    EXPECT_TRUE(host_.changed.empty());
    ASSERT_TRUE(c->SetForeColor(0x80000008u).ok());
    ASSERT_TRUE(c->SetFontBold(true).ok());
    EXPECT_EQ(host_.changed, Strings{"ForeColor"});
    EXPECT_TRUE(c->Font()->bold());

    // Saving writes only what differs from the defaults (the ambient font
    // for "Font").
    PropertyBag out;
    c->WriteProperties(out);
    EXPECT_EQ(out.size(), 2u);
    EXPECT_EQ(out.Read<int32_t>("BackColor", 0), 0x00FF00);
    EXPECT_TRUE(out.Read<FontDesc>("Font", FontDesc{}).bold);

    auto fresh = MakeBare();
    fresh->InitProperties();
    EXPECT_EQ(fresh->Font()->desc(), host_.ambient_font);
    PropertyBag none;
    fresh->WriteProperties(none);
    EXPECT_EQ(none.size(), 0u);
}

TEST_F(VirtualListTest, ComponentFollowsAListThatKeepsWholeRows) {
    Fake().whole_rows = true;
    auto c = Make();
    c->Move(10, 10, 189, 345);
    Rect list = GetWindowRect(c->hwnd());
    Rect client = GetClientRect(c->UChWnd());
    EXPECT_EQ(list.height() % 20, 0);
    EXPECT_EQ(client.height(), list.height());
    EXPECT_EQ(client.width(), list.width());
    // The component keeps its place in the form.
    Rect outer = GetWindowRect(c->UChWnd());
    EXPECT_EQ(outer.left, 10);
    EXPECT_EQ(outer.top, 10);
}

TEST_F(VirtualListTest, ColumnsAreAddedToTheList) {
    auto c = Make();
    ASSERT_TRUE(c->GetColumnHeaders().Add("zAb", 170).ok());
    EXPECT_EQ(Fake().log, Strings{"insertcolumn 0,zAb,170"});
    EXPECT_EQ(c->GetColumnHeaders().Count(), 1);
    EXPECT_EQ(c->GetColumnHeaders().Item(0)->caption, "zAb");
    EXPECT_EQ(c->GetColumnHeaders().Item(1).error().code, ErrorCode::kSubscript);
}

}  // namespace
