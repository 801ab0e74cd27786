// The credits window frmCrime: full screen and black, with an 800 x 600
// surface in the middle on which a title and two entries are typed letter
// by letter, two cards flash in, the contact lines appear one by one and
// an "Exit" label ends it. The whole animation runs inside the first tick
// of its timer, so the rest of the program waits; only its yields let the
// window repaint.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/controls/form.h"
#include "platform/controls/label.h"
#include "platform/controls/picture_box.h"
#include "platform/controls/timer.h"

namespace lookup {

class CreditsWindow : public platform::controls::Form {
  public:
    CreditsWindow();

    // Shows the window modally; returns when "Exit" closes it.
    void ShowModal();

    // What the animation did, in order, with the tick count since the
    // animation began: "k X" for each typed character X (with its click),
    // "r" for each reveal sound, "show NAME" / "hide NAME", "e" at the end.
    struct Event {
        uint32_t ms;
        std::string what;
    };
    const std::vector<Event>& events() const { return events_; }
    bool animating() const { return animating_; }
    platform::controls::PictureBox* surface() const { return pic_main_; }

    void ReportState(platform::Json& out) const override;

  private:
    void Build();
    void Animate();
    // False once the window is gone (the program ended in a yield): the
    // animation stops there.
    bool Yield();
    void Pause(uint32_t ms);
    void Type(const std::string& text, int32_t x, int32_t y);
    void Sound(const char* file, const char* event);
    void SetVisible(platform::controls::Control& c, bool on);
    void Log(std::string what);

    platform::controls::PictureBox* pic_main_ = nullptr;
    platform::controls::PictureBox* pic_ravo_ = nullptr;
    platform::controls::PictureBox* pic_pelin_ = nullptr;
    std::array<platform::controls::Label*, 6> label1_{};
    platform::controls::Label* lbl_exit_ = nullptr;
    platform::controls::Timer* tmr_main_ = nullptr;
    bool animating_ = false;
    bool played_ = false;
    uint32_t start_ = 0;
    std::vector<Event> events_;
};

}  // namespace lookup
