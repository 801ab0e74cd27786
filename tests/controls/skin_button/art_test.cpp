// The button's pixel work at exact pixels: mask-colour transparency,
// greyscale, blending and silhouettes of PaintPictureBits; the pictures of
// the up, hover, down and disabled states; the special effects of the
// picture and the caption; and style 11's captured background.
#include <gtest/gtest.h>

#include <memory>

#include "controls/skin_button/button_picture.h"
#include "controls/skin_button/flarvet_button.h"
#include "controls/skin_button/sample_look.h"
#include "platform/controls/form.h"
#include "platform/headless/headless_backend.h"
#include "platform/text.h"

namespace skin_button {
namespace {

using namespace platform;

constexpr Color kMask = 0xC0C0C0;
constexpr Color kUnder = Rgb(50, 60, 70);
constexpr Color kRed = Rgb(255, 0, 0);
constexpr Color kWhite = Rgb(255, 255, 255);
constexpr Color kMid = Rgb(128, 128, 128);  // channel sum exactly 384
constexpr Color kMarker = Rgb(10, 20, 30);

// 5 x 3, a width whose rows are padded: mask, red, white, mid, blue on the
// top row; the marker in the bottom-right corner.
Picture Test5x3(PictureKind kind = PictureKind::kBitmap) {
    Surface s(5, 3, Rgb(0, 0, 200));
    s.set_pixel(0, 0, kMask);
    s.set_pixel(1, 0, kRed);
    s.set_pixel(2, 0, kWhite);
    s.set_pixel(3, 0, kMid);
    s.set_pixel(4, 2, kMarker);
    return Picture(std::move(s), kind);
}

Surface PaintBits(const Picture& p, PictureBits how) {
    Surface dest(20, 10, kUnder);
    DC dc(dest);
    how.mask = kMask;
    how.icon_back = kMask;
    PaintPictureBits(dc, 3, 2, 5, 3, p, how);
    return dest;
}

TEST(PictureBits, MaskColourPixelsKeepWhatIsUnderThem) {
    const Picture p = Test5x3();
    Surface on = PaintBits(p, {});
    EXPECT_EQ(on.pixel(3, 2), kUnder);
    EXPECT_EQ(on.pixel(4, 2), kRed);
    EXPECT_EQ(on.pixel(7, 4), kMarker);  // rows are not shifted
    EXPECT_EQ(on.pixel(8, 4), kUnder);   // nothing beyond the box
    EXPECT_EQ(on.pixel(2, 2), kUnder);
    PictureBits off;
    off.use_mask = false;
    EXPECT_EQ(PaintBits(p, off).pixel(3, 2), kMask);

    // An icon is drawn over the mask colour, so its own transparent pixels
    // vanish too.
    Picture icon = Test5x3(PictureKind::kIcon);
    std::vector<uint8_t> mask(15, 1);
    mask[1] = 0;  // the red pixel is transparent in the icon
    icon.set_mask(mask);
    EXPECT_EQ(PaintBits(icon, {}).pixel(4, 2), kUnder);
    EXPECT_EQ(PaintBits(icon, off).pixel(4, 2), kMask);

    // A size of 0 draws nothing.
    Surface dest(4, 4, kUnder);
    DC dc(dest);
    PaintPictureBits(dc, 0, 0, 0, 3, p, off);
    EXPECT_EQ(dest.pixel(0, 0), kUnder);
}

TEST(PictureBits, GreyBlendAndSilhouettes) {
    EXPECT_EQ(GreyOf(255, 0, 0), 76);
    EXPECT_EQ(GreyOf(255, 255, 255), 254);
    EXPECT_EQ(GreyOf(0, 0, 0), 0);
    const Picture p = Test5x3();

    PictureBits grey;
    grey.greyscale = true;
    Surface g = PaintBits(p, grey);
    EXPECT_EQ(g.pixel(4, 2), Rgb(76, 76, 76));
    EXPECT_EQ(g.pixel(5, 2), Rgb(254, 254, 254));
    EXPECT_EQ(g.pixel(3, 2), kUnder);

    PictureBits blend;
    blend.blend = true;
    EXPECT_EQ(PaintBits(p, blend).pixel(4, 2), Rgb(186, 20, 23));

    PictureBits all;
    all.shade = Rgb(1, 2, 3);
    Surface s = PaintBits(p, all);
    EXPECT_EQ(s.pixel(4, 2), Rgb(1, 2, 3));
    EXPECT_EQ(s.pixel(5, 2), Rgb(1, 2, 3));
    EXPECT_EQ(s.pixel(3, 2), kUnder);

    PictureBits dark = all;
    dark.dark_only = true;
    Surface d = PaintBits(p, dark);
    EXPECT_EQ(d.pixel(4, 2), Rgb(1, 2, 3));  // red: sum 255
    EXPECT_EQ(d.pixel(5, 2), kUnder);        // white stays invisible
    EXPECT_EQ(d.pixel(6, 2), Rgb(1, 2, 3));  // sum 384 is not above it
    // A black shade is a shade too.
    dark.shade = Rgb(0, 0, 0);
    EXPECT_EQ(PaintBits(p, dark).pixel(4, 2), Rgb(0, 0, 0));
}

// At scale 2 the picture's pixels are worked on at device resolution: what
// shows equals the picture enlarged smoothly by the platform, the face
// under it keeps its device detail, and no mask colour bleeds into the
// edges of what shows.
TEST(PictureBits, AtScaleTwoWorkOnDevicePixels) {
    // Black and white halves without any mask colour: a plain copy is the
    // platform's smooth enlargement, ramp and all.
    Surface halves(4, 2, 0);
    for (int32_t y = 0; y < 2; ++y) {
        halves.set_pixel(2, y, kWhite);
        halves.set_pixel(3, y, kWhite);
    }
    const Picture ramp(std::move(halves), PictureKind::kBitmap);
    Surface painted = Surface::AtScale(8, 4, 2, kUnder);
    Surface drawn = Surface::AtScale(8, 4, 2, kUnder);
    DC painted_dc(painted);
    DC drawn_dc(drawn);
    PictureBits copy;
    copy.mask = kMask;
    copy.icon_back = kMask;
    PaintPictureBits(painted_dc, 2, 1, 4, 2, ramp, copy);
    drawn_dc.DrawPicture(ramp, 2, 1);
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 16; ++x) ASSERT_EQ(painted.pixel(x, y), drawn.pixel(x, y)) << x;
    EXPECT_NE(painted.pixel(7, 2), painted.pixel(6, 2));  // a ramp, not 2 x 2 blocks

    // A red cross on the mask colour: the red blocks stay pure red, the
    // mask blocks keep the face, and its one-device-pixel detail survives.
    Surface cross(3, 3, kMask);
    for (int32_t i = 0; i < 3; ++i) {
        cross.set_pixel(1, i, kRed);
        cross.set_pixel(i, 1, kRed);
    }
    const Picture plus(std::move(cross), PictureKind::kBitmap);
    Surface face = Surface::AtScale(8, 8, 2, kUnder);
    face.set_pixel(5, 5, kMarker);  // device pixel inside the top-left mask block
    DC face_dc(face);
    PaintPictureBits(face_dc, 2, 2, 3, 3, plus, copy);
    for (int32_t y = 4; y < 10; ++y) {
        for (int32_t x = 4; x < 10; ++x) {
            const bool red = (x / 2 == 3) || (y / 2 == 3);
            if (x == 5 && y == 5) continue;
            EXPECT_EQ(face.pixel(x, y), red ? kRed : kUnder) << x << "," << y;
        }
    }
    EXPECT_EQ(face.pixel(5, 5), kMarker);

    // Blending mixes each device pixel with what lies under that pixel.
    Surface under = Surface::AtScale(4, 4, 2, kUnder);
    under.set_pixel(3, 3, kWhite);
    DC under_dc(under);
    PictureBits blend = copy;
    blend.blend = true;
    PaintPictureBits(under_dc, 1, 1, 2, 2, Picture(Surface(2, 2, 0), PictureKind::kBitmap), blend);
    EXPECT_EQ(under.pixel(3, 3), Rgb(85, 85, 85));
    EXPECT_EQ(under.pixel(2, 2), Rgb(16, 20, 23));

    // An icon's transparent pixel keeps its whole block.
    Picture icon = Test5x3(PictureKind::kIcon);
    std::vector<uint8_t> mask(15, 1);
    mask[1] = 0;
    icon.set_mask(mask);
    Surface on_icon = Surface::AtScale(10, 5, 2, kUnder);
    DC icon_dc(on_icon);
    PaintPictureBits(icon_dc, 0, 0, 5, 3, icon, copy);
    for (int32_t y : {0, 1})
        for (int32_t x : {2, 3}) EXPECT_EQ(on_icon.pixel(x, y), kUnder);
    EXPECT_EQ(on_icon.pixel(9, 5), kMarker);  // the marker's block, bottom-right
}

// A 4 x 4 picture with a white top-left pixel and dark red elsewhere.
PictureRef Square(Color c = Rgb(128, 0, 0)) {
    Surface s(4, 4, c);
    s.set_pixel(0, 0, kWhite);
    return std::make_shared<Picture>(std::move(s), PictureKind::kBitmap);
}

struct Painted {
    Surface pixels;
    FaceLook look;
    int32_t px = 0;
    int32_t py = 0;
    Color at(int32_t dx, int32_t dy) const { return pixels.pixel(px + dx, py + dy); }
};

Painted PaintArt(int32_t type, ButtonArt& art, int32_t state = kStateUp, bool enabled = true,
                 bool hovering = false, std::string caption = "") {
    SampleButton b;
    b.button_type = type;
    b.scheme = kSchemeGrey;
    b.caption = std::move(caption);
    b.font = FontDesc{kTestFontName, 12};
    b.enabled = enabled;
    b.hovering = hovering;
    b.show_focus_rect = false;
    b.picture = {4, 4};
    auto look = MakeSampleLook(b);
    EXPECT_TRUE(look.ok());
    Painted out{Surface(b.width, b.height, Rgb(1, 2, 3)), look.value()};
    DC dc(out.pixels);
    PaintFace(dc, out.look, state, &art);
    out.px = out.look.layout.picture.x;
    out.py = out.look.layout.picture.y;
    return out;
}

TEST(ButtonArt, PicturesOfTheUpDownAndHoverStates) {
    ButtonArt art;
    art.settings.normal = Square();
    Painted up = PaintArt(kTypeClassic, art);
    const Color face = up.look.palette.face;
    EXPECT_EQ(up.at(0, 0), kWhite);
    EXPECT_EQ(up.at(1, 1), Rgb(128, 0, 0));
    EXPECT_EQ(up.at(4, 4), face);

    Painted down = PaintArt(kTypeClassic, art, kStateDown);
    EXPECT_EQ(down.at(1, 1), kWhite);  // moved 1 right and 1 down
    EXPECT_EQ(down.at(0, 0), face);

    art.settings.use_greyscale = true;
    EXPECT_EQ(PaintArt(kTypeClassic, art).at(1, 1), Rgb(38, 38, 38));
    art.settings.use_greyscale = false;

    // Hovering: PictureOver replaces the picture; pressed it moves by 1
    // except in style 5.
    art.settings.over = Square(Rgb(0, 0, 128));
    EXPECT_EQ(PaintArt(kTypeClassic, art, kStateUp, true, true).at(1, 1), Rgb(0, 0, 128));
    EXPECT_EQ(PaintArt(kTypeClassic, art, kStateDown, true, true).at(2, 2), Rgb(0, 0, 128));
    EXPECT_EQ(PaintArt(kTypeSoftFlat, art, kStateDown, true, true).at(1, 1), Rgb(0, 0, 128));
    art.settings.over = nullptr;

    // Style 9 under the pointer lifts the picture up and left over its
    // shadow; away from it the picture is blended into the face.
    Painted lift = PaintArt(kTypeFlatSelect, art, kStateUp, true, true);
    EXPECT_EQ(lift.at(0, 0), Rgb(128, 0, 0));  // picture (1, 1) at -1
    EXPECT_EQ(lift.at(3, 3), lift.look.palette.shadow);
    Painted blended = PaintArt(kTypeFlatSelect, art);
    const Color bface = blended.look.palette.face;
    EXPECT_EQ(blended.at(1, 1),
              Rgb((2 * 128 + RedOf(bface)) / 3, GreenOf(bface) / 3, BlueOf(bface) / 3));
}

TEST(ButtonArt, DisabledPicturesAreEngravedOrGreyed) {
    ButtonArt art;
    art.settings.normal = Square();
    Painted engraved = PaintArt(kTypeClassic, art, kStateUp, false);
    const Palette& pal = engraved.look.palette;
    EXPECT_EQ(engraved.at(0, 0), pal.face);       // white is invisible
    EXPECT_EQ(engraved.at(1, 1), pal.shadow);     // the dark copy on top
    EXPECT_EQ(engraved.at(4, 4), pal.highlight);  // the light copy below-right
    EXPECT_EQ(engraved.at(4, 1), pal.highlight);

    Painted flat = PaintArt(kTypeSoftFlat, art, kStateUp, false);
    EXPECT_EQ(flat.at(1, 1), flat.look.palette.shadow);
    EXPECT_EQ(flat.at(4, 4), flat.look.palette.face);

    Painted blue = PaintArt(kTypeGradientBlue, art, kStateUp, false);
    EXPECT_EQ(blue.at(2, 2), Rgb(38, 38, 38));  // grey, moved by 1
    EXPECT_EQ(blue.at(1, 1), Rgb(254, 254, 254));
}

TEST(ButtonArt, PictureEffectsAtKeyPixels) {
    ButtonArt art;
    art.settings.normal = Square(Rgb(128, 0, 0));
    struct Case {
        int32_t effect;
        int32_t below_right;  // offset of the copy at (+1, +1)
        int32_t above_left;   // offset at (-1, -1), 0 for no copy
    };
    for (const Case& c : {Case{kEffectRaised, -40, 40}, Case{kEffectSunken, 40, -40},
                          Case{kEffectShadow, -40, 0}, Case{7, -40, 0}}) {
        art.settings.special_effect = c.effect;
        Painted p = PaintArt(kTypeClassic, art);
        const Color face = p.look.palette.face;
        EXPECT_EQ(p.at(4, 4), OffsetColor(face, c.below_right, false, false)) << c.effect;
        const Color expected_above =
            c.above_left == 0 ? face : OffsetColor(face, c.above_left, false, false);
        EXPECT_EQ(p.at(-1, -1), expected_above) << c.effect;
        EXPECT_EQ(p.at(1, 1), Rgb(128, 0, 0)) << c.effect;  // the picture on top
    }
}

// The box of the pixels of colour c within `area` (away from the face's
// edges), or an empty rectangle.
Rect BoxOf(const Surface& s, Color c, Rect area = {3, 3, 97, 27}) {
    Rect box{s.width(), s.height(), -1, -1};
    for (int32_t y = area.top; y < area.bottom; ++y)
        for (int32_t x = area.left; x < area.right; ++x)
            if (s.pixel(x, y) == c) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
            }
    return box.right < 0 ? Rect{} : box;
}

TEST(ButtonArt, CaptionEffectsLieBelowRightAndAboveLeft) {
    ButtonArt art;
    art.settings.special_effect = kEffectRaised;
    Painted raised = PaintArt(kTypeClassic, art, kStateUp, true, false, "Ab");
    const Color face = raised.look.palette.face;
    const Color dark = OffsetColor(face, -40, false, false);
    const Color light = OffsetColor(face, 40, false, false);
    const Rect text = BoxOf(raised.pixels, raised.look.palette.text);
    ASSERT_FALSE(text.empty());
    const Rect below = BoxOf(raised.pixels, dark);
    const Rect above = BoxOf(raised.pixels, light);
    EXPECT_EQ(below.right, text.right + 1);
    EXPECT_EQ(below.bottom, text.bottom + 1);
    EXPECT_EQ(above.left, text.left - 1);
    EXPECT_EQ(above.top, text.top - 1);

    art.settings.special_effect = kEffectShadow;
    Painted shadow = PaintArt(kTypeClassic, art, kStateUp, true, false, "Ab");
    EXPECT_EQ(BoxOf(shadow.pixels, dark).bottom, text.bottom + 1);
    EXPECT_TRUE(BoxOf(shadow.pixels, light).empty());  // one copy only

    art.settings.special_effect = kEffectNone;
    EXPECT_TRUE(
        BoxOf(PaintArt(kTypeClassic, art, kStateUp, true, false, "Ab").pixels, dark).empty());
}

class Host : public ComponentHost {
  public:
    FontDesc AmbientFont() const override { return FontDesc{kTestFontName, 12}; }
};

TEST(SeeThroughButton, ShowsWhatTheParentDrawsBehindIt) {
    headless::HeadlessSession session;
    Host host;
    controls::FormOptions o;
    o.name = "frmBack";
    o.client_width = 300;
    o.client_height = 120;
    controls::Form form(o);
    // A pattern that tells every pixel's place, in a blue that changes.
    uint8_t blue = 100;
    form.on_paint = [&blue](DC& dc) {
        for (int32_t y = 0; y < 120; ++y)
            for (int32_t x = 0; x < 300; ++x) dc.SetPixel(x, y, Rgb(x & 0xFF, y, blue));
    };
    form.Show();
    DoEvents();
    auto& b = form.Add<FlarvetButon>(host, "btnSee", Rect::FromXYWH(30, 40, 100, 30));
    ASSERT_TRUE(b.InitProperties().ok());
    ASSERT_TRUE(b.SetCaption("").ok());
    ASSERT_TRUE(b.SetButtonType(kTypeSeeThrough).ok());
    DoEvents();
    ASSERT_EQ(b.background().width(), 100);
    ASSERT_EQ(b.background().height(), 30);
    EXPECT_EQ(b.background().pixel(0, 0), Rgb(30, 40, 100));
    EXPECT_EQ(b.background().pixel(99, 29), Rgb(129, 69, 100));
    // The button is the same size again and shows the background.
    EXPECT_EQ(b.bounds(), Rect::FromXYWH(30, 40, 100, 30));
    const Surface& shown = *PersistentSurface(b.hwnd());
    EXPECT_EQ(shown.pixel(1, 1), Rgb(31, 41, 100));
    EXPECT_EQ(shown.pixel(98, 28), Rgb(128, 68, 100));

    // Refresh captures again after the button has moved.
    b.Move(60, 10, 100, 30);
    ASSERT_TRUE(b.Refresh().ok());
    EXPECT_EQ(b.background().pixel(0, 0), Rgb(60, 10, 100));
    EXPECT_EQ(PersistentSurface(b.hwnd())->pixel(1, 1), Rgb(61, 11, 100));

    // The parent changes its colour and has repainted (the button still
    // showing the old one over it) before the host asks for a refresh:
    // the button shows the new colour.
    blue = 200;
    InvalidateRect(form.hwnd());
    DoEvents();
    ASSERT_TRUE(b.Refresh().ok());
    EXPECT_EQ(b.background().pixel(0, 0), Rgb(60, 10, 200));
    EXPECT_EQ(PersistentSurface(b.hwnd())->pixel(1, 1), Rgb(61, 11, 200));
    EXPECT_EQ(b.bounds(), Rect::FromXYWH(60, 10, 100, 30));
}

}  // namespace
}  // namespace skin_button
