// SPDX-License-Identifier: GPL-3.0-or-later
// The button window: new and saved instances, the saved keys with their
// defaults, design-time side effects, the notify keys, Draw's conditions,
// and mouse input following the window shape.
#include "controls/skin_button/flarvet_button.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/controls/form.h"
#include "platform/headless/headless_backend.h"
#include "platform/text.h"

namespace skin_button {
namespace {

using namespace platform;
using platform::controls::Form;
using platform::controls::FormOptions;

class FakeHost : public ComponentHost {
  public:
    bool user_mode = true;
    bool answers_user_mode = true;
    bool is_default = false;
    std::vector<std::string> changed;

    Result<bool> AmbientUserMode() const override {
        if (!answers_user_mode) return MakeError(ErrorCode::kUnsupported);
        return user_mode;
    }
    std::string AmbientDisplayName() const override { return "FlarvetButon1"; }
    FontDesc AmbientFont() const override { return FontDesc{kTestFontName, 12}; }
    bool AmbientDisplayAsDefault() const override { return is_default; }
    void PropertyChanged(std::string_view key) override { changed.emplace_back(key); }
};

PictureRef SmallPicture() {
    return std::make_shared<Picture>(Surface(16, 16, 0x00FF00), PictureKind::kBitmap);
}

class ButtonTest : public ::testing::Test {
  protected:
    void SetUp() override {
        FormOptions o;
        o.name = "frmTest";
        o.client_width = 300;
        o.client_height = 200;
        o.back_color = Rgb(200, 40, 40);
        form_ = std::make_unique<Form>(o);
        form_->Show();
        button_ = MakeButton();
        EXPECT_TRUE(button_->SetCaption("Ab").ok());
        DoEvents();
    }

    FlarvetButon* MakeButton(Rect r = Rect::FromXYWH(20, 20, 100, 30)) {
        auto* b = &form_->Add<FlarvetButon>(host_, "btn" + std::to_string(count_++), r);
        EXPECT_TRUE(b->InitProperties().ok());
        return b;
    }
    Color Pixel(const FlarvetButon& b, int32_t x, int32_t y) const {
        return PersistentSurface(b.hwnd())->pixel(x, y);
    }
    Point Screen(const FlarvetButon& b, int32_t x, int32_t y) const {
        return ClientToScreen(b.hwnd(), {x, y});
    }

    headless::HeadlessSession session_;
    FakeHost host_;
    std::unique_ptr<Form> form_;
    FlarvetButon* button_ = nullptr;
    int count_ = 0;
};

TEST_F(ButtonTest, NewInstanceTakesAmbientValuesAndTheComputedPalette) {
    FlarvetButon& b = *MakeButton();
    EXPECT_EQ(b.Caption(), "FlarvetButon1");
    EXPECT_EQ(b.FontName(), kTestFontName);
    EXPECT_EQ(b.ButtonType(), 2);
    EXPECT_EQ(b.ColorScheme(), 1);
    EXPECT_EQ(b.BackColor(), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(b.BackOver(), b.BackColor());
    EXPECT_EQ(b.ForeColor(), GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(b.ForeOver(), b.ForeColor());
    EXPECT_EQ(b.MaskColor(), 0xC0C0C0u);
    EXPECT_TRUE(b.Enabled());
    EXPECT_TRUE(b.ShowFocusRect());
    EXPECT_TRUE(b.UseMaskColor());
    EXPECT_EQ(FlarvetButon::Version(), "2.0.6 B");
    // Drawn up in the classic style: highlight top-left, dark bottom-right.
    EXPECT_EQ(Pixel(b, 0, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(Pixel(b, 99, 29), GetSysColor(COLOR_3DDKSHADOW));
}

TEST_F(ButtonTest, DesignTimeAssignmentsCarryOverToTheirHoverTwins) {
    host_.user_mode = false;
    button_->SetBackColor(Rgb(10, 20, 30));
    button_->SetForeColor(Rgb(40, 50, 60));
    EXPECT_EQ(button_->BackOver(), Rgb(10, 20, 30));
    EXPECT_EQ(button_->ForeOver(), Rgb(40, 50, 60));
    ASSERT_TRUE(button_->SetButtonType(5).ok());
    EXPECT_TRUE(button_->FontBold());

    // A host that cannot say counts as design time.
    host_.answers_user_mode = false;
    button_->SetBackColor(Rgb(1, 1, 1));
    EXPECT_EQ(button_->BackOver(), Rgb(1, 1, 1));

    host_.answers_user_mode = true;
    host_.user_mode = true;
    FlarvetButon& run = *MakeButton();
    const Color over = run.BackOver();
    run.SetBackColor(Rgb(70, 80, 90));
    run.SetForeColor(Rgb(90, 80, 70));
    EXPECT_EQ(run.BackOver(), over);
    EXPECT_NE(run.ForeOver(), Rgb(90, 80, 70));
    ASSERT_TRUE(run.SetButtonType(5).ok());
    EXPECT_FALSE(run.FontBold());
}

TEST_F(ButtonTest, EachAssignmentReportsItsSavedKey) {
    FlarvetButon& b = *button_;
    host_.changed.clear();
    b.SetBackColor(1);
    b.SetBackOver(2);
    b.SetForeColor(3);
    b.SetForeOver(4);
    b.SetMaskColor(5);
    EXPECT_TRUE(b.SetButtonType(14).ok());
    EXPECT_TRUE(b.SetCaption("Go").ok());
    b.SetEnabled(true);
    EXPECT_TRUE(b.SetFont(MakeFont(FontDesc{kTestFontName, 12})).ok());
    EXPECT_TRUE(b.SetFontBold(true).ok());  // font attributes report nothing
    EXPECT_TRUE(b.SetFontSize(10).ok());
    b.SetColorScheme(2);
    b.SetShowFocusRect(false);
    b.SetMousePointer(11);
    b.SetMouseIcon(nullptr);
    b.SetHandPointer(false);
    b.SetSoftBevel(true);
    EXPECT_TRUE(b.SetPictureNormal(nullptr).ok());
    b.SetPictureOver(nullptr);
    EXPECT_TRUE(b.SetPicturePosition(1).ok());
    b.SetUseMaskColor(false);
    b.SetUseGreyscale(true);
    b.SetSpecialEffect(2);
    b.SetCheckBoxBehaviour(true);
    b.SetValue(true);
    const std::vector<std::string> expected{"BCOL",  "BCOLO", "FCOL", "FCOLO",   "MCOL",   "BTYPE",
                                            "TX",    "ENAB",  "FONT", "COLTYPE", "FOCUSR", "MPTR",
                                            "MICON", "HAND",  "SOFT", "PICN",    "PICO",   "PICPOS",
                                            "UMCOL", "NGREY", "FX",   "CHECK",   "VALUE"};
    EXPECT_EQ(host_.changed, expected);
}

TEST_F(ButtonTest, SavedFormRoundTripsEveryKey) {
    FlarvetButon& a = *button_;
    ASSERT_TRUE(a.SetButtonType(14).ok());
    ASSERT_TRUE(a.SetCaption("&Next page").ok());
    a.SetColorScheme(2);
    a.SetBackColor(Rgb(176, 204, 232));
    a.SetBackOver(Rgb(204, 224, 244));
    a.SetForeColor(Rgb(0, 40, 96));
    a.SetForeOver(Rgb(150, 0, 0));
    a.SetMaskColor(Rgb(255, 0, 255));
    a.SetShowFocusRect(false);
    a.SetSoftBevel(true);
    ASSERT_TRUE(a.SetPictureNormal(SmallPicture()).ok());
    ASSERT_TRUE(a.SetPicturePosition(3).ok());
    a.SetUseMaskColor(false);
    a.SetUseGreyscale(true);
    a.SetSpecialEffect(1);
    a.SetHandPointer(true);
    a.SetCheckBoxBehaviour(true);
    a.SetValue(true);
    a.SetEnabled(false);

    PropertyBag bag;
    ASSERT_TRUE(a.WriteProperties(bag).ok());
    EXPECT_EQ(bag.size(), 23u);  // every key, defaults included

    FlarvetButon& b = *MakeButton(Rect::FromXYWH(20, 80, 100, 30));
    ASSERT_TRUE(b.ReadProperties(bag).ok());
    EXPECT_EQ(b.ButtonType(), 14);
    EXPECT_EQ(b.Caption(), "&Next page");
    EXPECT_EQ(b.access_key(), 'n');
    EXPECT_FALSE(b.Enabled());
    EXPECT_FALSE(IsWindowEnabled(b.hwnd()));
    EXPECT_EQ(b.ColorScheme(), 2);
    EXPECT_EQ(b.BackColor(), Rgb(176, 204, 232));
    EXPECT_EQ(b.BackOver(), Rgb(204, 224, 244));
    EXPECT_EQ(b.ForeColor(), Rgb(0, 40, 96));
    EXPECT_EQ(b.ForeOver(), Rgb(150, 0, 0));
    EXPECT_EQ(b.MaskColor(), Rgb(255, 0, 255));
    EXPECT_FALSE(b.ShowFocusRect());
    EXPECT_TRUE(b.SoftBevel());
    ASSERT_NE(b.PictureNormal(), nullptr);
    EXPECT_EQ(b.picture_size(), (Size{16, 16}));
    EXPECT_EQ(b.PicturePosition(), 3);
    EXPECT_FALSE(b.UseMaskColor());
    EXPECT_TRUE(b.UseGreyscale());
    EXPECT_EQ(b.SpecialEffect(), 1);
    EXPECT_TRUE(b.HandPointer());
    EXPECT_EQ(b.MousePointer(), 99);
    EXPECT_TRUE(b.CheckBoxBehaviour());
    EXPECT_TRUE(b.Value());
    // The layout was redone for the restored caption, font and picture.
    EXPECT_EQ(b.caption_layout().caption, a.caption_layout().caption);
}

TEST_F(ButtonTest, ASavedShapedStyleTakesItsShapeAndFocusRectangle) {
    PropertyBag bag;
    bag.Write<int32_t>("BTYPE", 13, 0);
    FlarvetButon& b = *button_;
    ASSERT_TRUE(b.ReadProperties(bag).ok());
    EXPECT_EQ(b.focus_rect(), (Rect{3, 3, 97, 27}));
    EXPECT_EQ(WindowFromPoint(Screen(b, 2, 2)), form_->hwnd());
    EXPECT_EQ(WindowFromPoint(Screen(b, 50, 15)), b.hwnd());
}

TEST_F(ButtonTest, KeysAreMatchedWithoutRegardToCase) {
    PropertyBag upper;
    upper.Write<int32_t>("BTYPE", 13, 0);
    upper.Write<int32_t>("COLTYPE", 3, 0);
    upper.Write<std::string>("TX", "Ok", "");
    PropertyBag lower;
    lower.Write<int32_t>("btype", 13, 0);
    lower.Write<int32_t>("coltype", 3, 0);
    lower.Write<std::string>("tx", "Ok", "");
    FlarvetButon& a = *MakeButton();
    FlarvetButon& b = *MakeButton();
    ASSERT_TRUE(a.ReadProperties(upper).ok());
    ASSERT_TRUE(b.ReadProperties(lower).ok());
    for (FlarvetButon* x : {&a, &b}) {
        EXPECT_EQ(x->ButtonType(), 13);
        EXPECT_EQ(x->ColorScheme(), 3);
        EXPECT_EQ(x->Caption(), "Ok");
    }
}

TEST_F(ButtonTest, MissingKeysTakeTheirDefaults) {
    PropertyBag bag;
    bag.Write<int32_t>("BCOL", static_cast<int32_t>(Rgb(1, 2, 3)), 0);
    bag.Write<int32_t>("FCOL", static_cast<int32_t>(Rgb(4, 5, 6)), 0);
    bag.Write<int32_t>("MPTR", 11, 0);
    bag.Store<PictureRef>("MICON", SmallPicture());
    FlarvetButon& b = *button_;
    ASSERT_TRUE(b.SetButtonType(7).ok());
    ASSERT_TRUE(b.ReadProperties(bag).ok());
    EXPECT_EQ(b.ButtonType(), 2);
    EXPECT_EQ(b.Caption(), "");
    EXPECT_TRUE(b.Enabled());
    EXPECT_EQ(b.ColorScheme(), 1);
    EXPECT_TRUE(b.ShowFocusRect());
    EXPECT_EQ(b.BackOver(), Rgb(1, 2, 3));  // the value read for BCOL
    EXPECT_EQ(b.ForeOver(), Rgb(4, 5, 6));
    EXPECT_EQ(b.MaskColor(), 0xC0C0C0u);
    EXPECT_TRUE(b.UseMaskColor());
    EXPECT_EQ(b.PicturePosition(), 0);
    // HandPointer false comes last: the saved pointer and icon give way to
    // the arrow.
    EXPECT_EQ(b.MousePointer(), 1);
    EXPECT_EQ(b.MouseIcon(), nullptr);

    PropertyBag empty;
    const FontRef font = b.Font();
    ASSERT_TRUE(b.ReadProperties(empty).ok());
    EXPECT_EQ(b.Font(), font);  // the same shared object
    EXPECT_EQ(b.BackColor(), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(b.ForeColor(), GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(b.FontName(), kTestFontName);  // the current font stays
}

TEST_F(ButtonTest, SixteenBitKeysOutOfRangeFailWithOverflow) {
    PropertyBag bag;
    bag.Write<int32_t>("BTYPE", 70000, 0);
    bag.Write<std::string>("TX", "Still read", "");
    bag.Write<int32_t>("FX", 3, 0);
    FlarvetButon& b = *button_;
    Status read = b.ReadProperties(bag);
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.error().number(), 6);
    EXPECT_EQ(b.ButtonType(), 2);
    EXPECT_EQ(b.Caption(), "Still read");
    EXPECT_EQ(b.SpecialEffect(), 3);

    ASSERT_TRUE(b.SetButtonType(40000).ok());
    PropertyBag out;
    Status written = b.WriteProperties(out);
    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.error().number(), 6);
    EXPECT_FALSE(out.Contains("BTYPE"));
    EXPECT_EQ(out.size(), 22u);
}

TEST_F(ButtonTest, FontSizeReadsBackInWholePoints) {
    FlarvetButon& b = *button_;
    ASSERT_TRUE(b.SetFontSize(10).ok());
    EXPECT_EQ(b.FontSize(), 10);
    ASSERT_TRUE(b.Font()->set_size(10.5f).ok());
    EXPECT_EQ(b.FontSize(), 10);
    ASSERT_TRUE(b.Font()->set_size(11.5f).ok());
    EXPECT_EQ(b.FontSize(), 12);
    EXPECT_FALSE(b.SetFontSize(0).ok());
    EXPECT_FALSE(b.SetFontName("No Such Face Anywhere").ok());
    EXPECT_EQ(b.FontName(), kTestFontName);
}

TEST_F(ButtonTest, CheckBoxValueShowsDownOnlyWithCheckBoxBehaviour) {
    FlarvetButon& b = *button_;
    b.SetValue(true);
    EXPECT_EQ(b.last_state(), kStateUp);
    EXPECT_EQ(Pixel(b, 0, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
    b.SetCheckBoxBehaviour(true);
    EXPECT_EQ(b.last_state(), kStateDown);
    EXPECT_EQ(Pixel(b, 0, 0), GetSysColor(COLOR_3DDKSHADOW));
}

TEST_F(ButtonTest, PictureOverAwayFromThePointerDoesNotRepaint) {
    FlarvetButon& b = *button_;
    PersistentDC(b.hwnd())->SetPixel(50, 2, Rgb(9, 9, 9));
    b.SetPictureOver(SmallPicture());
    EXPECT_EQ(Pixel(b, 50, 2), Rgb(9, 9, 9));
    b.SetShowFocusRect(true);
    EXPECT_NE(Pixel(b, 50, 2), Rgb(9, 9, 9));
}

TEST_F(ButtonTest, NothingIsDrawnWhileDisabledOrZeroHigh) {
    FlarvetButon& b = *button_;
    b.DisableRefresh();
    PersistentDC(b.hwnd())->SetPixel(50, 2, Rgb(9, 9, 9));
    b.Draw(kStateDown, true);
    EXPECT_EQ(Pixel(b, 50, 2), Rgb(9, 9, 9));
    ASSERT_TRUE(b.Refresh().ok());
    EXPECT_TRUE(b.drawing_enabled());
    EXPECT_NE(Pixel(b, 50, 2), Rgb(9, 9, 9));

    b.Move(20, 20, 100, 0);
    ASSERT_TRUE(b.SetCaption("Later").ok());
    EXPECT_EQ(b.last_state(), kStateUp);
    b.Move(20, 20, 100, 30);  // the resize draws it up
    EXPECT_EQ(Pixel(b, 0, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(b.caption_layout().text_height, 16);
}

TEST_F(ButtonTest, UnforcedDrawRepaintsOnlyOnAChange) {
    FlarvetButon& b = *button_;
    PersistentDC(b.hwnd())->SetPixel(50, 2, Rgb(9, 9, 9));
    b.Draw(kStateUp, false);
    EXPECT_EQ(Pixel(b, 50, 2), Rgb(9, 9, 9));
    b.Draw(kStateDown, false);
    EXPECT_EQ(b.last_state(), kStateDown);
    EXPECT_EQ(Pixel(b, 0, 0), GetSysColor(COLOR_3DDKSHADOW));
}

TEST_F(ButtonTest, DisabledButtonsGetNoInputAndShowTheDisabledFace) {
    FlarvetButon& b = *button_;
    ASSERT_TRUE(b.SetCaption("Ab").ok());
    b.SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(b.hwnd()));
    // The caption is embossed: shadow over highlight.
    const Rect c = b.caption_layout().caption;
    EXPECT_EQ(Pixel(b, c.left, c.top), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(Pixel(b, c.left + 7, c.top + 1), GetSysColor(COLOR_BTNHIGHLIGHT));
}

TEST_F(ButtonTest, MouseInputFollowsTheShapeOfTheStyle) {
    FlarvetButon& b = *button_;
    int clicks = 0;
    b.on_click = [&] { ++clicks; };
    ASSERT_TRUE(b.SetButtonType(13).ok());
    EXPECT_EQ(WindowFromPoint(Screen(b, 2, 2)), form_->hwnd());
    EXPECT_EQ(WindowFromPoint(Screen(b, 50, 15)), b.hwnd());
    session_.Click(Screen(b, 2, 2));
    EXPECT_EQ(clicks, 0);
    session_.Click(Screen(b, 50, 15));
    EXPECT_EQ(clicks, 1);

    ASSERT_TRUE(b.SetButtonType(14).ok());
    EXPECT_EQ(WindowFromPoint(Screen(b, 0, 0)), form_->hwnd());
    EXPECT_EQ(WindowFromPoint(Screen(b, 1, 0)), b.hwnd());
    ASSERT_TRUE(b.SetButtonType(2).ok());
    EXPECT_EQ(WindowFromPoint(Screen(b, 0, 0)), b.hwnd());
}

TEST_F(ButtonTest, ParentSchemeFollowsTheFormColour) {
    FlarvetButon& b = *button_;
    b.SetColorScheme(4);
    EXPECT_EQ(b.palette().face, Rgb(200, 40, 40));
    form_->set_back_color(Rgb(10, 120, 10));
    b.AmbientChanged();
    EXPECT_EQ(b.palette().face, Rgb(10, 120, 10));
    EXPECT_EQ(Pixel(b, 50, 2), Rgb(10, 120, 10));
}

TEST_F(ButtonTest, FocusIsDrawnAndTheDefaultButtonAsked) {
    FlarvetButon& b = *button_;
    ASSERT_TRUE(b.SetButtonType(7).ok());
    b.SetFocus();
    EXPECT_TRUE(b.button_has_focus());
    const Color face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(Pixel(b, 3, 3), face ^ 0xFFFFFFu);
    ::platform::SetFocus(form_->hwnd());
    EXPECT_FALSE(b.button_has_focus());
    EXPECT_EQ(Pixel(b, 3, 3), face);
}

TEST_F(ButtonTest, AccessKeyFollowsTheAmpersandRules) {
    struct Case {
        const char* caption;
        char key;
    };
    const Case cases[] = {
        {"&Save", 's'},   {"Sa&ve", 'v'},  {"&", 0}, {"a&", 0},     {"Fish && Chips", 0},
        {"A && &B", 'b'}, {"A && &&B", 0}, {"x", 0}, {"&&&X", 'x'}, {"&1", '1'},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(button_->SetCaption(c.caption).ok());
        EXPECT_EQ(button_->access_key(), c.key) << c.caption;
    }
}

}  // namespace
}  // namespace skin_button
