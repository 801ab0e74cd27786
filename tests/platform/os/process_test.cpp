// SPDX-License-Identifier: GPL-3.0-or-later
// The process runner: arguments arrive whole, the working folder and stdin
// are as promised, and a program that overstays its time-out is gone, along
// with whatever it started, by the time RunAndWait returns.
#include "platform/os/process.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <fstream>
#include <thread>

#include "os_test_util.h"

namespace platform::os {
namespace {

using os_test::ReadText;
using os_test::ScratchFolder;
using os_test::WriteText;
using Kind = ProcessOutcome::Kind;

std::string WriteScript(const std::string& path, const std::string& body) {
    WriteText(path, "#!/bin/sh\n" + body);
    ::chmod(path.c_str(), 0755);
    return path;
}

// A killed process that nobody has reaped yet still answers kill(pid, 0), so
// "gone" means missing from /proc or left only as a zombie.
bool IsGone(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    if (!stat) return true;
    std::string line;
    std::getline(stat, line);
    const size_t close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() && line[close + 2] == 'Z';
}

// The kill has been sent when RunAndWait returns, but the kernel finishes an
// orphan asynchronously; give it a bounded number of scheduler turns.
bool BecomesGone(pid_t pid) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!IsGone(pid)) {
        if (std::chrono::steady_clock::now() > limit) return false;
        std::this_thread::yield();
    }
    return true;
}

int64_t ElapsedMs(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
}

TEST(RunAndWaitTest, PathsWithSpacesArriveWholeInTheGivenFolder) {
    ScratchFolder dir;
    const std::string tools = dir / "my tools";
    const std::string work = dir / "work folder";
    ASSERT_EQ(::mkdir(tools.c_str(), 0700), 0);
    ASSERT_EQ(::mkdir(work.c_str(), 0700), 0);
    const std::string script =
        WriteScript(tools + "/write args.sh",
                    "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > args\n"
                    "pwd > cwd\n"
                    "readlink /proc/$$/fd/0 > stdin\n"
                    "exit 3\n");

    auto outcome = RunAndWait({script, "-o", dir / "an archive.tmp", "two  spaces"}, work, 5000);
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(outcome->kind, Kind::kExited);
    EXPECT_EQ(outcome->exit_code, 3);
    EXPECT_EQ(ReadText(work + "/args"), "-o\n" + (dir / "an archive.tmp") + "\ntwo  spaces\n");
    EXPECT_EQ(ReadText(work + "/cwd"), work + "\n");
    EXPECT_EQ(ReadText(work + "/stdin"), "/dev/null\n");
}

TEST(RunAndWaitTest, ProgramStillRunningAtTheTimeOutIsKilledAndReaped) {
    const auto start = std::chrono::steady_clock::now();
    auto outcome = RunAndWait({"sleep", "30"}, "", 300);
    const int64_t elapsed = ElapsedMs(start);
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(outcome->kind, Kind::kTimedOut);
    // It waited for the time-out (give or take the rounding of two clocks to
    // whole milliseconds)...
    EXPECT_GE(elapsed, 295);
    // ...and far short of the 30 s the program would run, with room for a busy machine.
    EXPECT_LT(elapsed, 10000);
    ASSERT_GT(outcome->pid, 0);
    EXPECT_NE(::kill(outcome->pid, 0), 0);
    EXPECT_EQ(errno, ESRCH);
}

TEST(RunAndWaitTest, TimeOutAlsoKillsGrandchildrenThatIgnoreTheRequestToStop) {
    ScratchFolder dir;
    // Both the shell and its background child ignore SIGTERM, so only the
    // group-wide kill after the grace period can end them.
    const std::string script =
        WriteScript(dir / "spawner", "trap '' TERM\nsleep 30 &\necho $! > grandchild\nwait\n");
    const auto start = std::chrono::steady_clock::now();
    auto outcome = RunAndWait({script}, dir.path(), 300);
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(outcome->kind, Kind::kTimedOut);
    EXPECT_LT(ElapsedMs(start), 300 + kTerminateGraceMs + 9000);

    const std::string grandchild = ReadText(dir / "grandchild");
    ASSERT_FALSE(grandchild.empty());
    EXPECT_TRUE(BecomesGone(static_cast<pid_t>(std::stol(grandchild))));
}

TEST(RunAndWaitTest, ProgramsThatCannotRunReportFailedToStart) {
    ScratchFolder dir;
    WriteText(dir / "not executable", "#!/bin/sh\n");

    struct Case {
        std::vector<std::string> argv;
        std::string folder;
        int error;
    };
    const Case cases[] = {
        {{dir / "no such tool"}, "", ENOENT},
        {{"kovelin-no-such-program-on-path"}, "", ENOENT},
        {{dir / "not executable"}, "", EACCES},
        {{"true"}, dir / "missing folder", ENOENT},
    };
    for (const Case& c : cases) {
        auto outcome = RunAndWait(c.argv, c.folder, 1000);
        ASSERT_TRUE(outcome.ok());
        EXPECT_EQ(outcome->kind, Kind::kFailedToStart) << c.argv[0];
        EXPECT_EQ(outcome->start_error, c.error) << c.argv[0];
    }
    EXPECT_EQ(RunAndWait({}, "", 1000).error().code, ErrorCode::kInvalidCall);
    EXPECT_EQ(RunAndWait({"true"}, "", -1).error().code, ErrorCode::kInvalidCall);
}

TEST(RunAndWaitTest, ReportsHowTheProgramEnded) {
    auto exited = RunAndWait({"sh", "-c", "exit 0"}, "", 5000);
    ASSERT_TRUE(exited.ok());
    EXPECT_EQ(exited->kind, Kind::kExited);
    EXPECT_EQ(exited->exit_code, 0);

    auto signaled = RunAndWait({"sh", "-c", "kill -KILL $$"}, "", 5000);
    ASSERT_TRUE(signaled.ok());
    EXPECT_EQ(signaled->kind, Kind::kSignaled);
    EXPECT_EQ(signaled->signal, SIGKILL);

    // With SIGCHLD ignored the kernel reaps the child itself; the status is
    // lost, which must not turn into a made-up signal or a hang.
    struct sigaction ignore {
    }, previous{};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGCHLD, &ignore, &previous);
    auto unreaped = RunAndWait({"sh", "-c", "exit 4"}, "", 5000);
    ::sigaction(SIGCHLD, &previous, nullptr);
    ASSERT_TRUE(unreaped.ok());
    EXPECT_EQ(unreaped->kind, Kind::kExited);
    EXPECT_TRUE(unreaped->exit_code == 4 || unreaped->exit_code == -1);
}

}  // namespace
}  // namespace platform::os
