// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop tests' shared fixture (see desktop_fixture.h).

#include "desktop_fixture.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "lookup/skin_layout.h"

extern char** environ;

namespace platform::sdl {

std::string Desktop::Unavailable() {
    if (!std::getenv("KOVELIN_XVFB")) return "runs under Xvfb (run_under_xvfb.sh)";
    if (!x11_probe::Available()) return "no X display with XTest";
    return {};
}

std::string Desktop::Start() {
    unsetenv("SDL_VIDEODRIVER");
    auto created = SdlBackend::Create();
    if (!created.ok()) return created.error().message;
    backend_ = created.value().get();
    // The desktop's scale, as the program takes it (1 unless KOVELIN_SCALE
    // or the display says otherwise).
    const ScaleChoice scale = DesktopScale({lookup::skin::kWidth, lookup::skin::kHeight});
    backend_->SetScreenFactor(scale.factor);
    auto clock = std::make_unique<VirtualClock>(0);
    clock_ = clock.get();
    session_ = std::make_unique<WindowSystemSession>(std::move(created).value(), std::move(clock));
    SetDeviceScale(scale.drawing);
    return {};
}

void Desktop::SaveShot(const std::string& name) {
    const char* dir = std::getenv("KOVELIN_SHOT_DIR");
    if (!dir) return;
    const auto [width, height] = x11_probe::ScreenSize();
    x11_probe::Image img = x11_probe::Grab(0, 0, width, height);
    if (img.rgb.empty()) return;
    Surface s(img.width, img.height);
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) s.row(y)[x] = 0xFF000000u | img.at(x, y);
    std::filesystem::create_directories(dir);
    (void)s.WritePng(std::string(dir) + "/" + name);
}

bool WindowManager::Installed(const char* program) {
    const char* path = std::getenv("PATH");
    if (!path) return false;
    std::string dirs(path);
    size_t start = 0;
    while (start <= dirs.size()) {
        const size_t end = std::min(dirs.find(':', start), dirs.size());
        const std::string candidate = dirs.substr(start, end - start) + "/" + program;
        if (end > start && access(candidate.c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

std::string WindowManager::Start(const char* program) {
    Stop();
    if (x11_probe::WindowManagerRunning()) return "a window manager runs on the display already";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // Its chatter about menus and themes is not the test's business.
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>(program), nullptr};
    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return std::string("cannot start ") + program;
    pid_ = pid;
    // The window manager announces itself on the root window once it runs.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!x11_probe::WindowManagerRunning()) {
        if (std::chrono::steady_clock::now() > deadline || waitpid(pid_, nullptr, WNOHANG) != 0) {
            Stop();
            return std::string(program) + " never took over the display";
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return {};
}

void WindowManager::Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
    // Gone for good once its mark on the root window is (it removes it as
    // it leaves; the server does when its connection closes).
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (x11_probe::WindowManagerRunning() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

}  // namespace platform::sdl
