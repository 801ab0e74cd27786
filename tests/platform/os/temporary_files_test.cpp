// SPDX-License-Identifier: GPL-3.0-or-later
// Leftover temporary files: the start-up sweep removes only stale regular
// files of our own naming, never through a link; the termination handler
// removes exactly the files registered at that moment.
#include "platform/os/temporary_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "os_test_util.h"
#include "platform/os/files.h"

namespace platform::os {
namespace {

using os_test::ScratchFolder;
using os_test::WriteText;

void MakeOld(const std::string& path) {
    timespec times[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

std::set<std::string> Names(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

TEST(RemoveStaleFilesTest, OnlyStaleRegularFilesOfOurNamingGo) {
    ScratchFolder dir;
    ScratchFolder outside;
    const std::string folder = dir / "kovelin";
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    // What a replace of Tarvik.ini names its temporary file.
    std::string ours = ReplacementTemporaryPattern(folder + "/Tarvik.ini");
    ::close(::mkstemp(ours.data()));
    MakeOld(ours);
    for (const char* name :
         {".load.tmp-000000", "Tarvik.ini", ".Tarvik.ini.tmp-ABC12", ".Tarvik.ini.tmp-ABC12!",
          ".tmp-ABCDEF", "Tarvik.ini.tmp-ABCDEF", "Tarvik.ini.corrupt-1"}) {
        WriteText(folder + "/" + name, "x");
        MakeOld(folder + "/" + name);
    }
    WriteText(folder + "/.fresh.tmp-ABCDEF", "being written");
    WriteText(outside / "target", "not ours");
    MakeOld(outside / "target");
    ASSERT_EQ(::symlink((outside / "target").c_str(), (folder + "/.link.tmp-ABCDEF").c_str()), 0);
    ASSERT_EQ(::mkdir((folder + "/.dir.tmp-ABCDEF").c_str(), 0700), 0);
    ASSERT_EQ(::mkfifo((folder + "/.fifo.tmp-ABCDEF").c_str(), 0600), 0);

    auto removed = RemoveStaleFiles(folder, IsReplacementTemporaryName, 60);
    ASSERT_TRUE(removed.ok()) << removed.error().message;
    EXPECT_EQ(*removed, 2);
    EXPECT_EQ(Names(folder),
              (std::set<std::string>{
                  "Tarvik.ini", ".Tarvik.ini.tmp-ABC12", ".Tarvik.ini.tmp-ABC12!", ".tmp-ABCDEF",
                  "Tarvik.ini.tmp-ABCDEF", "Tarvik.ini.corrupt-1", ".fresh.tmp-ABCDEF",
                  ".link.tmp-ABCDEF", ".dir.tmp-ABCDEF", ".fifo.tmp-ABCDEF"}));
    EXPECT_EQ(os_test::ReadText(outside / "target"), "not ours");

    // Without an age the fresh one goes too; a folder reached through a
    // link is not swept at all.
    EXPECT_EQ(RemoveStaleFiles(folder, IsReplacementTemporaryName, 0).value_or(-1), 1);
    WriteText(outside / ".x.tmp-ABCDEF", "x");
    ASSERT_EQ(::symlink(outside.path().c_str(), (dir / "linked").c_str()), 0);
    EXPECT_FALSE(RemoveStaleFiles(dir / "linked", IsReplacementTemporaryName, 0).ok());
    EXPECT_TRUE(std::filesystem::exists(outside / ".x.tmp-ABCDEF"));
}

// A replacement being written is locked by its writer; one whose writer was
// killed has lost the lock and goes at the next sweep, whatever its age.
TEST(RemoveAbandonedReplacementsTest, OnlyUnlockedReplacementsOfThatPathGo) {
    ScratchFolder dir;
    ScratchFolder outside;
    const std::string target = dir / "load.dll";
    auto live = ReplacementFile::Create(target, 0600);
    ASSERT_TRUE(live) << live.error().message;
    WriteText(dir / ".load.dll.tmp-Ab12Cd", "a killed writer's file");
    WriteText(dir / ".other.dll.tmp-Ab12Cd", "another path's");
    WriteText(dir / ".load.dll.tmp-toolong", "not our naming");
    WriteText(outside / "kept", "outside");
    std::filesystem::create_symlink(outside / "kept", dir / ".load.dll.tmp-Zz99Yy");

    ASSERT_EQ(RemoveAbandonedReplacements(target).value_or(-1), 1);
    const std::string live_name =
        std::filesystem::path((*live)->temporary_path()).filename().string();
    EXPECT_EQ(Names(dir.path()),
              (std::set<std::string>{live_name, ".other.dll.tmp-Ab12Cd", ".load.dll.tmp-toolong",
                                     ".load.dll.tmp-Zz99Yy"}));
    EXPECT_TRUE(std::filesystem::exists(outside / "kept"));

    // Committed, the content is in place and no temporary is left.
    ASSERT_EQ(::write((*live)->fd(), "new", 3), 3);
    ASSERT_TRUE((*live)->Commit(Durability::kScratch).ok());
    EXPECT_EQ(os_test::ReadText(target), "new");
    EXPECT_FALSE(std::filesystem::exists((*live)->temporary_path()));
}

TEST(RemovedOnTerminationTest, ASignalToStopRemovesTheRegisteredFilesAndStillStops) {
    ScratchFolder dir;
    WriteText(dir / "registered", "secret");
    WriteText(dir / "released", "finished");
    const int code = os_test::RunInChildWithin(10, [&] {
        RemoveRegisteredFilesOnTermination();
        const RemovedOnTermination registered(dir / "registered");
        { const RemovedOnTermination released(dir / "released"); }
        ::raise(SIGTERM);
        return 0;
    });
    EXPECT_EQ(code, 128 + SIGTERM);
    EXPECT_FALSE(std::filesystem::exists(dir / "registered"));
    EXPECT_TRUE(std::filesystem::exists(dir / "released"));
}

}  // namespace
}  // namespace platform::os
