// kovelin: the desktop program. Picks the desktop backend when a display is
// there; without one it says so and stops, since the harness is the way to
// run the windows headless.

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "lookup/program.h"
#include "platform/clock.h"
#include "platform/os/files.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/text/font_engine.h"
#include "platform/window.h"

namespace {

constexpr int kExitNoDisplay = 2;

bool EnvSet(const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
}

int NoDisplay(const char* why) {
    std::fprintf(stderr,
                 "kovelin: no display found (%s). Run it on a desktop, or use kovelin-harness "
                 "for a headless run.\n",
                 why);
    return kExitNoDisplay;
}

}  // namespace

int main() {
    platform::os::IgnoreFileSizeLimitSignal();
    // SDL would fall back to an off-screen driver without a display; a
    // desktop program that shows nothing must say so instead.
    if (!EnvSet("DISPLAY") && !EnvSet("WAYLAND_DISPLAY")) return NoDisplay("DISPLAY is not set");
    auto backend = platform::sdl::SdlBackend::Create();
    if (!backend) return NoDisplay(backend.error().message.c_str());

    platform::text::InstallFontEngine();
    platform::WindowSystemSession session(std::move(backend).value(),
                                          std::make_unique<platform::RealClock>());
    platform::SetDeviceScale(platform::sdl::DesktopScale());
    return lookup::RunProgram();
}
