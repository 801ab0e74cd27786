// What the build puts in the data folder for the main window: the skin and
// its mask agree and give a rounded outline, the page pictures fit their
// panel's width and the 16-bit scroll range, and the sounds are short and
// start and end quietly (an abrupt edge is heard as a click).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/app_paths.h"
#include "lookup/skin_layout.h"
#include "lookup/window_shape.h"
#include "platform/os/sound.h"
#include "platform/picture.h"

namespace {

using namespace platform;

TEST(ShippedDataTest, SkinAndMaskMakeTheRoundedWindow) {
    auto skin = LoadPicture(app::DataFilePath("skin.bmp"));
    ASSERT_TRUE(skin.ok());
    EXPECT_EQ((*skin)->width_px(), lookup::skin::kWidth);
    EXPECT_EQ((*skin)->height_px(), lookup::skin::kHeight);
    const std::optional<Region> outline = lookup::TransparentForm(app::DataFilePath("mask.dat"));
    ASSERT_TRUE(outline.has_value());
    EXPECT_EQ(outline->bounds(), (Rect{0, 0, lookup::skin::kWidth, lookup::skin::kHeight}));
    for (const Point corner : {Point{0, 0}, Point{599, 0}, Point{0, 498}, Point{599, 498}})
        EXPECT_FALSE(outline->contains(corner)) << corner.x << "," << corner.y;
    // Every hot spot and every panel pixel is inside.
    for (const lookup::skin::Box b :
         {lookup::skin::kMover, lookup::skin::kHelp, lookup::skin::kMinimize, lookup::skin::kExit,
          lookup::skin::kPanel})
        for (int32_t y = b.y; y < b.y + b.h; ++y)
            for (int32_t x = b.x; x < b.x + b.w; ++x)
                ASSERT_TRUE(outline->contains(x, y)) << x << "," << y;
    // The cut-away corners are not drawn in the mask colour, which smooth
    // enlargement on a dense screen would blend into the outline's edge.
    const Surface& pixels = (*skin)->pixels();
    int64_t mask_coloured = 0;
    for (int32_t y = 0; y < pixels.height(); ++y)
        for (int32_t x = 0; x < pixels.width(); ++x)
            mask_coloured += pixels.pixel(x, y) == lookup::kMaskColor ? 1 : 0;
    EXPECT_EQ(mask_coloured, 0);
}

TEST(ShippedDataTest, PagePicturesFitThePanelAndTheScrollRange) {
    for (const char* name :
         {"s0.dat", "s1.dat", "s2.dat", "s3.dat", "s4.dat", "s5.dat", "op.dat"}) {
        auto page = LoadPicture(app::DataFilePath(name));
        ASSERT_TRUE(page.ok()) << name;
        EXPECT_EQ((*page)->width_px(), 566) << name;
        EXPECT_GT((*page)->height_px(), 411) << name << " is a page to scroll";
        EXPECT_LE((*page)->height_px(), 2567) << name;
    }
}

// Each picture of the sharp set is its plain twin drawn at twice the
// resolution: twice the size, the same picture when its 2 x 2 blocks are
// averaged, and not the twin's pixels doubled (some blocks hold detail).
TEST(ShippedDataTest, SharpPicturesAreTheirTwinsDrawnAtTwiceTheResolution) {
    const std::string sharp = app::DataFilePath(app::kSharpArtworkFolder);
    ASSERT_TRUE(std::filesystem::exists(sharp + "skin.bmp"));
    int pictures = 0;
    for (const auto& entry : std::filesystem::directory_iterator(sharp)) {
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        ++pictures;
        auto big = LoadPicture(entry.path().string());
        auto plain = LoadPicture(app::DataFilePath(name));
        ASSERT_TRUE(big.ok() && plain.ok());
        const Surface& b = (*big)->pixels();
        const Surface& p = (*plain)->pixels();
        ASSERT_EQ(b.width(), 2 * p.width());
        ASSERT_EQ(b.height(), 2 * p.height());
        int64_t difference = 0;
        int64_t detailed_blocks = 0;
        for (int32_t y = 0; y < p.height(); ++y) {
            const uint32_t* top = b.row(2 * y);
            const uint32_t* bottom = b.row(2 * y + 1);
            const uint32_t* plain_row = p.row(y);
            for (int32_t x = 0; x < p.width(); ++x) {
                const uint32_t block[4] = {top[2 * x], top[2 * x + 1], bottom[2 * x],
                                           bottom[2 * x + 1]};
                detailed_blocks +=
                    block[0] != block[1] || block[0] != block[2] || block[0] != block[3] ? 1 : 0;
                for (int shift = 0; shift <= 16; shift += 8) {
                    int sum = 0;
                    for (uint32_t c : block) sum += static_cast<int>((c >> shift) & 0xFF);
                    difference +=
                        std::abs(sum / 4 - static_cast<int>((plain_row[x] >> shift) & 0xFF));
                }
            }
        }
        const int64_t samples = int64_t{3} * p.width() * p.height();
        // Text and curves fall differently at the two resolutions, a little.
        EXPECT_LT(difference, samples * 4)
            << "mean difference per channel x 1000: " << difference * 1000 / samples;
        EXPECT_GT(detailed_blocks * 1000, int64_t{p.width()} * p.height());
    }
    EXPECT_GE(pictures, 10);
}

TEST(ShippedDataTest, SoundsAreShortAndStartAndEndQuietly) {
    for (const char* name : {"click.wav", "click2.wav", "huh.wav"}) {
        auto sound = os::LoadWave(app::DataFilePath(name));
        ASSERT_TRUE(sound.ok()) << name;
        const std::vector<int16_t>& s = sound->samples;
        ASSERT_FALSE(s.empty());
        EXPECT_LT(sound->frames(), static_cast<size_t>(os::PcmSound::kFrequency / 2)) << name;
        int peak = 0;
        for (int16_t v : s) peak = std::max(peak, std::abs(static_cast<int>(v)));
        EXPECT_GT(peak, 2000) << name << " is heard";
        EXPECT_LT(peak, 30000) << name << " does not clip";
        EXPECT_LT(std::abs(s.front()), 400) << name;
        EXPECT_LT(std::abs(s.back()), 400) << name;
    }
}

}  // namespace
