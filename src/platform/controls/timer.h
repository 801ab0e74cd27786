// SPDX-License-Identifier: GPL-3.0-or-later
// The timer component: raises on_timer every `interval` milliseconds while
// enabled. It has no face; a hidden child window of the form receives the
// window system's timer messages, so ticks arrive through the message loop
// like any other event (and follow the virtual clock in tests).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/controls/control.h"

namespace platform::controls {

class Timer : public Control {
  public:
    Timer(HWND parent, std::string name);

    // 0 to 65535 ms; 0 keeps the timer quiet even while enabled. Setting a
    // different interval restarts the count; values out of range are
    // rejected and the old interval stays.
    int32_t interval() const { return interval_; }
    Status set_interval(int32_t ms);
    // Enabled by default, as placed on a form; it ticks only with a nonzero
    // interval. Turning it off and on again restarts the count.
    bool enabled() const { return enabled_; }
    void set_enabled(bool on);

    std::function<void()> on_timer;

    void ReportState(Json& out) const override;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    void Restart();

    int32_t interval_ = 0;
    bool enabled_ = true;
};

}  // namespace platform::controls
