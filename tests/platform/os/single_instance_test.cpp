// A second process must see the first one's lock, and only for as long as
// the first one holds it.
#include "platform/os/single_instance.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

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

TEST(SingleInstanceLockTest, PlantedSymbolicLinkIsAnErrorNotARunningInstance) {
    ScratchFolder dir;
    ASSERT_EQ(::symlink((dir / "elsewhere").c_str(), (dir / "kovelin.lock").c_str()), 0);
    auto lock = SingleInstanceLock::AcquireIn(dir.path(), "kovelin");
    ASSERT_FALSE(lock.ok());
    EXPECT_FALSE(IsAlreadyRunning(lock.error()));
    EXPECT_FALSE(std::filesystem::exists(dir / "elsewhere"));
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
