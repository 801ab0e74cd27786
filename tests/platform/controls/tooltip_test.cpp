// SPDX-License-Identifier: GPL-3.0-or-later
// Tooltips on the virtual clock: the hover delay (restarted by movement),
// hiding when the pointer leaves, on a button press and after the show
// time, and moving from one control's tip to another's.

#include "platform/controls/tooltip.h"

#include "form_fixture.h"
#include "platform/controls/label.h"

namespace controls_test {
namespace {

class TooltipTest : public FormTest {
  protected:
    void SetUp() override {
        FormTest::SetUp();
        first = &form->Add<Label>("lblFirst", Rect::FromXYWH(10, 10, 100, 30), std::string("one"));
        first->set_tooltip_text("First tip");
        second =
            &form->Add<Label>("lblSecond", Rect::FromXYWH(10, 60, 100, 30), std::string("two"));
        second->set_tooltip_text("Second tip");
        plain =
            &form->Add<Label>("lblPlain", Rect::FromXYWH(10, 110, 100, 30), std::string("three"));
    }
    std::string TipText() {
        HWND t = tooltips::VisibleTip();
        return t ? GetWindowText(t) : std::string();
    }
    Label* first = nullptr;
    Label* second = nullptr;
    Label* plain = nullptr;
};

TEST_F(TooltipTest, ShowsAfterThePointerRestsForTheDelay) {
    const Point p = Screen(*first, 20, 10);
    session.MoveMouse(p);
    session.Advance(300);
    session.MoveMouse(Screen(*first, 22, 10));  // still moving: the delay starts again
    session.Advance(499);
    EXPECT_EQ(TipText(), "");
    session.Advance(1);
    EXPECT_EQ(TipText(), "First tip");
    // Below the pointer, clear of it, and not taking the activation.
    Rect r = GetWindowRect(tooltips::VisibleTip());
    EXPECT_EQ(r.left, p.x + 2);
    EXPECT_GE(r.top, p.y + 16);
    EXPECT_EQ(GetActiveWindow(), form->hwnd());
    // Moving inside the control keeps it up.
    session.MoveMouse(Screen(*first, 40, 12));
    session.Advance(200);
    EXPECT_EQ(TipText(), "First tip");
}

TEST_F(TooltipTest, HidesWhenThePointerLeaves) {
    session.MoveMouse(Screen(*first, 20, 10));
    session.Advance(600);
    ASSERT_EQ(TipText(), "First tip");
    session.MoveMouse(Screen(*first, 200, 10));  // onto the bare form
    session.Advance(100);
    EXPECT_EQ(TipText(), "");
    session.Advance(2000);
    EXPECT_EQ(TipText(), "");
    // Another control's tip follows its own delay.
    session.MoveMouse(Screen(*second, 20, 10));
    session.Advance(499);
    EXPECT_EQ(TipText(), "");
    session.Advance(1);
    EXPECT_EQ(TipText(), "Second tip");
    // Straight onto a control without a tip: nothing shows.
    session.MoveMouse(Screen(*plain, 20, 10));
    EXPECT_EQ(TipText(), "");
    session.Advance(1000);
    EXPECT_EQ(TipText(), "");
}

TEST_F(TooltipTest, ButtonPressAndShowTimeEndTheTipUntilThePointerMovesOn) {
    session.MoveMouse(Screen(*first, 20, 10));
    session.Advance(500);
    ASSERT_EQ(TipText(), "First tip");
    session.Click(Screen(*first, 20, 10));
    EXPECT_EQ(TipText(), "");
    session.MoveMouse(Screen(*first, 25, 10));
    session.Advance(1000);
    EXPECT_EQ(TipText(), "");

    session.MoveMouse(Screen(*second, 20, 10));
    session.Advance(500);
    ASSERT_EQ(TipText(), "Second tip");
    session.Advance(tooltips::kShowTimeMs - 1);
    EXPECT_EQ(TipText(), "Second tip");
    session.Advance(1);
    EXPECT_EQ(TipText(), "");
    session.MoveMouse(Screen(*second, 30, 10));
    session.Advance(1000);
    EXPECT_EQ(TipText(), "");
    // Leaving and coming back shows it again.
    session.MoveMouse(Screen(*first, 200, 10));
    session.Advance(100);
    session.MoveMouse(Screen(*second, 30, 10));
    session.Advance(500);
    EXPECT_EQ(TipText(), "Second tip");
}

// The tip window kept from an earlier window system is stale in the next
// one; hiding it must not touch the new windows.
TEST(TooltipSessions, TipFromAnEarlierWindowSystemLeavesNewWindowsAlone) {
    auto build = [](std::unique_ptr<Form>& form) {
        FormOptions o;
        o.position = StartUpPosition::kManual;
        form = std::make_unique<Form>(o);
        form->Load();
        form->Show();
        Label& l = form->Add<Label>("lblTip", Rect::FromXYWH(10, 10, 100, 30), std::string("x"));
        l.set_tooltip_text("tip");
        return l.hwnd();
    };
    HWND old_tip;
    {
        headless::HeadlessSession session;
        std::unique_ptr<Form> form;
        HWND label = build(form);
        session.MoveMouse(ClientToScreen(label, {5, 5}));
        session.Advance(tooltips::kHoverDelayMs);
        old_tip = tooltips::VisibleTip();
        ASSERT_TRUE(old_tip);
    }
    headless::HeadlessSession session;
    std::unique_ptr<Form> form;
    build(form);
    // Handles count on across sessions, so no new window can carry the old
    // tip's number, and hiding the stale tip touches none of them.
    std::vector<Label*> labels;
    for (int i = 0; i < 8; ++i) {
        labels.push_back(
            &form->Add<Label>("lbl" + std::to_string(i), Rect::FromXYWH(10, 50, 20, 20)));
        EXPECT_NE(labels.back()->hwnd(), old_tip);
    }
    tooltips::Dismiss();
    tooltips::Hide();
    for (Label* l : labels) EXPECT_TRUE(l->visible());
    EXPECT_FALSE(tooltips::VisibleTip());
}

}  // namespace
}  // namespace controls_test
