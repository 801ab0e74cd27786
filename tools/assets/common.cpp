// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "app/app_paths.h"
#include "assets.h"
#include "platform/picture.h"
#include "platform/preeti/preeti.h"

namespace assets {

Color Mix(Color a, Color b, double t) {
    auto channel = [t](uint8_t x, uint8_t y) {
        return static_cast<uint8_t>(std::lround(x + (y - x) * t));
    };
    return Rgb(channel(platform::RedOf(a), platform::RedOf(b)),
               channel(platform::GreenOf(a), platform::GreenOf(b)),
               channel(platform::BlueOf(a), platform::BlueOf(b)));
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

namespace {

// Mixes `c` into every device pixel of the picture under the program-pixel
// box [x0, x1) x [y0, y1) by the share of its 4 x 4 sample points that
// `inside` takes (given in program pixels).
template <typename Inside>
void FillCovered(platform::Surface& picture, double x0, double y0, double x1, double y1, Color c,
                 Inside inside) {
    const int32_t k = picture.scale();
    const auto left = std::max(0, static_cast<int32_t>(std::floor(x0 * k)));
    const auto right = std::min(picture.width(), static_cast<int32_t>(std::ceil(x1 * k)));
    const auto top = std::max(0, static_cast<int32_t>(std::floor(y0 * k)));
    const auto bottom = std::min(picture.height(), static_cast<int32_t>(std::ceil(y1 * k)));
    constexpr int kSub = 4;
    for (int32_t y = top; y < bottom; ++y) {
        for (int32_t x = left; x < right; ++x) {
            int covered = 0;
            for (int sy = 0; sy < kSub; ++sy)
                for (int sx = 0; sx < kSub; ++sx)
                    covered += inside((x + (sx + 0.5) / kSub) / k, (y + (sy + 0.5) / kSub) / k);
            if (covered == 0) continue;
            const double cover = static_cast<double>(covered) / (kSub * kSub);
            picture.set_pixel(x, y, cover >= 1 ? c : Mix(picture.pixel(x, y), c, cover));
        }
    }
}

}  // namespace

void FillDisc(platform::Surface& picture, double cx, double cy, double r, Color c) {
    FillCovered(picture, cx - r, cy - r, cx + r, cy + r, c, [&](double x, double y) {
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
    });
}

void FillStroke(platform::Surface& picture, double x0, double y0, double x1, double y1,
                double width, Color c) {
    const double h = width / 2;
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const double length2 = std::max(dx * dx + dy * dy, 1e-9);
    FillCovered(picture, std::min(x0, x1) - h, std::min(y0, y1) - h, std::max(x0, x1) + h,
                std::max(y0, y1) + h, c, [&](double x, double y) {
                    // The distance from the segment.
                    const double t =
                        std::clamp(((x - x0) * dx + (y - y0) * dy) / length2, 0.0, 1.0);
                    const double ex = x - (x0 + t * dx);
                    const double ey = y - (y0 + t * dy);
                    return ex * ex + ey * ey <= h * h;
                });
}

platform::Surface NewPicture(int32_t w, int32_t h, Color fill, int32_t scale) {
    platform::Surface reference = platform::Surface::AtScale(1, 1, scale);
    const platform::DC dc(reference);
    return dc.CreateCompatibleSurface(w, h, fill);
}

namespace {

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace

Output::Output(std::string folder) : folder_(std::move(folder)) {
}

bool Output::Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    if (!WriteBytes(folder_ + name, bytes)) {
        std::fprintf(stderr, "kovelin-assets: cannot write %s%s\n", folder_.c_str(), name.c_str());
        return false;
    }
    written_.push_back(name);
    return true;
}

bool Output::Bmp(const std::string& name, const platform::Surface& picture) {
    return Write(name, platform::EncodeBmp24(picture));
}

bool Output::Png(const std::string& name, const platform::Surface& picture) {
    if (!picture.WritePng(folder_ + name).ok()) {
        std::fprintf(stderr, "kovelin-assets: cannot write %s%s\n", folder_.c_str(), name.c_str());
        return false;
    }
    written_.push_back(name);
    return true;
}

bool Output::Artwork(const std::string& name, const Drawing& draw, Format format) {
    const std::string sharp = std::string(app::kSharpArtworkFolder);
    std::error_code ignored;
    std::filesystem::create_directories(folder_ + sharp, ignored);
    bool ok = true;
    for (const int32_t scale : {1, 2}) {
        const std::string file = scale == 1 ? name : sharp + name;
        const platform::Surface picture = draw(scale);
        ok &= format == Format::kPng ? Png(file, picture) : Bmp(file, picture);
    }
    return ok;
}

namespace {

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

std::vector<uint8_t> WaveFile(const std::vector<double>& samples, uint32_t rate) {
    std::vector<uint8_t> out;
    const auto data_bytes = static_cast<uint32_t>(samples.size() * 2);
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    PutLe(out, 36 + data_bytes, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    PutLe(out, 16, 4);
    PutLe(out, 1, 2);  // PCM
    PutLe(out, 1, 2);  // mono
    PutLe(out, rate, 4);
    PutLe(out, rate * 2, 4);
    PutLe(out, 2, 2);
    PutLe(out, 16, 2);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    PutLe(out, data_bytes, 4);
    for (double s : samples) {
        const auto v = static_cast<int16_t>(std::lround(std::clamp(s, -1.0, 1.0) * 32767));
        PutLe(out, static_cast<uint16_t>(v), 2);
    }
    return out;
}

}  // namespace assets
