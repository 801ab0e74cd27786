// SPDX-License-Identifier: GPL-3.0-or-later
// A described button's FaceLook: palette, caption layout and focus rectangle
// as the button window computes them.
#include "controls/skin_button/sample_look.h"

namespace skin_button {

platform::Result<FaceLook> MakeSampleLook(const SampleButton& b) {
    PaletteInputs colors;
    colors.scheme = b.scheme;
    colors.button_type = b.button_type;
    colors.soft_bevel = b.soft_bevel;
    colors.back_color = b.back_color;
    colors.fore_color = b.fore_color;
    colors.fore_over = b.fore_over;
    colors.parent_back = b.parent_back;
    colors.parent_text = b.parent_text;
    colors.mask_color = b.mask_color;

    CaptionInputs text;
    text.width = b.width;
    text.height = b.height;
    text.caption = b.caption;
    text.font = b.font;
    text.picture_position = b.picture_position;
    text.picture = b.picture;
    text.has_picture = b.picture.cx > 0 && b.picture.cy > 0;
    auto layout = LayoutCaption(text);
    if (!layout) return layout.error();

    FaceLook look;
    look.button_type = b.button_type;
    look.width = b.width;
    look.height = b.height;
    look.scheme = b.scheme;
    look.soft_bevel = b.soft_bevel;
    look.palette = b.hovering ? HoverPalette(colors, b.back_over) : ComputePalette(colors);
    look.enabled = b.enabled;
    look.hovering = b.hovering;
    look.has_focus = b.has_focus;
    look.show_focus_rect = b.show_focus_rect;
    look.is_default = b.is_default;
    look.caption = b.caption;
    look.font = b.font;
    look.layout = layout.value();
    look.focus_rect = FocusRectFor(b.button_type, b.width, b.height);
    look.picture_position = b.picture_position;
    look.picture = b.picture;
    look.has_picture = text.has_picture;
    return look;
}

}  // namespace skin_button
