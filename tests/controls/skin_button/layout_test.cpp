// SPDX-License-Identifier: GPL-3.0-or-later
// Caption layout (wrapping, centring, picture positions, the access-key
// underline), focus rectangles and the window shapes of the styles, with
// the fixed-metrics test face: 12 points is 16 pixels, each byte 8 wide,
// glyph boxes 7 x 13.
#include <gtest/gtest.h>

#include <limits>

#include "controls/skin_button/sample_look.h"
#include "platform/surface.h"
#include "platform/text.h"

namespace skin_button {
namespace {

using platform::Surface;

CaptionInputs Inputs(std::string_view caption, int32_t w = 100, int32_t h = 30) {
    CaptionInputs in;
    in.width = w;
    in.height = h;
    in.caption = caption;
    in.font = FontDesc{platform::kTestFontName, 12};
    return in;
}

CaptionLayout Laid(const CaptionInputs& in) {
    auto laid = LayoutCaption(in);
    EXPECT_TRUE(laid.ok()) << laid.error().message;
    return laid.ok() ? laid.value() : CaptionLayout{};
}

TEST(LayoutCaption, OneLineIsCentredAndThePressedCopyMovesOneDownRight) {
    const CaptionLayout l = Laid(Inputs("Ab"));
    EXPECT_EQ(l.caption, (Rect{42, 7, 58, 23}));
    EXPECT_EQ(l.pressed, (Rect{43, 8, 59, 24}));
    EXPECT_EQ(l.text_width, 16);
    EXPECT_EQ(l.text_height, 16);
}

TEST(LayoutCaption, LongCaptionsWrapAtWordsAndStayCentred) {
    // 77 pixels of room hold nine bytes: "aaaa bbbb" and then "cccc".
    const CaptionLayout l = Laid(Inputs("aaaa bbbb cccc", 80, 40));
    EXPECT_EQ(l.text_width, 72);
    EXPECT_EQ(l.text_height, 32);
    EXPECT_EQ(l.caption, (Rect{4, 4, 76, 36}));

    SampleButton b;
    b.button_type = kTypeThinEdge;
    b.scheme = kSchemeGrey;
    b.width = 80;
    b.height = 40;
    b.caption = "aaaa bbbb cccc";
    b.font = FontDesc{platform::kTestFontName, 12};
    auto look = MakeSampleLook(b);
    ASSERT_TRUE(look.ok());
    Surface s(80, 40);
    DC dc(s);
    PaintFace(dc, look.value(), kStateUp);
    EXPECT_EQ(s.pixel(4, 4), 0u);    // first line from the left edge
    EXPECT_EQ(s.pixel(24, 20), 0u);  // "cccc" centred under it
    EXPECT_EQ(s.pixel(23, 20), 0xC0C0C0u);
    EXPECT_EQ(s.pixel(56, 20), 0xC0C0C0u);
}

TEST(LayoutCaption, AccessKeyIsUnderlinedAndItsMarkTakesNoRoom) {
    const CaptionLayout l = Laid(Inputs("&Save"));
    EXPECT_EQ(l.text_width, 32);
    EXPECT_EQ(l.caption, (Rect{34, 7, 66, 23}));

    auto paint = [](std::string caption) {
        SampleButton b;
        b.button_type = kTypeThinEdge;
        b.scheme = kSchemeGrey;
        b.caption = std::move(caption);
        b.font = FontDesc{platform::kTestFontName, 12};
        Surface s(100, 30);
        DC dc(s);
        auto look = MakeSampleLook(b);
        EXPECT_TRUE(look.ok());
        if (look.ok()) PaintFace(dc, look.value(), kStateUp);
        return s;
    };
    // The underline is the row below the glyphs (ascent 13), under S only.
    const Surface marked = paint("&Save");
    EXPECT_EQ(marked.pixel(34, 20), 0u);
    EXPECT_EQ(marked.pixel(41, 20), 0u);
    EXPECT_EQ(marked.pixel(45, 20), 0xC0C0C0u);
    // "&&" is a plain "&": nothing underlined.
    const Surface escaped = paint("S&&ve");
    EXPECT_EQ(Laid(Inputs("S&&ve")).text_width, 32);
    EXPECT_EQ(escaped.pixel(34, 20), 0xC0C0C0u);
}

TEST(LayoutCaption, PicturePositionsShareTheRoom) {
    CaptionInputs in = Inputs("Ab");
    in.picture = {16, 16};
    in.has_picture = true;

    in.picture_position = kPictureLeft;
    CaptionLayout l = Laid(in);
    EXPECT_EQ(l.caption, (Rect{50, 7, 66, 23}));
    EXPECT_EQ(l.picture, (Point{30, 7}));

    in.picture_position = kPictureRight;
    l = Laid(in);
    EXPECT_EQ(l.caption, (Rect{32, 7, 48, 23}));
    EXPECT_EQ(l.picture, (Point{52, 7}));

    in.height = 60;
    in.picture_position = kPictureAbove;
    l = Laid(in);
    EXPECT_EQ(l.caption, (Rect{42, 30, 58, 46}));
    EXPECT_EQ(l.picture, (Point{42, 12}));

    in.picture_position = kPictureBelow;
    l = Laid(in);
    EXPECT_EQ(l.caption, (Rect{42, 12, 58, 28}));
    EXPECT_EQ(l.picture, (Point{42, 30}));

    // Behind: both centred, the caption over the picture.
    in.height = 30;
    in.picture_position = kPictureBehind;
    l = Laid(in);
    EXPECT_EQ(l.caption, (Rect{42, 7, 58, 23}));
    EXPECT_EQ(l.picture, (Point{42, 7}));

    // A caption of blanks leaves the picture centred too.
    in.caption = "  ";
    in.picture_position = kPictureLeft;
    EXPECT_EQ(Laid(in).picture, (Point{42, 7}));
}

TEST(LayoutCaption, PositionsBeyondBehindKeepThePreviousPlace) {
    CaptionInputs in = Inputs("Ab");
    in.picture = {16, 16};
    in.has_picture = true;
    in.picture_position = kPictureLeft;
    in.previous = Laid(in);
    in.picture_position = 7;
    const CaptionLayout l = Laid(in);
    EXPECT_EQ(l.caption, (Rect{50, 7, 66, 23}));
    EXPECT_EQ(l.picture, (Point{30, 7}));
}

TEST(LayoutCaption, GeometryBeyondThirtyTwoBitsFailsWithOverflow) {
    CaptionInputs in = Inputs("Ab");
    in.picture = {std::numeric_limits<int32_t>::max(), 10};
    in.has_picture = true;
    auto laid = LayoutCaption(in);
    ASSERT_FALSE(laid.ok());
    EXPECT_EQ(laid.error().number(), 6);
    in.picture_position = kPictureRight;
    in.width = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(LayoutCaption(in).error().number(), 6);
}

TEST(FocusRect, InsetDependsOnTheStyle) {
    EXPECT_EQ(FocusRectFor(2, 100, 30), (Rect{4, 4, 96, 26}));
    EXPECT_EQ(FocusRectFor(7, 100, 30), (Rect{3, 3, 97, 27}));
    EXPECT_EQ(FocusRectFor(13, 100, 30), (Rect{3, 3, 97, 27}));
    EXPECT_EQ(FocusRectFor(14, 100, 30), (Rect{6, 6, 96, 26}));
    EXPECT_EQ(FocusRectFor(99, 100, 30), (Rect{4, 4, 96, 26}));
}

TEST(BuildRegion, ShapedStylesCutTheirCorners) {
    const Region one = BuildRegion(1, 100, 30);
    for (Point p : {Point{0, 0}, Point{99, 0}, Point{0, 29}, Point{99, 29}}) {
        EXPECT_FALSE(one.contains(p)) << p.x << "," << p.y;
    }
    EXPECT_TRUE(one.contains(1, 0));
    EXPECT_TRUE(one.contains(0, 1));
    EXPECT_EQ(BuildRegion(14, 100, 30), one);

    const Region five = BuildRegion(5, 100, 30);
    EXPECT_FALSE(five.contains(0, 29));
    EXPECT_FALSE(five.contains(99, 0));
    EXPECT_TRUE(five.contains(0, 0));
    EXPECT_TRUE(five.contains(99, 29));

    const Region rounded = BuildRegion(4, 100, 30);
    for (Point p :
         {Point{0, 0}, Point{1, 0}, Point{0, 1}, Point{98, 0}, Point{99, 0}, Point{99, 1},
          Point{0, 28}, Point{0, 29}, Point{1, 29}, Point{98, 29}, Point{99, 29}, Point{99, 28}}) {
        EXPECT_FALSE(rounded.contains(p)) << p.x << "," << p.y;
    }
    for (Point p : {Point{1, 1}, Point{2, 0}, Point{0, 2}, Point{98, 1}, Point{97, 29}}) {
        EXPECT_TRUE(rounded.contains(p)) << p.x << "," << p.y;
    }
    EXPECT_EQ(BuildRegion(3, 100, 30), rounded);

    const Region ellipse = BuildRegion(13, 100, 30);
    EXPECT_FALSE(ellipse.contains(0, 0));
    EXPECT_FALSE(ellipse.contains(3, 3));
    EXPECT_TRUE(ellipse.contains(50, 15));
    EXPECT_TRUE(ellipse.contains(0, 15));

    for (int32_t type : {2, 6, 7, 8, 9, 10, 11, 12, 0}) {
        EXPECT_EQ(BuildRegion(type, 100, 30), Region::FromRect({0, 0, 100, 30})) << type;
    }
}

}  // namespace
}  // namespace skin_button
