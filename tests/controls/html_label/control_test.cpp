// The windowed component on the headless backend: the parts it arranges,
// the scroll ranges Refresh gives the bars, the viewport copied from the
// picture at the scroll position, resizing and design mode.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "controls/html_label/html_label_control.h"
#include "platform/headless/headless_backend.h"
#include "platform/text.h"
#include "platform/window.h"

namespace html_label {
namespace {

using namespace platform;

LRESULT FormProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProc(h, msg, wp, lp);
}

class DesignHost : public ComponentHost {
  public:
    Result<bool> AmbientUserMode() const override { return user_mode; }
    bool user_mode = true;
};

// Lines of 20 px on the fixed face at 12 points.
std::string Lines(int n) {
    std::string html = "<BODY BGCOLOR=white>";
    for (int k = 0; k < n; ++k) html += "line" + std::to_string(k) + "<BR>";
    return html;
}

class ControlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        RegisterClass({"HtmlForm", &FormProc, 0, 0xFFFFFF, {}});
        form_ = CreateWindowEx(0, "HtmlForm", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 400, HWND{});
        control_ = std::make_unique<HTMLLabelControl>(form_, host_, "htmlTest",
                                                      Rect::FromXYWH(10, 10, 204, 154));
        HTMLLabel& label = control_->label();
        label.SetEnableScroll(true);
        ASSERT_TRUE(label.SetDefaultFontName(kTestFontName).ok());
        ASSERT_TRUE(label.SetDefaultFontSize(12).ok());
        control_->Resize();
    }
    void TearDown() override {
        control_.reset();
        DestroyWindow(form_);
    }
    Rect View() { return GetClientRect(control_->viewport().hwnd()); }
    // What the viewport shows now, as a composed frame of the form.
    Color Shown(int32_t x, int32_t y) {
        const Surface frame = RenderWindow(form_);
        const Point at = MapWindowPoint(control_->viewport().hwnd(), form_, {x, y});
        return frame.pixel(at.x, at.y);
    }

    headless::HeadlessSession session_;
    DesignHost host_;
    HWND form_;
    std::unique_ptr<HTMLLabelControl> control_;
};

TEST_F(ControlTest, PartsAreArrangedInsideTheFrame) {
    // 204 x 154 with a 2 px 3-D edge: a 200 x 150 client area.
    const int32_t bar = GetSystemMetrics(SM_CXVSCROLL);
    const int32_t bar_height = GetSystemMetrics(SM_CYHSCROLL);
    EXPECT_EQ(View(), Rect::FromXYWH(0, 0, 200 - bar, 150 - bar_height));
    EXPECT_EQ(control_->vertical().bounds(), Rect::FromXYWH(200 - bar, 0, bar, 150 - bar_height));
    EXPECT_EQ(control_->horizontal().bounds(),
              Rect::FromXYWH(0, 150 - bar_height, 200 - bar, bar_height));
    EXPECT_EQ(control_->corner(), Rect::FromXYWH(200 - bar, 150 - bar_height, bar, bar_height));
    EXPECT_EQ(control_->picture().width(), View().width());
    EXPECT_EQ(control_->picture().height(), View().height());

    control_->label().SetEnableScroll(false);
    control_->Resize();
    EXPECT_EQ(View(), Rect::FromXYWH(0, 0, 200, 150));
    EXPECT_TRUE(control_->corner().empty());
}

TEST_F(ControlTest, ShortDocumentShowsBothBarsDisabled) {
    ASSERT_TRUE(control_->label().LoadDocument(Lines(2)).ok());
    EXPECT_TRUE(control_->vertical().visible());
    EXPECT_TRUE(control_->horizontal().visible());
    EXPECT_FALSE(control_->vertical().enabled());
    EXPECT_FALSE(control_->horizontal().enabled());
    EXPECT_EQ(control_->vertical().max(), 0);
    EXPECT_EQ(control_->picture().height(), View().height());
    EXPECT_EQ(control_->picture().width(), View().width());
}

TEST_F(ControlTest, LongDocumentScrollsByCopyingThePictureAtTheScrollPosition) {
    ASSERT_TRUE(control_->label().LoadDocument(Lines(30)).ok());
    // 30 lines from 4: content 624 high.
    EXPECT_EQ(control_->label().ContentHeight(), 624);
    EXPECT_EQ(control_->vertical().max(), 624 - View().height());
    EXPECT_EQ(control_->vertical().large_change(), View().height());
    EXPECT_TRUE(control_->vertical().enabled());
    EXPECT_FALSE(control_->horizontal().enabled());

    // "line0" starts at (4, 4); "line5" at (4, 104).
    EXPECT_EQ(Shown(4, 4), 0x000000u);
    ASSERT_TRUE(control_->vertical().set_value(100).ok());
    EXPECT_EQ(Shown(4, 4), 0x000000u);
    EXPECT_EQ(Shown(4, 3), 0xFFFFFFu);
    EXPECT_EQ(Shown(4, 24 - 1), 0xFFFFFFu);

    // A new document scrolls back to the top.
    ASSERT_TRUE(control_->label().LoadDocument(Lines(31)).ok());
    EXPECT_EQ(control_->vertical().value(), 0);
}

TEST_F(ControlTest, ContentBeyondWhatTheBarHoldsIsLimited) {
    // 3,000 lines of 20 px: more than the 16-bit range and more than one
    // picture holds. The range stops where the picture ends, so every
    // position shows drawn document, and the top is still reachable.
    ASSERT_TRUE(control_->label().LoadDocument(Lines(3000)).ok());
    EXPECT_GT(control_->label().ContentHeight(), 32767);
    const int32_t max = control_->vertical().max();
    EXPECT_LE(max, 32767);
    EXPECT_EQ(max, control_->picture().height() - View().height());
    ASSERT_TRUE(control_->vertical().set_value(max).ok());
    EXPECT_EQ(control_->vertical().value(), max);
    // The last line the picture holds ends in the viewport, in the text colour
    // somewhere on the line at the bottom.
    const int32_t first_line = (max - 4 + 19) / 20 * 20 + 4 - max;
    EXPECT_EQ(Shown(4, first_line), 0x000000u);
    ASSERT_TRUE(control_->vertical().set_value(0).ok());
    EXPECT_EQ(Shown(4, 4), 0x000000u);
}

TEST_F(ControlTest, ResizeRearrangesWithoutLayingOutAgain) {
    ASSERT_TRUE(control_->label().LoadDocument(Lines(30)).ok());
    ASSERT_TRUE(control_->vertical().set_value(50).ok());
    control_->Move(10, 10, 254, 204);
    const int32_t bar = GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(View().width(), 250 - bar);
    EXPECT_EQ(control_->vertical().value(), 0);
    // The picture is the viewport's size again, keeping what was drawn.
    EXPECT_EQ(control_->picture().height(), View().height());
    EXPECT_EQ(Shown(4, 4), 0x000000u);

    // Too low to arrange: nothing changes.
    control_->Move(10, 10, 254, 24);
    EXPECT_EQ(View().width(), 250 - bar);
}

TEST_F(ControlTest, DesignModeNeitherRefreshesNorPaintsTheDocument) {
    host_.user_mode = false;
    ASSERT_TRUE(control_->label().LoadDocument(Lines(30)).ok());
    EXPECT_EQ(control_->vertical().max(), 0);
    EXPECT_EQ(control_->picture().height(), View().height());
    EXPECT_NE(Shown(4, 4), 0x000000u);
}

TEST_F(ControlTest, TheViewportShowsTheHourglassWhileADocumentIsLaidOut) {
    int16_t during = -1;
    control_->label().on_load_image = [&](std::string&, PictureRef&) {
        during = control_->viewport().mouse_pointer();
    };
    ASSERT_TRUE(control_->label().LoadDocument("<BODY><IMG SRC=x>").ok());
    EXPECT_EQ(during, controls::kPointerHourglass);
    EXPECT_EQ(control_->viewport().mouse_pointer(), controls::kPointerDefault);
}

TEST_F(ControlTest, ReportsScrollValuesAndContentSize) {
    ASSERT_TRUE(control_->label().LoadDocument(Lines(30)).ok());
    Json state = Json::MakeObject();
    control_->ReportState(state);
    ASSERT_NE(state.Get("content_height"), nullptr);
    EXPECT_EQ(*state.Get("content_height")->integer(), 624);
    EXPECT_EQ(*state.Get("vertical_max")->integer(), 624 - View().height());
    EXPECT_EQ(*state.Get("corner_visible")->boolean(), true);
}

}  // namespace
}  // namespace html_label
