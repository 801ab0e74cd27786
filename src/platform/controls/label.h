// SPDX-License-Identifier: GPL-3.0-or-later
// Labels: a caption drawn in the label's font (so a Preeti face shows
// Devanagari), left, right or centred, wrapped at word boundaries, over an
// opaque back colour or over whatever lies beneath. A transparent label with
// no caption is how skins make hot spots: it draws nothing but still takes
// clicks and shows its pointer.
#pragma once

#include <string>

#include "platform/controls/control.h"

namespace platform::controls {

enum class Alignment { kLeft = 0, kRight = 1, kCenter = 2 };
enum class BackStyle { kTransparent = 0, kOpaque = 1 };
enum class ControlBorder { kNone = 0, kFixedSingle = 1 };

class Label : public Control {
  public:
    Label(HWND parent, std::string name, const Rect& r = Rect::FromXYWH(0, 0, 100, 17),
          std::string caption = {});

    // A new font refits an auto-sized label (changing the shared font object
    // in place does not: set it again afterwards).
    void set_font(FontRef f);

    const std::string& caption() const { return caption_; }
    void set_caption(std::string c);
    Alignment alignment() const { return alignment_; }
    void set_alignment(Alignment a);
    BackStyle back_style() const { return back_style_; }
    void set_back_style(BackStyle s);
    ControlBorder border_style() const { return border_; }
    void set_border_style(ControlBorder b);

    // The caption always breaks at word boundaries inside the label's width.
    // With auto-size on, word wrap decides how the label grows: without it
    // the label takes the width of the unbroken text; with it the width
    // stays and the height follows the wrapped text.
    bool word_wrap() const { return word_wrap_; }
    void set_word_wrap(bool on);
    bool auto_size() const { return auto_size_; }
    void set_auto_size(bool on);

    void ReportState(Json& out) const override;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    uint32_t TextFormat() const;
    void Paint();
    void FitToText();
    void Changed();

    std::string caption_;
    Alignment alignment_ = Alignment::kLeft;
    BackStyle back_style_ = BackStyle::kOpaque;
    ControlBorder border_ = ControlBorder::kNone;
    bool word_wrap_ = false;
    bool auto_size_ = false;
};

}  // namespace platform::controls
