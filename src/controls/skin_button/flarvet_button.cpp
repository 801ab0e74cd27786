// SPDX-License-Identifier: GPL-3.0-or-later
// FlarvetButon's properties, saved keys, life cycle and Draw.
#include "controls/skin_button/flarvet_button.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

#include "platform/controls/form.h"
#include "platform/controls/tooltip.h"

namespace skin_button {

namespace {

using platform::ErrorCode;
using platform::MakeError;
using platform::controls::Control;
using platform::controls::Form;
using platform::controls::kLeftButton;
using platform::controls::kMiddleButton;
using platform::controls::kRightButton;
using platform::controls::MouseEventArgs;

// Key codes the button acts on.
constexpr int16_t kKeySpace = 32;
constexpr int16_t kKeyLeft = 37;
constexpr int16_t kKeyUp = 38;
constexpr int16_t kKeyRight = 39;
constexpr int16_t kKeyDown = 40;

// Raises an event with a copy of its handler, so a handler that destroys
// the button (and with it the handler) still returns safely. Returns false
// when the button window is gone afterwards.
template <class Handler, class... Args>
bool Raise(platform::HWND self, const Handler& handler, Args&... args) {
    if (handler) {
        Handler copy = handler;
        copy(args...);
    }
    return platform::IsWindow(self);
}

// Saved keys, in the order they are read and written.
constexpr std::string_view kKeyButtonType = "BTYPE";
constexpr std::string_view kKeyCaption = "TX";
constexpr std::string_view kKeyEnabled = "ENAB";
constexpr std::string_view kKeyFont = "FONT";
constexpr std::string_view kKeyColorScheme = "COLTYPE";
constexpr std::string_view kKeyFocusRect = "FOCUSR";
constexpr std::string_view kKeyBackColor = "BCOL";
constexpr std::string_view kKeyBackOver = "BCOLO";
constexpr std::string_view kKeyForeColor = "FCOL";
constexpr std::string_view kKeyForeOver = "FCOLO";
constexpr std::string_view kKeyMaskColor = "MCOL";
constexpr std::string_view kKeyMousePointer = "MPTR";
constexpr std::string_view kKeyMouseIcon = "MICON";
constexpr std::string_view kKeyPictureNormal = "PICN";
constexpr std::string_view kKeyPictureOver = "PICH";
constexpr std::string_view kKeyUseMaskColor = "UMCOL";
constexpr std::string_view kKeySoftBevel = "SOFT";
constexpr std::string_view kKeyPicturePosition = "PICPOS";
constexpr std::string_view kKeyGreyscale = "NGREY";
constexpr std::string_view kKeySpecialEffect = "FX";
constexpr std::string_view kKeyHandPointer = "HAND";
constexpr std::string_view kKeyCheckBox = "CHECK";
constexpr std::string_view kKeyValue = "VALUE";
// PictureOver reports its changes under this key but is saved as "PICH".
constexpr std::string_view kNotifyPictureOver = "PICO";

constexpr Color kDefaultMaskColor = 0xC0C0C0;

bool Fits16(int32_t v) {
    return v >= std::numeric_limits<int16_t>::min() && v <= std::numeric_limits<int16_t>::max();
}

std::string Hex(Color c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%06X", static_cast<unsigned>(c));
    return buf;
}

platform::Json RectJson(const Rect& r) {
    return platform::Json(platform::Json::Array{platform::Json(r.left), platform::Json(r.top),
                                                platform::Json(r.right), platform::Json(r.bottom)});
}

const char* ShapeName(int32_t type) {
    switch (type) {
        case kTypeFramed:
        case kTypeGradient:
            return "corners cut";
        case kTypeSoftFlat:
            return "two corners cut";
        case kTypeGradientBlue:
        case kTypeRounded:
            return "rounded corners";
        case kTypeEllipse:
            return "ellipse";
        default:
            return "rectangle";
    }
}

}  // namespace

FlarvetButon::FlarvetButon(platform::HWND parent, platform::ComponentHost& host,
                           const std::string& name, const Rect& bounds)
    : host_(host) {
    EnsureClass(kButtonClass, platform::CS_DBLCLKS, platform::kNoBackground);
    Create(parent, kButtonClass, name, bounds, platform::WS_VISIBLE | platform::WS_TABSTOP);
    // The button keeps what it drew until the next Draw.
    platform::SetPersistentDrawing(hwnd_, true);
    const Rect client = platform::GetClientRect(hwnd_);
    width_ = client.width();
    height_ = client.height();
    focus_rect_ = FocusRectFor(button_type_, width_, height_);
}

FlarvetButon::~FlarvetButon() {
    drawing_enabled_ = false;
}

bool FlarvetButon::design_time() const {
    // A host that cannot say is taken to be designing.
    platform::Result<bool> user_mode = host_.AmbientUserMode();
    return !user_mode.ok() || !user_mode.value();
}

void FlarvetButon::Notify(std::string_view key) {
    host_.PropertyChanged(key);
}

// --- start-up and saving -------------------------------------------------------

Status FlarvetButon::InitProperties() {
    enabled_ = true;
    show_focus_rect_ = true;
    use_mask_color_ = true;
    caption_ = host_.AmbientDisplayName();
    set_font(platform::MakeFont(host_.AmbientFont()));
    button_type_ = kTypeClassic;
    color_scheme_ = kSchemeSystem;
    ComputePalette();
    back_color_ = back_over_ = palette_.face;
    fore_color_ = fore_over_ = palette_.text;
    mask_color_ = kDefaultMaskColor;
    UpdateAccessKey();
    return Settle();
}

Status FlarvetButon::ReadProperties(const platform::PropertyBag& bag) {
    std::string overflowed;
    auto read16 = [&](std::string_view key, int32_t fallback, int32_t& target) {
        const int32_t v = bag.Read<int32_t>(key, fallback);
        if (Fits16(v)) {
            target = v;
        } else if (overflowed.empty()) {
            overflowed = std::string(key);
        }
    };
    auto read_color = [&](std::string_view key, Color fallback) {
        return static_cast<Color>(bag.Read<int32_t>(key, static_cast<int32_t>(fallback)));
    };

    read16(kKeyButtonType, kTypeClassic, button_type_);
    caption_ = bag.Read<std::string>(kKeyCaption, {});
    enabled_ = bag.Read<bool>(kKeyEnabled, true);
    // A missing font keeps the current font object, shared as it is.
    const platform::FontDesc saved_font = bag.Read<platform::FontDesc>(kKeyFont, font_->desc());
    if (!(saved_font == font_->desc())) set_font(platform::MakeFont(saved_font));
    read16(kKeyColorScheme, kSchemeSystem, color_scheme_);
    show_focus_rect_ = bag.Read<bool>(kKeyFocusRect, true);
    back_color_ = read_color(kKeyBackColor, platform::GetSysColor(platform::COLOR_BTNFACE));
    back_over_ = read_color(kKeyBackOver, back_color_);
    fore_color_ = read_color(kKeyForeColor, platform::GetSysColor(platform::COLOR_BTNTEXT));
    fore_over_ = read_color(kKeyForeOver, fore_color_);
    mask_color_ = read_color(kKeyMaskColor, kDefaultMaskColor);
    int32_t pointer = mouse_pointer();
    read16(kKeyMousePointer, 0, pointer);
    set_mouse_pointer(static_cast<int16_t>(pointer));
    set_mouse_icon(bag.Read<PictureRef>(kKeyMouseIcon, nullptr));
    picture_normal_ = bag.Read<PictureRef>(kKeyPictureNormal, nullptr);
    picture_over_ = bag.Read<PictureRef>(kKeyPictureOver, nullptr);
    use_mask_color_ = bag.Read<bool>(kKeyUseMaskColor, true);
    soft_bevel_ = bag.Read<bool>(kKeySoftBevel, false);
    read16(kKeyPicturePosition, kPictureLeft, picture_position_);
    use_greyscale_ = bag.Read<bool>(kKeyGreyscale, false);
    read16(kKeySpecialEffect, 0, special_effect_);
    // HandPointer is applied after the saved pointer and icon, and wins.
    hand_pointer_ = bag.Read<bool>(kKeyHandPointer, false);
    ApplyHandPointer();
    check_box_behaviour_ = bag.Read<bool>(kKeyCheckBox, false);
    value_ = bag.Read<bool>(kKeyValue, false);

    platform::EnableWindow(hwnd_, enabled_);
    MeasurePicture();
    UpdateAccessKey();
    Status settled = Settle();
    if (!overflowed.empty()) {
        return MakeError(ErrorCode::kOverflow, "saved value out of range: " + overflowed);
    }
    return settled;
}

Status FlarvetButon::Settle() {
    // The window was sized before it had its properties: the style's shape
    // and focus rectangle and the caption's place follow them now.
    ComputePalette();
    Status resized = Resize();
    if (platform::IsWindowVisible(hwnd_)) Shown();
    return resized;
}

Status FlarvetButon::WriteProperties(platform::PropertyBag& bag) const {
    std::string overflowed;
    auto store16 = [&](std::string_view key, int32_t v) {
        if (Fits16(v)) {
            bag.Store<int32_t>(key, v);
        } else if (overflowed.empty()) {
            overflowed = std::string(key);
        }
    };
    auto store_color = [&](std::string_view key, Color c) {
        bag.Store<int32_t>(key, static_cast<int32_t>(c));
    };
    store16(kKeyButtonType, button_type_);
    bag.Store<std::string>(kKeyCaption, caption_);
    bag.Store<bool>(kKeyEnabled, enabled_);
    bag.Store<platform::FontDesc>(kKeyFont, font_->desc());
    store16(kKeyColorScheme, color_scheme_);
    bag.Store<bool>(kKeyFocusRect, show_focus_rect_);
    store_color(kKeyBackColor, back_color_);
    store_color(kKeyBackOver, back_over_);
    store_color(kKeyForeColor, fore_color_);
    store_color(kKeyForeOver, fore_over_);
    store_color(kKeyMaskColor, mask_color_);
    store16(kKeyMousePointer, mouse_pointer());
    bag.Store<PictureRef>(kKeyMouseIcon, mouse_icon_);
    bag.Store<PictureRef>(kKeyPictureNormal, picture_normal_);
    bag.Store<PictureRef>(kKeyPictureOver, picture_over_);
    bag.Store<bool>(kKeyUseMaskColor, use_mask_color_);
    bag.Store<bool>(kKeySoftBevel, soft_bevel_);
    store16(kKeyPicturePosition, picture_position_);
    bag.Store<bool>(kKeyGreyscale, use_greyscale_);
    store16(kKeySpecialEffect, special_effect_);
    bag.Store<bool>(kKeyHandPointer, hand_pointer_);
    bag.Store<bool>(kKeyCheckBox, check_box_behaviour_);
    bag.Store<bool>(kKeyValue, value_);
    if (!overflowed.empty()) {
        return MakeError(ErrorCode::kOverflow, "value out of the saved range: " + overflowed);
    }
    return {};
}

void FlarvetButon::Shown() {
    if (button_type_ == kTypeSeeThrough) CaptureBackground();
    drawing_enabled_ = true;
    ComputePalette();
    RedrawUp();
}

void FlarvetButon::AmbientChanged() {
    ComputePalette();
    Redraw();
}

// --- properties ------------------------------------------------------------------

void FlarvetButon::SetBackColor(Color theCol) {
    back_color_ = theCol;
    if (design_time()) back_over_ = theCol;
    ComputePalette();
    Redraw();
    Notify(kKeyBackColor);
}

void FlarvetButon::SetBackOver(Color theCol) {
    back_over_ = theCol;
    ComputePalette();
    Redraw();
    Notify(kKeyBackOver);
}

void FlarvetButon::SetForeColor(Color theCol) {
    fore_color_ = theCol;
    if (design_time()) fore_over_ = theCol;
    ComputePalette();
    Redraw();
    Notify(kKeyForeColor);
}

void FlarvetButon::SetForeOver(Color theCol) {
    fore_over_ = theCol;
    ComputePalette();
    Redraw();
    Notify(kKeyForeOver);
}

void FlarvetButon::SetMaskColor(Color theCol) {
    mask_color_ = theCol;
    ComputePalette();
    Redraw();
    Notify(kKeyMaskColor);
}

Status FlarvetButon::SetButtonType(int32_t newValue) {
    button_type_ = newValue;
    if (newValue == kTypeSoftFlat && design_time()) {
        font_->set_bold(true);
    } else if (newValue == kTypeSeeThrough && drawing_enabled_) {
        CaptureBackground();
    }
    Status resized = Resize();
    Notify(kKeyButtonType);
    return resized;
}

Status FlarvetButon::SetCaption(std::string caption) {
    caption_ = std::move(caption);
    UpdateAccessKey();
    Status laid = LayoutCaption();
    RedrawUp();
    Notify(kKeyCaption);
    return laid;
}

void FlarvetButon::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (!enabled) StopTracking();
    RedrawUp();
    platform::EnableWindow(hwnd_, enabled);
    Notify(kKeyEnabled);
}

Status FlarvetButon::SetFont(FontRef newFont) {
    if (!newFont) return MakeError(ErrorCode::kInvalidPropertyValue, "no font object");
    set_font(std::move(newFont));
    Status laid = LayoutCaption();
    RedrawUp();
    Notify(kKeyFont);
    return laid;
}

Status FlarvetButon::SetFontBold(bool v) {
    font_->set_bold(v);
    Status laid = LayoutCaption();
    RedrawUp();
    return laid;
}

Status FlarvetButon::SetFontItalic(bool v) {
    font_->set_italic(v);
    Status laid = LayoutCaption();
    RedrawUp();
    return laid;
}

Status FlarvetButon::SetFontUnderline(bool v) {
    font_->set_underline(v);
    Status laid = LayoutCaption();
    RedrawUp();
    return laid;
}

int16_t FlarvetButon::FontSize() const {
    const float rounded = std::nearbyint(font_->size());
    if (!(rounded >= std::numeric_limits<int16_t>::min() &&
          rounded <= std::numeric_limits<int16_t>::max())) {
        return std::numeric_limits<int16_t>::max();
    }
    return static_cast<int16_t>(rounded);
}

Status FlarvetButon::SetFontSize(int16_t points) {
    if (Status s = font_->set_size(points); !s) return s;
    Status laid = LayoutCaption();
    RedrawUp();
    return laid;
}

Status FlarvetButon::SetFontName(const std::string& name) {
    if (Status s = font_->set_name(name); !s) return s;
    Status laid = LayoutCaption();
    RedrawUp();
    return laid;
}

void FlarvetButon::SetColorScheme(int32_t scheme) {
    color_scheme_ = scheme;
    ComputePalette();
    RedrawUp();
    Notify(kKeyColorScheme);
}

void FlarvetButon::SetShowFocusRect(bool v) {
    show_focus_rect_ = v;
    Redraw();
    Notify(kKeyFocusRect);
}

void FlarvetButon::SetMousePointer(int16_t newPointer) {
    set_mouse_pointer(newPointer);
    Notify(kKeyMousePointer);
}

void FlarvetButon::SetMouseIcon(PictureRef newIcon) {
    set_mouse_icon(std::move(newIcon));
    Notify(kKeyMouseIcon);
}

void FlarvetButon::ApplyHandPointer() {
    if (hand_pointer_) {
        set_mouse_pointer(platform::controls::kPointerCustom);
    } else {
        set_mouse_icon(nullptr);
        set_mouse_pointer(platform::controls::kPointerArrow);
    }
}

void FlarvetButon::SetHandPointer(bool newVal) {
    hand_pointer_ = newVal;
    ApplyHandPointer();
    Notify(kKeyHandPointer);
}

void FlarvetButon::SetSoftBevel(bool v) {
    soft_bevel_ = v;
    ComputePalette();
    Redraw();
    Notify(kKeySoftBevel);
}

Status FlarvetButon::SetPictureNormal(PictureRef newPic) {
    picture_normal_ = std::move(newPic);
    MeasurePicture();
    Status laid = LayoutCaption();
    Redraw();
    Notify(kKeyPictureNormal);
    return laid;
}

void FlarvetButon::SetPictureOver(PictureRef newPic) {
    picture_over_ = std::move(newPic);
    if (is_hovering_) Redraw();
    Notify(kNotifyPictureOver);
}

Status FlarvetButon::SetPicturePosition(int32_t newPicPos) {
    picture_position_ = newPicPos;
    Notify(kKeyPicturePosition);
    Status laid = LayoutCaption();
    Redraw();
    return laid;
}

void FlarvetButon::SetUseMaskColor(bool v) {
    use_mask_color_ = v;
    if (picture_normal_) Redraw();
    Notify(kKeyUseMaskColor);
}

void FlarvetButon::SetUseGreyscale(bool v) {
    use_greyscale_ = v;
    if (picture_normal_) Redraw();
    Notify(kKeyGreyscale);
}

void FlarvetButon::SetSpecialEffect(int32_t v) {
    special_effect_ = v;
    Redraw();
    Notify(kKeySpecialEffect);
}

void FlarvetButon::SetCheckBoxBehaviour(bool v) {
    check_box_behaviour_ = v;
    Redraw();
    Notify(kKeyCheckBox);
}

void FlarvetButon::SetValue(bool v) {
    value_ = v;
    if (check_box_behaviour_) RedrawUp();
    Notify(kKeyValue);
}

Status FlarvetButon::Refresh() {
    if (button_type_ == kTypeSeeThrough) CaptureBackground();
    ComputePalette();
    Status laid = LayoutCaption();
    drawing_enabled_ = true;
    Redraw();
    return laid;
}

// --- geometry and drawing ----------------------------------------------------------

void FlarvetButon::ComputePalette() {
    PaletteInputs in;
    in.scheme = color_scheme_;
    in.button_type = button_type_;
    in.soft_bevel = soft_bevel_;
    in.back_color = back_color_;
    in.fore_color = fore_color_;
    in.fore_over = fore_over_;
    in.mask_color = mask_color_;
    if (color_scheme_ == kSchemeParent) {
        // The colours the parent paints with: a form's or control's own
        // back and fore colours, otherwise those of a context on it.
        const platform::HWND parent = platform::GetParent(hwnd_);
        if (const Form* form = Form::FromWindow(parent)) {
            in.parent_back = form->back_color();
            in.parent_text = platform::SystemColor(platform::COLOR_WINDOWTEXT);
        } else if (const Control* control = Control::FromWindow(parent)) {
            in.parent_back = control->back_color();
            in.parent_text = control->fore_color();
        } else if (auto dc = platform::GetDC(parent)) {
            in.parent_back = dc->bk_color();
            in.parent_text = dc->text_color();
        }
    }
    palette_inputs_ = in;
    palette_ = skin_button::ComputePalette(in);
}

void FlarvetButon::MeasurePicture() {
    if (!picture_normal_) {
        picture_size_ = {};
        return;
    }
    picture_size_ = {platform::HimetricToPixels(picture_normal_->width_himetric()),
                     platform::HimetricToPixels(picture_normal_->height_himetric())};
}

Status FlarvetButon::LayoutCaption() {
    CaptionInputs in;
    in.width = width_;
    in.height = height_;
    in.caption = caption_;
    in.font = font_->desc();
    in.picture_position = picture_position_;
    in.picture = picture_size_;
    in.has_picture = picture_normal_ != nullptr || picture_over_ != nullptr;
    in.previous = layout_;
    auto laid = skin_button::LayoutCaption(in);
    if (!laid) return laid.error();
    layout_ = laid.value();
    return {};
}

Status FlarvetButon::Resize() {
    if (resizing_) return {};
    const Rect client = platform::GetClientRect(hwnd_);
    width_ = client.right;
    height_ = client.bottom;
    focus_rect_ = FocusRectFor(button_type_, width_, height_);
    Status laid = LayoutCaption();
    platform::SetWindowRgn(hwnd_, BuildRegion(button_type_, width_, height_), true);
    if (height_ != 0) RedrawUp();
    return laid;
}

FaceLook FlarvetButon::Look() const {
    FaceLook look;
    look.button_type = button_type_;
    look.width = width_;
    look.height = height_;
    look.scheme = color_scheme_;
    look.soft_bevel = soft_bevel_;
    look.palette = palette_;
    if (is_hovering_) look.palette = HoverPalette(palette_inputs_, back_over_);
    look.enabled = enabled_;
    look.hovering = is_hovering_;
    look.has_focus = has_focus_;
    look.show_focus_rect = show_focus_rect_;
    look.is_default = host_.AmbientDisplayAsDefault();
    look.caption = caption_;
    look.font = font_->desc();
    look.layout = layout_;
    look.focus_rect = focus_rect_;
    look.picture_position = picture_position_;
    look.picture = picture_size_;
    look.has_picture = picture_normal_ != nullptr || picture_over_ != nullptr;
    return look;
}

void FlarvetButon::Draw(int32_t state, bool force) {
    if (check_box_behaviour_ && value_) state = kStateDown;
    if (!force && caption_ == last_caption_ && state == last_state_) return;
    if (height_ == 0 || !drawing_enabled_) return;
    last_state_ = state;
    last_caption_ = caption_;
    auto dc = platform::PersistentDC(hwnd_);
    if (!dc) return;
    SyncArt();
    dc->FillRect(platform::GetClientRect(hwnd_), palette_.face);
    const int32_t drawn = PaintFace(*dc, Look(), state, hooks_, &focus_drawn_);
    if (drawn >= 0) caption_state_ = drawn;
}

void FlarvetButon::UpdateAccessKey() {
    access_key_ = 0;
    const std::string& c = caption_;
    if (c.size() <= 1) return;
    size_t at = c.find('&');
    if (at == std::string::npos || at + 1 >= c.size()) return;
    if (c[at + 1] == '&') {
        // An escaped pair: the key is the letter after the next single "&".
        at = c.find('&', at + 2);
        if (at == std::string::npos || at + 1 >= c.size() || c[at + 1] == '&') return;
    }
    const unsigned char key = static_cast<unsigned char>(c[at + 1]);
    access_key_ = static_cast<char>(key >= 'A' && key <= 'Z' ? key - 'A' + 'a' : key);
}

// --- pictures and the captured background ----------------------------------------

void FlarvetButon::SyncArt() {
    ArtSettings& a = art_.settings;
    a.normal = picture_normal_;
    a.over = picture_over_;
    a.mask_color = mask_color_;
    a.use_mask_color = use_mask_color_;
    a.use_greyscale = use_greyscale_;
    a.special_effect = special_effect_;
    a.background = &background_;
}

void FlarvetButon::CaptureBackground() {
    const platform::HWND parent = platform::GetParent(hwnd_);
    if (!platform::IsWindow(parent) || !platform::IsWindowVisible(parent)) return;
    const Rect bounds = this->bounds();
    const int32_t w = bounds.width();
    const int32_t h = bounds.height();
    if (w <= 0 || h <= 0) return;
    // Shrinking the button leaves the area it covered for the parent to
    // repaint, which it does before the pixels are read; the frame there
    // holds the button's own old picture until then.
    resizing_ = true;
    platform::MoveWindow(hwnd_, bounds.left, bounds.top, w, 0, true);
    platform::UpdateWindow(parent);
    if (auto dc = platform::GetDC(parent)) {
        Surface captured = dc->CreateCompatibleSurface(w, h);
        DC into(captured);
        if (into.BitBlt(0, 0, w, h, *dc, bounds.left, bounds.top))
            background_ = std::move(captured);
    }
    if (platform::IsWindow(hwnd_)) platform::MoveWindow(hwnd_, bounds.left, bounds.top, w, h, true);
    resizing_ = false;
}

// --- interaction -----------------------------------------------------------------------

bool FlarvetButon::IsMouseOver() const {
    return platform::WindowFromPoint(platform::GetCursorPos()) == hwnd_;
}

void FlarvetButon::MoveFocus(bool previous) {
    const platform::HWND next = platform::GetNextTabStop(hwnd_, previous);
    if (next) platform::SetFocus(next);
}

void FlarvetButon::StopTracking() {
    platform::KillTimer(hwnd_, kOverTimerId);
    is_hovering_ = false;
    press_button_ = 0;
    if (platform::GetCapture() == hwnd_) platform::ReleaseCapture();
}

bool FlarvetButon::MousePress(MouseEventArgs& a) {
    if (!Raise(hwnd_, on_mouse_down, a)) return false;
    last_button_ = a.button;
    if (a.button != kRightButton) Draw(kStateDown, false);
    return true;
}

bool FlarvetButon::MouseMove(MouseEventArgs& a) {
    const platform::HWND self = hwnd_;
    if (!Raise(self, on_mouse_move, a)) return false;
    if (a.button != 0 && a.button != kLeftButton) return true;
    if (!IsMouseOver()) {
        Draw(kStateUp, false);  // a press dragged off shows the button up
    } else if (a.button == 0 && !is_hovering_) {
        platform::SetTimer(hwnd_, kOverTimerId, kOverTimerMs);
        is_hovering_ = true;
        Draw(kStateUp, true);
        return Raise(self, on_mouse_over);
    } else if (a.button == kLeftButton) {
        // Dragged back on while held: down, without the hover colours after.
        is_hovering_ = true;
        Draw(kStateDown, false);
        is_hovering_ = false;
    }
    return true;
}

bool FlarvetButon::MouseRelease(MouseEventArgs& a) {
    if (!Raise(hwnd_, on_mouse_up, a)) return false;
    if (a.button != kRightButton) Draw(kStateUp, false);
    return true;
}

bool FlarvetButon::OverTimerTick() {
    if (IsMouseOver()) return true;
    platform::KillTimer(hwnd_, kOverTimerId);
    is_hovering_ = false;
    Draw(kStateUp, true);
    return Raise(hwnd_, on_mouse_out);
}

bool FlarvetButon::ClickProcedure() {
    if (last_button_ != kLeftButton || !enabled_) return true;
    if (check_box_behaviour_) value_ = !value_;
    Draw(kStateUp, true);  // with Value on this is the down look
    platform::UpdateWindow(hwnd_);
    return Raise(hwnd_, on_click);
}

bool FlarvetButon::KeyDown(int16_t code, int16_t shift) {
    if (!Raise(hwnd_, on_key_down, code, shift)) return false;
    last_key_ = static_cast<uint8_t>(code);
    switch (code) {
        case kKeySpace:
            Draw(kStateDown, false);
            break;
        case kKeyLeft:
        case kKeyUp:
            MoveFocus(true);
            break;
        case kKeyRight:
        case kKeyDown:
            MoveFocus(false);
            break;
        default:
            break;
    }
    return true;
}

bool FlarvetButon::KeyUp(int16_t code, int16_t shift) {
    if (!Raise(hwnd_, on_key_up, code, shift)) return false;
    if (last_key_ != kKeySpace || code != kKeySpace) return true;
    // One click per press of the space bar, however many releases follow.
    last_key_ = 0;
    if (check_box_behaviour_) value_ = !value_;
    Draw(kStateUp, false);
    platform::UpdateWindow(hwnd_);
    return Raise(hwnd_, on_click);
}

// --- the window ------------------------------------------------------------------------

platform::LRESULT FlarvetButon::HandleMessage(platform::UINT msg, platform::WPARAM wp,
                                              platform::LPARAM lp) {
    using namespace platform;
    auto args = [&](int16_t button) {
        MouseEventArgs a;
        a.button = button;
        a.shift = ShiftState();
        a.x = static_cast<float>(GET_X_LPARAM(lp));
        a.y = static_cast<float>(GET_Y_LPARAM(lp));
        return a;
    };
    auto button_of = [](UINT m) -> int16_t {
        switch (m) {
            case WM_LBUTTONDOWN:
            case WM_LBUTTONUP:
            case WM_LBUTTONDBLCLK:
                return kLeftButton;
            case WM_RBUTTONDOWN:
            case WM_RBUTTONUP:
            case WM_RBUTTONDBLCLK:
                return kRightButton;
            default:
                return kMiddleButton;
        }
    };
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;  // the persistent surface covers the client area
        case WM_SIZE:
            (void)Resize();
            return 0;
        case WM_SHOWWINDOW:
            if (wp != 0) {
                Shown();
            } else {
                drawing_enabled_ = false;
            }
            return 0;
        case WM_SETFOCUS:
            has_focus_ = true;
            Redraw();
            return Control::HandleMessage(msg, wp, lp);
        case WM_KILLFOCUS:
            has_focus_ = false;
            Redraw();
            return Control::HandleMessage(msg, wp, lp);
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK: {
            // The release comes back here wherever the pointer is by then.
            platform::controls::tooltips::Dismiss();
            press_button_ = button_of(msg);
            press_clicks_ = true;
            SetCapture(hwnd_);
            MouseEventArgs a = args(press_button_);
            (void)MousePress(a);
            return 0;
        }
        case WM_LBUTTONDBLCLK: {
            // The second press of a double click: no click on its release.
            platform::controls::tooltips::Dismiss();
            press_button_ = kLeftButton;
            press_clicks_ = false;
            if (last_button_ == kLeftButton) {
                MouseEventArgs a;
                a.button = kLeftButton;
                if (!MousePress(a)) return 0;
            }
            SetCapture(hwnd_);
            return 0;
        }
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: {
            const int16_t b = button_of(msg);
            const bool click = press_button_ == b && press_clicks_ && IsMouseOver();
            if (press_button_ == b) {
                press_button_ = 0;
                if (GetCapture() == hwnd_) ReleaseCapture();
            }
            MouseEventArgs a = args(b);
            if (!MouseRelease(a)) return 0;
            if (click) (void)ClickProcedure();
            return 0;
        }
        case WM_MOUSEMOVE: {
            platform::controls::tooltips::TrackMouse(hwnd_);
            int16_t held = 0;
            if (wp & MK_LBUTTON) held |= kLeftButton;
            if (wp & MK_RBUTTON) held |= kRightButton;
            if (wp & MK_MBUTTON) held |= kMiddleButton;
            MouseEventArgs a = args(held);
            (void)MouseMove(a);
            return 0;
        }
        case WM_CAPTURECHANGED:
            // Capture taken away mid-press: the press ends without a click.
            if (HwndFromParam(lp) != hwnd_ && press_button_ != 0) {
                press_button_ = 0;
                Draw(kStateUp, false);
            }
            return 0;
        case WM_TIMER:
            if (wp == kOverTimerId) {
                (void)OverTimerTick();
                return 0;
            }
            return Control::HandleMessage(msg, wp, lp);
        case WM_KEYDOWN:
            (void)KeyDown(static_cast<int16_t>(wp), ShiftState());
            return 0;
        case WM_KEYUP:
            (void)KeyUp(static_cast<int16_t>(wp), ShiftState());
            return 0;
        case WM_ACCESSKEY:
            if (access_key_ == 0 || wp != static_cast<unsigned char>(access_key_)) return 0;
            last_button_ = kLeftButton;
            (void)ClickProcedure();
            return 1;
        case WM_SETCURSOR:
            // HandPointer without a picture of its own shows the hand.
            if (hand_pointer_ && !mouse_icon_) {
                SetCursor(Cursor{CursorShape::kHand, {}, {}});
                return 1;
            }
            return Control::HandleMessage(msg, wp, lp);
        default:
            return Control::HandleMessage(msg, wp, lp);
    }
}

void FlarvetButon::ReportState(platform::Json& out) const {
    using platform::Json;
    out.Set("button_type", Json(button_type_));
    out.Set("color_scheme", Json(color_scheme_));
    out.Set("caption", Json(caption_));
    out.Set("access_key", Json(access_key_ == 0 ? std::string() : std::string(1, access_key_)));
    Json font = Json::MakeObject();
    font.Set("face", Json(font_->name()));
    font.Set("size", Json(static_cast<double>(font_->size())));
    font.Set("bold", Json(font_->bold()));
    out.Set("font", std::move(font));
    out.Set("enabled", Json(enabled_));
    out.Set("show_focus_rect", Json(show_focus_rect_));
    out.Set("soft_bevel", Json(soft_bevel_));
    out.Set("special_effect", Json(special_effect_));
    out.Set("check_box", Json(check_box_behaviour_));
    out.Set("value", Json(value_));
    out.Set("back_color", Json(Hex(back_color_)));
    out.Set("back_over", Json(Hex(back_over_)));
    out.Set("fore_color", Json(Hex(fore_color_)));
    out.Set("fore_over", Json(Hex(fore_over_)));
    Json colors = Json::MakeObject();
    colors.Set("face", Json(Hex(palette_.face)));
    colors.Set("text", Json(Hex(palette_.text)));
    colors.Set("text_over", Json(Hex(palette_.text_over)));
    colors.Set("light", Json(Hex(palette_.light)));
    colors.Set("highlight", Json(Hex(palette_.highlight)));
    colors.Set("shadow", Json(Hex(palette_.shadow)));
    colors.Set("dark_shadow", Json(Hex(palette_.dark_shadow)));
    colors.Set("select", Json(Hex(palette_.select)));
    colors.Set("select_light", Json(Hex(palette_.select_light)));
    colors.Set("face_light", Json(Hex(palette_.face_light)));
    out.Set("palette", std::move(colors));
    out.Set("caption_rect", RectJson(layout_.caption));
    out.Set("focus_rect", RectJson(focus_rect_));
    out.Set("shape", Json(ShapeName(button_type_)));
    out.Set("drawing_enabled", Json(drawing_enabled_));
    out.Set("hovering", Json(is_hovering_));
    out.Set("has_focus", Json(has_focus_));
    out.Set("focus_drawn", Json(focus_drawn_));
    out.Set("last_state", Json(last_state_));
    out.Set("last_button", Json(last_button_));
    out.Set("pressed", Json(press_button_ != 0));
    out.Set("caption_state", Json(caption_state_));
}

}  // namespace skin_button
