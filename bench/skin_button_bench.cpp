// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing one 100 x 30 owner-drawn button: every face style, up and down,
// with a Preeti caption in "OrvPreeti" drawn by the real font engine and
// the custom colour scheme the program's buttons use. BM_ButtonFace paints
// the face alone; BM_ButtonDraw is the button window's whole forced Draw
// (clearing its persistent surface, the hover palette, the face).
// BM_ButtonPicture paints a style 2 face with a 20 x 20 picture left of the
// caption: plain, greyscale, and with the raised effect (two more copies of
// the picture and of the caption), at device scale 1 and 2 (the picture, as
// one read from a file, at scale 1). BM_ButtonHoverTick is one tick of the
// hover timer while the pointer stays over the button.
#include <benchmark/benchmark.h>

#include <memory>

#include "controls/skin_button/flarvet_button.h"
#include "controls/skin_button/sample_look.h"
#include "platform/controls/form.h"
#include "platform/headless/headless_backend.h"
#include "platform/preeti/preeti.h"
#include "platform/text/font_engine.h"

namespace {

using namespace skin_button;

// "Search" in Preeti bytes.
std::string Caption() {
    return preeti::FromUnicode("खोज्नुहोस्").value_or("vf]Hg'xf];\\");
}

FontDesc ButtonFont() {
    return FontDesc{"OrvPreeti", 12};
}

void BM_ButtonFace(benchmark::State& state) {
    platform::text::InstallFontEngine();
    SampleButton b;
    b.button_type = static_cast<int32_t>(state.range(0));
    b.scheme = kSchemeCustom;
    b.back_color = platform::Rgb(176, 204, 232);
    b.back_over = platform::Rgb(204, 224, 244);
    b.fore_color = platform::Rgb(0, 40, 96);
    b.caption = Caption();
    b.font = ButtonFont();
    b.hovering = state.range(1) == kStateDown;
    auto look = MakeSampleLook(b);
    if (!look) {
        state.SkipWithError("layout failed");
        return;
    }
    platform::Surface surface(100, 30);
    DC dc(surface);
    const int32_t draw_state = static_cast<int32_t>(state.range(1));
    for (auto _ : state) {
        benchmark::DoNotOptimize(PaintFace(dc, look.value(), draw_state));
    }
}
BENCHMARK(BM_ButtonFace)
    ->ArgsProduct({benchmark::CreateDenseRange(1, 14, 1), {kStateUp, kStateDown}})
    ->Unit(benchmark::kMicrosecond);

struct Host : platform::ComponentHost {
    platform::FontDesc AmbientFont() const override { return ButtonFont(); }
};

void BM_ButtonDraw(benchmark::State& state) {
    platform::text::InstallFontEngine();
    platform::headless::HeadlessSession session;
    platform::controls::FormOptions o;
    o.name = "frmBench";
    platform::controls::Form form(o);
    form.Show();
    Host host;
    auto& button =
        form.Add<FlarvetButon>(host, "btnBench", platform::Rect::FromXYWH(10, 10, 100, 30));
    (void)button.InitProperties();
    (void)button.SetButtonType(static_cast<int32_t>(state.range(0)));
    button.SetColorScheme(kSchemeCustom);
    (void)button.SetCaption(Caption());
    for (auto _ : state) {
        button.Draw(kStateUp, true);
    }
}
BENCHMARK(BM_ButtonDraw)->Arg(2)->Arg(3)->Arg(14)->Unit(benchmark::kMicrosecond);

void BM_ButtonPicture(benchmark::State& state) {
    platform::text::InstallFontEngine();
    SampleButton b;
    b.button_type = kTypeClassic;
    b.caption = Caption();
    b.font = ButtonFont();
    b.height = 40;
    b.picture = {20, 20};
    auto look = MakeSampleLook(b);
    if (!look) {
        state.SkipWithError("layout failed");
        return;
    }
    platform::Surface surface = platform::Surface::AtScale(100, 40, state.range(1));
    DC dc(surface);
    platform::Surface pixels(20, 20, platform::Rgb(0xC0, 0xC0, 0xC0));
    {
        DC p(pixels);
        p.FillRect({3, 3, 17, 17}, platform::Rgb(30, 120, 110));
    }
    ButtonArt art;
    art.settings.normal =
        std::make_shared<platform::Picture>(std::move(pixels), platform::PictureKind::kBitmap);
    art.settings.use_greyscale = state.range(0) == 1;
    art.settings.special_effect = state.range(0) == 2 ? kEffectRaised : kEffectNone;
    for (auto _ : state) {
        benchmark::DoNotOptimize(PaintFace(dc, look.value(), kStateUp, &art));
    }
}
BENCHMARK(BM_ButtonPicture)->ArgsProduct({{0, 1, 2}, {1, 2}})->Unit(benchmark::kMicrosecond);

void BM_ButtonHoverTick(benchmark::State& state) {
    platform::headless::HeadlessSession session;
    platform::controls::FormOptions o;
    o.name = "frmBench";
    platform::controls::Form form(o);
    form.Show();
    Host host;
    auto& button =
        form.Add<FlarvetButon>(host, "btnBench", platform::Rect::FromXYWH(10, 10, 100, 30));
    (void)button.InitProperties();
    session.MoveMouse(platform::ClientToScreen(button.hwnd(), {50, 15}));
    if (!button.is_hovering()) {
        state.SkipWithError("the pointer is not over the button");
        return;
    }
    for (auto _ : state) {
        platform::SendMessage(button.hwnd(), platform::WM_TIMER, FlarvetButon::kOverTimerId);
    }
}
BENCHMARK(BM_ButtonHoverTick)->Unit(benchmark::kMicrosecond);

}  // namespace
