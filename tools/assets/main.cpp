// SPDX-License-Identifier: GPL-3.0-or-later
// kovelin-assets: draws the start-up pictures and synthesises the start
// sound into a data folder.
//
//   kovelin-assets SYSTEM_FOLDER
//
// wait.bmp and splash.bmp (300 x 105) carry the program's name and a
// Nepali tag line on a soft gradient; the splash keeps its bottom-right
// corner clear for the loading percentage. start.wav is a short two-note
// chime, 16-bit PCM. The 20 x 20 button pictures (btnbook.bmp, its
// highlighted twin btnbook_over.bmp, btnstar.bmp) lie on the buttons'
// default mask colour, light grey, which the buttons leave transparent.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dc.h"
#include "platform/picture.h"
#include "platform/preeti/preeti.h"
#include "platform/surface.h"
#include "platform/text/font_engine.h"

namespace {

using platform::Color;
using platform::Rect;
using platform::Rgb;

constexpr int32_t kWidth = 300;
constexpr int32_t kHeight = 105;

Color Mix(Color a, Color b, double t) {
    auto channel = [t](uint8_t x, uint8_t y) {
        return static_cast<uint8_t>(std::lround(x + (y - x) * t));
    };
    return Rgb(channel(platform::RedOf(a), platform::RedOf(b)),
               channel(platform::GreenOf(a), platform::GreenOf(b)),
               channel(platform::BlueOf(a), platform::BlueOf(b)));
}

// A light warm background fading down to a paler tone, a thin accent band
// on the left, and a one-pixel border.
void DrawBackground(platform::DC& dc) {
    const Color top = Rgb(0xFF, 0xF8, 0xE6);
    const Color bottom = Rgb(0xF6, 0xE3, 0xC0);
    for (int32_t y = 0; y < kHeight; ++y) {
        dc.FillRect({0, y, kWidth, y + 1},
                    Mix(top, bottom, static_cast<double>(y) / (kHeight - 1)));
    }
    for (int32_t y = 0; y < kHeight; ++y) {
        dc.FillRect({0, y, 6, y + 1}, Mix(Rgb(0xC0, 0x39, 0x2B), Rgb(0x8E, 0x24, 0x1A),
                                          static_cast<double>(y) / (kHeight - 1)));
    }
    dc.FrameRect({0, 0, kWidth, kHeight}, Rgb(0x8E, 0x24, 0x1A));
}

void DrawText(platform::DC& dc, std::string_view bytes, const char* face, float points, bool bold,
              Color color, Rect box, uint32_t format) {
    platform::FontDesc font;
    font.name = face;
    font.size = points;
    font.bold = bold;
    dc.SetFont(font);
    dc.SetTextColor(color);
    dc.SetBkMode(platform::BkMode::kTransparent);
    dc.DrawText(bytes, box, format | platform::DT_SINGLELINE | platform::DT_NOPREFIX);
}

std::string Preeti(std::string_view unicode) {
    return preeti::FromUnicode(unicode).value_or(std::string());
}

platform::Surface DrawPicture(bool splash) {
    platform::Surface surface(kWidth, kHeight);
    platform::DC dc(surface);
    DrawBackground(dc);
    const Color ink = Rgb(0x5A, 0x1A, 0x12);
    const Color soft = Rgb(0x8A, 0x5A, 0x3C);
    DrawText(dc, "Kovelin", "Arial", 20, true, ink, {22, 12, 290, 44}, platform::DT_LEFT);
    DrawText(dc, Preeti("नेपाली शब्दकोश"), "OrvSoft", 15, false, Rgb(0xA0, 0x2E, 0x22),
             {22, 44, 290, 70}, platform::DT_LEFT);
    dc.FillRect({22, 74, 150, 75}, Rgb(0xD9, 0xB8, 0x8C));
    if (splash) {
        DrawText(dc, "Nepali to Nepali dictionary", "Arial", 8.25f, false, soft, {22, 80, 220, 98},
                 platform::DT_LEFT);
    } else {
        DrawText(dc, "Please wait\x85", "Arial", 8.25f, false, soft, {22, 80, 120, 98},
                 platform::DT_LEFT);
        DrawText(dc, Preeti("कृपया पर्खनुहोस्"), "OrvSoft", 11, false, soft, {110, 78, 290, 100},
                 platform::DT_RIGHT);
    }
    return surface;
}

constexpr int32_t kButtonPicture = 20;
constexpr Color kButtonMask = Rgb(0xC0, 0xC0, 0xC0);

// A closed book seen from the front: cover, darker spine, a gold label and
// the page edges below.
platform::Surface DrawBook(Color cover) {
    platform::Surface surface(kButtonPicture, kButtonPicture, kButtonMask);
    platform::DC dc(surface);
    const Color dark =
        Rgb(platform::RedOf(cover) / 2, platform::GreenOf(cover) / 2, platform::BlueOf(cover) / 2);
    dc.FillRect({5, 15, 17, 18}, Rgb(0xF4, 0xEE, 0xDC));
    dc.FillRect({5, 16, 17, 17}, Rgb(0xC8, 0xBE, 0xA8));
    dc.FrameRect({4, 14, 18, 19}, dark);
    dc.FillRect({4, 1, 17, 16}, cover);
    dc.FrameRect({4, 1, 17, 16}, dark);
    dc.FillRect({3, 1, 6, 19}, dark);
    dc.FillRect({8, 4, 15, 7}, Rgb(0xE8, 0xC0, 0x50));
    dc.FillRect({9, 9, 14, 10}, Rgb(0xE8, 0xC0, 0x50));
    return surface;
}

// A five-pointed star with a dark outline.
platform::Surface DrawStar() {
    platform::Surface surface(kButtonPicture, kButtonPicture, kButtonMask);
    platform::DC dc(surface);
    std::vector<platform::Point> points;
    for (int i = 0; i < 10; ++i) {
        const double angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        const double r = i % 2 == 0 ? 9.4 : 4.0;
        points.push_back({static_cast<int32_t>(std::lround(10 + r * std::cos(angle))),
                          static_cast<int32_t>(std::lround(10.5 + r * std::sin(angle)))});
    }
    dc.SetPen({platform::PenStyle::kSolid, 1, Rgb(0x9A, 0x5A, 0x00)});
    dc.SetBrush({false, Rgb(0xF5, 0xC5, 0x18)});
    dc.Polygon(points);
    return surface;
}

bool WriteBytes(const std::string& path, const void* data, size_t size) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// Two soft bell-like notes a fifth apart, each with a quiet octave partial
// and an exponential decay, so the start of the program sounds friendly.
std::vector<uint8_t> ChimeWave() {
    constexpr uint32_t kRate = 22050;
    constexpr double kSeconds = 0.9;
    const auto frames = static_cast<uint32_t>(kRate * kSeconds);
    struct Note {
        double start;
        double frequency;
    };
    const Note notes[] = {{0.0, 880.0}, {0.14, 1318.5}};
    std::vector<int16_t> samples(frames);
    for (uint32_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kRate;
        double v = 0;
        for (const Note& n : notes) {
            if (t < n.start) continue;
            const double u = t - n.start;
            const double attack = std::min(1.0, u / 0.005);
            const double envelope = attack * std::exp(-u * 5.0);
            v += envelope * (std::sin(2 * std::numbers::pi * n.frequency * u) +
                             0.25 * std::sin(4 * std::numbers::pi * n.frequency * u));
        }
        const double fade = std::min(1.0, (kSeconds - t) / 0.05);
        samples[i] = static_cast<int16_t>(std::lround(v * fade * 0.3 * 32767));
    }
    std::vector<uint8_t> out;
    const uint32_t data_bytes = frames * 2;
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    PutLe(out, 36 + data_bytes, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    PutLe(out, 16, 4);
    PutLe(out, 1, 2);  // PCM
    PutLe(out, 1, 2);  // mono
    PutLe(out, kRate, 4);
    PutLe(out, kRate * 2, 4);
    PutLe(out, 2, 2);
    PutLe(out, 16, 2);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    PutLe(out, data_bytes, 4);
    for (int16_t s : samples) PutLe(out, static_cast<uint16_t>(s), 2);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kovelin-assets SYSTEM_FOLDER\n");
        return 2;
    }
    std::string folder = argv[1];
    if (!folder.empty() && folder.back() != '/') folder += '/';
    platform::text::InstallFontEngine();

    bool ok = true;
    for (bool splash : {false, true}) {
        const std::vector<uint8_t> bmp = platform::EncodeBmp24(DrawPicture(splash));
        ok &= WriteBytes(folder + (splash ? "splash.bmp" : "wait.bmp"), bmp.data(), bmp.size());
    }
    const struct {
        const char* name;
        platform::Surface pixels;
    } button_pictures[] = {
        {"btnbook.bmp", DrawBook(Rgb(0x2B, 0x4C, 0x8C))},
        {"btnbook_over.bmp", DrawBook(Rgb(0xC0, 0x39, 0x2B))},
        {"btnstar.bmp", DrawStar()},
    };
    for (const auto& picture : button_pictures) {
        const std::vector<uint8_t> bmp = platform::EncodeBmp24(picture.pixels);
        ok &= WriteBytes(folder + picture.name, bmp.data(), bmp.size());
    }
    const std::vector<uint8_t> wave = ChimeWave();
    ok &= WriteBytes(folder + "start.wav", wave.data(), wave.size());
    if (!ok) {
        std::fprintf(stderr, "kovelin-assets: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
