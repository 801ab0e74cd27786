// SPDX-License-Identifier: GPL-3.0-or-later
// The program's pictures at the device scale: the sharp set from scale 2
// up, the plain one below it and wherever the sharp set has no usable twin,
// each as a picture of the same program size.
#include "app/artwork.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "../platform/os/os_test_util.h"
#include "app/app_paths.h"

namespace {

using os_test::ScratchFolder;

void WritePicture(const std::string& path, int32_t w, int32_t h) {
    const std::vector<uint8_t> bytes = platform::EncodeBmp24(platform::Surface(w, h, 0x336699));
    os_test::WriteText(path, std::string(bytes.begin(), bytes.end()));
}

TEST(Artwork, TheSetFollowsTheDeviceScale) {
    ScratchFolder dir;
    std::filesystem::create_directories(dir / "2x");
    WritePicture(dir / "both.bmp", 3, 2);
    WritePicture(dir / "2x/both.bmp", 6, 4);
    WritePicture(dir / "plain.bmp", 3, 2);
    WritePicture(dir / "odd.bmp", 3, 2);
    WritePicture(dir / "2x/odd.bmp", 5, 4);  // no whole program pixels
    app::SetDataFolder(dir.path());
    struct Case {
        const char* name;
        int32_t device_scale;
        int32_t picture_scale;
    };
    for (const Case c : {Case{"both.bmp", 1, 1}, Case{"both.bmp", 2, 2}, Case{"both.bmp", 3, 2},
                         Case{"plain.bmp", 2, 1}, Case{"odd.bmp", 2, 1}}) {
        SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(c.device_scale));
        const auto picture = app::LoadArtwork(c.name, c.device_scale);
        ASSERT_TRUE(picture.ok());
        EXPECT_EQ(picture.value()->pixels().scale(), c.picture_scale);
        EXPECT_EQ(picture.value()->width_px(), 3);
        EXPECT_EQ(picture.value()->height_px(), 2);
    }
    EXPECT_FALSE(app::LoadArtwork("missing.bmp", 2).ok());
    app::SetDataFolder("");
}

}  // namespace
