// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up unpacking: the copies, the tool's argument vector and working
// folder, the yields, and the in-process fallback when the temporary folder
// cannot run programs. The last test runs the real tool.
#include "app/unpack.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "../platform/os/os_test_util.h"
#include "app/app_paths.h"
#include "app/archive.h"

namespace {

using os_test::ReadText;
using os_test::ScratchFolder;
using os_test::WriteText;
using platform::os::ProcessOutcome;

class UnpackTest : public ::testing::Test {
  protected:
    void SetUp() override {
        data = root.path() + "/data folder/";
        temp = root.path() + "/temp with spaces/";
        std::filesystem::create_directories(data);
        std::filesystem::create_directories(temp);
        WriteText(data + "sysmaint.dll", "tool bytes");
        ASSERT_TRUE(app::archive::WriteArchive(
                        data + "load.dll",
                        {{"M_A_X_T1", std::string(34, ' ')}, {"M_A_X_T2", "line\r\n"}},
                        "quarbelink", app::archive::Encryption::kTraditional)
                        .ok());
    }

    app::UnpackOptions Options(ProcessOutcome outcome) {
        app::UnpackOptions options;
        options.data_folder = data;
        options.temp_folder = temp;
        options.yield = [this] { events.push_back("yield"); };
        options.run = [this, outcome](const std::vector<std::string>& argv,
                                      const std::string& folder, int timeout_ms) {
            events.push_back("run");
            run_argv = argv;
            run_folder = folder;
            run_timeout = timeout_ms;
            tool_seen = ReadText(temp + "sysmaint.exe");
            // A copy that could not be made may have left something else there.
            const std::string archive = temp + "x2ymzk1.tmp";
            archive_seen = std::filesystem::is_regular_file(archive) ? ReadText(archive) : "";
            return platform::Result<ProcessOutcome>(outcome);
        };
        options.folder_allows_programs = [this](const std::string&) { return allows_programs; };
        return options;
    }

    ScratchFolder root;
    std::string data;
    std::string temp;
    bool allows_programs = true;
    std::vector<std::string> events;
    std::vector<std::string> run_argv;
    std::string run_folder;
    int run_timeout = 0;
    // The copies as the tool found them.
    std::string tool_seen;
    std::string archive_seen;
};

ProcessOutcome Exited(int code) {
    ProcessOutcome o;
    o.kind = ProcessOutcome::Kind::kExited;
    o.exit_code = code;
    return o;
}

ProcessOutcome FailedToStart(int error) {
    ProcessOutcome o;
    o.kind = ProcessOutcome::Kind::kFailedToStart;
    o.start_error = error;
    return o;
}

TEST(StartupPaths, RootsAreNotGivenASecondSeparator) {
    EXPECT_EQ(app::FolderWithSeparator("/"), "/");
    EXPECT_EQ(app::FolderWithSeparator("/opt/kovelin"), "/opt/kovelin/");
    EXPECT_EQ(app::FolderWithSeparator("/opt/kovelin/"), "/opt/kovelin/");
    const app::StartupPaths paths = app::StartupPathsFor("/");
    EXPECT_EQ(paths.headword_file, "/M_A_X_T1");
    EXPECT_EQ(paths.definition_file, "/M_A_X_T2");
    EXPECT_EQ(app::StartupPathsFor("/tmp/a b").temp_folder, "/tmp/a b/");
}

TEST_F(UnpackTest, CopiesThenRunsTheToolWithWholePathsBetweenYields) {
    const auto report = app::UnpackArchive(Options(Exited(0)));
    EXPECT_TRUE(report.tool_copied);
    EXPECT_TRUE(report.archive_copied);
    EXPECT_EQ(report.method, app::UnpackReport::Method::kTool);
    EXPECT_EQ(tool_seen, "tool bytes");
    EXPECT_EQ(archive_seen, ReadText(data + "load.dll"));
    EXPECT_EQ(events,
              (std::vector<std::string>{"yield", "yield", "yield", "yield", "run", "yield"}));
    EXPECT_EQ(run_argv, (std::vector<std::string>{temp + "sysmaint.exe", "-o", "-squarbelink",
                                                  temp + "x2ymzk1.tmp"}));
    EXPECT_EQ(run_folder, temp);
    EXPECT_EQ(run_timeout, 20000);
    // The tool was faked, so nothing was unpacked in-process.
    EXPECT_FALSE(std::filesystem::exists(temp + "M_A_X_T1"));
}

TEST_F(UnpackTest, MissingArchiveStillRunsTheToolOnTheOldCopy) {
    WriteText(temp + "x2ymzk1.tmp", "copy from an earlier start");
    std::filesystem::remove(data + "load.dll");
    const auto report = app::UnpackArchive(Options(Exited(3)));
    EXPECT_FALSE(report.archive_copied);
    EXPECT_EQ(archive_seen, "copy from an earlier start");
    EXPECT_EQ(run_argv.size(), 4u);
    EXPECT_FALSE(std::filesystem::exists(temp + "x2ymzk1.tmp"));
}

// When unpacking leaves nothing to load, the reader learns why and where.
TEST_F(UnpackTest, NothingUnpackedIsExplainedNamingTheFolder) {
    auto report = app::UnpackArchive(Options(Exited(6)));
    std::string message = app::UnpackFailureMessage(report, temp);
    EXPECT_NE(message.find("into the folder " + temp + " (the extraction tool ended with code 6)"),
              std::string::npos)
        << message;

    // A copy that cannot be written says so.
    std::filesystem::remove(temp + "x2ymzk1.tmp");
    std::filesystem::create_directory(temp + "x2ymzk1.tmp");
    report = app::UnpackArchive(Options(Exited(6)));
    message = app::UnpackFailureMessage(report, temp);
    EXPECT_NE(message.find(temp + "x2ymzk1.tmp"), std::string::npos) << message;

    WriteText(temp + "M_A_X_T1", std::string(34, ' '));
    WriteText(temp + "M_A_X_T2", "line\r\n");
    EXPECT_EQ(app::UnpackFailureMessage(report, temp), "");
}

TEST_F(UnpackTest, UnpacksInProcessWhenTheFolderCannotRunPrograms) {
    // The mount says noexec: the tool is not even tried.
    allows_programs = false;
    auto report = app::UnpackArchive(Options(Exited(0)));
    EXPECT_EQ(report.method, app::UnpackReport::Method::kInProcess);
    EXPECT_TRUE(run_argv.empty());
    EXPECT_EQ(ReadText(temp + "M_A_X_T2"), "line\r\n");

    // The start is refused for permission although the mount looked fine.
    for (int error : {EACCES, EPERM}) {
        allows_programs = true;
        std::filesystem::remove(temp + "M_A_X_T2");
        report = app::UnpackArchive(Options(FailedToStart(error)));
        EXPECT_EQ(report.method, app::UnpackReport::Method::kInProcess);
        EXPECT_EQ(ReadText(temp + "M_A_X_T2"), "line\r\n");
    }

    // Other start failures (a missing tool) are not this case.
    std::filesystem::remove(temp + "M_A_X_T2");
    report = app::UnpackArchive(Options(FailedToStart(ENOENT)));
    EXPECT_EQ(report.method, app::UnpackReport::Method::kTool);
    EXPECT_FALSE(std::filesystem::exists(temp + "M_A_X_T2"));
}

TEST_F(UnpackTest, AnArchiveThatIsAPipeFailsItsCopyWithoutBlocking) {
    std::filesystem::remove(data + "load.dll");
    ASSERT_EQ(::mkfifo((data + "load.dll").c_str(), 0600), 0);
    const int code = os_test::RunInChildWithin(10, [&] {
        const auto report = app::UnpackArchive(Options(Exited(3)));
        const bool reported = report.message.find("load.dll") != std::string::npos;
        return !report.archive_copied && report.tool_copied && reported ? 0 : 1;
    });
    EXPECT_EQ(code, 0) << (code == 128 + SIGALRM ? "start-up blocked on the pipe" : "");
    EXPECT_FALSE(std::filesystem::exists(temp + "x2ymzk1.tmp"));
}

TEST_F(UnpackTest, LeftoversOfStoppedRunsGoAtTheNextStart) {
    const std::string settings = root / "settings";
    std::filesystem::create_directories(settings);
    const auto make = [](const std::string& path, bool old) {
        WriteText(path, "x");
        if (!old) return;
        const timespec times[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
        ::utimensat(AT_FDCWD, path.c_str(), times, 0);
    };
    // Left by stopped runs: decrypted staging files, copies and settings
    // saves cut short.
    for (const char* name : {"M_A_X_T1.q8Ws2x", "M_A_X_T2.Ab3dE5", ".x2ymzk1.tmp.tmp-9aZ8bY"})
        make(temp + name, true);
    make(settings + "/.Tarvik.ini.tmp-k2L9mQ", false);
    // Still being written by a copy sharing the temporary folder, or not ours.
    for (const char* name : {"M_A_X_T1.Zz9Yy8", "M_A_X_T1", "x2ymzk1.tmp", "notes.txt"})
        make(temp + name, std::string(name) != "M_A_X_T1.Zz9Yy8");
    for (const char* name : {"Tarvik.ini", "kovelin.lock", "Tarvik.ini.corrupt-1"})
        make(settings + "/" + name, true);

    EXPECT_EQ(app::RemoveLeftoverFiles(temp, settings), 4);
    EXPECT_EQ(os_test::EntryCount(temp), 4u);
    EXPECT_TRUE(std::filesystem::exists(temp + "M_A_X_T1.Zz9Yy8"));
    EXPECT_EQ(os_test::EntryCount(settings), 3u);
}

#ifdef KOVELIN_TOOL_DIR
TEST_F(UnpackTest, TheRealToolUnpacksIntoTheTemporaryFolder) {
    std::filesystem::copy_file(std::string(KOVELIN_TOOL_DIR) + "/sysmaint", data + "sysmaint.dll",
                               std::filesystem::copy_options::overwrite_existing);
    app::UnpackOptions options;
    options.data_folder = data;
    options.temp_folder = temp;
    const auto report = app::UnpackArchive(options);
    ASSERT_EQ(report.tool.kind, ProcessOutcome::Kind::kExited) << report.message;
    EXPECT_EQ(report.tool.exit_code, 0);
    EXPECT_EQ(ReadText(temp + "M_A_X_T1"), std::string(34, ' '));
    EXPECT_EQ(ReadText(temp + "M_A_X_T2"), "line\r\n");
    // Only the unpacked dictionary stays: the folder is often in memory,
    // and the archive copy is as large as the dictionary.
    EXPECT_EQ(os_test::EntryCount(temp), 2u);
}
#endif

}  // namespace

namespace {

TEST_F(UnpackTest, AnArchiveChosenElsewhereIsTheOneCopied) {
    WriteText(root.path() + "/own.dll", "the user's archive");
    app::UnpackOptions options = Options(Exited(0));
    options.archive_path = root.path() + "/own.dll";
    const app::UnpackReport report = app::UnpackArchive(options);
    EXPECT_TRUE(report.archive_copied);
    EXPECT_EQ(archive_seen, "the user's archive");
    EXPECT_EQ(tool_seen, "tool bytes");
}

}  // namespace
