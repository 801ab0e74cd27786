// SPDX-License-Identifier: GPL-3.0-or-later
// The private temporary folder must never be one another user can read or
// redirect; the application folder must point at the executable's folder.
#include "platform/os/paths.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "os_test_util.h"

namespace platform::os {
namespace {

using os_test::ModeOf;
using os_test::ScratchFolder;

class PrivateTempFolderTest : public ::testing::Test {
  protected:
    TempFolderCandidates Candidates() const {
        TempFolderCandidates c;
        c.xdg_runtime_dir = runtime_;
        c.tmpdir = tmpdir_;
        c.fallback_root = fallback_;
        c.uid = ::getuid();
        return c;
    }
    std::string UserFolder(const std::string& root) const {
        return root + "/kovelin-" + std::to_string(::getuid());
    }

    ScratchFolder scratch_;
    std::string runtime_ = scratch_ / "run";
    std::string tmpdir_ = scratch_ / "tmp";
    std::string fallback_ = scratch_ / "fallback";

    void SetUp() override {
        ASSERT_FALSE(scratch_.path().empty());
        for (const auto& dir : {runtime_, tmpdir_, fallback_})
            ASSERT_EQ(::mkdir(dir.c_str(), 0755), 0);
    }
};

TEST_F(PrivateTempFolderTest, MissingFolderIsCreatedPrivate) {
    auto folder = PrivateTempFolder(Candidates());
    ASSERT_TRUE(folder.ok()) << folder.error().message;
    EXPECT_EQ(*folder, runtime_ + "/kovelin/");
    EXPECT_EQ(ModeOf(runtime_ + "/kovelin"), 0700u);

    // Without a runtime folder the next candidates take over, in order.
    auto c = Candidates();
    c.xdg_runtime_dir.clear();
    EXPECT_EQ(PrivateTempFolder(c).value_or(""), UserFolder(tmpdir_) + "/");
    c.tmpdir = "relative/path";  // relative values are ignored
    EXPECT_EQ(PrivateTempFolder(c).value_or(""), UserFolder(fallback_) + "/");
}

TEST_F(PrivateTempFolderTest, TooOpenFolderWeOwnIsTightened) {
    const std::string dir = runtime_ + "/kovelin";
    ASSERT_EQ(::mkdir(dir.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(dir.c_str(), 0777), 0);
    EXPECT_EQ(PrivateTempFolder(Candidates()).value_or(""), dir + "/");
    EXPECT_EQ(ModeOf(dir), 0700u);
}

TEST_F(PrivateTempFolderTest, PlantedSymbolicLinkIsNotFollowed) {
    // Someone points our folder name at a folder of theirs.
    const std::string target = scratch_ / "theirs";
    ASSERT_EQ(::mkdir(target.c_str(), 0755), 0);
    ASSERT_EQ(::symlink(target.c_str(), (runtime_ + "/kovelin").c_str()), 0);

    auto folder = PrivateTempFolder(Candidates());
    ASSERT_TRUE(folder.ok());
    EXPECT_EQ(*folder, UserFolder(tmpdir_) + "/");
    EXPECT_EQ(ModeOf(target), 0755u) << "the link target must not be touched";

    // A plain file in place of a folder is passed over the same way.
    os_test::WriteText(UserFolder(tmpdir_) + "x", "");
    ASSERT_EQ(::rmdir(UserFolder(tmpdir_).c_str()), 0);
    ASSERT_EQ(::rename((UserFolder(tmpdir_) + "x").c_str(), UserFolder(tmpdir_).c_str()), 0);
    EXPECT_EQ(PrivateTempFolder(Candidates()).value_or(""), UserFolder(fallback_) + "/");
}

TEST_F(PrivateTempFolderTest, FolderOfAnotherOwnerIsReplacedByAFreshOne) {
    // Pretend to be another user: every existing folder then belongs to
    // "someone else" and must be neither used nor changed.
    auto c = Candidates();
    c.uid = ::getuid() + 4242;
    const std::string planted = tmpdir_ + "/kovelin-" + std::to_string(c.uid);
    ASSERT_EQ(::mkdir(planted.c_str(), 0755), 0);

    auto folder = PrivateTempFolder(c);
    ASSERT_TRUE(folder.ok()) << folder.error().message;
    EXPECT_EQ(folder->rfind(planted + "-", 0), 0u) << *folder;  // fresh mkdtemp name
    EXPECT_EQ(folder->back(), '/');
    EXPECT_EQ(ModeOf(folder->substr(0, folder->size() - 1)), 0700u);
    EXPECT_EQ(ModeOf(planted), 0755u);
}

TEST(AppFolderPathTest, PointsAtTheRunningExecutablesFolder) {
    auto app = AppFolderPath();
    ASSERT_TRUE(app.ok());
    ASSERT_EQ(app->back(), '/');
    EXPECT_TRUE(std::filesystem::exists(*app + "os_tests")) << *app;
    EXPECT_EQ(DataFolderPath().value_or(""), *app + "system/");
}

}  // namespace
}  // namespace platform::os
