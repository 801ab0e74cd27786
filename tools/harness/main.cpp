// SPDX-License-Identifier: GPL-3.0-or-later
// kovelin-harness: runs the program's windows on the headless backend from a
// scenario of clicks, keys, waits and clipboard text, and writes PNG shots
// and JSON state reports. See scenario.h for the commands.
//
//   kovelin-harness SCENARIO [--out DIR] [--data DIR] [--dictionary FILE] [--scale N]
//
// File names in `shot` and `state` are relative to DIR (default: the
// current folder) and stay inside it. --data runs the program on another data folder than
// the one beside the harness (an installed one); --dictionary is the
// program's own option. Exit status: 0 when the scenario ran to its end, 1
// when a command failed (an `expect` that did not hold, a window that does
// not exist), 2 for a scenario that cannot be read or parsed.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/app_paths.h"
#include "app/dictionary_choice.h"
#include "demo.h"
#include "demo_buttons.h"
#include "demo_html.h"
#include "demo_list.h"
#include "lookup/program.h"
#include "platform/headless/headless_backend.h"
#include "platform/os/files.h"
#include "platform/surface.h"
#include "platform/text/font_engine.h"
#include "platform/window.h"
#include "scenario.h"
#include "state.h"

namespace fs = std::filesystem;
using namespace platform;

namespace {

struct Run {
    std::vector<harness::Command> commands;
    size_t next = 0;
    fs::path out_dir;
    std::string failure;
    headless::HeadlessSession* session = nullptr;
    std::unique_ptr<lookup::Program> program;
    bool restart = false;
};

bool Fail(Run& run, const harness::Command& c, const std::string& what) {
    run.failure = "line " + std::to_string(c.line) + ": " + what;
    return false;
}

// The parser let through only relative names without "..".
fs::path OutPath(const Run& run, const std::string& name) {
    const fs::path p = run.out_dir / name;
    std::error_code ec;
    fs::create_directories(p.parent_path(), ec);
    return p;
}

// Compares a state value with the scenario's literal: JSON text, or a bare
// word meaning a string.
bool Matches(const Json& value, const std::string& expected) {
    std::string compact = value.Dump(0);
    if (compact == expected) return true;
    if (const std::string* s = value.string()) return *s == expected;
    return false;
}

bool Step(Run& run) {
    // Over at its end or at its first failure.
    if (run.next >= run.commands.size() || !run.failure.empty()) return false;
    const harness::Command& c = run.commands[run.next++];
    auto num = [&](size_t i) { return std::stoi(c.args[i]); };
    auto& s = *run.session;
    if (c.name == "wait") {
        s.backend().RunClockUntil(s.clock().NowMs() + static_cast<uint64_t>(num(0)));
    } else if (c.name == "type") {
        InjectText(c.args[0]);
    } else if (c.name == "key") {
        uint32_t vk = 0, mods = 0;
        harness::ParseKey(c.args[0], &vk, &mods);
        // A modifier key is held while it is down.
        uint32_t own = vk == VK_SHIFT     ? kModShift
                       : vk == VK_CONTROL ? kModControl
                       : vk == VK_MENU    ? static_cast<uint32_t>(kModAlt)
                                          : 0u;
        InjectKey(vk, true, mods | own);
        InjectKey(vk, false, mods);
    } else if (c.name == "hold") {
        uint32_t vk = 0, mods = 0;
        harness::ParseKey(c.args[0], &vk, &mods);
        for (int k = num(1); k > 0; --k) InjectKey(vk, true, mods);
        InjectKey(vk, false, mods);
    } else if (c.name == "click" || c.name == "rclick" || c.name == "mclick") {
        Point p{num(0), num(1)};
        MouseButton b = c.name == "click"    ? MouseButton::kLeft
                        : c.name == "rclick" ? MouseButton::kRight
                                             : MouseButton::kMiddle;
        InjectMouseMove(p);
        InjectMouseButton(p, b, true);
        InjectMouseButton(p, b, false);
    } else if (c.name == "dblclick") {
        Point p{num(0), num(1)};
        InjectMouseMove(p);
        for (int i = 0; i < 2; ++i) {
            InjectMouseButton(p, MouseButton::kLeft, true);
            InjectMouseButton(p, MouseButton::kLeft, false);
        }
    } else if (c.name == "move") {
        InjectMouseMove({num(0), num(1)});
    } else if (c.name == "press" || c.name == "release") {
        Point p{num(0), num(1)};
        InjectMouseMove(p);
        InjectMouseButton(p, MouseButton::kLeft, c.name == "press");
    } else if (c.name == "drag" || c.name == "rdrag") {
        const MouseButton button = c.name == "drag" ? MouseButton::kLeft : MouseButton::kRight;
        Point a{num(0), num(1)}, b{num(2), num(3)};
        InjectMouseMove(a);
        InjectMouseButton(a, button, true);
        for (int i = 1; i <= 8; ++i)
            InjectMouseMove({a.x + (b.x - a.x) * i / 8, a.y + (b.y - a.y) * i / 8});
        InjectMouseButton(b, button, false);
    } else if (c.name == "wheel") {
        InjectMouseWheel(GetCursorPos(), num(0) * 120);
    } else if (c.name == "clipboard") {
        s.backend().SetClipboardText(c.args[0]);
    } else if (c.name == "clipboard-image") {
        s.backend().SetClipboardImage();
    } else if (c.name == "shot") {
        HWND target = GetActiveWindow();
        std::string file = c.args.back();
        if (c.args.size() == 2 && c.args[0] == "screen") {
            if (auto st = RenderScreen().WritePng(OutPath(run, file).string()); !st)
                return Fail(run, c, "cannot write " + file + ": " + st.error().message);
            return true;
        }
        if (c.args.size() == 2) {
            target = FindWindowByName(c.args[0]);
            if (!target || GetAncestorTopLevel(target) != target)
                return Fail(run, c, "no top-level window named '" + c.args[0] + "'");
        }
        if (!target) return Fail(run, c, "no active window to shoot");
        Surface shot = RenderWindow(target);
        if (auto st = shot.WritePng(OutPath(run, file).string()); !st)
            return Fail(run, c, "cannot write " + file + ": " + st.error().message);
    } else if (c.name == "state") {
        std::ofstream f(OutPath(run, c.args[0]), std::ios::binary);
        f << harness::CaptureState().Dump() << "\n";
        if (!f) return Fail(run, c, "cannot write " + c.args[0]);
    } else if (c.name == "restart") {
        // Closes the program as a person would (the close box), then the
        // loop ends and main() starts it again.
        if (!run.program) return Fail(run, c, "restart needs the program, not the demo");
        run.restart = true;
        if (IsWindow(run.program->main_window().hwnd()))
            run.program->main_window().Unload(platform::controls::kFormControlMenu);
        else
            PostQuitMessage(0);
    } else if (c.name == "expect") {
        Json state = harness::CaptureState();
        const Json* v = harness::LookupPath(state, "windows." + c.args[0]);
        if (!v) v = harness::LookupPath(state, c.args[0]);
        if (!v) return Fail(run, c, "no state value at " + c.args[0]);
        if (!Matches(*v, c.args[1]))
            return Fail(run, c, c.args[0] + " is " + v->Dump(0) + ", expected " + c.args[1]);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    // The program's own start-up step: a save past a file-size limit fails
    // and is reported instead of ending the run.
    os::IgnoreFileSizeLimitSignal();
    std::string scenario_path;
    int32_t scale = 1;
    Run run;
    run.out_dir = fs::current_path();
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--out" && i + 1 < argc) {
            run.out_dir = argv[++i];
        } else if (a == "--data" && i + 1 < argc) {
            app::SetDataFolder(argv[++i]);
        } else if (a == "--dictionary" && i + 1 < argc) {
            app::SetCommandLineDictionary(argv[++i]);
        } else if (a == "--scale" && i + 1 < argc) {
            // Whole scales only: the harness shows exactly what it draws.
            const std::string v = argv[++i];
            if (v.size() != 1 || v[0] < '1' || v[0] > '0' + platform::kMaxDeviceScale) {
                std::cerr << "--scale takes a whole number from 1 to " << platform::kMaxDeviceScale
                          << "\n";
                return 2;
            }
            scale = v[0] - '0';
        } else if (scenario_path.empty() && !a.empty() && a[0] != '-') {
            scenario_path = a;
        } else {
            std::cerr << "usage: kovelin-harness SCENARIO [--out DIR] [--data DIR] [--dictionary "
                         "FILE] [--scale N]\n";
            return 2;
        }
    }
    if (scenario_path.empty()) {
        std::cerr << "usage: kovelin-harness SCENARIO [--out DIR] [--data DIR] [--dictionary FILE] "
                     "[--scale N]\n";
        return 2;
    }
    std::ifstream in(scenario_path, std::ios::binary);
    if (!in) {
        std::cerr << scenario_path << ": cannot read the scenario\n";
        return 2;
    }
    std::stringstream text;
    text << in.rdbuf();
    auto parsed = harness::ParseScenario(text.str());
    if (!parsed) {
        std::cerr << scenario_path << ": " << parsed.error().message << "\n";
        return 2;
    }
    run.commands = std::move(parsed.value());

    // "# screen: WxH" sets the virtual screen's size in program pixels
    // (default 1024x768); at scale N it has N times as many device pixels.
    Size screen{1024, 768};
    if (size_t at = text.str().find("# screen: "); at != std::string::npos) {
        int w = 0, h = 0;
        if (std::sscanf(text.str().c_str() + at + 10, "%dx%d", &w, &h) != 2 || w < 640 || h < 480 ||
            w > 8192 || h > 8192) {
            std::cerr << scenario_path << ": '# screen:' takes WxH from 640x480 to 8192x8192\n";
            return 2;
        }
        screen = {w, h};
    }

    platform::text::InstallFontEngine();
    headless::HeadlessSession session(screen);
    run.session = &session;
    platform::SetDeviceScale(scale);
    session.backend().SetIdleHandler([&run] { return Step(run); });
    // "# harness: program" in a scenario runs the program itself on its
    // bundled data; other scenarios show the window layer's demo windows.
    const bool program = text.str().find("# harness: program") != std::string::npos;
    if (program) {
        // "# load-step: MS" makes every start-up yield take MS virtual
        // milliseconds, with the timers due on the way delivered, so the
        // wait window stays up a while and the splash ticks while loading.
        if (size_t at = text.str().find("# load-step: "); at != std::string::npos) {
            const int step = std::atoi(text.str().c_str() + at + 13);
            if (step > 0)
                app::SetStartupYieldHook(
                    [&session, step] { session.Advance(static_cast<uint64_t>(step)); });
        }
        harness::SetExtraState([&run](Json& out) {
            if (run.program) run.program->ReportState(out);
        });
        while (true) {
            run.program = std::make_unique<lookup::Program>();
            if (run.program->Start() == app::StartupResult::kAlreadyRunning) {
                run.failure = "another copy of the program is running";
                break;
            }
            RunMessageLoop();
            DoEvents();
            if (!run.restart || !run.failure.empty()) break;
            run.restart = false;
            run.program.reset();
            DoEvents();
        }
    } else if (text.str().find("# harness: buttons") != std::string::npos) {
        // "# harness: buttons" shows the owner-drawn button demo alone.
        harness::CreateDemoButtonsWindow();
        RunMessageLoop();
        DoEvents();
    } else if (text.str().find("# harness: html") != std::string::npos) {
        // The HTML label demo window on its own.
        harness::CreateDemoHtmlWindow();
        RunMessageLoop();
        DoEvents();
    } else {
        harness::CreateDemoListWindow();
        harness::CreateDemoWindow();
        RunMessageLoop();
        // The scenario may end while windows still have work queued.
        DoEvents();
    }

    if (!run.failure.empty()) {
        std::cerr << scenario_path << ": " << run.failure << "\n";
        return 1;
    }
    return 0;
}
