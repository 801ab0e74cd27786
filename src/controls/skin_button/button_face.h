// SPDX-License-Identifier: GPL-3.0-or-later
// The button's geometry and its painter: where the caption, the picture and
// the focus rectangle go, the window shape of each style, and the faces of
// the fourteen ButtonType styles in their up, down and disabled states.
//
// Everything here works on a drawing context and plain values, with no
// window: the component paints its persistent surface through PaintFace,
// and the gallery and the benchmark paint wherever they like. All
// coordinates are program pixels and every pixel goes through DC calls, so
// the faces come out right at any device scale.
//
// Pictures, the SpecialEffect copies of the caption and the captured
// background of style 11 are not drawn here; FaceHooks is where they plug
// in.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "controls/skin_button/button_colors.h"
#include "platform/dc.h"
#include "platform/error.h"
#include "platform/font.h"
#include "platform/geometry.h"
#include "platform/region.h"

namespace skin_button {

using platform::DC;
using platform::FontDesc;
using platform::Point;
using platform::Rect;
using platform::Region;
using platform::Size;

// The states Draw paints: up and down. Other values paint only the face.
enum DrawState : int32_t { kStateUp = 0, kStateDown = 2 };

// PicturePosition values: the picture left of, right of, above, below or
// behind the caption.
enum PicturePosition : int32_t {
    kPictureLeft = 0,
    kPictureRight = 1,
    kPictureAbove = 2,
    kPictureBelow = 3,
    kPictureBehind = 4,
};

// The styles 1 to 14 by what they look like.
enum ButtonType : int32_t {
    kTypeFramed = 1,
    kTypeClassic = 2,
    kTypeGradientBlue = 3,
    kTypeRounded = 4,
    kTypeSoftFlat = 5,
    kTypeLightBevel = 6,
    kTypeThinEdge = 7,
    kTypeFlatHoverEdge = 8,
    kTypeFlatSelect = 9,
    kTypePictureOnly = 10,
    kTypeSeeThrough = 11,
    kTypeFlatHover3D = 12,
    kTypeEllipse = 13,
    kTypeGradient = 14,
};

// The dotted focus rectangle's place for a style in a W x H client area.
Rect FocusRectFor(int32_t button_type, int32_t width, int32_t height);

// The window shape of a style: the client rectangle with corner pixels cut
// away (styles 1, 3, 4, 5, 14) or the inscribed ellipse (style 13).
Region BuildRegion(int32_t button_type, int32_t width, int32_t height);

struct CaptionLayout {
    Rect caption;  // CaptionRect: where the (wrapped) caption is drawn
    Rect pressed;  // PressedCaptionRect: the same moved 1 right and 1 down
    int32_t text_width = 0;
    int32_t text_height = 0;
    Point picture;  // top-left of the picture box
};

struct CaptionInputs {
    int32_t width = 0;
    int32_t height = 0;
    std::string_view caption;
    FontDesc font;
    int32_t picture_position = kPictureLeft;
    Size picture;              // pw x ph; 0 x 0 without PictureNormal
    bool has_picture = false;  // PictureNormal or PictureOver is set
    // A PicturePosition outside 0 to 4 starts from the previous layout.
    CaptionLayout previous;
};

// Measures the word-wrapped caption ("&" marks the access key) in the font
// and centres it in the room the picture leaves; then places the picture.
// Fails with error 6 when the geometry leaves the 32-bit range.
platform::Result<CaptionLayout> LayoutCaption(const CaptionInputs& in);

// Everything a face is painted from.
struct FaceLook {
    int32_t button_type = kTypeClassic;
    int32_t width = 0;
    int32_t height = 0;
    int32_t scheme = kSchemeSystem;
    bool soft_bevel = false;
    // The colours to paint with: for scheme 2 while hovering, those
    // computed from BackOver.
    Palette palette;
    bool enabled = true;
    bool hovering = false;
    bool has_focus = false;
    bool show_focus_rect = true;
    bool is_default = false;  // the host shows the button as its default
    std::string caption;
    FontDesc font;
    CaptionLayout layout;
    Rect focus_rect;
    // For laying the caption out again in bold (style 14, default button).
    int32_t picture_position = kPictureLeft;
    Size picture;
    bool has_picture = false;
};

// Where the picture, the caption's special effect and the captured
// background of style 11 are drawn. The defaults draw nothing.
class FaceHooks {
  public:
    virtual ~FaceHooks() = default;
    // Style 11: the pixels behind the button, over the whole client area.
    virtual void DrawBackground(DC& /*dc*/, const FaceLook& /*look*/) {}
    // The SpecialEffect copies of the caption, drawn before the caption
    // itself at `at` (CaptionRect or PressedCaptionRect).
    virtual void DrawTextEffect(DC& /*dc*/, const FaceLook& /*look*/, const Rect& /*at*/,
                                int32_t /*caption_state*/) {}
    // The picture: state 0 after the up face, 1 after the down face, 2
    // after the disabled face. `caption_state` is the caption state drawn
    // last (-1 for none), for drawing the caption again over a picture
    // behind it (DrawCaption).
    virtual void DrawPicture(DC& /*dc*/, const FaceLook& /*look*/, int32_t /*picture_state*/,
                             int32_t /*caption_state*/) {}
};

// Draws the caption in caption state 0 to 7 (colours and places of the
// caption table); returns the state.
int32_t DrawCaption(DC& dc, const FaceLook& look, int32_t caption_state,
                    FaceHooks* hooks = nullptr);

// Paints the whole face for `state` on a context whose (0, 0) is the
// button's top-left: the face fill, the style's drawing (the disabled face
// when look.enabled is false), then the picture hook. Returns the caption
// state drawn last, or -1 when no caption was drawn; `focus_drawn`, when
// given, tells whether the dotted focus rectangle was drawn.
int32_t PaintFace(DC& dc, const FaceLook& look, int32_t state, FaceHooks* hooks = nullptr,
                  bool* focus_drawn = nullptr);

}  // namespace skin_button
