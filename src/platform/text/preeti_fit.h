// SPDX-License-Identifier: GPL-3.0-or-later
// Line metrics for the Preeti faces.
//
// Text in a Preeti face is laid out for a font whose every mark stays inside
// the em box of the requested size: a 14.25 pt search box is 19 px high and
// shows the reph over ि and the deepest ् and ु stacks whole. Unicode
// Devanagari fonts reach far above and below their em box, so the engine
// scales such a font down until the ink of the tallest and deepest text that
// Preeti bytes can produce fits in the box, and puts the baseline where that
// ink leaves it. The words that reach furthest were found by running
// kovelin-inkscan over a large Nepali word list; every single Preeti glyph
// is probed as well, so a face other than the one measured still fits.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb.h>

#include <cstdint>
#include <string>
#include <vector>

namespace platform::text {

// UTF-8 Devanagari shaped as the engine shapes Preeti text (script
// Devanagari, language Nepali, left to right); the buffer is freed with it.
class ShapedDevanagari {
  public:
    ShapedDevanagari(hb_font_t* font, const std::string& utf8);
    ~ShapedDevanagari();
    ShapedDevanagari(const ShapedDevanagari&) = delete;
    ShapedDevanagari& operator=(const ShapedDevanagari&) = delete;

    unsigned int count() const { return count_; }
    const hb_glyph_info_t* infos() const { return infos_; }
    const hb_glyph_position_t* positions() const { return positions_; }

  private:
    hb_buffer_t* buf_;
    unsigned int count_ = 0;
    const hb_glyph_info_t* infos_ = nullptr;
    const hb_glyph_position_t* positions_ = nullptr;
};

// How far Preeti text reaches in one font file, in font units (top above
// the baseline, bottom below it, both as positive numbers), and the probe
// strings (UTF-8) that come within a small margin of either extreme.
struct InkReach {
    int32_t top = 0;
    int32_t bottom = 0;
    std::vector<std::string> extremes;
};

// Shapes the probe text with the font of `face` at its design size.
InkReach MeasurePreetiReach(FT_Face face);

struct PreetiFit {
    FT_F26Dot6 size26 = 0;  // the em size to set, 26.6 pixels
    int32_t ascent = 0;     // rows above the baseline; ascent + descent = box
    int32_t descent = 0;
};

// The largest em size at which the rendered ink of `reach.extremes` fits in
// `box` rows, and the baseline within the box. Leaves `face` set to that
// size and `hb` in step with it.
PreetiFit FitPreetiFace(FT_Face face, hb_font_t* hb, const InkReach& reach, int32_t box,
                        FT_Int32 load_flags);

}  // namespace platform::text
