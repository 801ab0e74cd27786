// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/clock.h"

#include <chrono>
#include <thread>

namespace platform {

namespace {
uint64_t SteadyNs() {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}
}  // namespace

RealClock::RealClock() : start_ns_(SteadyNs()) {
}

uint64_t RealClock::NowMs() const {
    return (SteadyNs() - start_ns_) / 1000000u;
}

void RealClock::Sleep(uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void VirtualClock::Sleep(uint32_t ms) {
    const uint64_t until = now_ + ms;
    if (on_sleep_ && !sleeping_) {
        sleeping_ = true;
        on_sleep_(until);
        sleeping_ = false;
    }
    if (now_ < until) now_ = until;
}

}  // namespace platform
