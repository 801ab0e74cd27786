// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/text/preeti_fit.h"

#include <hb-ft.h>

#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/preeti/preeti.h"

namespace platform::text {
namespace {

// The Nepali words that reach highest (reph over ि with a candrabindu,
// reph over ी and ै) and lowest (stacked ्, ु, ृ and rakar under
// conjuncts) in the Devanagari fonts the Preeti faces map to. Found with
// `kovelin-inkscan FONT /usr/share/hunspell/ne_NP.dic 12` on the regular
// and bold sans and serif faces.
constexpr const char* kReachingWords[] = {
    // highest
    "श्री",
    "अहिंसक",
    "किंकर्तव्यविमूढ",
    "अल्झि",
    "उक्सि",
    "गुज्जि",
    "अँचेट्",
    "तँ",
    "उहाँ",
    // lowest
    "जिङ्‍र्याइ",
    "खङ्ग्राङ्खुङ्‌रुङ",
    "पान्ड्रुङ",
    "टुहुरि",
    "हुँडल्",
    "द्यूतक्रीडा",
    "तद्‌रूप",
    "विद्युतशक्ति",
    "द्रुतगामी",
    "गुन्द्रुङ्ग",
};

// Ink rows of one glyph run above and below the baseline.
struct Rows {
    int32_t above = 0;
    int32_t below = 0;
};

int64_t FloorDiv64(int64_t a) {
    return a >= 0 ? a / 64 : -((-a + 63) / 64);
}

// Every probe string: the reaching words, and each Preeti byte that draws
// Devanagari, alone and after a consonant (क).
std::vector<std::string> ProbeText() {
    std::vector<std::string> out;
    for (const char* word : kReachingWords) {
        // As the program shows it: through Preeti bytes and back.
        if (std::optional<std::string> bytes = preeti::FromUnicode(word)) {
            out.push_back(preeti::ToUnicode(*bytes, preeti::UnicodeFor::kDrawing));
        }
    }
    for (int b = 0x21; b <= 0xFF; ++b) {
        const std::string byte(1, static_cast<char>(b));
        for (const std::string& bytes : {byte, "s" + byte}) {
            std::string utf8 = preeti::ToUnicode(bytes, preeti::UnicodeFor::kDrawing);
            if (preeti::HasDevanagari(utf8)) out.push_back(std::move(utf8));
        }
    }
    return out;
}

// The rendered ink of the probe strings at the face's current size, with the
// vertical offsets rounded as drawing rounds them.
Rows RenderedRows(FT_Face face, hb_font_t* hb, const std::vector<std::string>& text,
                  FT_Int32 load_flags) {
    Rows rows;
    for (const std::string& s : text) {
        const ShapedDevanagari shaped(hb, s);
        const unsigned int count = shaped.count();
        const hb_glyph_info_t* info = shaped.infos();
        const hb_glyph_position_t* pos = shaped.positions();
        for (unsigned int i = 0; i < count; ++i) {
            if (FT_Load_Glyph(face, info[i].codepoint, load_flags) != 0) continue;
            if (face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) continue;
            if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) continue;
            const FT_Bitmap& bm = face->glyph->bitmap;
            if (bm.rows == 0 || bm.width == 0) continue;
            const auto lift = static_cast<int32_t>(FloorDiv64(pos[i].y_offset + 32));
            const int32_t top = face->glyph->bitmap_top + lift;
            rows.above = std::max(rows.above, top);
            rows.below = std::max(rows.below, static_cast<int32_t>(bm.rows) - top);
        }
    }
    return rows;
}

}  // namespace

ShapedDevanagari::ShapedDevanagari(hb_font_t* font, const std::string& utf8)
    : buf_(hb_buffer_create()) {
    hb_buffer_add_utf8(buf_, utf8.data(), static_cast<int>(utf8.size()), 0,
                       static_cast<int>(utf8.size()));
    hb_buffer_set_script(buf_, HB_SCRIPT_DEVANAGARI);
    hb_buffer_set_language(buf_, hb_language_from_string("ne", -1));
    hb_buffer_set_direction(buf_, HB_DIRECTION_LTR);
    hb_shape(font, buf_, nullptr, 0);
    infos_ = hb_buffer_get_glyph_infos(buf_, &count_);
    positions_ = hb_buffer_get_glyph_positions(buf_, &count_);
}

ShapedDevanagari::~ShapedDevanagari() {
    hb_buffer_destroy(buf_);
}

InkReach MeasurePreetiReach(FT_Face face) {
    InkReach reach;
    hb_face_t* hb_face = hb_ft_face_create_referenced(face);
    hb_font_t* font = hb_font_create(hb_face);  // design units
    struct Probe {
        std::string text;
        int32_t top = 0;
        int32_t bottom = 0;
    };
    std::vector<Probe> probes;
    for (std::string& s : ProbeText()) {
        Probe p{std::move(s)};
        const ShapedDevanagari shaped(font, p.text);
        const unsigned int count = shaped.count();
        const hb_glyph_info_t* info = shaped.infos();
        const hb_glyph_position_t* pos = shaped.positions();
        for (unsigned int i = 0; i < count; ++i) {
            hb_glyph_extents_t e{};
            if (!hb_font_get_glyph_extents(font, info[i].codepoint, &e) || e.height == 0) continue;
            p.top = std::max(p.top, pos[i].y_offset + e.y_bearing);
            p.bottom = std::max(p.bottom, -(pos[i].y_offset + e.y_bearing + e.height));
        }
        reach.top = std::max(reach.top, p.top);
        reach.bottom = std::max(reach.bottom, p.bottom);
        probes.push_back(std::move(p));
    }
    hb_font_destroy(font);
    hb_face_destroy(hb_face);
    // Hinting and rounding move ink by a pixel at most, so only text within
    // a few percent of an extreme can decide the rendered reach.
    const int32_t margin = std::max<int32_t>(1, (reach.top + reach.bottom) / 25);
    for (Probe& p : probes) {
        if (p.top >= reach.top - margin || p.bottom >= reach.bottom - margin) {
            reach.extremes.push_back(std::move(p.text));
        }
    }
    return reach;
}

PreetiFit FitPreetiFace(FT_Face face, hb_font_t* hb, const InkReach& reach, int32_t box,
                        FT_Int32 load_flags) {
    box = std::max<int32_t>(1, box);
    const double span = std::max<int32_t>(1, reach.top + reach.bottom);
    // The design extents give the size at which the outlines just fit;
    // rendering adds partly covered rows, so shrink until the pixels fit.
    double em = box * static_cast<double>(face->units_per_EM) / span;
    PreetiFit fit;
    for (int attempt = 0; attempt < 24; ++attempt) {
        fit.size26 = std::max<FT_F26Dot6>(64, std::lround(em * 64.0));
        if (FT_Set_Char_Size(face, 0, fit.size26, 72, 72) != 0) break;
        hb_ft_font_changed(hb);
        const Rows rows = RenderedRows(face, hb, reach.extremes, load_flags);
        const int32_t used = rows.above + rows.below;
        if (used <= box || fit.size26 == 64) {
            // Spare rows go half above, half below.
            fit.ascent = std::min(box, rows.above + std::max(0, box - used) / 2);
            fit.descent = box - fit.ascent;
            return fit;
        }
        em = std::min(em - 1.0 / 64.0, em * box / used);
    }
    fit.ascent = box - box / 3;
    fit.descent = box - fit.ascent;
    return fit;
}

}  // namespace platform::text
