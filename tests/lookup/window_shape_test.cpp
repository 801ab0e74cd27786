// The main window's outline from its mask picture: mask-coloured pixels are
// cut away; a missing, unreadable or wholly cut-away mask leaves the window
// rectangular.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "lookup/window_shape.h"
#include "platform/dc.h"
#include "platform/picture.h"

using namespace platform;

namespace {

class MaskFile {
  public:
    explicit MaskFile(const char* name)
        : path_((std::filesystem::temp_directory_path() /
                 (std::string("kovelin-mask-") + std::to_string(getpid()) + name))
                    .string()) {}
    ~MaskFile() { std::filesystem::remove(path_); }
    void Write(const std::vector<uint8_t>& bytes) const {
        FILE* f = std::fopen(path_.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

TEST(TransparentFormTest, MaskColouredPixelsAreCutAway) {
    Surface reference(1, 1);
    Surface mask = DC(reference).CreateCompatibleSurface(40, 30, lookup::kMaskColor);
    {
        DC dc(mask);
        dc.FillRect({4, 2, 36, 28}, Rgb(0, 0, 0));
        dc.FillRect({10, 10, 12, 12}, lookup::kMaskColor);  // a hole
    }
    MaskFile file("a.dat");
    file.Write(EncodeBmp24(mask));
    const std::optional<Region> r = lookup::TransparentForm(file.path());
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->bounds(), (Rect{4, 2, 36, 28}));
    EXPECT_TRUE(r->contains(4, 2));
    EXPECT_TRUE(r->contains(35, 27));
    EXPECT_FALSE(r->contains(3, 2));
    EXPECT_FALSE(r->contains(36, 27));
    EXPECT_FALSE(r->contains(10, 10));
    EXPECT_FALSE(r->contains(11, 11));
    EXPECT_TRUE(r->contains(12, 11));
}

TEST(TransparentFormTest, NoUsableMaskLeavesTheWindowRectangular) {
    EXPECT_FALSE(lookup::TransparentForm("/nonexistent/mask.dat").has_value());
    MaskFile junk("b.dat");
    junk.Write({'B', 'M', 1, 2, 3});
    EXPECT_FALSE(lookup::TransparentForm(junk.path()).has_value());
    // A mask that cuts everything away would leave no window to click.
    Surface reference(1, 1);
    MaskFile empty("c.dat");
    empty.Write(EncodeBmp24(DC(reference).CreateCompatibleSurface(8, 8, lookup::kMaskColor)));
    EXPECT_FALSE(lookup::TransparentForm(empty.path()).has_value());
}

}  // namespace
