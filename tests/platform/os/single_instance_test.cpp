// SPDX-License-Identifier: GPL-3.0-or-later
// A second process must see the first one's lock, and only for as long as
// the first one holds it.
#include "platform/os/single_instance.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <optional>

#include "os_test_util.h"

namespace platform::os {
namespace {

using os_test::ScratchFolder;

// Asks from a separate process; 0: already running, 1: lock taken, 2: error.
int ProbeFromAnotherProcess(const std::string& folder) {
    const pid_t child = ::fork();
    if (child == 0) {
        auto lock = SingleInstanceLock::AcquireIn(folder, "kovelin");
        ::_exit(lock.ok() ? 1 : IsAlreadyRunning(lock.error()) ? 0 : 2);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SingleInstanceLockTest, SecondProcessSeesTheFirstUntilItLetsGo) {
    ScratchFolder dir;
    std::optional<SingleInstanceLock> held;
    {
        auto lock = SingleInstanceLock::AcquireIn(dir.path(), "kovelin");
        ASSERT_TRUE(lock.ok()) << lock.error().message;
        held.emplace(std::move(*lock));  // moving must keep the lock
    }
    EXPECT_EQ(os_test::ModeOf(dir / "kovelin.lock"), 0600u);
    EXPECT_EQ(ProbeFromAnotherProcess(dir.path()), 0);

    held.reset();
    EXPECT_EQ(ProbeFromAnotherProcess(dir.path()), 1);
}

TEST(SingleInstanceLockTest, AnythingButAFolderAtTheNameGivesWayToAFreshLockFile) {
    ScratchFolder dir;
    const std::string lock_path = dir / "kovelin.lock";
    const auto plant = [&](int kind) {
        std::filesystem::remove(lock_path);
        switch (kind) {
            case 0:  // a symbolic link to where a file would be created
                return ::symlink((dir / "elsewhere").c_str(), lock_path.c_str()) == 0;
            case 1:  // a pipe
                return ::mkfifo(lock_path.c_str(), 0600) == 0;
            default:  // a file we may not open for writing
                os_test::WriteText(lock_path, "");
                return ::chmod(lock_path.c_str(), 0400) == 0;
        }
    };
    for (int kind = 0; kind < 3; ++kind) {
        ASSERT_TRUE(plant(kind));
        auto lock = SingleInstanceLock::AcquireIn(dir.path(), "kovelin");
        ASSERT_TRUE(lock.ok()) << kind << ": " << lock.error().message;
        EXPECT_EQ(ProbeFromAnotherProcess(dir.path()), 0) << kind;
        struct stat st {};
        ASSERT_EQ(::lstat(lock_path.c_str(), &st), 0);
        EXPECT_TRUE(S_ISREG(st.st_mode)) << kind;
        EXPECT_EQ(os_test::EntryCount(dir.path()), 1u) << kind << ": no temporary file is left";
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "elsewhere"));
}

TEST(SingleInstanceLockTest, AFolderAtTheNameMeansAnotherCopyMayBeRunning) {
    ScratchFolder dir;
    ASSERT_EQ(::mkdir((dir / "kovelin.lock").c_str(), 0700), 0);
    os_test::WriteText(dir / "kovelin.lock/inside", "kept");
    auto lock = SingleInstanceLock::AcquireIn(dir.path(), "kovelin");
    ASSERT_FALSE(lock.ok());
    EXPECT_TRUE(IsAlreadyRunning(lock.error())) << lock.error().message;
    EXPECT_EQ(os_test::ReadText(dir / "kovelin.lock/inside"), "kept");
    EXPECT_EQ(os_test::EntryCount(dir.path()), 1u);
}

TEST(SingleInstanceLockTest, TheLockSitsInTheSettingsFolderWhateverTheRuntimeFolder) {
    ScratchFolder dir;
    const std::string config = dir / "config";
    const os_test::ScopedEnv config_home("XDG_CONFIG_HOME", config);
    const os_test::ScopedEnv runtime_dir("XDG_RUNTIME_DIR", dir.path());
    auto lock = SingleInstanceLock::Acquire("kovelin");
    ASSERT_TRUE(lock.ok()) << lock.error().message;
    EXPECT_EQ(os_test::ModeOf(config + "/kovelin/kovelin.lock"), 0600u);

    // A second copy started without XDG_RUNTIME_DIR meets the same lock.
    const pid_t child = ::fork();
    if (child == 0) {
        ::unsetenv("XDG_RUNTIME_DIR");
        auto second = SingleInstanceLock::Acquire("kovelin");
        ::_exit(!second.ok() && IsAlreadyRunning(second.error()) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(SingleInstanceLockTest, NamesCannotLeaveTheFolder) {
    ScratchFolder dir;
    const std::string inner = dir / "inner";
    ASSERT_EQ(::mkdir(inner.c_str(), 0700), 0);
    auto lock = SingleInstanceLock::AcquireIn(inner, "../escape");
    ASSERT_TRUE(lock.ok());
    EXPECT_EQ(os_test::EntryCount(dir.path()), 1u);
    EXPECT_EQ(os_test::EntryCount(inner), 1u);
}

}  // namespace
}  // namespace platform::os
