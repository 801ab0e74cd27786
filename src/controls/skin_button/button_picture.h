// The button's pixel work: its pictures in the up, down and disabled
// states (mask-colour transparency, greyscale, blending, one-colour
// silhouettes), the SpecialEffect copies of the caption and the picture,
// and style 11's captured background.
//
// ButtonArt is the FaceHooks the button paints with. Like the faces it
// works on a drawing context and plain values, so the gallery and the tests
// use it without a window. Pictures are read and written only through DC
// calls, at the device resolution of the context.
#pragma once

#include <cstdint>
#include <optional>

#include "controls/skin_button/button_face.h"
#include "platform/picture.h"
#include "platform/surface.h"

namespace skin_button {

using platform::Picture;
using platform::PictureRef;
using platform::Surface;

// SpecialEffect values; 3 and above draw the drop shadow.
enum SpecialEffect : int32_t {
    kEffectNone = 0,
    kEffectRaised = 1,
    kEffectSunken = 2,
    kEffectShadow = 3,
};

struct PictureBits {
    Color mask = 0;              // the colour that is transparent (MaskColorValue)
    Color icon_back = 0;         // what an icon is drawn over first (MaskColor)
    bool use_mask = true;        // UseMaskColor
    std::optional<Color> shade;  // draw a silhouette in this colour
    bool dark_only = false;      // with a shade: only the picture's dark pixels
    bool greyscale = false;
    bool blend = false;  // two parts picture, one part what lies under it
};

// Copies the w x h top-left part of `picture` onto `dest` at (x, y), one
// device pixel at a time: a pixel whose nearest colour is the mask colour
// keeps what is under it; others become the picture's pixel, its grey, a
// blend, or the shade. An icon is first drawn over `icon_back`. On a
// context of a higher device scale than the picture, the picture is
// enlarged smoothly with its mask-coloured pixels kept out of the blend,
// and each of its pixels decides whether its whole block is transparent.
// Nothing happens when w or h is not positive.
void PaintPictureBits(DC& dest, int32_t x, int32_t y, int32_t w, int32_t h, const Picture& picture,
                      const PictureBits& how);

// Grey of a pixel: red * 0.3 rounded, then green * 0.59 + that +
// blue * 0.11 rounded, halves to even both times.
uint8_t GreyOf(uint8_t red, uint8_t green, uint8_t blue);

// What the button's pictures and effects are drawn from, besides its look.
struct ArtSettings {
    PictureRef normal;            // PictureNormal
    PictureRef over;              // PictureOver
    Color mask_color = 0xC0C0C0;  // the MaskColor property
    bool use_mask_color = true;
    bool use_greyscale = false;
    int32_t special_effect = kEffectNone;
    // Style 11: the pixels behind the button (null or empty for none).
    const Surface* background = nullptr;
};

class ButtonArt : public FaceHooks {
  public:
    ArtSettings settings;

    void DrawBackground(DC& dc, const FaceLook& look) override;
    void DrawTextEffect(DC& dc, const FaceLook& look, const Rect& at,
                        int32_t caption_state) override;
    void DrawPicture(DC& dc, const FaceLook& look, int32_t picture_state,
                     int32_t caption_state) override;

  private:
    void DrawPictureEffect(DC& dc, const FaceLook& look, int32_t offset, const Picture& picture);
    void Paint(DC& dc, const FaceLook& look, int32_t x, int32_t y, const Picture& picture,
               PictureBits how) const;
};

}  // namespace skin_button
