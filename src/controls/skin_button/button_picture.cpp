// Pictures, effects and the captured background of the owner-drawn button.
#include "controls/skin_button/button_picture.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace skin_button {

namespace {

// Where a picture is drawn, as the picture state column of the face.
enum PictureState : int32_t { kPictureUp = 0, kPictureDown = 1, kPictureDisabled = 2 };

constexpr int32_t kEffectStep = 40;
constexpr uint32_t kCaptionFormat =
    platform::DT_WORDBREAK | platform::DT_VCENTER | platform::DT_CENTER;

// A channel sum above this counts as light for dark-only silhouettes.
constexpr int32_t kDarkLimit = 384;

Color Off(const FaceLook& look, Color c, int32_t n) {
    return OffsetColor(c, n, false, look.soft_bevel);
}

bool FitsAt(int64_t at, int64_t size) {
    return at + size <= std::numeric_limits<int32_t>::max() &&
           at >= std::numeric_limits<int32_t>::min();
}

}  // namespace

uint8_t GreyOf(uint8_t red, uint8_t green, uint8_t blue) {
    const double r3 = std::nearbyint(red * 0.3);
    const double g = std::nearbyint(green * 0.59 + r3 + blue * 0.11);
    return static_cast<uint8_t>(std::clamp(g, 0.0, 255.0));
}

namespace {

// Device-independent rows of `width` pixels, and where pixel (col, row) of
// them starts.
struct Rows {
    std::vector<uint8_t> bits;
    int32_t width = 0;
    size_t at(int32_t col, int32_t row) const {
        return static_cast<size_t>(row) * static_cast<size_t>(DC::DibRowBytes(width)) +
               static_cast<size_t>(col) * 3;
    }
};

// Gives each transparent pixel the mean of its opaque neighbours, so that
// enlarging the picture smoothly blends no mask colour into the edges of
// what shows.
Rows BleedIntoTransparent(const Rows& pic, int32_t height, const std::vector<bool>& clear) {
    Rows out = pic;
    const int32_t w = pic.width;
    for (int32_t row = 0; row < height; ++row) {
        for (int32_t col = 0; col < w; ++col) {
            if (!clear[static_cast<size_t>(row) * w + col]) continue;
            int32_t sum[3] = {0, 0, 0};
            int32_t n = 0;
            for (int32_t r = std::max(row - 1, 0); r <= std::min(row + 1, height - 1); ++r) {
                for (int32_t c = std::max(col - 1, 0); c <= std::min(col + 1, w - 1); ++c) {
                    if (clear[static_cast<size_t>(r) * w + c]) continue;
                    const size_t i = pic.at(c, r);
                    for (int k = 0; k < 3; ++k) sum[k] += pic.bits[i + k];
                    ++n;
                }
            }
            if (n == 0) continue;
            const size_t i = out.at(col, row);
            for (int k = 0; k < 3; ++k)
                out.bits[i + k] = static_cast<uint8_t>((sum[k] + n / 2) / n);
        }
    }
    return out;
}

}  // namespace

void PaintPictureBits(DC& dest, int32_t x, int32_t y, int32_t w, int32_t h, const Picture& picture,
                      const PictureBits& how) {
    if (w <= 0 || h <= 0 || !FitsAt(x, w) || !FitsAt(y, h)) return;
    const int32_t scale = dest.scale();
    if (int64_t{w} * scale > platform::kMaxSurfaceSide ||
        int64_t{h} * scale > platform::kMaxSurfaceSide) {
        return;
    }
    auto is_mask = [&](uint8_t b, uint8_t g, uint8_t r) {
        return how.use_mask && dest.GetNearestColor(platform::Rgb(r, g, b)) == how.mask;
    };

    // The picture at its own size over the icon background; what it does
    // not cover keeps that colour. Its pixels and transparency are read at
    // device resolution.
    Surface source = dest.CreateCompatibleSurface(w, h, how.icon_back);
    DC source_dc(source);
    // Which device pixels are transparent, one flag a pixel of `pic`.
    std::vector<bool> clear;
    if (scale <= picture.pixels().scale()) {
        source_dc.DrawPicture(picture, 0, 0);
    } else {
        // A picture of a lower resolution is enlarged smoothly: the mask
        // colour is judged on its own pixels, each deciding its whole
        // block, and is kept out of the blend along the edges.
        Surface own(w, h, dest.GetNearestColor(how.icon_back));
        DC own_dc(own);
        own_dc.DrawPicture(picture, 0, 0);
        Rows flat{own_dc.GetDIBits24({0, 0, w, h}), w};
        std::vector<bool> own_clear(static_cast<size_t>(w) * h);
        for (int32_t row = 0; row < h; ++row) {
            for (int32_t col = 0; col < w; ++col) {
                const size_t i = flat.at(col, row);
                own_clear[static_cast<size_t>(row) * w + col] =
                    is_mask(flat.bits[i], flat.bits[i + 1], flat.bits[i + 2]);
            }
        }
        own_dc.SetDIBits24({0, 0, w, h}, BleedIntoTransparent(flat, h, own_clear).bits);
        source_dc.BitBlt(0, 0, w, h, own_dc, 0, 0);
        clear.resize(static_cast<size_t>(w) * scale * h * scale);
        for (int32_t row = 0; row < h * scale; ++row) {
            for (int32_t col = 0; col < w * scale; ++col) {
                clear[static_cast<size_t>(row) * w * scale + col] =
                    own_clear[static_cast<size_t>(row / scale) * w + col / scale];
            }
        }
    }

    const Rect box = Rect::FromXYWH(x, y, w, h);
    Rows under{dest.GetDeviceBits24(box), w * scale};
    const Rows pic{source_dc.GetDeviceBits24({0, 0, w, h}), w * scale};
    if (under.bits.empty() || under.bits.size() != pic.bits.size()) return;

    uint8_t shade[3] = {0, 0, 0};  // blue, green, red
    if (how.shade) {
        shade[0] = platform::BlueOf(*how.shade);
        shade[1] = platform::GreenOf(*how.shade);
        shade[2] = platform::RedOf(*how.shade);
    }
    for (int32_t row = 0; row < h * scale; ++row) {
        for (int32_t col = 0; col < pic.width; ++col) {
            const size_t i = pic.at(col, row);
            const uint8_t sb = pic.bits[i], sg = pic.bits[i + 1], sr = pic.bits[i + 2];
            if (clear.empty() ? is_mask(sb, sg, sr)
                              : clear[static_cast<size_t>(row) * pic.width + col]) {
                continue;
            }
            uint8_t* b = &under.bits[i];
            if (how.shade) {
                if (how.dark_only && sr + sg + sb > kDarkLimit) continue;
                b[0] = shade[0];
                b[1] = shade[1];
                b[2] = shade[2];
            } else if (how.greyscale) {
                const uint8_t g = GreyOf(sr, sg, sb);
                b[0] = b[1] = b[2] = g;
            } else if (how.blend) {
                b[0] = static_cast<uint8_t>((2 * sb + b[0]) / 3);
                b[1] = static_cast<uint8_t>((2 * sg + b[1]) / 3);
                b[2] = static_cast<uint8_t>((2 * sr + b[2]) / 3);
            } else {
                b[0] = sb;
                b[1] = sg;
                b[2] = sr;
            }
        }
    }
    dest.SetDeviceBits24(box, under.bits);
}

void ButtonArt::Paint(DC& dc, const FaceLook& look, int32_t x, int32_t y, const Picture& picture,
                      PictureBits how) const {
    how.mask = look.palette.mask;
    how.icon_back = settings.mask_color;
    how.use_mask = settings.use_mask_color;
    PaintPictureBits(dc, x, y, look.picture.cx, look.picture.cy, picture, how);
}

void ButtonArt::DrawBackground(DC& dc, const FaceLook& look) {
    const Surface* back = settings.background;
    if (back == nullptr || back->empty()) return;
    // Read-only: a source context never writes to its surface.
    DC src(const_cast<Surface&>(*back));
    dc.BitBlt(0, 0, look.width, look.height, src, 0, 0);
}

void ButtonArt::DrawTextEffect(DC& dc, const FaceLook& look, const Rect& at,
                               int32_t caption_state) {
    const int32_t effect = settings.special_effect;
    if (effect <= kEffectNone) return;
    const Palette& p = look.palette;
    const int32_t type = look.button_type;
    const bool drawing_up = caption_state == 0 || caption_state == 1;
    Color base = p.face;
    if (type == kTypeGradientBlue || type == kTypeRounded || type == kTypeGradient) {
        base = p.face_light;
    } else if (drawing_up && look.hovering && look.scheme != kSchemeCustom &&
               type == kTypeFlatSelect) {
        base = p.select_light;
    }
    const int32_t k = effect == kEffectSunken ? kEffectStep : -kEffectStep;
    dc.SetFont(look.font);
    dc.SetBkMode(platform::BkMode::kTransparent);
    auto copy = [&](Color c, int32_t d) {
        dc.SetTextColor(c);
        Rect r = at.offset(d, d);
        dc.DrawText(look.caption, r, kCaptionFormat);
    };
    copy(Off(look, base, k), 1);
    if (effect == kEffectRaised || effect == kEffectSunken) copy(Off(look, base, -k), -1);
}

void ButtonArt::DrawPictureEffect(DC& dc, const FaceLook& look, int32_t offset,
                                  const Picture& picture) {
    const int32_t effect = settings.special_effect;
    if (effect <= kEffectNone) return;
    const Palette& p = look.palette;
    Color base = p.select_light;
    if (look.button_type == kTypeGradientBlue) {
        base = p.face_light;
    } else if (offset != -1 || look.scheme == kSchemeCustom) {
        base = p.face;
    }
    const int32_t k = effect == kEffectSunken ? kEffectStep : -kEffectStep;
    const Point at = look.layout.picture;
    PictureBits how;
    how.shade = Off(look, base, k);
    Paint(dc, look, at.x + offset + 1, at.y + offset + 1, picture, how);
    if (effect == kEffectRaised || effect == kEffectSunken) {
        how.shade = Off(look, base, -k);
        Paint(dc, look, at.x + offset - 1, at.y + offset - 1, picture, how);
    }
}

void ButtonArt::DrawPicture(DC& dc, const FaceLook& look, int32_t picture_state,
                            int32_t caption_state) {
    if (!settings.normal) return;
    const Picture& pn = *settings.normal;
    const Picture* po = settings.over.get();
    const Palette& pal = look.palette;
    const int32_t type = look.button_type;
    const int32_t px = look.layout.picture.x;
    const int32_t py = look.layout.picture.y;
    PictureBits copy;

    switch (picture_state) {
        case kPictureUp:
            if (!look.hovering) {
                DrawPictureEffect(dc, look, 0, pn);
                PictureBits how;
                how.greyscale = settings.use_greyscale;
                how.blend = !settings.use_greyscale && type == kTypeFlatSelect;
                Paint(dc, look, px, py, pn, how);
            } else if (type == kTypeFlatSelect) {
                // The picture lifts up and left over its own shadow.
                DrawPictureEffect(dc, look, -1, pn);
                PictureBits shadow;
                shadow.shade = pal.shadow;
                Paint(dc, look, px + 1, py + 1, pn, shadow);
                Paint(dc, look, px - 1, py - 1, pn, copy);
            } else {
                const Picture& shown = po != nullptr ? *po : pn;
                DrawPictureEffect(dc, look, 0, shown);
                Paint(dc, look, px, py, shown, copy);
            }
            break;
        case kPictureDown:
            if (po != nullptr && type != kTypeFlatSelect) {
                const int32_t d = type == kTypeSoftFlat ? 0 : 1;
                Paint(dc, look, px + d, py + d, *po, copy);
            } else if (type != kTypeSoftFlat && type != kTypeFlatSelect) {
                DrawPictureEffect(dc, look, 1, pn);
                Paint(dc, look, px + 1, py + 1, pn, copy);
            } else {
                DrawPictureEffect(dc, look, 0, pn);
                Paint(dc, look, px, py, pn, copy);
            }
            break;
        case kPictureDisabled: {
            PictureBits how;
            if (type == kTypeGradientBlue) {
                how.greyscale = true;
                Paint(dc, look, px + 1, py + 1, pn, how);
            } else if (type == kTypeSoftFlat || type == kTypeLightBevel ||
                       type == kTypeFlatSelect) {
                how.dark_only = true;
                how.shade = type == kTypeFlatSelect ? Off(look, pal.shadow, 13) : pal.shadow;
                Paint(dc, look, px, py, pn, how);
            } else {
                // Engraved: a light copy below-right of a dark one.
                how.dark_only = true;
                how.shade = pal.highlight;
                Paint(dc, look, px + 1, py + 1, pn, how);
                how.shade = pal.shadow;
                Paint(dc, look, px, py, pn, how);
            }
            break;
        }
        default:
            return;
    }
    if (look.picture_position == kPictureBehind && caption_state >= 0) {
        DrawCaption(dc, look, caption_state, this);
    }
}

}  // namespace skin_button
