// SPDX-License-Identifier: GPL-3.0-or-later
// Scroll bar behaviour: which values it refuses, how the value follows the
// range, and the order of change and scroll events under scripted mouse,
// timer, keyboard and wheel input on the virtual clock.

#include "platform/controls/scroll_bar.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls/form.h"
#include "platform/headless/headless_backend.h"

using namespace platform;
using namespace platform::controls;
using platform::headless::HeadlessSession;

namespace {

class ScrollBarTest : public ::testing::Test {
  protected:
    void SetUp() override {
        FormOptions o;
        o.name = "frmTest";
        o.client_width = 300;
        o.client_height = 300;
        form_ = std::make_unique<Form>(o);
        form_->Show();
        // 17 x 217: 17-pixel arrows and a 183-pixel track.
        bar_ = &form_->Add<ScrollBar>("vsb", Rect::FromXYWH(10, 10, 17, 217));
        ASSERT_TRUE(bar_->set_max(100).ok());
        ASSERT_TRUE(bar_->set_large_change(10).ok());
        bar_->on_change = [this] { log_.push_back("change " + std::to_string(bar_->value())); };
        bar_->on_scroll = [this] { log_.push_back("scroll " + std::to_string(bar_->value())); };
        DoEvents();
    }

    // Centre of a part in screen pixels.
    Point At(ScrollBar::Part part) const {
        Rect r = bar_->PartRect(part);
        return ClientToScreen(bar_->hwnd(), {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }
    Point ScreenOf(int32_t x, int32_t y) const { return ClientToScreen(bar_->hwnd(), {x, y}); }

    HeadlessSession session_;
    std::unique_ptr<Form> form_;
    ScrollBar* bar_ = nullptr;
    std::vector<std::string> log_;
};

TEST_F(ScrollBarTest, RefusedValuesKeepThePreviousSetting) {
    ASSERT_TRUE(bar_->set_small_change(4).ok());

    for (int32_t bad : {0, -1, 32768}) {
        Status s = bar_->set_small_change(bad);
        EXPECT_EQ(s.error().code, ErrorCode::kInvalidPropertyValue) << bad;
        s = bar_->set_large_change(bad);
        EXPECT_EQ(s.error().code, ErrorCode::kInvalidPropertyValue) << bad;
    }
    EXPECT_EQ(bar_->small_change(), 4);
    EXPECT_EQ(bar_->large_change(), 10);

    // A maximum computed from a picture taller than the 16-bit range.
    EXPECT_EQ(bar_->set_max(40000).error().code, ErrorCode::kInvalidPropertyValue);
    EXPECT_EQ(bar_->set_max(-32769).error().code, ErrorCode::kInvalidPropertyValue);
    EXPECT_EQ(bar_->set_min(32768).error().code, ErrorCode::kInvalidPropertyValue);
    EXPECT_EQ(bar_->set_value(70000).error().code, ErrorCode::kInvalidPropertyValue);
    EXPECT_EQ(bar_->max(), 100);
    EXPECT_EQ(bar_->min(), 0);
    EXPECT_EQ(bar_->value(), 0);
    EXPECT_TRUE(log_.empty());

    // The extremes themselves are fine.
    EXPECT_TRUE(bar_->set_max(32767).ok());
    EXPECT_TRUE(bar_->set_min(-32768).ok());
    EXPECT_TRUE(bar_->set_large_change(32767).ok());
}

TEST_F(ScrollBarTest, ValueStaysInsideTheRangeAndReportsEveryChange) {
    EXPECT_TRUE(bar_->set_value(500).ok());
    EXPECT_EQ(bar_->value(), 100);
    EXPECT_TRUE(bar_->set_value(-5).ok());
    EXPECT_EQ(bar_->value(), 0);
    // Setting the same value again is not a change.
    EXPECT_TRUE(bar_->set_value(0).ok());
    EXPECT_TRUE(bar_->set_value(60).ok());
    // Shrinking the range drags the value along.
    EXPECT_TRUE(bar_->set_max(40).ok());
    EXPECT_TRUE(bar_->set_min(50).ok());  // now runs backwards, 50 down to 40
    EXPECT_EQ(bar_->value(), 40);
    EXPECT_TRUE(bar_->set_min(30).ok());
    EXPECT_TRUE(bar_->set_max(-10).ok());
    EXPECT_EQ(bar_->value(), 30);
    EXPECT_EQ(log_, (std::vector<std::string>{"change 100", "change 0", "change 60", "change 40",
                                              "change 30"}));
}

TEST_F(ScrollBarTest, BackwardsBarMovesTowardsTheMaximumAtTheBottom) {
    ASSERT_TRUE(bar_->set_min(100).ok());
    ASSERT_TRUE(bar_->set_max(0).ok());
    ASSERT_TRUE(bar_->set_value(100).ok());
    log_.clear();
    session_.Click(At(ScrollBar::Part::kLineDown));
    EXPECT_EQ(bar_->value(), 99);
    // At the start of the range the thumb sits at the top of the track.
    ASSERT_TRUE(bar_->set_value(100).ok());
    EXPECT_EQ(bar_->PartRect(ScrollBar::Part::kThumb).top, 17);
    ASSERT_TRUE(bar_->set_value(0).ok());
    EXPECT_EQ(bar_->PartRect(ScrollBar::Part::kThumb).bottom, 200);
}

TEST_F(ScrollBarTest, ThumbLengthFollowsTheLargeChangeWithAMinimum) {
    // 183 * 10 / (100 + 10) = 16
    EXPECT_EQ(bar_->PartRect(ScrollBar::Part::kThumb).height(), 16);
    ASSERT_TRUE(bar_->set_large_change(100).ok());
    EXPECT_EQ(bar_->PartRect(ScrollBar::Part::kThumb).height(), 91);
    ASSERT_TRUE(bar_->set_large_change(1).ok());
    EXPECT_EQ(bar_->PartRect(ScrollBar::Part::kThumb).height(), 8);
    // Nothing to scroll: no thumb, clicks in the track do nothing.
    ASSERT_TRUE(bar_->set_max(0).ok());
    EXPECT_TRUE(bar_->PartRect(ScrollBar::Part::kThumb).empty());
    session_.Click(ScreenOf(8, 100));
    EXPECT_EQ(bar_->value(), 0);
}

TEST_F(ScrollBarTest, HeldArrowRepeatsOnTheVirtualClockWhileThePointerStaysOnIt) {
    const Point arrow = At(ScrollBar::Part::kLineDown);
    InjectMouseMove(arrow);
    InjectMouseButton(arrow, MouseButton::kLeft, true);
    session_.Advance(0);
    EXPECT_EQ(bar_->value(), 1);
    EXPECT_EQ(bar_->pressed_part(), ScrollBar::Part::kLineDown);
    session_.Advance(349);
    EXPECT_EQ(bar_->value(), 1);
    session_.Advance(1);
    EXPECT_EQ(bar_->value(), 2);
    session_.Advance(100);
    EXPECT_EQ(bar_->value(), 4);
    // Off the arrow the repeat pauses, and resumes when the pointer returns.
    session_.MoveMouse(ScreenOf(8, 100));
    session_.Advance(200);
    EXPECT_EQ(bar_->value(), 4);
    session_.MoveMouse(arrow);
    session_.Advance(50);
    EXPECT_EQ(bar_->value(), 5);
    InjectMouseButton(arrow, MouseButton::kLeft, false);
    session_.Advance(1000);
    EXPECT_EQ(bar_->value(), 5);
    EXPECT_EQ(bar_->pressed_part(), ScrollBar::Part::kNone);
    EXPECT_EQ(log_, (std::vector<std::string>{"change 1", "change 2", "change 3", "change 4",
                                              "change 5"}));
}

TEST_F(ScrollBarTest, HeldTrackPagesUntilTheThumbReachesThePointer) {
    // Press low in the track and hold: pages of 10 until the thumb has
    // come to the pointer, then nothing more. At 70 the thumb spans rows
    // 134 to 149, so one more page passes the pointer and paging stops.
    const Point p = ScreenOf(8, 150);
    InjectMouseMove(p);
    InjectMouseButton(p, MouseButton::kLeft, true);
    session_.Advance(0);
    EXPECT_EQ(bar_->value(), 10);
    session_.Advance(2000);
    const int16_t settled = bar_->value();
    EXPECT_EQ(settled, 80);
    InjectMouseButton(p, MouseButton::kLeft, false);
    session_.Advance(0);
    // Every page raised a change; none was a scroll.
    EXPECT_EQ(log_.size(), static_cast<size_t>(settled / 10));
    for (const auto& e : log_) EXPECT_EQ(e.rfind("change", 0), 0u) << e;
}

TEST_F(ScrollBarTest, DraggingTheThumbScrollsThenChangesOnceOnRelease) {
    const Point from = At(ScrollBar::Part::kThumb);
    InjectMouseMove(from);
    InjectMouseButton(from, MouseButton::kLeft, true);
    session_.Advance(0);
    for (int dy : {20, 60, 400}) {
        InjectMouseMove({from.x, from.y + dy});
        session_.Advance(0);
    }
    EXPECT_EQ(bar_->value(), 100);  // past the end: clamped to the maximum
    ASSERT_FALSE(log_.empty());
    EXPECT_EQ(log_.back(), "scroll 100");
    for (const auto& e : log_) EXPECT_EQ(e.rfind("scroll", 0), 0u) << e;
    const size_t scrolls = log_.size();
    EXPECT_EQ(scrolls, 3u);
    InjectMouseButton({from.x, from.y + 400}, MouseButton::kLeft, false);
    session_.Advance(0);
    ASSERT_EQ(log_.size(), scrolls + 1);
    EXPECT_EQ(log_.back(), "change 100");
    EXPECT_NE(GetCapture(), bar_->hwnd());

    // A drag that ends where it began changes nothing.
    log_.clear();
    session_.Drag(At(ScrollBar::Part::kThumb), At(ScrollBar::Part::kThumb), 2);
    EXPECT_TRUE(log_.empty());
}

TEST_F(ScrollBarTest, KeysAndWheelWhenFocused) {
    ASSERT_TRUE(bar_->set_small_change(3).ok());
    bar_->SetFocus();
    int16_t swallowed = 0;
    bar_->on_key_down = [&](int16_t& code, int16_t) {
        if (code == VK_UP) {
            code = 0;
            ++swallowed;
        }
    };
    session_.Key(VK_DOWN);
    session_.Key(VK_NEXT);
    session_.Key(VK_UP);  // the handler swallows it
    session_.Key(VK_END);
    session_.Key(VK_PRIOR);
    session_.Key(VK_HOME);
    EXPECT_EQ(swallowed, 1);
    EXPECT_EQ(log_, (std::vector<std::string>{"change 3", "change 13", "change 100", "change 90",
                                              "change 0"}));
    log_.clear();

    // A notch towards the user scrolls down three small steps; half notches
    // add up.
    const Point over = At(ScrollBar::Part::kPageDown);
    session_.MoveMouse(over);
    InjectMouseWheel(over, -120);
    InjectMouseWheel(over, -60);
    InjectMouseWheel(over, -60);
    InjectMouseWheel(over, 120);
    session_.Advance(0);
    EXPECT_EQ(log_, (std::vector<std::string>{"change 9", "change 18", "change 9"}));
}

}  // namespace
