// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/controls/timer.h"

namespace platform::controls {

namespace {
constexpr const char* kTimerClass = "KovelinTimer";
constexpr uintptr_t kTimerId = 1;
constexpr int32_t kMaxInterval = 65535;
}  // namespace

Timer::Timer(HWND parent, std::string name) {
    EnsureClass(kTimerClass, 0, kNoBackground);
    // Never shown: zero size and no WS_VISIBLE, so it takes no input.
    Create(parent, kTimerClass, name, Rect{});
}

Status Timer::set_interval(int32_t ms) {
    if (ms < 0 || ms > kMaxInterval)
        return MakeError(ErrorCode::kInvalidPropertyValue,
                         "timer interval " + std::to_string(ms) + " is outside 0 to 65535");
    if (ms == interval_) return {};
    interval_ = ms;
    Restart();
    return {};
}

void Timer::set_enabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    Restart();
}

void Timer::Restart() {
    KillTimer(hwnd_, kTimerId);
    if (enabled_ && interval_ > 0) SetTimer(hwnd_, kTimerId, static_cast<uint32_t>(interval_));
}

LRESULT Timer::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_TIMER && wp == kTimerId) {
        // A tick already queued when the timer was stopped is dropped.
        if (enabled_ && interval_ > 0 && on_timer) on_timer();
        return 0;
    }
    return Control::HandleMessage(msg, wp, lp);
}

void Timer::ReportState(Json& out) const {
    out.Set("interval", interval_);
    out.Set("enabled", enabled_);
}

}  // namespace platform::controls
