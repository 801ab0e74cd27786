// The published works viewer frmSampadak: a small modal window showing one
// tall picture in a panel with a vertical scroll bar, dragged by the
// picture and closed by its "X" box.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/controls/form.h"
#include "platform/controls/label.h"
#include "platform/controls/picture_box.h"
#include "platform/controls/scroll_bar.h"

namespace lookup {

class WorksViewer {
  public:
    WorksViewer();
    ~WorksViewer();

    // Loads picture `number` (1: k1.dat, anything else: k0.dat) from the
    // data folder, back at the top, and sets the scroll bar for it; creates
    // the window first when it is not there. A missing file leaves the
    // previous picture (or none).
    void LoadBmp(int16_t number);
    // Shows the window modally over the active window; returns when it is
    // closed.
    void ShowModal();

    platform::controls::Form& form() { return *form_; }
    platform::controls::PictureBox* picture() const { return pic_misc_child_; }
    platform::controls::ScrollBar* scroll() const { return p_vscroll_; }
    platform::controls::Label* exit_label() const { return lbl_exit_; }

    // The panel's height, which the picture scrolls in.
    static constexpr int32_t kPanelHeight = 428;

  private:
    void Build();

    std::unique_ptr<platform::controls::Form> form_;
    platform::controls::PictureBox* pic_misc_main_ = nullptr;
    platform::controls::PictureBox* pic_misc_child_ = nullptr;
    platform::controls::ScrollBar* p_vscroll_ = nullptr;
    platform::controls::PictureBox* pic_exit_ = nullptr;
    platform::controls::Label* lbl_exit_ = nullptr;
};

}  // namespace lookup
