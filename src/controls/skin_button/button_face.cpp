// SPDX-License-Identifier: GPL-3.0-or-later
// The button's geometry (focus rectangle, window shape, caption layout) and
// the painter of its fourteen face styles.
//
// The style routines follow one notation: Fill and Frame take (left, top,
// width, height); Line draws with a one-pixel pen and leaves its end point
// out; Bevel is the two- or four-colour 3D frame. Colours come from the
// palette; Off shifts a colour (halved under SoftBevel).
#include "controls/skin_button/button_face.h"

#include <cmath>
#include <limits>
#include <optional>

#include "platform/surface.h"
#include "platform/text.h"

namespace skin_button {

namespace {

using platform::Color;
using platform::ErrorCode;
using platform::MakeError;

// Caption drawing and measuring flags: word-wrapped, centred both ways.
constexpr uint32_t kCaptionFormat =
    platform::DT_WORDBREAK | platform::DT_VCENTER | platform::DT_CENTER;
constexpr uint32_t kMeasureFormat = platform::DT_CALCRECT | platform::DT_WORDBREAK;

std::optional<Rect> NarrowRect(int64_t l, int64_t t, int64_t r, int64_t b) {
    constexpr int64_t lo = std::numeric_limits<int32_t>::min();
    constexpr int64_t hi = std::numeric_limits<int32_t>::max();
    for (int64_t v : {l, t, r, b}) {
        if (v < lo || v > hi) return std::nullopt;
    }
    return Rect{static_cast<int32_t>(l), static_cast<int32_t>(t), static_cast<int32_t>(r),
                static_cast<int32_t>(b)};
}

// -(k / h) * i with k / h in single precision, rounded to nearest with
// halves to even: the colour step of gradient row i.
int32_t GradientStep(float k, int32_t h, int32_t i) {
    const float per_row = k / static_cast<float>(h);
    const float n = -(per_row * static_cast<float>(i));
    return static_cast<int32_t>(std::nearbyint(n));
}

bool HasText(std::string_view s) {
    return s.find_first_not_of(' ') != std::string_view::npos;
}

class Painter {
  public:
    Painter(DC& dc, const FaceLook& look, FaceHooks* hooks)
        : dc_(dc),
          look_(look),
          pal_(look.palette),
          hooks_(hooks),
          w_(look.width),
          h_(look.height) {}

    int32_t Paint(int32_t state);
    bool focus_drawn() const { return focus_drawn_; }

  private:
    // --- the notation ---------------------------------------------------------
    void Fill(int32_t l, int32_t t, int32_t w, int32_t h, Color c) {
        dc_.FillRect(Rect::FromXYWH(l, t, w, h), c);
    }
    void Frame(int32_t l, int32_t t, int32_t w, int32_t h, Color c) {
        dc_.FrameRect(Rect::FromXYWH(l, t, w, h), c);
    }
    void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Color c) {
        dc_.SetPen({platform::PenStyle::kSolid, 1, c});
        dc_.MoveTo(x1, y1);
        dc_.LineTo(x2, y2);
    }
    void Pixel(int32_t x, int32_t y, Color c) { dc_.SetPixel(x, y, c); }
    void Corners(int32_t inset, Color c) {
        Pixel(inset, inset, c);
        Pixel(inset, h_ - 1 - inset, c);
        Pixel(w_ - 1 - inset, inset, c);
        Pixel(w_ - 1 - inset, h_ - 1 - inset, c);
    }
    void Ellipse(Color pen, Color fill) {
        dc_.SetPen({platform::PenStyle::kSolid, 2, pen});
        dc_.SetBrush({false, fill});
        dc_.Ellipse({0, 0, w_, h_});
    }
    Color Off(Color c, int32_t n) const { return OffsetColor(c, n, false, look_.soft_bevel); }
    Color OffRel(Color c, int32_t n) const { return OffsetColor(c, n, true, look_.soft_bevel); }

    // DrawBevel: c1 top and left, c2 bottom and right, then (unless
    // outer-only) c3 and c4 one pixel further in; `inset` is 0 or negative.
    void Bevel(Color c1, Color c2, Color c3, Color c4, int32_t inset, bool outer_only) {
        const int32_t k = inset < 0 ? -inset : inset;
        const int32_t r = w_ - 1 + inset;
        const int32_t b = h_ - 1 + inset;
        dc_.SetPen({platform::PenStyle::kSolid, 1, c1});
        dc_.MoveTo(k, b);
        dc_.LineTo(k, k);
        dc_.LineTo(r, k);
        dc_.SetPen({platform::PenStyle::kSolid, 1, c2});
        dc_.LineTo(r, b);
        dc_.LineTo(k - 1, b);
        if (outer_only) return;
        dc_.MoveTo(k + 1, b - 1);
        dc_.SetPen({platform::PenStyle::kSolid, 1, c3});
        dc_.LineTo(k + 1, k + 1);
        dc_.LineTo(r - 1, k + 1);
        dc_.SetPen({platform::PenStyle::kSolid, 1, c4});
        dc_.LineTo(r - 1, b - 1);
        dc_.LineTo(k, b - 1);
    }

    void Cap(int32_t k) { caption_state_ = DrawCaption(dc_, look_, k, hooks_); }
    void CapHover() { Cap(look_.hovering ? 1 : 0); }
    void Focus() {
        if (look_.show_focus_rect && look_.has_focus) {
            dc_.SetTextColor(pal_.text);
            dc_.DrawFocusRect(look_.focus_rect);
            focus_drawn_ = true;
        }
    }
    bool DefaultWithFocusRect() const { return look_.show_focus_rect && look_.is_default; }

    // --- the styles ---------------------------------------------------------------
    void Framed(int32_t column);
    void Classic(int32_t column);
    void GradientBlue(int32_t column);
    void Rounded(int32_t column);
    void SoftFlat(int32_t column);
    void LightBevel(int32_t column);
    void ThinEdge(int32_t column);
    void FlatHoverEdge(int32_t column);
    void FlatSelect(int32_t column);
    void SeeThrough(int32_t column);
    void FlatHover3D(int32_t column);
    void EllipseFace(int32_t column);
    void Gradient(int32_t column);
    void GradientRows(float k, Color base, bool relative, bool upward);

    DC& dc_;
    const FaceLook& look_;
    Palette pal_;
    FaceHooks* hooks_;
    int32_t w_;
    int32_t h_;
    int32_t caption_state_ = -1;
    bool focus_drawn_ = false;
};

// Columns of the style tables: what Draw paints for up, down and disabled.
enum Column : int32_t { kUp = 0, kDown = 1, kDisabled = 2 };

int32_t Painter::Paint(int32_t state) {
    Fill(0, 0, w_, h_, pal_.face);
    int32_t column;
    if (!look_.enabled) {
        column = kDisabled;
    } else if (state == kStateUp) {
        column = kUp;
    } else if (state == kStateDown) {
        column = kDown;
    } else {
        return caption_state_;
    }
    switch (look_.button_type) {
        case kTypeFramed:
            Framed(column);
            break;
        case kTypeClassic:
            Classic(column);
            break;
        case kTypeGradientBlue:
            GradientBlue(column);
            break;
        case kTypeRounded:
            Rounded(column);
            break;
        case kTypeSoftFlat:
            SoftFlat(column);
            break;
        case kTypeLightBevel:
            LightBevel(column);
            break;
        case kTypeThinEdge:
            ThinEdge(column);
            break;
        case kTypeFlatHoverEdge:
            FlatHoverEdge(column);
            break;
        case kTypeFlatSelect:
            FlatSelect(column);
            break;
        case kTypePictureOnly:
            break;
        case kTypeSeeThrough:
            SeeThrough(column);
            break;
        case kTypeFlatHover3D:
            FlatHover3D(column);
            break;
        case kTypeEllipse:
            EllipseFace(column);
            break;
        case kTypeGradient:
            Gradient(column);
            break;
        default:
            break;
    }
    if (hooks_ != nullptr) hooks_->DrawPicture(dc_, look_, column, caption_state_);
    return caption_state_;
}

void Painter::Framed(int32_t column) {
    const Color hi = pal_.highlight;
    const Color sh = pal_.shadow;
    if (column == kUp) {
        CapHover();
        Bevel(hi, sh, hi, sh, -1, false);
    } else if (column == kDown) {
        Cap(2);
        Bevel(sh, hi, sh, hi, -1, false);
    } else {
        Cap(3);
        Bevel(hi, sh, hi, sh, -1, false);
    }
    Frame(0, 0, w_, h_, pal_.dark_shadow);
    if (column != kDisabled) Focus();
}

void Painter::Classic(int32_t column) {
    const Color hi = pal_.highlight;
    const Color dk = pal_.dark_shadow;
    const Color lt = pal_.light;
    const Color sh = pal_.shadow;
    if (column == kUp) {
        CapHover();
        if (DefaultWithFocusRect()) {
            Bevel(hi, dk, lt, sh, -1, false);
            Focus();
            Frame(0, 0, w_, h_, dk);
        } else {
            Bevel(hi, dk, lt, sh, 0, false);
        }
    } else if (column == kDown) {
        Cap(2);
        if (DefaultWithFocusRect()) {
            Frame(0, 0, w_, h_, dk);
            Frame(1, 1, w_ - 2, h_ - 2, sh);
            Focus();
        } else {
            Bevel(dk, hi, sh, lt, 0, false);
        }
    } else {
        Cap(3);
        Bevel(hi, dk, lt, sh, 0, false);
    }
}

// One line per pixel row: row i (1 to H) in base shifted by the rounded
// -(k / H) * i, counted from the top, or from the bottom when `upward`.
void Painter::GradientRows(float k, Color base, bool relative, bool upward) {
    for (int32_t i = 1; i <= h_; ++i) {
        const int32_t n = GradientStep(k, h_, i);
        const Color c = relative ? OffRel(base, n) : Off(base, n);
        const int32_t y = upward ? h_ - i : i;
        // Line(0, y -> W, y): the same pixels as a one-row fill, which is
        // cheaper.
        Fill(0, y, w_, 1, c);
    }
}

void Painter::GradientBlue(int32_t column) {
    const Color fl = pal_.face_light;
    const int32_t w = w_;
    const int32_t h = h_;
    auto border = [&] {
        Frame(0, 0, w, h, 0x733C00);
        Corners(1, 0x7B4D10);
    };
    // The six edge shapes of the hover and focus looks.
    auto edges = [&](Color frame, Color bottom, Color top, Color top2, Color left, Color right) {
        Frame(1, 2, w - 2, h - 4, frame);
        Line(2, h - 2, w - 2, h - 2, bottom);
        Line(2, 1, w - 2, 1, top);
        Line(1, 2, w - 1, 2, top2);
        Line(2, 3, 2, h - 3, left);
        Line(w - 3, 3, w - 3, h - 3, right);
    };
    if (column == kUp) {
        GradientRows(25.0f, fl, true, false);
        CapHover();
        border();
        if (look_.hovering) {
            edges(0x31B2FF, 0x0096E7, 0xCEF3FF, 0x8CDBFF, 0x6BCBFF, 0x6BCBFF);
        } else if (look_.show_focus_rect && (look_.has_focus || look_.is_default)) {
            edges(0xE7AE8C, 0xEF826B, 0xFFE7CE, 0xF7D7BD, 0xF0D1B5, 0xF0D1B5);
        } else {
            Line(2, h - 2, w - 2, h - 2, OffRel(fl, -48));
            Line(1, h - 3, w - 2, h - 3, OffRel(fl, -32));
            Line(w - 2, 2, w - 2, h - 2, OffRel(fl, -36));
            Line(w - 3, 3, w - 3, h - 3, OffRel(fl, -24));
            Line(2, 1, w - 2, 1, OffRel(fl, 16));
            Line(1, 2, w - 2, 2, OffRel(fl, 10));
            Line(1, 2, 1, h - 2, OffRel(fl, -5));
            Line(2, 3, 2, h - 3, OffRel(fl, -10));
        }
    } else if (column == kDown) {
        const Color base = OffRel(fl, -32);
        GradientRows(25.0f, base, true, true);
        Cap(2);
        border();
        Line(2, h - 2, w - 2, h - 2, OffRel(base, 16));
        Line(1, h - 3, w - 2, h - 3, OffRel(base, 10));
        Line(w - 2, 2, w - 2, h - 2, OffRel(base, 5));
        Line(w - 3, 3, w - 3, h - 3, fl);
        Line(2, 1, w - 2, 1, OffRel(base, -32));
        Line(1, 2, w - 2, 2, OffRel(base, -24));
        Line(1, 2, 1, h - 2, OffRel(base, -32));
        Line(2, 2, 2, h - 2, OffRel(base, -22));
    } else {
        Fill(0, 0, w, h, OffRel(fl, -24));
        Cap(5);
        Frame(0, 0, w, h, OffRel(fl, -84));
        Corners(1, OffRel(fl, -72));
    }
}

void Painter::Rounded(int32_t column) {
    const int32_t w = w_;
    const int32_t h = h_;
    const Color dk = pal_.dark_shadow;
    const Color sh = pal_.shadow;
    if (column == kDown) {
        const Color sunk = Off(sh, -16);
        Fill(1, 1, w - 2, h - 2, sunk);
        // The effect copies of the pressed caption take the sunken face as
        // their base.
        FaceLook pressed = look_;
        pressed.palette.face_light = sunk;
        caption_state_ = DrawCaption(dc_, pressed, 2, hooks_);
        Frame(0, 0, w, h, dk);
        Frame(1, 1, w - 2, h - 2, Off(sh, -64));
        Frame(2, 2, w - 4, h - 4, Off(sh, -32));
        Pixel(2, 2, Off(sh, -64));
        Pixel(3, 3, Off(sh, -32));
        Corners(1, dk);
        Line(w - 3, 1, w - 3, h - 3, sh);
        Line(1, h - 3, w - 2, h - 3, sh);
        Pixel(w - 4, h - 4, sh);
        Line(w - 2, 3, w - 2, h - 2, sunk);
        Line(3, h - 2, w - 2, h - 2, sunk);
        Line(w - 2, h - 3, w - 4, h - 1, Off(sh, -32));
        Pixel(2, h - 2, Off(sh, -32));
        Pixel(w - 2, 2, Off(sh, -32));
        return;
    }
    const Color face = pal_.face;
    const Color hi = pal_.highlight;
    Fill(1, 1, w - 2, h - 2, pal_.light);
    if (column == kUp) {
        CapHover();
    } else {
        Cap(3);
    }
    Frame(0, 0, w, h, dk);
    Corners(1, dk);
    Line(1, 2, 2, 0, face);
    Line(3, 2, w - 3, 2, hi);
    Line(2, 2, 2, h - 3, hi);
    Pixel(3, 3, hi);
    Line(w - 3, 1, w - 3, h - 3, face);
    Line(1, h - 3, w - 3, h - 3, face);
    Pixel(w - 4, h - 4, face);
    Line(w - 2, 2, w - 2, h - 2, sh);
    Line(2, h - 2, w - 2, h - 2, sh);
    Pixel(w - 3, h - 3, sh);
}

void Painter::SoftFlat(int32_t column) {
    const int32_t w = w_;
    const int32_t h = h_;
    const Color sh = pal_.shadow;
    auto caption_frame = [&] {
        if (!look_.has_focus || !look_.show_focus_rect) return;
        const Rect& c = look_.layout.caption;
        Frame(c.left - 2, c.top - 1, look_.layout.text_width + 4, look_.layout.text_height + 2,
              0xCC9999);
    };
    if (column == kUp) {
        Fill(1, 1, w - 1, h - 1, Off(pal_.face, 12));
        CapHover();
        Frame(1, 1, w - 1, h - 1, pal_.highlight);
        Frame(0, 0, w - 1, h - 1, Off(sh, -26));
        Pixel(1, h - 2, Off(sh, 26));
        Pixel(w - 2, 1, Off(sh, 26));
        caption_frame();
    } else if (column == kDown) {
        Fill(1, 1, w - 2, h - 2, Off(sh, 16));
        Frame(0, 0, w - 1, h - 1, Off(sh, -26));
        Line(w - 1, 1, w - 1, h, pal_.highlight);
        Line(1, h - 1, w - 1, h - 1, pal_.highlight);
        // The pressed caption stays where it is, without effect copies.
        dc_.SetFont(look_.font);
        dc_.SetBkMode(platform::BkMode::kTransparent);
        dc_.SetTextColor(pal_.text_over);
        Rect at = look_.layout.caption;
        dc_.DrawText(look_.caption, at, kCaptionFormat);
        caption_frame();
    } else {
        Cap(4);
        Frame(0, 0, w, h, sh);
    }
}

void Painter::LightBevel(int32_t column) {
    const Color lt = Off(pal_.light, 8);
    const Color sh = pal_.shadow;
    if (column == kUp) {
        CapHover();
        Bevel(lt, sh, lt, sh, 0, false);
        Focus();
    } else if (column == kDown) {
        Cap(2);
        Bevel(sh, lt, sh, lt, 0, false);
        Focus();
    } else {
        Cap(4);
        Bevel(lt, sh, lt, sh, 0, false);
    }
}

void Painter::ThinEdge(int32_t column) {
    const Color hi = pal_.highlight;
    const Color sh = pal_.shadow;
    if (column == kUp) {
        CapHover();
        Bevel(hi, sh, 0, 0, 0, true);
        Focus();
    } else if (column == kDown) {
        Cap(2);
        Bevel(sh, hi, 0, 0, 0, true);
        Focus();
    } else {
        Cap(3);
        Bevel(hi, sh, 0, 0, 0, true);
    }
}

void Painter::FlatHoverEdge(int32_t column) {
    if (column == kUp) {
        CapHover();
        if (look_.hovering) Bevel(pal_.highlight, pal_.shadow, 0, 0, 0, true);
        Focus();
    } else if (column == kDown) {
        Cap(2);
        Bevel(pal_.shadow, pal_.highlight, 0, 0, 0, true);
        Focus();
    } else {
        Cap(3);
    }
}

void Painter::FlatSelect(int32_t column) {
    if (column == kUp) {
        if (look_.hovering) Fill(1, 1, w_, h_, pal_.select_light);
        CapHover();
        if (look_.hovering) Frame(0, 0, w_, h_, pal_.select);
        Focus();
    } else if (column == kDown) {
        if (look_.hovering) {
            const Color c = look_.scheme == kSchemeCustom ? Off(pal_.select_light, -32)
                                                          : LightenColor(pal_.select, 128);
            Fill(0, 0, w_, h_, c);
        }
        Cap(2);
        Frame(0, 0, w_, h_, pal_.select);
        Focus();
    } else {
        Cap(4);
    }
}

void Painter::SeeThrough(int32_t column) {
    if (hooks_ != nullptr) hooks_->DrawBackground(dc_, look_);
    if (column == kUp) {
        CapHover();
        Focus();
    } else if (column == kDown) {
        Cap(2);
        Focus();
    } else {
        Cap(3);
    }
}

void Painter::FlatHover3D(int32_t column) {
    const Color hi = pal_.highlight;
    const Color dk = pal_.dark_shadow;
    const Color lt = pal_.light;
    const Color sh = pal_.shadow;
    if (column == kUp) {
        CapHover();
        if (look_.hovering) Bevel(hi, dk, lt, sh, 0, false);
        Focus();
    } else if (column == kDown) {
        Cap(2);
        Bevel(dk, hi, sh, lt, 0, false);
        Focus();
    } else {
        Cap(3);
    }
}

void Painter::EllipseFace(int32_t column) {
    if (column == kUp) {
        Ellipse(look_.hovering ? pal_.shadow : pal_.face, pal_.face);
        CapHover();
    } else if (column == kDown) {
        Ellipse(pal_.dark_shadow, Off(pal_.face, -32));
        Cap(2);
    } else {
        Cap(3);
    }
}

void Painter::Gradient(int32_t column) {
    const int32_t w = w_;
    const int32_t h = h_;
    const Color hi = pal_.highlight;
    auto frames = [&] {
        Frame(0, 0, w, h, Off(pal_.shadow, -50));
        Frame(1, 1, w - 2, h - 2, Off(pal_.face, -9));
        Fill(2, 2, w - 4, 2, hi);
        Fill(2, 4, 2, h - 6, hi);
    };
    if (column == kDown) {
        Fill(1, 1, w, h, Off(pal_.face, -9));
        Frame(0, 0, w, h, Off(pal_.shadow, -48));
        Line(2, h - 2, w - 2, h - 2, hi);
        Line(w - 2, 2, w - 2, h - 1, hi);
        Cap(7);
        Focus();
        return;
    }
    if (column == kUp && look_.hovering) {
        Fill(0, 0, w, h, pal_.light);
    } else {
        GradientRows(58.0f, hi, false, false);
    }
    if (column == kDisabled) {
        frames();
        Cap(6);
        return;
    }
    if (look_.is_default) {
        // The default button's caption is bold, laid out again for the
        // bolder font; the plain layout stays the button's own.
        FaceLook bold = look_;
        bold.font.bold = true;
        CaptionInputs in;
        in.width = w;
        in.height = h;
        in.caption = look_.caption;
        in.font = bold.font;
        in.picture_position = look_.picture_position;
        in.picture = look_.picture;
        in.has_picture = look_.has_picture;
        in.previous = look_.layout;
        if (auto laid = LayoutCaption(in)) bold.layout = laid.value();
        caption_state_ = DrawCaption(dc_, bold, look_.hovering ? 1 : 0, hooks_);
    } else {
        CapHover();
    }
    frames();
    Focus();
}

}  // namespace

Rect FocusRectFor(int32_t button_type, int32_t width, int32_t height) {
    const Rect client{0, 0, width, height};
    if (button_type >= kTypeThinEdge && button_type <= kTypeEllipse) return client.inflate(-3, -3);
    if (button_type == kTypeGradient) return client.inflate(-5, -5).offset(1, 1);
    return client.inflate(-4, -4);
}

Region BuildRegion(int32_t button_type, int32_t width, int32_t height) {
    const Rect client{0, 0, width, height};
    if (button_type == kTypeEllipse) return Region::Ellipse(client);
    Region shape = Region::FromRect(client);
    auto cut = [&shape](int32_t x, int32_t y) {
        shape = Region::Combine(shape, Region::FromRect({x, y, x + 1, y + 1}),
                                platform::RegionOp::kDiff);
    };
    const int32_t r = width - 1;
    const int32_t b = height - 1;
    switch (button_type) {
        case kTypeFramed:
        case kTypeGradient:
            cut(0, 0);
            cut(r, 0);
            cut(0, b);
            cut(r, b);
            break;
        case kTypeSoftFlat:
            cut(0, b);
            cut(r, 0);
            break;
        case kTypeGradientBlue:
        case kTypeRounded:
            // Two pixels of the outer row and one of the next at each corner.
            cut(0, 0), cut(1, 0), cut(0, 1);
            cut(r, 0), cut(r - 1, 0), cut(r, 1);
            cut(0, b), cut(1, b), cut(0, b - 1);
            cut(r, b), cut(r - 1, b), cut(r, b - 1);
            break;
        default:
            break;
    }
    return shape;
}

platform::Result<CaptionLayout> LayoutCaption(const CaptionInputs& in) {
    const int64_t w = in.width;
    const int64_t h = in.height;
    const int64_t pw = in.picture.cx;
    const int64_t ph = in.picture.cy;
    const int32_t pos = in.picture_position;
    const bool known = pos >= kPictureLeft && pos <= kPictureBehind;

    std::optional<Rect> start;
    switch (pos) {
        case kPictureLeft:
            start = NarrowRect(pw + 1, 1, w - 2, h - 2);
            break;
        case kPictureRight:
            start = NarrowRect(1, 1, w - pw - 2, h - 2);
            break;
        case kPictureAbove:
            start = NarrowRect(1, ph + 1, w - 2, h - 2);
            break;
        case kPictureBelow:
            start = NarrowRect(1, 1, w - 2, h - ph - 2);
            break;
        case kPictureBehind:
            start = NarrowRect(1, 1, w - 2, h - 2);
            break;
        default:
            start = in.previous.caption;
            break;
    }
    if (!start) return MakeError(ErrorCode::kOverflow, "caption rectangle out of range");

    // Measuring only: the scratch surface is never drawn on or shown.
    platform::Surface scratch(1, 1);
    DC measure(scratch);
    measure.SetFont(in.font);
    Rect text = *start;
    measure.DrawText(in.caption, text, kMeasureFormat);

    CaptionLayout out;
    out.text_width = text.width();
    out.text_height = text.height();
    int64_t dx = 0;
    int64_t dy = 0;
    if (pos == kPictureRight) {
        dx = (w - text.right - pw - 4) / 2;
        dy = (h - text.bottom) / 2;
    } else if (pos == kPictureBelow) {
        dx = (w - text.right) / 2;
        dy = (h - text.bottom - ph - 4) / 2;
    } else if (known) {
        dx = (w - text.right) / 2;
        dy = (h - text.bottom) / 2;
    }
    auto moved = NarrowRect(text.left + dx, text.top + dy, text.right + dx, text.bottom + dy);
    auto pressed = NarrowRect(text.left + dx + 1, text.top + dy + 1, text.right + dx + 1,
                              text.bottom + dy + 1);
    if (!moved || !pressed) return MakeError(ErrorCode::kOverflow, "caption out of range");
    out.caption = *moved;
    out.pressed = *pressed;

    // PositionPicture.
    out.picture = in.previous.picture;
    if (in.has_picture) {
        int64_t px = out.picture.x;
        int64_t py = out.picture.y;
        if (HasText(in.caption) && pos != kPictureBehind) {
            switch (pos) {
                case kPictureLeft:
                    px = out.caption.left - pw - 4, py = (h - ph) / 2;
                    break;
                case kPictureRight:
                    px = int64_t{out.caption.right} + 4, py = (h - ph) / 2;
                    break;
                case kPictureAbove:
                    px = (w - pw) / 2, py = out.caption.top - ph - 2;
                    break;
                case kPictureBelow:
                    px = (w - pw) / 2, py = int64_t{out.caption.bottom} + 2;
                    break;
                default:
                    break;
            }
        } else {
            px = (w - pw) / 2;
            py = (h - ph) / 2;
        }
        auto at = NarrowRect(px, py, px, py);
        if (!at) return MakeError(ErrorCode::kOverflow, "picture position out of range");
        out.picture = at->top_left();
    }
    return out;
}

int32_t DrawCaption(DC& dc, const FaceLook& look, int32_t caption_state, FaceHooks* hooks) {
    const Palette& p = look.palette;
    const CaptionLayout& l = look.layout;
    dc.SetFont(look.font);
    dc.SetBkMode(platform::BkMode::kTransparent);
    auto text = [&](Color c, const Rect& at) {
        dc.SetTextColor(c);
        Rect r = at;
        dc.DrawText(look.caption, r, kCaptionFormat);
    };
    auto effect = [&](const Rect& at) {
        if (hooks != nullptr) hooks->DrawTextEffect(dc, look, at, caption_state);
    };
    switch (caption_state) {
        case 0:
            effect(l.caption);
            text(p.text, l.caption);
            break;
        case 1:
            effect(l.caption);
            text(p.text_over, l.caption);
            break;
        case 2:
            effect(l.pressed);
            text(look.button_type == kTypeRounded ? p.light : p.text_over, l.pressed);
            break;
        case 3:
            text(p.highlight, l.pressed);
            text(p.shadow, l.caption);
            break;
        case 4:
            text(p.shadow, l.caption);
            break;
        case 5:
            text(OffsetColor(p.face_light, -104, true, look.soft_bevel), l.caption);
            break;
        case 6:
            text(p.highlight, l.pressed);
            text(p.face, l.caption);
            break;
        case 7:
            text(OffsetColor(p.shadow, -50, false, look.soft_bevel), l.pressed);
            text(p.highlight, l.caption);
            break;
        default:
            break;
    }
    return caption_state;
}

int32_t PaintFace(DC& dc, const FaceLook& look, int32_t state, FaceHooks* hooks,
                  bool* focus_drawn) {
    if (focus_drawn != nullptr) *focus_drawn = false;
    if (look.width <= 0 || look.height <= 0) return -1;
    Painter painter(dc, look, hooks);
    const int32_t caption_state = painter.Paint(state);
    if (focus_drawn != nullptr) *focus_drawn = painter.focus_drawn();
    return caption_state;
}

}  // namespace skin_button
