// SPDX-License-Identifier: GPL-3.0-or-later
// The timer component on the virtual clock: tick times, stopping and
// restarting, interval changes, refused intervals, and a handler that stops
// its own timer.

#include "platform/controls/timer.h"

#include "form_fixture.h"

namespace controls_test {
namespace {

class TimerTest : public FormTest {
  protected:
    Timer& MakeTimer() {
        Timer& t = form->Add<Timer>("tmrTest");
        t.on_timer = [this] { ticks.push_back(GetTickCount() - start); };
        start = GetTickCount();
        return t;
    }
    uint32_t start = 0;
    std::vector<uint32_t> ticks;
};

TEST_F(TimerTest, TicksEveryIntervalOnlyWhileEnabledWithAnInterval) {
    Timer& t = MakeTimer();
    EXPECT_TRUE(t.enabled());
    session.Advance(500);
    EXPECT_TRUE(ticks.empty());  // interval 0: quiet
    start = GetTickCount();
    ASSERT_TRUE(t.set_interval(100));
    session.Advance(350);
    EXPECT_EQ(ticks, (std::vector<uint32_t>{100, 200, 300}));

    t.set_enabled(false);
    session.Advance(500);
    EXPECT_EQ(ticks.size(), 3u);
    // Enabling again counts a whole interval from now.
    ticks.clear();
    start = GetTickCount();
    session.Advance(30);
    t.set_enabled(true);
    session.Advance(150);
    EXPECT_EQ(ticks, (std::vector<uint32_t>{130}));
}

TEST_F(TimerTest, ChangingTheIntervalRestartsTheCount) {
    Timer& t = MakeTimer();
    ASSERT_TRUE(t.set_interval(100));
    session.Advance(50);
    ASSERT_TRUE(t.set_interval(200));
    session.Advance(450);
    EXPECT_EQ(ticks, (std::vector<uint32_t>{250, 450}));
    // Setting the same interval again does not disturb the count.
    session.Advance(100);
    ASSERT_TRUE(t.set_interval(200));
    session.Advance(100);
    EXPECT_EQ(ticks.back(), 650u);
    ASSERT_TRUE(t.set_interval(0));
    session.Advance(1000);
    EXPECT_EQ(ticks.size(), 3u);
}

TEST_F(TimerTest, RefusedIntervalsKeepTheOldOne) {
    Timer& t = MakeTimer();
    ASSERT_TRUE(t.set_interval(100));
    EXPECT_FALSE(t.set_interval(-1));
    EXPECT_FALSE(t.set_interval(65536));
    EXPECT_EQ(t.interval(), 100);
    EXPECT_TRUE(t.set_interval(65535));
}

TEST_F(TimerTest, HandlerCanStopItsOwnTimer) {
    Timer& t = MakeTimer();
    t.on_timer = [&] {
        ticks.push_back(GetTickCount() - start);
        t.set_enabled(false);
    };
    ASSERT_TRUE(t.set_interval(40));
    session.Advance(400);
    EXPECT_EQ(ticks, (std::vector<uint32_t>{40}));
}

}  // namespace
}  // namespace controls_test
