// SPDX-License-Identifier: GPL-3.0-or-later
// Labels: where the caption lands for each alignment, what shows behind a
// transparent label, auto-size in both wrap modes, and the mouse events a
// hot spot raises.

#include "platform/controls/label.h"

#include "form_fixture.h"
#include "platform/controls/picture_box.h"

namespace controls_test {
namespace {

constexpr Color kInk = Rgb(0, 0, 0);
constexpr Color kPaper = Rgb(255, 255, 255);

class LabelTest : public FormTest {
  protected:
    Label& MakeLabel(const std::string& caption) {
        Label& l = form->Add<Label>("lblTest", Rect::FromXYWH(10, 10, 100, 40), caption);
        l.set_font(TestFont());
        l.set_fore_color(kInk);
        l.set_back_color(kPaper);
        return l;
    }
};

TEST_F(LabelTest, AlignmentPlacesTheCaptionToThePixel) {
    Label& l = MakeLabel("AB");  // 16 pixels wide
    struct Case {
        Alignment align;
        int32_t first_ink;
    } cases[] = {{Alignment::kLeft, 0}, {Alignment::kRight, 84}, {Alignment::kCenter, 42}};
    for (const Case& c : cases) {
        l.set_alignment(c.align);
        SCOPED_TRACE(static_cast<int>(c.align));
        EXPECT_EQ(PixelOf(l, c.first_ink, 0), kInk);
        EXPECT_EQ(PixelOf(l, c.first_ink + 6, 12), kInk);   // last inked pixel of "A"
        EXPECT_EQ(PixelOf(l, c.first_ink + 7, 0), kPaper);  // the gap between glyphs
        if (c.first_ink > 0) {
            EXPECT_EQ(PixelOf(l, c.first_ink - 1, 0), kPaper);
        }
        EXPECT_EQ(PixelOf(l, c.first_ink + 15, 0), kPaper);
    }
}

TEST_F(LabelTest, TransparentLabelShowsWhatIsBehindIt) {
    Label& l = MakeLabel("A");
    EXPECT_EQ(PixelOf(l, 50, 30), kPaper);
    l.set_back_style(BackStyle::kTransparent);
    EXPECT_EQ(PixelOf(l, 50, 30), kFormColor);
    EXPECT_EQ(PixelOf(l, 0, 0), kInk);  // the caption still draws
    // Changing the caption of a transparent label must not leave the old
    // glyphs behind: the parent repaints underneath.
    l.set_caption(" B");
    EXPECT_EQ(PixelOf(l, 0, 0), kFormColor);
    EXPECT_EQ(PixelOf(l, 8, 0), kInk);
}

TEST_F(LabelTest, CaptionWrapsAtWordsInsideTheWidth) {
    Label& l = MakeLabel("AAAA BBBB CC");  // 96 pixels: too wide for "AAAA BBBB" + " CC"
    l.Move(10, 10, 80, 40);
    EXPECT_EQ(PixelOf(l, 0, 0), kInk);   // "AAAA BBBB" on line one
    EXPECT_EQ(PixelOf(l, 0, 16), kInk);  // "CC" on line two
    EXPECT_EQ(PixelOf(l, 16, 16), kPaper);
}

TEST_F(LabelTest, AutoSizeGrowsSidewaysOrDownwards) {
    Label& l = MakeLabel("AB CD");
    l.Move(10, 10, 24, 5);
    l.set_auto_size(true);
    EXPECT_EQ(l.bounds(), Rect::FromXYWH(10, 10, 40, 16));
    l.set_word_wrap(true);
    l.Move(10, 10, 24, 5);
    l.set_caption("AB CD EF");
    EXPECT_EQ(l.bounds(), Rect::FromXYWH(10, 10, 24, 48));
    // A border adds its frame around the text rather than eating into it.
    l.set_word_wrap(false);
    l.set_border_style(ControlBorder::kFixedSingle);
    EXPECT_EQ(l.bounds().size(), (Size{64 + 4, 16 + 4}));
    EXPECT_EQ(GetClientRect(l.hwnd()).size(), (Size{64, 16}));
    FontDesc half = l.font()->desc();
    half.size = 6;  // 8 pixels: 4 a byte
    l.set_font(MakeFont(half));
    EXPECT_EQ(GetClientRect(l.hwnd()).size(), (Size{32, 8}));
}

TEST_F(LabelTest, EmptyTransparentLabelIsAHotSpotOverAPicture) {
    PictureBox& pic = form->Add<PictureBox>("picSkin", Rect::FromXYWH(0, 0, 200, 150));
    pic.set_border_style(ControlBorder::kNone);
    auto skin =
        std::make_shared<Picture>(Surface(200, 150, Rgb(10, 120, 10)), PictureKind::kBitmap);
    pic.set_picture(skin);
    Label& spot = form->Add<Label>("lblSpot", Rect::FromXYWH(50, 40, 30, 20));
    spot.set_back_style(BackStyle::kTransparent);
    spot.on_mouse_down = [&](MouseEventArgs& a) {
        log.push_back("down " + std::to_string(static_cast<int>(a.x)) + "," +
                      std::to_string(static_cast<int>(a.y)));
    };
    spot.on_mouse_up = [&](MouseEventArgs&) { log.push_back("up"); };
    spot.on_click = [&] { log.push_back("click"); };
    int pic_clicks = 0;
    pic.on_click = [&] { ++pic_clicks; };

    EXPECT_EQ(PixelOf(spot, 5, 5), Rgb(10, 120, 10));
    session.Click(Screen(spot, 5, 6));
    EXPECT_EQ(log, (std::vector<std::string>{"down 5,6", "up", "click"}));
    EXPECT_EQ(pic_clicks, 0);

    // Pressing on the spot and letting go outside it is not a click.
    log.clear();
    session.clock().Advance(1000);  // not a double-click
    session.Drag(Screen(spot, 5, 5), Screen(spot, 60, 5));
    EXPECT_EQ(log, (std::vector<std::string>{"down 5,5", "up"}));

    session.Click(Screen(pic, 10, 10));
    EXPECT_EQ(pic_clicks, 1);
}

}  // namespace
}  // namespace controls_test
