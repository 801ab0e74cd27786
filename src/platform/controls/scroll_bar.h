// SPDX-License-Identifier: GPL-3.0-or-later
// Vertical and horizontal scroll bar controls: a 16-bit position between a
// minimum and a maximum, moved with the arrow buttons, clicks in the track,
// the thumb, the keyboard (when focused) and the mouse wheel.
//
// The position follows the usual rules of this kind of control: every
// value is 16-bit, a step of 0 or a limit outside the 16-bit range is
// refused and the previous setting stays, the minimum may exceed the
// maximum (the bar then runs backwards), and the value is always kept
// inside the range. Dragging the thumb raises on_scroll for each new
// position and on_change once when the thumb is let go; every other change
// of the value raises on_change.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/controls/control.h"
#include "platform/error.h"

namespace platform::controls {

enum class ScrollOrientation { kVertical, kHorizontal };

class ScrollBar : public Control {
  public:
    // The parts of the bar, for hit testing and the pressed look.
    enum class Part { kNone, kLineUp, kPageUp, kThumb, kPageDown, kLineDown };

    ScrollBar(HWND parent, const std::string& name, const Rect& r,
              ScrollOrientation orientation = ScrollOrientation::kVertical);

    ScrollOrientation orientation() const { return orientation_; }

    int16_t min() const { return min_; }
    int16_t max() const { return max_; }
    int16_t value() const { return value_; }
    int16_t small_change() const { return small_change_; }
    int16_t large_change() const { return large_change_; }

    // Each setter takes the caller's wider number so that a value outside the
    // 16-bit range can be refused rather than silently wrapped. A refused
    // value returns kInvalidPropertyValue and changes nothing. Moving a limit
    // pulls the value back into the range (raising on_change).
    Status set_min(int32_t v);
    Status set_max(int32_t v);
    // Values beyond the limits are clamped to the nearer one.
    Status set_value(int32_t v);
    // Steps must be 1 to 32767.
    Status set_small_change(int32_t v);
    Status set_large_change(int32_t v);

    // Geometry in client pixels, for drawing, hit testing and tests.
    Rect PartRect(Part part) const;
    Part HitTest(Point client) const;
    Part pressed_part() const { return pressed_; }

    void ReportState(Json& out) const override;

    // --- events ----------------------------------------------------------
    std::function<void()> on_change;
    std::function<void()> on_scroll;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool ClickOnRelease() const override { return false; }

  private:
    // Track geometry along the bar's axis.
    struct Track {
        int32_t start = 0;   // first pixel after the leading arrow
        int32_t length = 0;  // pixels between the arrows
        int32_t thumb = 0;   // thumb length; 0 when there is no thumb
        int32_t thumb_pos = 0;
        int32_t arrow = 0;  // arrow button length
    };
    Track Layout() const;
    int32_t AxisOf(Point p) const { return vertical() ? p.y : p.x; }
    bool vertical() const { return orientation_ == ScrollOrientation::kVertical; }
    // +1 when increasing positions move towards the maximum, -1 when the bar
    // runs backwards.
    int32_t Direction() const { return max_ >= min_ ? 1 : -1; }
    int16_t Clamp(int32_t v) const;
    // Moves the value by `steps` of `amount` towards the end (positive) or the
    // start (negative) of the bar; raises on_change when it moves.
    void Step(int32_t amount, int32_t steps);
    // Stores a value and repaints; returns whether it changed.
    bool Store(int16_t v);
    void RaiseChange();
    void RaiseScroll();
    // One action of the pressed arrow or track part. Returns false when the
    // part has nothing more to do (the thumb reached the pointer).
    bool RepeatPressed();
    void EndTracking(bool raise_change);
    void Paint(DC& dc) const;

    ScrollOrientation orientation_;
    int16_t min_ = 0;
    int16_t max_ = 32767;
    int16_t value_ = 0;
    int16_t small_change_ = 1;
    int16_t large_change_ = 1;

    Part pressed_ = Part::kNone;
    bool pointer_on_pressed_ = false;  // for the pressed look while the button is held
    bool own_capture_ = false;
    int32_t drag_offset_ = 0;  // pointer position minus thumb start while dragging
    int16_t drag_start_value_ = 0;
    int32_t wheel_remainder_ = 0;
};

}  // namespace platform::controls
