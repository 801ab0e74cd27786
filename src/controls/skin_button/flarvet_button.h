// SPDX-License-Identifier: GPL-3.0-or-later
// FlarvetButon: the owner-drawn push button every window of the program
// uses. It is a child window that paints itself completely on its
// persistent surface: a face in one of fourteen styles (ButtonType), a
// word-wrapped caption with an access key, an optional picture, a focus
// rectangle and, for the shaped styles, a window region that mouse input
// follows.
//
// This header is the component's public face: its properties in interface
// order with what each assignment does, the saved keys, the life cycle, and
// Draw with the working state it keeps. The faces themselves are painted by
// PaintFace (button_face.h).
//
// Interaction follows the button's own rules rather than the standard
// control's: hover tracking on a 3 ms timer (MouseOver, MouseOut), the look
// following presses of each mouse button and drags off and back, Click
// after a left press and release on the button, the space bar and the
// caption's access key (Alt and the letter, found through the platform's
// Tab order), arrow keys moving the focus, and CheckBoxBehaviour toggling
// Value. Pictures, special effects and style 11's captured background are
// drawn by ButtonArt (button_picture.h).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "controls/skin_button/button_colors.h"
#include "controls/skin_button/button_face.h"
#include "controls/skin_button/button_picture.h"
#include "platform/controls/control.h"
#include "platform/error.h"
#include "platform/picture.h"
#include "platform/property_bag.h"

namespace skin_button {

using platform::FontRef;
using platform::PictureRef;
using platform::Status;

// The window class of the button window.
inline constexpr const char* kButtonClass = "FlarvetButon";

class FlarvetButon : public platform::controls::Control {
  public:
    // Creates the button window as a child of `parent`. The host answers
    // the ambient properties and hears of changed saved properties; it must
    // outlive the button. Call InitProperties or ReadProperties next.
    FlarvetButon(platform::HWND parent, platform::ComponentHost& host, const std::string& name,
                 const Rect& bounds);
    ~FlarvetButon() override;

    // --- start-up and saving ------------------------------------------------
    // A new instance: the host's display name as caption, its font, style 2
    // in system colours, colour properties taken from the computed palette.
    Status InitProperties();
    // Both start-ups end by drawing the button when its window is visible.
    // Applies the saved keys in their fixed order, a missing key giving its
    // default. A 16-bit key holding a value out of range leaves that
    // property as it was, and the call fails with error 6 once every other
    // key is applied.
    Status ReadProperties(const platform::PropertyBag& bag);
    // Writes every key, defaults included. A 16-bit property holding a value
    // out of range is not written and the call fails with error 6.
    Status WriteProperties(platform::PropertyBag& bag) const;
    // An ambient property of the host changed (scheme 4 follows the
    // parent's colours).
    void AmbientChanged();

    // --- properties, in interface order ---------------------------------------
    Color BackColor() const { return back_color_; }
    void SetBackColor(Color theCol);
    Color BackOver() const { return back_over_; }
    void SetBackOver(Color theCol);
    Color ForeColor() const { return fore_color_; }
    void SetForeColor(Color theCol);
    Color ForeOver() const { return fore_over_; }
    void SetForeOver(Color theCol);
    Color MaskColor() const { return mask_color_; }
    void SetMaskColor(Color theCol);
    int32_t ButtonType() const { return button_type_; }
    Status SetButtonType(int32_t newValue);
    const std::string& Caption() const { return caption_; }
    Status SetCaption(std::string caption);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // The button window's font object, shared with whoever holds it.
    const FontRef& Font() const { return font_; }
    Status SetFont(FontRef newFont);
    bool FontBold() const { return font_->bold(); }
    Status SetFontBold(bool v);
    bool FontItalic() const { return font_->italic(); }
    Status SetFontItalic(bool v);
    bool FontUnderline() const { return font_->underline(); }
    Status SetFontUnderline(bool v);
    // Whole points, rounded to nearest with halves to even on reading.
    int16_t FontSize() const;
    Status SetFontSize(int16_t points);
    const std::string& FontName() const { return font_->name(); }
    Status SetFontName(const std::string& name);
    int32_t ColorScheme() const { return color_scheme_; }
    void SetColorScheme(int32_t scheme);
    bool ShowFocusRect() const { return show_focus_rect_; }
    void SetShowFocusRect(bool v);
    int16_t MousePointer() const { return mouse_pointer(); }
    void SetMousePointer(int16_t newPointer);
    const PictureRef& MouseIcon() const { return mouse_icon_; }
    void SetMouseIcon(PictureRef newIcon);
    bool HandPointer() const { return hand_pointer_; }
    void SetHandPointer(bool newVal);
    bool SoftBevel() const { return soft_bevel_; }
    void SetSoftBevel(bool v);
    const PictureRef& PictureNormal() const { return picture_normal_; }
    Status SetPictureNormal(PictureRef newPic);
    const PictureRef& PictureOver() const { return picture_over_; }
    void SetPictureOver(PictureRef newPic);
    int32_t PicturePosition() const { return picture_position_; }
    Status SetPicturePosition(int32_t newPicPos);
    bool UseMaskColor() const { return use_mask_color_; }
    void SetUseMaskColor(bool v);
    bool UseGreyscale() const { return use_greyscale_; }
    void SetUseGreyscale(bool v);
    int32_t SpecialEffect() const { return special_effect_; }
    void SetSpecialEffect(int32_t v);
    bool CheckBoxBehaviour() const { return check_box_behaviour_; }
    void SetCheckBoxBehaviour(bool v);
    bool Value() const { return value_; }
    void SetValue(bool v);
    static std::string_view Version() { return "2.0.6 B"; }

    // --- methods ------------------------------------------------------------
    // Draw does nothing until Refresh.
    void DisableRefresh() { drawing_enabled_ = false; }
    Status Refresh();

    // --- events ----------------------------------------------------------------
    // The pointer entered or left the button (raised by hover tracking).
    std::function<void()> on_mouse_over;
    std::function<void()> on_mouse_out;

    // --- drawing ---------------------------------------------------------------
    // Paints the whole button for state 0 (up) or 2 (down). Without `force`
    // nothing happens when the state and the caption are those last drawn;
    // nothing is drawn while the height is 0 or drawing is disabled.
    void Draw(int32_t state, bool force);
    void ComputePalette();
    // Measures and places the caption, then the picture.
    Status LayoutCaption();
    // Size, focus rectangle, layout, window region, and an up face.
    Status Resize();
    // What draws the pictures, effects and captured background: the
    // button's own ButtonArt unless replaced; the hooks must outlive the
    // button.
    void SetFaceHooks(FaceHooks* hooks) { hooks_ = hooks != nullptr ? hooks : &art_; }
    // What the next Draw paints from (also for the gallery).
    FaceLook Look() const;

    // --- working state -----------------------------------------------------------
    const Palette& palette() const { return palette_; }
    const CaptionLayout& caption_layout() const { return layout_; }
    const Rect& focus_rect() const { return focus_rect_; }
    Size picture_size() const { return picture_size_; }
    int32_t last_state() const { return last_state_; }
    int32_t caption_state() const { return caption_state_; }
    bool drawing_enabled() const { return drawing_enabled_; }
    bool is_hovering() const { return is_hovering_; }
    bool button_has_focus() const { return has_focus_; }
    // Whether the last drawing showed the dotted focus rectangle.
    bool focus_drawn() const { return focus_drawn_; }
    // The mouse button of the last press (1 left, 2 right, 4 middle; 1 after
    // an access key), or 0 before any.
    int32_t last_button() const { return last_button_; }
    // The captured background of style 11 (empty until captured).
    const Surface& background() const { return background_; }
    // The id of the hover timer on the button window, and its interval.
    static constexpr uintptr_t kOverTimerId = 1;
    static constexpr uint32_t kOverTimerMs = 3;
    // The caption's access key in lower case, or 0.
    char access_key() const { return access_key_; }
    // Whether a Draw is painting in design mode, for the host.
    bool design_time() const;

    void ReportState(platform::Json& out) const override;

  protected:
    platform::LRESULT HandleMessage(platform::UINT msg, platform::WPARAM wp,
                                    platform::LPARAM lp) override;
    // Style 11: fills the background surface with what the parent shows
    // behind the button. The button's height is 0 while the parent paints
    // the area, so the parent's drawing is read, never the screen; a parent
    // not on screen yet leaves the background as it was.
    void CaptureBackground();

  private:
    void Notify(std::string_view key);
    // The button appears: when its window is shown, and at the end of
    // InitProperties or ReadProperties for a window already visible.
    void Shown();
    // The end of both start-ups: the resize procedure for the properties
    // just set (layout, focus rectangle, window shape), then Shown.
    Status Settle();
    void Redraw() { Draw(last_state_, true); }
    void RedrawUp() { Draw(kStateUp, true); }
    void MeasurePicture();
    void UpdateAccessKey();
    void ApplyHandPointer();
    // The interaction procedures. Each returns false when a handler it
    // raised destroyed the button, which then must not be touched.
    bool MousePress(platform::controls::MouseEventArgs& a);
    bool MouseMove(platform::controls::MouseEventArgs& a);
    bool MouseRelease(platform::controls::MouseEventArgs& a);
    bool OverTimerTick();
    bool ClickProcedure();
    bool KeyDown(int16_t code, int16_t shift);
    bool KeyUp(int16_t code, int16_t shift);
    // The cursor is over the button window itself (not a window above it).
    bool IsMouseOver() const;
    void MoveFocus(bool previous);
    // Ends hover tracking and any press, as when the button is disabled.
    void StopTracking();
    void SyncArt();

    platform::ComponentHost& host_;
    ButtonArt art_;
    FaceHooks* hooks_ = &art_;

    // Saved properties.
    int32_t button_type_ = kTypeClassic;
    int32_t color_scheme_ = kSchemeSystem;
    int32_t picture_position_ = kPictureLeft;
    int32_t special_effect_ = 0;
    Color back_color_ = 0;
    Color back_over_ = 0;
    Color fore_color_ = 0;
    Color fore_over_ = 0;
    Color mask_color_ = 0xC0C0C0;
    bool use_mask_color_ = true;
    bool use_greyscale_ = false;
    bool hand_pointer_ = false;
    bool soft_bevel_ = false;
    bool show_focus_rect_ = true;
    bool enabled_ = true;
    bool check_box_behaviour_ = false;
    bool value_ = false;
    PictureRef picture_normal_;
    PictureRef picture_over_;
    std::string caption_;

    // Working state.
    Palette palette_;
    PaletteInputs palette_inputs_;  // what palette_ was computed from
    int32_t width_ = 0;
    int32_t height_ = 0;
    CaptionLayout layout_;
    Rect focus_rect_;
    Size picture_size_;
    int32_t last_state_ = kStateUp;
    std::string last_caption_;
    int32_t caption_state_ = 0;
    bool drawing_enabled_ = true;
    bool is_hovering_ = false;
    bool has_focus_ = false;
    bool focus_drawn_ = false;
    bool resizing_ = false;  // set while style 11 captures its background
    char access_key_ = 0;
    int32_t last_button_ = 0;
    uint8_t last_key_ = 0;  // key code of the last key-down
    // The mouse button held since a press on the window (0 for none), and
    // whether its release on the button is a click (not after a double
    // click).
    int16_t press_button_ = 0;
    bool press_clicks_ = false;
    Surface background_;
};

}  // namespace skin_button
