// SPDX-License-Identifier: GPL-3.0-or-later
// A face to paint without a button window: the gallery, the benchmark and
// the tests describe a button in a few values and get the FaceLook a
// button with those properties would paint from.
#pragma once

#include <string>

#include "controls/skin_button/button_face.h"

namespace skin_button {

struct SampleButton {
    int32_t button_type = kTypeClassic;
    int32_t scheme = kSchemeSystem;
    int32_t width = 100;
    int32_t height = 30;
    std::string caption;
    FontDesc font;
    // Scheme 2's colour properties and scheme 4's parent colours.
    Color back_color = 0xC0C0C0;
    Color back_over = 0xC0C0C0;
    Color fore_color = 0;
    Color fore_over = 0;
    Color parent_back = 0xFFFFFF;
    Color parent_text = 0;
    Color mask_color = 0xC0C0C0;
    bool soft_bevel = false;
    bool show_focus_rect = true;
    // The picture box: pw x ph pixels (0 x 0 for no picture) and where it
    // goes beside the caption.
    Size picture;
    int32_t picture_position = kPictureLeft;
    // The drawing state.
    bool enabled = true;
    bool hovering = false;
    bool has_focus = false;
    bool is_default = false;
};

// Fails with error 6 when the caption's geometry overflows.
platform::Result<FaceLook> MakeSampleLook(const SampleButton& b);

}  // namespace skin_button
