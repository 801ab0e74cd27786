// SPDX-License-Identifier: GPL-3.0-or-later
// kovelin: the desktop program. Picks the desktop backend when a display is
// there; without one it says so, names the terminal lookup, and stops.
//
//   kovelin [--dictionary FILE] [--help] [--version]

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "app/app_paths.h"
#include "app/dictionary_choice.h"
#include "app/program_info.h"

#include "lookup/program.h"
#include "lookup/skin_layout.h"
#include "platform/clock.h"
#include "platform/os/files.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/text/font_engine.h"
#include "platform/window.h"

namespace {

constexpr int kExitNoDisplay = 2;
constexpr int kExitUsage = 2;

constexpr const char* kUsageLine = "usage: kovelin [--dictionary FILE] [--help] [--version]\n";

int Usage(const char* why) {
    std::fprintf(stderr, "kovelin: %s\n%s", why, kUsageLine);
    return kExitUsage;
}

int Help() {
    const app::DictionaryChoice choice =
        app::ChooseDictionary(app::CommandLineDictionary(), app::DataFilePath(app::kArchiveName));
    for (const std::string& problem : choice.problems)
        std::fprintf(stderr, "kovelin: %s\n", problem.c_str());
    const std::string user = app::UserDictionaryPath();
    std::printf(
        "%s"
        "\n"
        "Kovelin, a Nepali-to-Nepali dictionary.\n"
        "\n"
        "  --dictionary FILE  read the dictionary archive FILE (made with kovelin-pack)\n"
        "  --help             show this and which dictionary would be read\n"
        "  --version          show the version and the licence\n"
        "\n"
        "The dictionary is the first of: --dictionary FILE, %s, the bundled one.\n"
        "Now: %s.\n",
        kUsageLine, user.empty() ? "$XDG_DATA_HOME/kovelin/load.dll" : user.c_str(),
        choice.Describe().c_str());
    return 0;
}

bool EnvSet(const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
}

int NoDisplay(const char* why) {
    std::fprintf(stderr,
                 "kovelin: no display found (%s). Kovelin shows its window on a desktop; "
                 "start it there. In a terminal, kovelin-lookup WORD looks a word up.\n",
                 why);
    return kExitNoDisplay;
}

}  // namespace

int main(int argc, char** argv) {
    platform::os::IgnoreFileSizeLimitSignal();
    bool help = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--version") {
            std::fputs(app::VersionText("kovelin").c_str(), stdout);
            return 0;
        } else if (arg == "--help") {
            help = true;
        } else if (arg == "--dictionary" && i + 1 < argc) {
            app::SetCommandLineDictionary(argv[++i]);
        } else {
            return Usage("unknown argument");
        }
    }
    if (help) return Help();
    // SDL would fall back to an off-screen driver without a display; a
    // desktop program that shows nothing must say so instead.
    if (!EnvSet("DISPLAY") && !EnvSet("WAYLAND_DISPLAY")) return NoDisplay("DISPLAY is not set");
    auto backend = platform::sdl::SdlBackend::Create();
    if (!backend) return NoDisplay(backend.error().message.c_str());
    const platform::ScaleChoice scale =
        platform::sdl::DesktopScale({lookup::skin::kWidth, lookup::skin::kHeight});
    for (const std::string& line : scale.ignored)
        std::fprintf(stderr, "kovelin: %s\n", line.c_str());
    backend.value()->SetScreenFactor(scale.factor);

    platform::text::InstallFontEngine();
    platform::WindowSystemSession session(std::move(backend).value(),
                                          std::make_unique<platform::RealClock>());
    platform::SetDeviceScale(scale.drawing);
    return lookup::RunProgram();
}
