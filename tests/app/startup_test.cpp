// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up sequence end to end on the headless backend: the splash
// window hands over to the main window at its second tick and not before,
// the dictionary is loaded and the unpacked files are gone by then, and a
// second copy of the program only shows its message.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/dictionary_store.h"
#include "app/startup.h"
#include "platform/controls/message_box.h"
#include "platform/headless/headless_backend.h"
#include "platform/os/files.h"

using namespace platform;

namespace {

class FakeMain : public app::MainWindow {
  public:
    std::vector<std::string> calls;
    int32_t rows = -1;
    void CreateAndLoad() override {
        calls.push_back("create " + std::to_string(app::Dictionary().size()));
    }
    void ConfigureList(const app::HeadwordListSetup& s) override {
        calls.push_back("configure");
        rows = s.item_count;
    }
    void Show() override { calls.push_back("show"); }
};

// The test program's own folders for temporary files and settings, so the
// single-copy lock and the unpacked files are its own. They stay for the
// life of the process (the program works out its temporary folder once per
// process, as it does when it runs) and go when the tests end.
std::filesystem::path TestFolders() {
    return std::filesystem::temp_directory_path() / ("kovelin-startup-" + std::to_string(getpid()));
}

class RemoveTestFolders : public ::testing::Environment {
  public:
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(TestFolders(), ignored);
    }
};
[[maybe_unused]] ::testing::Environment* const kRemoveTestFolders =
    ::testing::AddGlobalTestEnvironment(new RemoveTestFolders);

class StartupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = TestFolders();
        std::filesystem::create_directories(dir_ / "run");
        std::filesystem::permissions(dir_ / "run", std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::replace);
        setenv("XDG_RUNTIME_DIR", (dir_ / "run").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        if (!os::FileExists(app::DataFilePath(app::kArchiveName)))
            GTEST_SKIP() << "the data folder beside the test program is not built";
    }

    std::filesystem::path dir_;
};

TEST_F(StartupTest, SplashHandsOverAtItsSecondTickWithTheDictionaryLoaded) {
    headless::HeadlessSession session;
    FakeMain main;
    app::Startup startup(main);
    ASSERT_EQ(startup.Run(), app::StartupResult::kRunning);

    EXPECT_TRUE(startup.data_loaded());
    EXPECT_GT(app::Dictionary().size(), 0);
    ASSERT_EQ(main.calls.size(), 2u);
    EXPECT_EQ(main.calls[0], "create " + std::to_string(app::Dictionary().size()))
        << "the main window loads with the store already filled";
    EXPECT_EQ(main.calls[1], "configure");
    EXPECT_EQ(main.rows, app::Dictionary().size());
    EXPECT_FALSE(os::FileExists(startup.paths().headword_file)) << "unpacked files are deleted";
    EXPECT_FALSE(os::FileExists(startup.paths().definition_file));

    session.Advance(1000);
    EXPECT_EQ(main.calls.size(), 2u) << "loaded, but the first tick is too early";
    EXPECT_TRUE(IsWindowVisible(FindWindowByName("frmSplash")));
    session.Advance(1000);
    ASSERT_EQ(main.calls.size(), 3u);
    EXPECT_EQ(main.calls[2], "show");
    EXPECT_FALSE(IsWindow(FindWindowByName("frmSplash")));
    session.Advance(5000);
    EXPECT_EQ(main.calls.size(), 3u) << "the hand-off happens once";
}

TEST_F(StartupTest, SecondCopyShowsItsMessageOnceAndStops) {
    // Another copy holds the lock.
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    // The other copy goes away however this test ends.
    struct Reap {
        pid_t pid;
        ~Reap() {
            if (pid > 0) {
                kill(pid, SIGKILL);
                waitpid(pid, nullptr, 0);
            }
        }
    } reap{child};
    if (child == 0) {
        reap.pid = 0;
        auto lock = os::SingleInstanceLock::Acquire("kovelin");
        char c = lock ? 'y' : 'n';
        (void)!write(ready[1], &c, 1);
        pause();
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    ASSERT_EQ(c, 'y');

    headless::HeadlessSession session;
    int boxes = 0;
    std::string text;
    session.backend().SetIdleHandler([&] {
        HWND box = FindWindowByName("msgbox");
        if (!box) return false;
        ++boxes;
        text = GetWindowText(box);
        InjectKey(VK_RETURN, true, 0);
        InjectKey(VK_RETURN, false, 0);
        return true;
    });
    FakeMain main;
    app::Startup startup(main);
    EXPECT_EQ(startup.Run(), app::StartupResult::kAlreadyRunning);
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(text, "Double Instance Detected!");
    EXPECT_TRUE(main.calls.empty()) << "nothing else runs";
    EXPECT_FALSE(FindWindowByName("frmSplash"));

    close(ready[0]);
    close(ready[1]);
}

}  // namespace
