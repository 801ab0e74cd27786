// The text engine: measuring and drawing byte strings in a font.
//
// Text in this program is bytes. In the Preeti faces ("OrvPreeti",
// "OrvSoft") the bytes are Preeti-encoded Devanagari; they are converted to
// Unicode and shaped with a Unicode Devanagari font. In every other face the
// bytes are Windows-1252. Measuring and drawing use the same shaped runs, so
// they agree to the pixel.
#pragma once

#include <string>
#include <string_view>

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

    // Draws with a transparent background; (x, y) is the top-left of the
    // line box, in surface pixels. Only pixels inside `clip` change.
    virtual void Draw(Surface& target, const Region& clip, float x, float y, const FontDesc& font,
                      std::string_view bytes, Color color) = 0;

protected:
    TextEngine() = default;
};

}  // namespace platform
