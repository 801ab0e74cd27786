// SPDX-License-Identifier: GPL-3.0-or-later
// Reducing the main window's frame (600 x 499 program pixels drawn at 2) to
// a desktop scale of 1.5, whole, as the desktop backend does on a full
// repaint: plain, and leaving out what a rounded-corner shape cuts away.
#include <benchmark/benchmark.h>

#include "platform/region.h"
#include "platform/sdl/screen_scale.h"

namespace {

using platform::sdl::ScreenScale;

void BM_ReduceFrame(benchmark::State& state) {
    const ScreenScale scale(2, 1.5);
    platform::Surface frame = platform::Surface::AtScale(600, 499, 2, platform::Rgb(200, 40, 40));
    for (int32_t y = 0; y < frame.height(); y += 3)
        for (int32_t x = 0; x < frame.width(); ++x) frame.set_pixel(x, y, 0);
    platform::Surface screen(scale.ToScreen(600), scale.ToScreen(499));
    const platform::Region shape = platform::Region::Combine(
        platform::Region::FromRect({0, 0, 600, 499}), platform::Region::Ellipse({0, 0, 24, 24}),
        platform::RegionOp::kDiff);
    const platform::Region* with = state.range(0) == 1 ? &shape : nullptr;
    for (auto _ : state) {
        platform::sdl::ReduceFrame(frame, scale, screen, screen.bounds(), with);
        benchmark::DoNotOptimize(screen.data());
    }
}
BENCHMARK(BM_ReduceFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
