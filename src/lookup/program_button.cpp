// SPDX-License-Identifier: GPL-3.0-or-later
#include "lookup/program_button.h"

namespace lookup {

void StyleProgramButton(skin_button::FlarvetButon& b, const std::string& caption, float points,
                        const std::optional<ButtonColors>& colors) {
    (void)b.InitProperties();
    b.DisableRefresh();
    if (points > 0) (void)b.SetFont(platform::MakeFont(platform::FontDesc{"OrvPreeti", points}));
    (void)b.SetCaption(caption);
    (void)b.SetButtonType(skin_button::kTypeGradient);
    b.SetSoftBevel(false);
    b.SetSpecialEffect(skin_button::kEffectNone);
    b.SetShowFocusRect(true);
    b.SetMousePointer(platform::controls::kPointerArrow);
    if (colors) {
        b.SetColorScheme(skin_button::kSchemeCustom);
        b.SetBackColor(colors->back);
        b.SetBackOver(colors->back_over);
        b.SetForeColor(colors->fore);
        b.SetForeOver(colors->fore_over);
    } else {
        b.SetColorScheme(skin_button::kSchemeGrey);
    }
    (void)b.Refresh();
    b.set_visible(true);
}

}  // namespace lookup
