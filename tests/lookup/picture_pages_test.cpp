// The picture pages' scroll arithmetic on a real scroll bar: the examples of
// the rounding, ties to even, the 16-bit limit that keeps the previous
// maximum, and a picture shorter than its panel.

#include <gtest/gtest.h>

#include "lookup/picture_pages.h"
#include "platform/controls/form.h"
#include "platform/headless/headless_backend.h"

using namespace platform;
using namespace platform::controls;

namespace {

class PageScrollTest : public ::testing::Test {
  protected:
    void SetUp() override {
        FormOptions o;
        o.name = "frmPages";
        form_ = std::make_unique<Form>(o);
        form_->on_load = [this] {
            bar_ = &form_->Add<ScrollBar>("pVscroll", Rect::FromXYWH(0, 0, 17, 200));
        };
        form_->Load();
    }
    // The bar's settings after a page whose maximum works out at `max`
    // (the panel 6165 twips, the strip 420).
    void Page(double max) { lookup::SetPageScroll(*bar_, max + 6165 - 420, 6165, 420); }

    headless::HeadlessSession session_;
    std::unique_ptr<Form> form_;
    ScrollBar* bar_ = nullptr;
};

TEST_F(PageScrollTest, ChangesAreATenthAndAQuarterRoundedToEven) {
    Page(140);
    EXPECT_EQ(bar_->max(), 140);
    EXPECT_EQ(bar_->large_change(), 14);
    EXPECT_EQ(bar_->small_change(), 4) << "3.5 rounds to 4";
    Page(35);
    EXPECT_EQ(bar_->large_change(), 4) << "3.5 rounds to 4";
    EXPECT_EQ(bar_->small_change(), 1);
    Page(25);
    EXPECT_EQ(bar_->large_change(), 2) << "2.5 rounds to 2";
    EXPECT_EQ(bar_->small_change(), 1) << "0.5 rounds to 0, which the bar refuses";
    // The maximum itself rounds half to even too.
    Page(40.5);
    EXPECT_EQ(bar_->max(), 40);
    Page(41.5);
    EXPECT_EQ(bar_->max(), 42);
}

TEST_F(PageScrollTest, AMaximumPast16BitsKeepsThePreviousOneAndItsChanges) {
    Page(3000);
    ASSERT_EQ(bar_->max(), 3000);
    (void)bar_->set_value(1200);
    // A picture 2568 pixels tall: 38520 - 6165 + 420 = 32775 twips.
    lookup::SetPageScroll(*bar_, 2568.0 * lookup::kTwipsPerPixel, 6165, 420);
    EXPECT_EQ(bar_->max(), 3000);
    EXPECT_EQ(bar_->large_change(), 300);
    EXPECT_EQ(bar_->small_change(), 75);
    EXPECT_EQ(bar_->value(), 1200) << "nothing moved";
    // The tallest page that fits: 2567 pixels.
    lookup::SetPageScroll(*bar_, 2567.0 * lookup::kTwipsPerPixel, 6165, 420);
    EXPECT_EQ(bar_->max(), 32760);
}

TEST_F(PageScrollTest, APictureThatFitsCannotBeScrolled) {
    Page(500);
    lookup::SetPageScroll(*bar_, 100.0 * lookup::kTwipsPerPixel, 6165, 420);
    EXPECT_EQ(bar_->max(), 0);
    EXPECT_EQ(bar_->value(), 0);
    (void)bar_->set_value(-40);
    EXPECT_EQ(bar_->value(), 0) << "the page cannot be pushed down";
}

TEST(TwipsToPixelsTest, RoundsHalfToEven) {
    EXPECT_EQ(lookup::TwipsToPixels(420), 28);
    EXPECT_EQ(lookup::TwipsToPixels(-15), -1);
    EXPECT_EQ(lookup::TwipsToPixels(22.5), 2) << "1.5 pixels round to 2";
    EXPECT_EQ(lookup::TwipsToPixels(37.5), 2) << "2.5 pixels round to 2";
}

}  // namespace
