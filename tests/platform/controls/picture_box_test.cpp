// SPDX-License-Identifier: GPL-3.0-or-later
// Picture boxes: printing and CurrentX/CurrentY in twips and pixels, the
// persistent image against plain screen drawing, clearing, and sizing to a
// loaded picture.

#include "platform/controls/picture_box.h"

#include <filesystem>
#include <fstream>

#include "form_fixture.h"

namespace controls_test {
namespace {

constexpr Color kInk = Rgb(0, 0, 128);
constexpr Color kBack = Rgb(250, 250, 210);

class PictureBoxTest : public FormTest {
  protected:
    PictureBox& MakeBox() {
        PictureBox& p = form->Add<PictureBox>("picTest", Rect::FromXYWH(10, 10, 200, 120));
        p.set_font(TestFont());
        p.set_fore_color(kInk);
        p.set_back_color(kBack);
        return p;
    }

    std::string WriteBmp(int32_t w, int32_t h, Color fill) {
        auto path = std::filesystem::temp_directory_path() /
                    ("kovelin_pic_" + std::to_string(w) + "x" + std::to_string(h) + ".bmp");
        std::vector<uint8_t> bytes = EncodeBmp24(Surface(w, h, fill));
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        written_.push_back(path.string());
        return path.string();
    }

    void TearDown() override {
        for (const std::string& path : written_) std::filesystem::remove(path);
    }

    std::vector<std::string> written_;
};

TEST_F(PictureBoxTest, PrintAdvancesCurrentXInTwipsAndPixels) {
    PictureBox& p = MakeBox();
    ASSERT_EQ(p.scale_mode(), ScaleMode::kTwips);
    p.Print("abc");  // 3 x 8 pixels
    EXPECT_FLOAT_EQ(p.current_x(), 24 * 15);
    EXPECT_FLOAT_EQ(p.current_y(), 0);
    p.PrintLine("d");
    EXPECT_FLOAT_EQ(p.current_x(), 0);
    EXPECT_FLOAT_EQ(p.current_y(), 16 * 15);

    // Switching modes keeps the position and converts it.
    p.set_current_x(150);
    p.set_scale_mode(ScaleMode::kPixels);
    EXPECT_FLOAT_EQ(p.current_x(), 10);
    EXPECT_FLOAT_EQ(p.current_y(), 16);
    p.Print("ab");
    EXPECT_FLOAT_EQ(p.current_x(), 26);
    EXPECT_FLOAT_EQ(p.scale_width(), 196);  // 200 less the 2-pixel edge each side
    EXPECT_FLOAT_EQ(p.TextWidth("abcd"), 32);
    EXPECT_FLOAT_EQ(p.TextHeight(), 16);
}

TEST_F(PictureBoxTest, PrintDrawsAtCurrentPositionOnThePersistentImage) {
    PictureBox& p = MakeBox();
    p.set_auto_redraw(true);
    p.set_current_x(150);  // 10 pixels
    p.set_current_y(75);   // 5 pixels
    p.Print("A");
    p.PrintLine();
    p.Print("B");
    // A full repaint shows the persistent image again.
    p.Refresh();
    EXPECT_EQ(PixelOf(p, 9, 5), kBack);
    EXPECT_EQ(PixelOf(p, 10, 5), kInk);
    EXPECT_EQ(PixelOf(p, 10, 4), kBack);
    EXPECT_EQ(PixelOf(p, 0, 21), kInk);  // the next line starts at x 0, 16 lower
    // Cls clears the image to the back colour and goes home.
    p.Cls();
    EXPECT_EQ(p.current_x(), 0);
    EXPECT_EQ(p.current_y(), 0);
    EXPECT_EQ(PixelOf(p, 10, 5), kBack);
}

TEST_F(PictureBoxTest, ScreenDrawingIsLostOnRepaintWithoutAutoRedraw) {
    PictureBox& p = MakeBox();
    p.Print("A");
    EXPECT_EQ(GetDC(p.hwnd())->GetPixel(0, 0), kInk);  // on the screen as it is now
    EXPECT_EQ(PixelOf(p, 0, 0), kBack);
}

TEST_F(PictureBoxTest, GrowingKeepsTheDrawingAndFillsWithTheBackColour) {
    PictureBox& p = MakeBox();
    p.set_auto_redraw(true);
    p.Print("A");
    p.Move(10, 10, 300, 200);
    EXPECT_EQ(PixelOf(p, 0, 0), kInk);
    EXPECT_EQ(PixelOf(p, 250, 150), kBack);
}

TEST_F(PictureBoxTest, AutoSizeFitsTheLoadedPictureInsideTheBorder) {
    PictureBox& p = MakeBox();
    p.set_auto_size(true);
    ASSERT_TRUE(p.LoadPicture(WriteBmp(40, 30, Rgb(0, 200, 0))));
    EXPECT_EQ(GetClientRect(p.hwnd()).size(), (Size{40, 30}));
    EXPECT_EQ(p.bounds(), Rect::FromXYWH(10, 10, 44, 34));
    EXPECT_EQ(PixelOf(p, 39, 29), Rgb(0, 200, 0));

    p.set_border_style(ControlBorder::kNone);
    EXPECT_EQ(p.bounds(), Rect::FromXYWH(10, 10, 40, 30));

    // A file that is not a picture leaves picture and size alone.
    const std::string junk = (std::filesystem::temp_directory_path() / "kovelin_junk.bmp").string();
    std::ofstream(junk) << "not a picture";
    written_.push_back(junk);
    EXPECT_FALSE(p.LoadPicture(junk));
    EXPECT_FALSE(p.LoadPicture("/nonexistent/kovelin.bmp"));
    ASSERT_TRUE(p.picture());
    EXPECT_EQ(p.picture()->width_px(), 40);
    EXPECT_EQ(p.bounds(), Rect::FromXYWH(10, 10, 40, 30));
}

TEST_F(PictureBoxTest, ClickFocusesTheBoxSoKeysFollow) {
    PictureBox& p = MakeBox();
    p.on_mouse_down = [&](MouseEventArgs&) { log.push_back("down"); };
    p.on_mouse_up = [&](MouseEventArgs&) { log.push_back("up"); };
    p.on_click = [&] { log.push_back("click"); };
    p.on_key_down = [&](int16_t& k, int16_t) { log.push_back("key " + std::to_string(k)); };
    session.Click(Screen(p, 20, 20));
    session.Key(VK_LEFT);
    EXPECT_EQ(log, (std::vector<std::string>{"down", "up", "click", "key 37"}));
}

}  // namespace
}  // namespace controls_test
