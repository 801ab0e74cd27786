#include <algorithm>
#include <cmath>
#include <cstdio>

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

void FillDisc(platform::DC& dc, double cx, double cy, double r, Color c) {
    const auto x0 = static_cast<int32_t>(std::floor(cx - r - 1));
    const auto x1 = static_cast<int32_t>(std::ceil(cx + r + 1));
    const auto y0 = static_cast<int32_t>(std::floor(cy - r - 1));
    const auto y1 = static_cast<int32_t>(std::ceil(cy + r + 1));
    constexpr int kSub = 4;
    for (int32_t y = y0; y < y1; ++y) {
        for (int32_t x = x0; x < x1; ++x) {
            int inside = 0;
            for (int sy = 0; sy < kSub; ++sy) {
                for (int sx = 0; sx < kSub; ++sx) {
                    const double px = x + (sx + 0.5) / kSub - cx;
                    const double py = y + (sy + 0.5) / kSub - cy;
                    inside += px * px + py * py <= r * r ? 1 : 0;
                }
            }
            if (inside == 0) continue;
            const double cover = static_cast<double>(inside) / (kSub * kSub);
            dc.SetPixel(x, y, cover >= 1 ? c : Mix(dc.GetPixel(x, y), c, cover));
        }
    }
}

platform::Surface NewPicture(int32_t w, int32_t h, Color fill) {
    platform::Surface reference(1, 1);
    const platform::DC dc(reference);
    return dc.CreateCompatibleSurface(w, h, fill);
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

bool WriteBmp(const std::string& path, const platform::Surface& picture) {
    return WriteBytes(path, platform::EncodeBmp24(picture));
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
