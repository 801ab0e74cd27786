// SPDX-License-Identifier: GPL-3.0-or-later
// A script that lets the clock run while the program sleeps acts at the
// moment its wait ends, not after the program's whole run of sleeps.
#include <gtest/gtest.h>

#include <vector>

#include "platform/headless/headless_backend.h"
#include "platform/window.h"

namespace platform::headless {
namespace {

TEST(HeadlessSleepTest, ScriptActsWhereItsWaitEndsInsideTheProgramsSleeps) {
    HeadlessSession session;
    HeadlessBackend& backend = session.backend();
    std::vector<uint64_t> seen;
    int steps = 0;
    backend.SetIdleHandler([&] {
        seen.push_back(session.clock().NowMs());
        // Look twice, then let the clock run a further 170 ms; the third
        // step ends the script.
        if (++steps == 2) backend.RunClockUntil(session.clock().NowMs() + 170);
        return steps < 3;
    });
    backend.RunClockUntil(250);
    // A paced animation: five sleeps of 100 ms.
    for (int i = 0; i < 5; ++i) Sleep(100);
    EXPECT_EQ(seen, (std::vector<uint64_t>{250, 250, 420}));
    EXPECT_EQ(session.clock().NowMs(), 500u);
    EXPECT_FALSE(backend.clock_running());

    // With no wait running, sleeps only move time on.
    Sleep(100);
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_EQ(session.clock().NowMs(), 600u);
}

TEST(HeadlessSleepTest, SleepsInsideAScriptStepAndWaitsPastTheSleepDoNotHandOver) {
    HeadlessSession session;
    HeadlessBackend& backend = session.backend();
    int steps = 0;
    backend.SetIdleHandler([&] {
        ++steps;
        Sleep(40);  // the step's own sleep just moves time
        backend.RunClockUntil(10'000);
        return true;
    });
    backend.RunClockUntil(50);
    Sleep(100);
    EXPECT_EQ(steps, 1);
    EXPECT_EQ(session.clock().NowMs(), 100u);
    // The wait reaching past the sleep is still running for the loop.
    EXPECT_TRUE(backend.clock_running());
}

}  // namespace
}  // namespace platform::headless
