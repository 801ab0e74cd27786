// SPDX-License-Identifier: GPL-3.0-or-later
// Plain push buttons in the classic raised look: a caption, a sunken face
// while pressed, a focus rectangle, embossed grey text when disabled. A
// click comes from a mouse release inside the button, from Space released
// or Enter pressed while it has the focus, or from the program setting its
// value, which runs the click even for a hidden button (the program keeps
// invisible buttons whose click handling it triggers that way).
#pragma once

#include <string>

#include "platform/controls/control.h"

namespace platform::controls {

class CommandButton : public Control {
  public:
    CommandButton(HWND parent, std::string name, const Rect& r = Rect::FromXYWH(0, 0, 75, 23),
                  std::string caption = {});

    const std::string& caption() const { return caption_; }
    void set_caption(std::string c);

    // True only while a click caused by setting it runs.
    bool value() const { return value_; }
    // Setting true runs the click handling, then the value falls back to
    // false. A handler that sets it again while running is ignored, so a
    // button cannot recurse into itself.
    void set_value(bool v);

    // A default button wears a dark outer frame (message boxes use it).
    bool is_default() const { return default_; }
    void set_default(bool d);

    void ReportState(Json& out) const override;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool ClickOnRelease() const override { return false; }

  private:
    void Paint();
    void SetPressed(bool p);
    // Raises on_click; false when the handler destroyed the button.
    bool Click();

    std::string caption_;
    bool value_ = false;
    bool default_ = false;
    bool pressed_ = false;         // drawn sunken
    bool mouse_tracking_ = false;  // the left button went down on us
    bool space_down_ = false;
};

}  // namespace platform::controls
