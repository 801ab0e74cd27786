// SPDX-License-Identifier: GPL-3.0-or-later
// Key pixels of every face style in each drawing state, painted with the
// fixed grey palette (scheme 3) and the fixed-metrics test face, so every
// colour and every edge position is known exactly.
//
// The button is 100 x 30 with the caption "Ab": 12 points of the test face
// is 16 pixels, each byte 8 wide, glyph boxes 7 x 13. The caption sits at
// (42, 7)-(58, 23); its pressed copy one pixel right and down. Pixel
// (42, 7) is ink of the caption; (49, 8) is ink only of the pressed copy.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "controls/skin_button/sample_look.h"
#include "platform/surface.h"
#include "platform/text.h"

namespace skin_button {
namespace {

using platform::Rgb;
using platform::Surface;

constexpr Color kFace = 0xC0C0C0;
constexpr Color kShadow = 0x808080;
constexpr Color kHigh = 0xFFFFFF;
constexpr Color kLight = 0xDFDFDF;
constexpr Color kDark = 0x000000;
constexpr Color kText = 0x000000;
// A pixel of the face the dotted focus rectangle inverted.
constexpr Color kFaceInverted = 0x3F3F3F;
// Just off the paintable range, so a paint that leaves a pixel alone shows.
constexpr Color kUntouched = Rgb(1, 2, 3);

enum class State { kUp, kHover, kDown, kFocus, kDisabled, kDefaultFocus };

SampleButton Sample(int32_t type, State state, int32_t scheme = kSchemeGrey) {
    SampleButton b;
    b.button_type = type;
    b.scheme = scheme;
    b.width = 100;
    b.height = 30;
    b.caption = "Ab";
    b.font = FontDesc{platform::kTestFontName, 12};
    b.hovering = state == State::kHover || state == State::kDown;
    b.has_focus = state == State::kFocus || state == State::kDefaultFocus;
    b.is_default = state == State::kDefaultFocus;
    b.enabled = state != State::kDisabled;
    return b;
}

Surface Paint(const SampleButton& b, int32_t state, FaceHooks* hooks = nullptr) {
    Surface s(b.width, b.height, kUntouched);
    DC dc(s);
    auto look = MakeSampleLook(b);
    EXPECT_TRUE(look.ok());
    if (look.ok()) PaintFace(dc, look.value(), state, hooks);
    return s;
}

Surface Paint(int32_t type, State state, int32_t scheme = kSchemeGrey) {
    return Paint(Sample(type, state, scheme), state == State::kDown ? kStateDown : kStateUp);
}

struct Px {
    int32_t x;
    int32_t y;
    Color c;
};

void ExpectPixels(const Surface& s, std::initializer_list<Px> pixels, const std::string& what) {
    for (const Px& p : pixels) {
        EXPECT_EQ(s.pixel(p.x, p.y), p.c) << what << " at (" << p.x << ", " << p.y << ")";
    }
}

TEST(ButtonFace, Style1FramedBevelInsideADarkFrame) {
    ExpectPixels(Paint(1, State::kUp),
                 {{0, 0, kDark},
                  {1, 1, kHigh},
                  {2, 2, kHigh},
                  {98, 5, kShadow},
                  {97, 5, kShadow},
                  {5, 28, kShadow},
                  {42, 7, kText},
                  {4, 4, kFace}},
                 "up");
    ExpectPixels(Paint(1, State::kFocus), {{4, 4, kFaceInverted}, {5, 4, kFace}}, "focus");
    ExpectPixels(Paint(1, State::kDown),
                 {{0, 0, kDark}, {1, 1, kShadow}, {98, 5, kHigh}, {43, 8, kText}, {42, 7, kFace}},
                 "down");
    // Disabled: an embossed caption (highlight below-right, shadow on top).
    ExpectPixels(Paint(1, State::kDisabled), {{1, 1, kHigh}, {42, 7, kShadow}, {49, 8, kHigh}},
                 "disabled");
}

TEST(ButtonFace, Style2ShowsItsFocusOnlyAsTheDefaultButton) {
    ExpectPixels(Paint(2, State::kUp),
                 {{0, 0, kHigh},
                  {99, 0, kDark},
                  {0, 29, kDark},
                  {1, 1, kLight},
                  {98, 28, kShadow},
                  {50, 28, kShadow}},
                 "up");
    ExpectPixels(Paint(2, State::kFocus), {{0, 0, kHigh}, {4, 4, kFace}}, "focus only");
    ExpectPixels(Paint(2, State::kDefaultFocus),
                 {{0, 0, kDark}, {1, 1, kHigh}, {2, 2, kLight}, {4, 4, kFaceInverted}},
                 "default with focus");
    ExpectPixels(Paint(2, State::kDown),
                 {{0, 0, kDark}, {1, 1, kShadow}, {99, 29, kHigh}, {98, 28, kLight}}, "down");
    ExpectPixels(Paint(2, State::kDisabled), {{0, 0, kHigh}, {42, 7, kShadow}, {49, 8, kHigh}},
                 "disabled");
}

TEST(ButtonFace, Style3GradientWithBlueBorderAndStateEdges) {
    ExpectPixels(Paint(3, State::kUp),
                 {{0, 0, 0x733C00},
                  {1, 1, 0x7B4D10},
                  {98, 28, 0x7B4D10},
                  {50, 28, Rgb(192, 192, 180)},  // the face light (0xF0F0F0) shifted by -48
                  {10, 6, Rgb(235, 235, 234)},   // gradient row 6: -5
                  {4, 4, 0xEDEDED}},             // row 4 (-3): no dotted focus rectangle
                 "up");
    ExpectPixels(Paint(3, State::kHover), {{1, 5, 0x31B2FF}, {50, 1, 0xCEF3FF}, {2, 10, 0x6BCBFF}},
                 "hover");
    ExpectPixels(Paint(3, State::kFocus), {{1, 5, 0xE7AE8C}, {50, 1, 0xFFE7CE}}, "focus");
    // Pressed, the gradient runs from the bottom up from a darker base.
    ExpectPixels(Paint(3, State::kDown),
                 {{0, 0, 0x733C00},
                  {50, 28, Rgb(224, 224, 216)},
                  {10, 24, Rgb(203, 203, 195)},
                  {43, 8, kText}},
                 "down");
    ExpectPixels(Paint(3, State::kDisabled),
                 {{0, 0, Rgb(156, 156, 135)},
                  {1, 1, Rgb(168, 168, 150)},
                  {10, 10, Rgb(216, 216, 210)},
                  {42, 7, Rgb(136, 136, 110)}},
                 "disabled");
}

TEST(ButtonFace, GradientStepsRoundHalvesToEven) {
    // 25 / 20 = 1.25: row 6 is -7.5 -> -8, row 10 is -12.5 -> -12.
    SampleButton b = Sample(3, State::kUp);
    b.height = 20;
    const Surface s = Paint(b, kStateUp);
    ExpectPixels(s, {{10, 6, Rgb(232, 232, 230)}, {10, 10, Rgb(228, 228, 225)}}, "rows");
}

TEST(ButtonFace, Style4RoundedLightFaceAndDarkPressedFace) {
    ExpectPixels(Paint(4, State::kUp),
                 {{0, 0, kDark},
                  {1, 28, kDark},
                  {98, 1, kDark},
                  {50, 2, kHigh},
                  {2, 10, kHigh},
                  {3, 3, kHigh},
                  {97, 10, kFace},
                  {50, 27, kFace},
                  {98, 10, kShadow},
                  {50, 28, kShadow},
                  {97, 27, kShadow},
                  {10, 10, kLight}},
                 "up");
    // Pressed: a sunken shadow face with the caption in the light colour.
    ExpectPixels(
        Paint(4, State::kDown),
        {{1, 1, kDark}, {50, 1, 0x404040}, {50, 2, 0x606060}, {10, 10, 0x707070}, {43, 8, kLight}},
        "down");
    ExpectPixels(Paint(4, State::kDisabled), {{10, 10, kLight}, {42, 7, kShadow}}, "disabled");
}

TEST(ButtonFace, Style5SoftFaceAndCaptionFrameForFocus) {
    ExpectPixels(Paint(5, State::kUp),
                 {{10, 10, 0xCCCCCC},
                  {99, 10, kHigh},
                  {10, 29, kHigh},
                  {0, 0, 0x666666},
                  {98, 10, 0x666666},
                  {1, 28, 0x9A9A9A},
                  {98, 1, 0x9A9A9A},
                  {40, 6, 0xCCCCCC}},
                 "up");
    ExpectPixels(Paint(5, State::kFocus), {{40, 6, 0xCC9999}, {59, 23, 0xCC9999}}, "focus");
    // Pressed, the caption does not move.
    ExpectPixels(Paint(5, State::kDown),
                 {{10, 10, 0x909090}, {99, 10, kHigh}, {42, 7, kText}, {49, 8, 0x909090}}, "down");
    ExpectPixels(Paint(5, State::kDisabled), {{99, 29, kShadow}, {42, 7, kShadow}, {49, 8, kFace}},
                 "disabled");
}

TEST(ButtonFace, Styles6To8EdgesAndFocusInsets) {
    ExpectPixels(Paint(6, State::kUp),
                 {{0, 0, 0xE7E7E7}, {1, 1, 0xE7E7E7}, {99, 29, kShadow}, {98, 28, kShadow}},
                 "6 up");
    ExpectPixels(Paint(6, State::kFocus), {{4, 4, kFaceInverted}}, "6 focus");
    ExpectPixels(Paint(7, State::kUp), {{0, 0, kHigh}, {99, 5, kShadow}, {1, 1, kFace}}, "7 up");
    ExpectPixels(Paint(7, State::kDown), {{0, 0, kShadow}, {99, 5, kHigh}}, "7 down");
    ExpectPixels(Paint(7, State::kFocus), {{3, 3, kFaceInverted}, {4, 4, kFace}}, "7 focus");
    ExpectPixels(Paint(8, State::kUp), {{0, 0, kFace}}, "8 up");
    ExpectPixels(Paint(8, State::kHover), {{0, 0, kHigh}, {99, 5, kShadow}}, "8 hover");
    ExpectPixels(Paint(8, State::kDisabled), {{0, 0, kFace}, {42, 7, kShadow}, {49, 8, kHigh}},
                 "8 disabled");
}

TEST(ButtonFace, Style9SelectionColoursUnderThePointer) {
    ExpectPixels(Paint(9, State::kUp), {{0, 0, kFace}, {5, 5, kFace}}, "up");
    ExpectPixels(Paint(9, State::kHover), {{0, 0, 0x800000}, {5, 5, 0xD1ADAD}}, "hover");
    ExpectPixels(Paint(9, State::kDown), {{0, 0, 0x800000}, {5, 5, Rgb(128, 128, 191)}}, "down");
    // Custom colours: the pressed face is the hover face darkened.
    SampleButton custom = Sample(9, State::kDown, kSchemeCustom);
    custom.back_color = Rgb(100, 100, 100);
    custom.back_over = Rgb(150, 150, 150);
    ExpectPixels(Paint(custom, kStateDown), {{5, 5, Rgb(118, 118, 118)}}, "custom down");
    ExpectPixels(Paint(9, State::kDisabled), {{0, 0, kFace}, {42, 7, kShadow}, {49, 8, kFace}},
                 "disabled");
}

TEST(ButtonFace, Style10AndUnknownStylesDrawOnlyTheFace) {
    for (int32_t type : {10, 0, 15, -3}) {
        for (State st : {State::kUp, State::kDown, State::kDisabled, State::kFocus}) {
            ExpectPixels(Paint(type, st), {{0, 0, kFace}, {42, 7, kFace}, {4, 4, kFace}},
                         "style " + std::to_string(type));
        }
    }
}

TEST(ButtonFace, Style11DrawsTheBackgroundHookFirst) {
    struct Behind : FaceHooks {
        int calls = 0;
        void DrawBackground(DC& dc, const FaceLook& look) override {
            ++calls;
            dc.FillRect({0, 0, look.width, look.height}, Rgb(200, 0, 0));
        }
    } behind;
    const Surface s = Paint(Sample(11, State::kUp), kStateUp, &behind);
    EXPECT_EQ(behind.calls, 1);
    ExpectPixels(s, {{0, 0, Rgb(200, 0, 0)}, {42, 7, kText}}, "up");
}

TEST(ButtonFace, Style12FullEdgeOnlyUnderThePointer) {
    ExpectPixels(Paint(12, State::kUp), {{0, 0, kFace}, {99, 29, kFace}}, "up");
    ExpectPixels(Paint(12, State::kHover), {{0, 0, kHigh}, {1, 1, kLight}, {99, 29, kDark}},
                 "hover");
    ExpectPixels(Paint(12, State::kDown), {{0, 0, kDark}, {1, 1, kShadow}}, "down");
}

TEST(ButtonFace, Style13EllipseWithAStatePen) {
    ExpectPixels(Paint(13, State::kUp), {{0, 15, kFace}, {20, 15, kFace}}, "up");
    ExpectPixels(Paint(13, State::kHover), {{0, 15, kShadow}, {1, 15, kShadow}, {2, 15, kFace}},
                 "hover");
    ExpectPixels(Paint(13, State::kDown), {{0, 15, kDark}, {20, 15, 0xA0A0A0}}, "down");
}

TEST(ButtonFace, Style14GradientFramesAndEmbossedStates) {
    ExpectPixels(Paint(14, State::kUp),
                 {{0, 0, 0x4E4E4E},
                  {1, 1, 0xB7B7B7},
                  {2, 2, kHigh},
                  {50, 3, kHigh},
                  {3, 20, kHigh},
                  {10, 10, 0xECECEC},  // row 10: -(58 / 30) * 10 rounds to -19
                  {42, 7, kText}},
                 "up");
    ExpectPixels(Paint(14, State::kFocus), {{6, 6, 0x0C0C0C}, {5, 5, 0xF5F5F5}}, "focus");
    ExpectPixels(Paint(14, State::kHover), {{10, 10, kLight}, {0, 0, 0x4E4E4E}}, "hover");
    ExpectPixels(Paint(14, State::kDown),
                 {{0, 0, 0x505050},
                  {10, 10, 0xB7B7B7},
                  {50, 28, kHigh},
                  {98, 10, kHigh},
                  {42, 7, kHigh},
                  {49, 8, 0x4E4E4E}},
                 "down");
    ExpectPixels(Paint(14, State::kDisabled), {{10, 10, 0xECECEC}, {42, 7, kFace}, {49, 8, kHigh}},
                 "disabled");
}

TEST(ButtonFace, Style14HoverWithCustomColoursUsesBackOver) {
    SampleButton b = Sample(14, State::kHover, kSchemeCustom);
    b.back_color = Rgb(100, 100, 100);
    b.back_over = Rgb(200, 200, 200);
    ExpectPixels(Paint(b, kStateUp), {{10, 10, Rgb(231, 231, 231)}}, "hover");
    b.hovering = false;
    // Gradient from the highlight of BackColor (147) down by 19.
    ExpectPixels(Paint(b, kStateUp), {{10, 10, Rgb(128, 128, 128)}}, "normal");
}

TEST(ButtonFace, SoftBevelHalvesTheEdgeShifts) {
    SampleButton b = Sample(14, State::kUp);
    b.soft_bevel = true;
    ExpectPixels(Paint(b, kStateUp), {{0, 0, 0x676767}, {1, 1, 0xBCBCBC}}, "soft");
}

TEST(ButtonFace, CaptionColoursFollowHoverAndPress) {
    SampleButton b = Sample(1, State::kUp, kSchemeCustom);
    b.back_color = Rgb(100, 100, 100);
    b.back_over = Rgb(100, 100, 100);
    b.fore_color = Rgb(0, 0, 200);
    b.fore_over = Rgb(200, 0, 0);
    ExpectPixels(Paint(b, kStateUp), {{42, 7, Rgb(0, 0, 200)}}, "normal");
    b.hovering = true;
    ExpectPixels(Paint(b, kStateUp), {{42, 7, Rgb(200, 0, 0)}}, "hover");
    ExpectPixels(Paint(b, kStateDown), {{43, 8, Rgb(200, 0, 0)}, {42, 7, Rgb(100, 100, 100)}},
                 "down");
}

TEST(ButtonFace, OtherStatesAndEmptyButtonsDrawNothingMore) {
    ExpectPixels(Paint(Sample(2, State::kUp), 1), {{0, 0, kFace}, {42, 7, kFace}}, "state 1");
    SampleButton flat = Sample(2, State::kUp);
    flat.height = 0;
    Surface s(10, 10, kUntouched);
    DC dc(s);
    auto look = MakeSampleLook(flat);
    ASSERT_TRUE(look.ok());
    EXPECT_EQ(PaintFace(dc, look.value(), kStateUp), -1);
    EXPECT_EQ(s.pixel(0, 0), kUntouched);
}

TEST(ButtonFace, PictureHookGetsTheColumnThatWasDrawn) {
    struct Pictures : FaceHooks {
        std::vector<int32_t> states;
        std::vector<int32_t> captions;
        void DrawPicture(DC&, const FaceLook&, int32_t state, int32_t caption) override {
            states.push_back(state);
            captions.push_back(caption);
        }
    } pictures;
    Paint(Sample(2, State::kUp), kStateUp, &pictures);
    Paint(Sample(2, State::kUp), kStateDown, &pictures);
    Paint(Sample(2, State::kDisabled), kStateDown, &pictures);
    Paint(Sample(2, State::kUp), 1, &pictures);
    EXPECT_EQ(pictures.states, (std::vector<int32_t>{0, 1, 2}));
    EXPECT_EQ(pictures.captions, (std::vector<int32_t>{0, 2, 3}));
    // Style 10 draws no caption under its picture.
    Paint(Sample(10, State::kUp), kStateUp, &pictures);
    EXPECT_EQ(pictures.captions.back(), -1);
}

}  // namespace
}  // namespace skin_button
