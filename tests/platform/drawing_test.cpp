// Colours, surfaces and the drawing context's pixel rules.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/color.h"
#include "platform/dc.h"
#include "platform/surface.h"

namespace platform {
namespace {

TEST(Colors, SystemValuesTranslateAndOthersLoseTheirHighByte) {
    EXPECT_EQ(TranslateColor(kSystemColorFlag | COLOR_BTNFACE), Rgb(192, 192, 192));
    EXPECT_EQ(TranslateColor(kSystemColorFlag | COLOR_3DLIGHT), Rgb(223, 223, 223));
    EXPECT_EQ(TranslateColor(kSystemColorFlag | COLOR_HIGHLIGHT), Rgb(0, 0, 128));
    EXPECT_EQ(TranslateColor(kSystemColorFlag | COLOR_INFOBK), Rgb(255, 255, 225));
    EXPECT_EQ(TranslateColor(kSystemColorFlag | 31), 0u);
    EXPECT_EQ(TranslateColor(kSystemColorFlag | 0x7FFFFFFF), 0u);
    EXPECT_EQ(TranslateColor(0x01123456), 0x123456u);
    EXPECT_EQ(GetSysColor(-1), 0u);
    EXPECT_EQ(GetSysColor(kSysColorCount), 0u);
}

TEST(Surfaces, PngRoundTripWorksWithoutAnyVideoInit) {
    Surface s(5, 3, Rgb(10, 20, 30));
    s.set_pixel(4, 2, Rgb(255, 0, 1));
    s.set_pixel(0, 0, Rgb(0, 254, 0));
    const std::string path =
        (std::filesystem::temp_directory_path() / "kovelin_drawing_roundtrip.png").string();
    ASSERT_TRUE(s.WritePng(path).ok());
    Result<Surface> back = Surface::ReadPng(path);
    std::remove(path.c_str());
    ASSERT_TRUE(back.ok()) << back.error().message;
    ASSERT_EQ(back->bounds(), s.bounds());
    for (int32_t y = 0; y < 3; ++y) {
        for (int32_t x = 0; x < 5; ++x) EXPECT_EQ(back->pixel(x, y), s.pixel(x, y));
    }
    EXPECT_FALSE(Surface().WritePng(path).ok());
    EXPECT_EQ(Surface::ReadPng(path + ".missing").error().code, ErrorCode::kFileNotFound);
}

TEST(Surfaces, ResizeKeepsOverlapAndClampsHugeOrNegativeSizes) {
    Surface s(3, 3, Rgb(1, 1, 1));
    s.set_pixel(2, 2, Rgb(9, 9, 9));
    s.resize(4, 5, Rgb(7, 7, 7));
    EXPECT_EQ(s.pixel(2, 2), Rgb(9, 9, 9));
    EXPECT_EQ(s.pixel(3, 0), Rgb(7, 7, 7));
    EXPECT_EQ(s.pixel(0, 4), Rgb(7, 7, 7));
    EXPECT_EQ(s.pixel(-1, 0), 0u);
    s.set_pixel(100, 100, 0);  // ignored, not a crash
    EXPECT_TRUE(Surface(-3, 10).empty());
    EXPECT_EQ(Surface(1, 1 << 30).height(), kMaxSurfaceSide);
}

}  // namespace
}  // namespace platform
