// SPDX-License-Identifier: GPL-3.0-or-later
// Time for the window system: a monotonic millisecond clock behind an
// interface, so tests and the harness run on a virtual clock that moves only
// when they say so.
#pragma once

#include <cstdint>
#include <functional>

namespace platform {

class Clock {
  public:
    virtual ~Clock() = default;
    virtual uint64_t NowMs() const = 0;
    // Blocks the calling thread (the real clock) or simply moves time on
    // (the virtual clock); no messages are processed either way.
    virtual void Sleep(uint32_t ms) = 0;
};

class RealClock final : public Clock {
  public:
    RealClock();
    uint64_t NowMs() const override;
    void Sleep(uint32_t ms) override;

  private:
    uint64_t start_ns_;
};

class VirtualClock final : public Clock {
  public:
    explicit VirtualClock(uint64_t start_ms = 0) : now_(start_ms) {}
    uint64_t NowMs() const override { return now_; }
    // Moves time on by `ms`. With a sleep handler, the handler runs first
    // with the time the sleep ends; it may move the clock part of the way
    // (to let a script look at the sleeping program) but never past it.
    void Sleep(uint32_t ms) override;
    void Advance(uint64_t ms) { now_ += ms; }
    void Set(uint64_t ms) { now_ = ms; }

    using SleepHandler = std::function<void(uint64_t until_ms)>;
    void SetSleepHandler(SleepHandler handler) { on_sleep_ = std::move(handler); }

  private:
    uint64_t now_;
    SleepHandler on_sleep_;
    bool sleeping_ = false;  // a handler's own sleeps just move time on
};

}  // namespace platform
