// SPDX-License-Identifier: GPL-3.0-or-later
// The text engine: measuring and drawing byte strings in a font.
//
// Text in this program is bytes. In the Preeti faces ("OrvPreeti",
// "OrvSoft") the bytes are Preeti-encoded Devanagari; they are converted to
// Unicode and shaped with a Unicode Devanagari font. In every other face the
// bytes are Windows-1252. Measuring and drawing use the same shaped runs, so
// they agree to the pixel.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/color.h"
#include "platform/font.h"
#include "platform/geometry.h"

namespace platform {

class Surface;
class Region;

struct TextExtent {
    float width = 0;   // advance width in pixels
    float height = 0;  // line height in pixels (ascent + descent)
};

struct FontMetrics {
    float ascent = 0;
    float descent = 0;
    float height = 0;            // ascent + descent
    float internal_leading = 0;  // height minus the em size
    float external_leading = 0;
    float average_char_width = 0;
    float max_char_width = 0;
    // Where underlines and strike-through lines go: the top row of each
    // line, as an offset from the top of the line box, and their thickness.
    float underline_offset = 0;
    float underline_thickness = 1;
    float strikeout_offset = 0;
};

// DrawText format flags, platform values.
enum DrawTextFlags : uint32_t {
    DT_LEFT = 0x0,
    DT_TOP = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,
    DT_NOCLIP = 0x100,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
    DT_END_ELLIPSIS = 0x8000,
};

// The face name of the built-in fixed-metrics font used by layout tests:
// every character has the same advance and the same height.
inline constexpr const char* kTestFontName = "Kovelin Test Fixed";

class TextEngine {
  public:
    static TextEngine& Instance();

    virtual ~TextEngine() = default;

    // Whether a face name resolves to a font the engine can draw.
    virtual bool FaceExists(std::string_view name) = 0;
    // Whether text in this face is Preeti-encoded.
    virtual bool IsPreetiFace(std::string_view name) = 0;

    virtual FontMetrics Metrics(const FontDesc& font) = 0;
    virtual TextExtent Measure(const FontDesc& font, std::string_view bytes) = 0;

    // Where a string may be cut, and how wide it is up to each cut, in one
    // pass over the string. `widths` gets bytes.size() + 1 entries:
    // widths[k] is the advance width of bytes [0, k) when a cut before byte
    // k splits no cluster (a Preeti syllable, a ligature), and kNoCut where
    // it would; widths[0] is 0 and widths[size] the width of the whole.
    // Returns true when Measure of the bytes between any two cuts is exactly
    // the difference of their widths; false when shaping a part on its own
    // may come out slightly different (kerning across the cut).
    static constexpr double kNoCut = -1;
    virtual bool MeasureCuts(const FontDesc& font, std::string_view bytes,
                             std::vector<double>& widths) = 0;

    // Draws with a transparent background; (x, y) is the top-left of the
    // line box, in surface pixels. Only pixels inside `clip` change.
    virtual void Draw(Surface& target, const Region& clip, float x, float y, const FontDesc& font,
                      std::string_view bytes, Color color) = 0;

    // Draws on a surface of `scale` device pixels per program pixel: (x, y)
    // is in program pixels and the glyphs stand where they stand at scale 1,
    // multiplied, so layout measured at scale 1 holds; the glyphs are
    // rasterised at scale x the size, not enlarged. `device_clip` is in
    // device pixels. The default draws at scale x the size from the scaled
    // position.
    virtual void DrawScaled(Surface& target, const Region& device_clip, float x, float y,
                            const FontDesc& font, std::string_view bytes, Color color,
                            int32_t scale);

  protected:
    TextEngine() = default;
};

// Makes `engine` the process text engine behind TextEngine::Instance();
// nullptr goes back to the built-in fixed-metrics engine. The test face
// kTestFontName is always drawn by the fixed-metrics engine, whatever is
// installed. Call it at start-up, before anything draws.
void InstallTextEngine(std::unique_ptr<TextEngine> engine);

// A new instance of the built-in fixed-metrics engine. Every byte is one
// cell: advance = max(1, round(px / 2)) and line height = max(1, round(px)),
// px being the pixel size clamped to [1, kMaxPixelSize]. The ascent is
// round(height * 0.8), the rest is descent. A glyph is a solid box filling
// the cell's columns except the last (when the advance is 2 or more) and the
// ascent's rows; bytes up to 0x20 draw nothing. The underline is the first
// row below the ascent (the last row when the descent is 0); the
// strike-through the row at ascent / 2. The pen start is round(x), round(y).
std::unique_ptr<TextEngine> MakeFixedMetricsEngine();

// Faces whose text is Preeti bytes ("OrvPreeti", "OrvSoft"), case-insensitive.
bool IsPreetiFaceName(std::string_view name);
// Faces every engine knows by name (the face table), case-insensitive; an
// engine without a font for one of them still draws it with fixed metrics.
bool IsBuiltInFaceName(std::string_view name);
// Whether a face name is the test face, case-insensitive.
bool IsTestFaceName(std::string_view name);

// Pixel size of a font, clamped to what the engines agree to rasterise
// (1 to kMaxPixelSize; non-finite sizes give 1).
inline constexpr float kMaxPixelSize = 1024.0f;
float ClampedPixelSize(const FontDesc& font);

}  // namespace platform
