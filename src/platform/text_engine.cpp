// SPDX-License-Identifier: GPL-3.0-or-later
// The text-engine seam: the process-wide engine behind TextEngine::Instance(),
// and the built-in fixed-metrics engine.
//
// The core library cannot depend on FreeType, so it carries an engine of its
// own that needs nothing: every byte is a box of the same size. It serves the
// test face (layout tests compute exact pixel positions from it) and stands in
// for every face until a real engine is installed, so headless programs and
// tests still lay text out deterministically.
#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <memory>

#include "platform/preeti/preeti.h"
#include "platform/region.h"
#include "platform/surface.h"
#include "platform/text.h"

namespace platform {
namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

constexpr std::array<std::string_view, 10> kBuiltInFaces = {
    "Arial",         "Arial Black", "Courier", "Courier New", "Times New Roman",
    "MS Sans Serif", "Tahoma",      "Verdana", "OrvPreeti",   "OrvSoft",
};

// Cell geometry of the fixed-metrics font at one size.
struct Cell {
    int32_t advance;
    int32_t height;
    int32_t ascent;
    int32_t descent;
};

Cell CellFor(const FontDesc& font) {
    const float px = ClampedPixelSize(font);
    Cell c{};
    c.advance = std::max<int32_t>(1, static_cast<int32_t>(std::lround(px * 0.5f)));
    c.height = std::max<int32_t>(1, static_cast<int32_t>(std::lround(px)));
    c.ascent = static_cast<int32_t>(std::lround(static_cast<float>(c.height) * 0.8f));
    c.ascent = std::clamp<int32_t>(c.ascent, 1, c.height);
    c.descent = c.height - c.ascent;
    return c;
}

// Fills the rectangle [x0, x1) x [y0, y1) with a colour, only where the clip
// and the surface allow.
void FillClipped(Surface& target, const Region& clip, int64_t x0, int64_t y0, int64_t x1,
                 int64_t y1, Color color) {
    const Rect b = clip.bounds().intersect(target.bounds());
    const int64_t top = std::max<int64_t>(y0, b.top);
    const int64_t bottom = std::min<int64_t>(y1, b.bottom);
    const int64_t left = std::max<int64_t>(x0, b.left);
    const int64_t right = std::min<int64_t>(x1, b.right);
    if (top >= bottom || left >= right) return;
    const uint32_t argb = ArgbFromColor(color);
    for (int64_t y = top; y < bottom; ++y) {
        uint32_t* row = target.row(static_cast<int32_t>(y));
        for (const Region::Span& s : clip.spans(static_cast<int32_t>(y))) {
            const int64_t a = std::max<int64_t>(left, s.x0);
            const int64_t e = std::min<int64_t>(right, s.x1);
            for (int64_t x = a; x < e; ++x) row[x] = argb;
        }
    }
}

class FixedMetricsEngine final : public TextEngine {
  public:
    bool FaceExists(std::string_view name) override {
        return IsTestFaceName(name) || IsBuiltInFaceName(name);
    }
    bool IsPreetiFace(std::string_view name) override { return IsPreetiFaceName(name); }

    FontMetrics Metrics(const FontDesc& font) override {
        const Cell c = CellFor(font);
        FontMetrics m;
        m.ascent = static_cast<float>(c.ascent);
        m.descent = static_cast<float>(c.descent);
        m.height = static_cast<float>(c.height);
        m.internal_leading = 0;
        m.external_leading = 0;
        m.average_char_width = static_cast<float>(c.advance);
        m.max_char_width = static_cast<float>(c.advance);
        m.underline_offset = static_cast<float>(c.descent > 0 ? c.ascent : c.height - 1);
        m.underline_thickness = 1;
        m.strikeout_offset = static_cast<float>(c.ascent / 2);
        return m;
    }

    TextExtent Measure(const FontDesc& font, std::string_view bytes) override {
        const Cell c = CellFor(font);
        return {static_cast<float>(static_cast<double>(c.advance) * bytes.size()),
                static_cast<float>(c.height)};
    }

    // Every byte is a cut, except inside a syllable of Preeti text, so the
    // same text breaks in the same places under every engine.
    bool MeasureCuts(const FontDesc& font, std::string_view bytes,
                     std::vector<double>& widths) override {
        const double advance = CellFor(font).advance;
        const bool preeti = IsPreetiFaceName(font.name);
        widths.assign(bytes.size() + 1, kNoCut);
        widths[0] = 0;
        size_t i = 0;
        while (i < bytes.size()) {
            i = preeti ? preeti::SyllableEnd(bytes, i) : i + 1;
            widths[i] = advance * static_cast<double>(i);
        }
        return true;
    }

    void Draw(Surface& target, const Region& clip, float x, float y, const FontDesc& font,
              std::string_view bytes, Color color) override {
        if (target.empty() || clip.empty() || !std::isfinite(x) || !std::isfinite(y)) return;
        const Cell c = CellFor(font);
        // 64-bit positions: a long string at a large size must not wrap.
        const int64_t x0 = std::llround(std::clamp(x, -1e9f, 1e9f));
        const int64_t y0 = std::llround(std::clamp(y, -1e9f, 1e9f));
        const int64_t box_width = c.advance >= 2 ? c.advance - 1 : 1;
        const Rect b = clip.bounds();
        for (size_t i = 0; i < bytes.size(); ++i) {
            const int64_t cx = x0 + static_cast<int64_t>(i) * c.advance;
            if (cx >= b.right) break;
            if (cx + c.advance <= b.left) continue;
            if (static_cast<unsigned char>(bytes[i]) <= 0x20) continue;
            FillClipped(target, clip, cx, y0, cx + box_width, y0 + c.ascent, color);
        }
        const int64_t width = static_cast<int64_t>(c.advance) * static_cast<int64_t>(bytes.size());
        if (font.underline) {
            const int64_t row = y0 + (c.descent > 0 ? c.ascent : c.height - 1);
            FillClipped(target, clip, x0, row, x0 + width, row + 1, color);
        }
        if (font.strikethrough) {
            const int64_t row = y0 + c.ascent / 2;
            FillClipped(target, clip, x0, row, x0 + width, row + 1, color);
        }
    }
};

// The engine behind Instance(): sends the test face to the fixed-metrics
// engine and everything else to the installed engine, if any.
class RoutingEngine final : public TextEngine {
  public:
    void Install(std::unique_ptr<TextEngine> engine) { installed_ = std::move(engine); }

    bool FaceExists(std::string_view name) override { return For(name).FaceExists(name); }
    bool IsPreetiFace(std::string_view name) override { return For(name).IsPreetiFace(name); }
    FontMetrics Metrics(const FontDesc& font) override { return For(font.name).Metrics(font); }
    TextExtent Measure(const FontDesc& font, std::string_view bytes) override {
        return For(font.name).Measure(font, bytes);
    }
    bool MeasureCuts(const FontDesc& font, std::string_view bytes,
                     std::vector<double>& widths) override {
        return For(font.name).MeasureCuts(font, bytes, widths);
    }
    void Draw(Surface& target, const Region& clip, float x, float y, const FontDesc& font,
              std::string_view bytes, Color color) override {
        For(font.name).Draw(target, clip, x, y, font, bytes, color);
    }
    void DrawScaled(Surface& target, const Region& device_clip, float x, float y,
                    const FontDesc& font, std::string_view bytes, Color color,
                    int32_t scale) override {
        For(font.name).DrawScaled(target, device_clip, x, y, font, bytes, color, scale);
    }

  private:
    TextEngine& For(std::string_view name) {
        if (installed_ && !IsTestFaceName(name)) return *installed_;
        return fixed_;
    }

    FixedMetricsEngine fixed_;
    std::unique_ptr<TextEngine> installed_;
};

RoutingEngine& Router() {
    static RoutingEngine router;
    return router;
}

}  // namespace

TextEngine& TextEngine::Instance() {
    return Router();
}

void InstallTextEngine(std::unique_ptr<TextEngine> engine) {
    Router().Install(std::move(engine));
}

std::unique_ptr<TextEngine> MakeFixedMetricsEngine() {
    return std::make_unique<FixedMetricsEngine>();
}

bool IsPreetiFaceName(std::string_view name) {
    name = Trim(name);
    return EqualsNoCase(name, "OrvPreeti") || EqualsNoCase(name, "OrvSoft");
}

bool IsBuiltInFaceName(std::string_view name) {
    name = Trim(name);
    return std::any_of(kBuiltInFaces.begin(), kBuiltInFaces.end(),
                       [&](std::string_view f) { return EqualsNoCase(name, f); });
}

bool IsTestFaceName(std::string_view name) {
    return EqualsNoCase(Trim(name), kTestFontName);
}

void TextEngine::DrawScaled(Surface& target, const Region& device_clip, float x, float y,
                            const FontDesc& font, std::string_view bytes, Color color,
                            int32_t scale) {
    FontDesc at_scale = font;
    at_scale.size = font.size * static_cast<float>(scale);
    const auto k = static_cast<float>(scale);
    Draw(target, device_clip, x * k, y * k, at_scale, bytes, color);
}

float ClampedPixelSize(const FontDesc& font) {
    const float px = font.size * static_cast<float>(kPixelsPerInch) / 72.0f;
    if (!std::isfinite(px) || px < 1.0f) return 1.0f;
    return std::min(px, kMaxPixelSize);
}

}  // namespace platform
