// SPDX-License-Identifier: GPL-3.0-or-later
// The FreeType + HarfBuzz text engine.
//
// A string is converted to Unicode (Preeti bytes through the Preeti
// converter, other bytes as Windows-1252), shaped once with HarfBuzz, and
// the shaped run serves both measuring and drawing, so the two agree to the
// pixel. Drawing starts the pen at the rounded x and places each glyph at a
// quarter-pixel position from there; the glyph images for each quarter are
// cached, as are the sized faces and the shaped runs, because the list view
// redraws the same rows over and over. Like every window, the engine
// belongs to the user-interface thread, so it takes no locks.
//
// Preeti text is shaped syllable by syllable (preeti::SyllableEnd), each
// syllable on its own and cached. A syllable of real text shapes alone
// exactly as inside its word, so nothing changes on screen, but the width of
// any stretch between syllables is the sum of theirs: a paragraph is measured
// once and broken into lines anywhere between syllables, and a megabyte of
// text costs a pass of cache look-ups instead of shaping it all.
#include "platform/text/font_engine.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H
#include <hb-ft.h>
#include <hb.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/preeti/preeti.h"
#include "platform/region.h"
#include "platform/surface.h"
#include "platform/text/face_resolver.h"
#include "platform/text/preeti_fit.h"

namespace platform::text {
namespace {

// Caches are dropped whole when they pass these sizes: simple, and the
// working set of a screen is far below them.
constexpr size_t kMaxFaces = 48;
constexpr size_t kMaxGlyphsPerFace = 4096;
// Glyph images of very large sizes are big; all faces together keep at most
// this many coverage bytes.
constexpr size_t kMaxGlyphBytes = size_t{32} << 20;
constexpr size_t kMaxRuns = 16384;
// Strings longer than this are not kept in the run cache; all the runs kept
// hold at most about this many bytes.
constexpr size_t kMaxCachedRunBytes = 512;
constexpr size_t kMaxRunCacheBytes = size_t{8} << 20;

// Quarter-pixel horizontal positions keep spacing even without a glyph
// image for every possible offset.
constexpr int kSubpixelSteps = 4;

constexpr FT_Int32 kLoadFlags = FT_LOAD_DEFAULT | FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP;

struct GlyphImage {
    int32_t left = 0;  // from the pen to the first column
    int32_t top = 0;   // from the baseline up to the first row
    int32_t width = 0;
    int32_t rows = 0;
    std::vector<uint8_t> coverage;
};

// One font file at one pixel size.
struct SizedFace {
    FT_Face face = nullptr;
    hb_font_t* hb = nullptr;
    FontMetrics metrics;
    int32_t ascent = 0;
    FT_Pos bold_strength = 0;  // 26.6 pixels added by synthetic bold
    std::unordered_map<uint64_t, GlyphImage> glyphs;
    size_t glyph_bytes = 0;

    SizedFace() = default;
    SizedFace(const SizedFace&) = delete;
    SizedFace& operator=(const SizedFace&) = delete;
    ~SizedFace() {
        if (hb != nullptr) hb_font_destroy(hb);
        if (face != nullptr) FT_Done_Face(face);
    }
};

struct ShapedGlyph {
    uint32_t gid;
    int32_t x_advance;  // 26.6
    int32_t x_offset;   // 26.6
    int32_t y_offset;   // 26.6, up
    uint32_t cluster;   // the first byte of the glyph's cluster (not Preeti text)
};

struct ShapedRun {
    std::vector<ShapedGlyph> glyphs;
    int64_t width = 0;  // 26.6
    // Room before the first glyph when the run starts a string, so that
    // Devanagari ink leaning left of the pen (the loop of a leading ि) is
    // not lost to the left edge; not part of `width`.
    int64_t lead = 0;  // 26.6
};

// What a FontDesc comes to: a sized face and the synthetic styles to apply,
// or nothing (draw with fixed metrics).
struct Resolved {
    SizedFace* face = nullptr;
    bool synth_bold = false;
    bool synth_italic = false;
    bool preeti = false;
};

int64_t FloorDiv(int64_t a, int64_t b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

uint8_t Mix(uint8_t dst, uint8_t src, uint32_t a) {
    return static_cast<uint8_t>((src * a + dst * (255 - a) + 127) / 255);
}

class FontEngine final : public TextEngine {
  public:
    FontEngine() : fixed_(MakeFixedMetricsEngine()) { ft_ready_ = FT_Init_FreeType(&ft_) == 0; }
    ~FontEngine() override {
        faces_.clear();
        if (ft_ready_) FT_Done_FreeType(ft_);
    }

    bool FaceExists(std::string_view name) override {
        if (IsTestFaceName(name) || IsBuiltInFaceName(name)) return true;
        return resolver_.Resolve(name, false, false).has_value();
    }

    bool IsPreetiFace(std::string_view name) override { return IsPreetiFaceName(name); }

    FontMetrics Metrics(const FontDesc& font) override {
        const Resolved r = Resolve(font);
        if (r.face == nullptr) return fixed_->Metrics(font);
        return r.face->metrics;
    }

    TextExtent Measure(const FontDesc& font, std::string_view bytes) override {
        const Resolved r = Resolve(font);
        if (r.face == nullptr) return fixed_->Measure(font, bytes);
        int64_t width = 0;
        if (r.preeti) {
            bool first = true;
            ForEachSyllable(r, bytes, [&](const ShapedRun& run, size_t) {
                width += (first ? run.lead : 0) + run.width;
                first = false;
                return true;
            });
        } else {
            ShapedRun scratch;
            width = Shape(r, bytes, scratch).width;
        }
        return {static_cast<float>(static_cast<double>(width) / 64.0), r.face->metrics.height};
    }

    bool MeasureCuts(const FontDesc& font, std::string_view bytes,
                     std::vector<double>& widths) override {
        const Resolved r = Resolve(font);
        if (r.face == nullptr) return fixed_->MeasureCuts(font, bytes, widths);
        widths.assign(bytes.size() + 1, kNoCut);
        widths[0] = 0;
        if (r.preeti) {
            int64_t x = 0;
            bool first = true;
            ForEachSyllable(r, bytes, [&](const ShapedRun& run, size_t end) {
                x += (first ? run.lead : 0) + run.width;
                first = false;
                widths[end] = static_cast<double>(x) / 64.0;
                return true;
            });
            return true;
        }
        // Elsewhere a cut may fall before the first glyph of each cluster.
        ShapedRun scratch;
        const ShapedRun& run = Shape(r, bytes, scratch);
        int64_t pen = 0;
        uint32_t cluster = 0;
        for (const ShapedGlyph& g : run.glyphs) {
            if (g.cluster > cluster && g.cluster < bytes.size()) {
                cluster = g.cluster;
                widths[cluster] = static_cast<double>(std::max<int64_t>(0, pen)) / 64.0;
            }
            pen += g.x_advance;
        }
        widths[bytes.size()] = static_cast<double>(run.width) / 64.0;
        return false;
    }

    void Draw(Surface& target, const Region& clip, float x, float y, const FontDesc& font,
              std::string_view bytes, Color color) override {
        DrawAt(target, clip, x, y, font, bytes, color, 1);
    }

    void DrawScaled(Surface& target, const Region& device_clip, float x, float y,
                    const FontDesc& font, std::string_view bytes, Color color,
                    int32_t scale) override {
        DrawAt(target, device_clip, x, y, font, bytes, color, std::max(1, scale));
    }

  private:
    // Shapes at the font's size and places each glyph at `scale` times its
    // position there, rasterised from the face at scale x the size; (x, y)
    // is in program pixels, the clip in device pixels.
    void DrawAt(Surface& target, const Region& clip, float x, float y, const FontDesc& font,
                std::string_view bytes, Color color, int32_t scale) {
        if (target.empty() || clip.empty() || !std::isfinite(x) || !std::isfinite(y)) return;
        Resolved r = Resolve(font);
        if (r.face == nullptr) {
            if (scale == 1) {
                fixed_->Draw(target, clip, x, y, font, bytes, color);
            } else {
                fixed_->DrawScaled(target, clip, x, y, font, bytes, color, scale);
            }
            return;
        }
        Resolved ink = r;
        if (scale > 1) {
            FontDesc big = font;
            big.size = font.size * static_cast<float>(scale);
            ink = Resolve(big);
            // Making the large face may have dropped the faces the small one
            // pointed at; looking it up again gives a live one.
            r = Resolve(font);
            if (ink.face == nullptr || r.face == nullptr) return;
        }
        const int64_t x0 = std::llround(std::clamp(x, -1e9f, 1e9f));
        const int64_t y0 = std::llround(std::clamp(y, -1e9f, 1e9f));
        const int64_t baseline = (y0 + r.face->ascent) * scale;
        const Rect box = clip.bounds().intersect(target.bounds());
        const int64_t reach = 2 * static_cast<int64_t>(ink.face->metrics.height) + 64;
        // Each run starts where the runs before it end, so the glyphs stand
        // exactly where MeasureCuts puts the cuts. Nothing touches the run
        // cache while a run is drawn (Glyph only fills the glyph caches).
        int64_t start = x0 * 64;  // 26.6, program pixels
        // Past the clip's right edge only the width matters, and only for
        // the underline and strike-through.
        const bool need_width = font.underline || font.strikethrough;
        bool first = true;
        auto draw_run = [&](const ShapedRun& run) {
            if (first) start += run.lead;
            first = false;
            if (start * scale / 64 > box.right + reach) {
                start += run.width;
                return need_width;
            }
            int64_t pen = start;
            start += run.width;
            for (const ShapedGlyph& g : run.glyphs) {
                const int64_t gx = (pen + g.x_offset) * scale;
                pen += g.x_advance;
                int64_t ix = FloorDiv(gx, 64);
                int step = static_cast<int>(((gx - ix * 64) * kSubpixelSteps + 32) / 64);
                if (step == kSubpixelSteps) {
                    ++ix;
                    step = 0;
                }
                const int64_t iy = baseline - FloorDiv(g.y_offset * scale + 32, 64);
                // Skip glyphs far outside the clip before rasterising them; a
                // glyph's ink reaches at most about two ems from its pen.
                if (ix > box.right + reach || ix < box.left - reach) continue;
                const GlyphImage* img =
                    Glyph(*ink.face, g.gid, step, ink.synth_bold, ink.synth_italic);
                if (img == nullptr || img->coverage.empty()) continue;
                Blit(target, clip, *img, ix + img->left, iy - img->top, color);
            }
            return true;
        };
        if (r.preeti) {
            ForEachSyllable(r, bytes, [&](const ShapedRun& run, size_t) { return draw_run(run); });
        } else {
            ShapedRun scratch;
            draw_run(Shape(r, bytes, scratch));
        }
        const int64_t width =
            static_cast<int64_t>(std::ceil(static_cast<double>(start - x0 * 64) / 64.0 - 1e-3));
        const FontMetrics& m = r.face->metrics;
        const int64_t thickness = std::max<int64_t>(1, std::llround(m.underline_thickness));
        if (font.underline) {
            const int64_t top = y0 + std::llround(m.underline_offset);
            FillSolid(target, clip, x0 * scale, top * scale, (x0 + width) * scale,
                      (top + thickness) * scale, color);
        }
        if (font.strikethrough) {
            const int64_t top = y0 + std::llround(m.strikeout_offset);
            FillSolid(target, clip, x0 * scale, top * scale, (x0 + width) * scale,
                      (top + thickness) * scale, color);
        }
    }

    // Painting asks for the same few fonts over and over; the last ones
    // resolved are kept so that a repeat costs a few comparisons and no
    // allocation. Cleared whenever the faces they point at are dropped.
    struct Remembered {
        std::string name;
        float size = 0;
        bool bold = false;
        bool italic = false;
        bool used = false;
        Resolved resolved;
    };
    static constexpr size_t kRemembered = 8;

    Resolved Resolve(const FontDesc& font) {
        for (const Remembered& m : remembered_) {
            if (m.used && m.size == font.size && m.bold == font.bold && m.italic == font.italic &&
                m.name == font.name) {
                return m.resolved;
            }
        }
        const Resolved out = ResolveUncached(font);
        Remembered& slot = remembered_[next_remembered_];
        next_remembered_ = (next_remembered_ + 1) % kRemembered;
        slot.name = font.name;
        slot.size = font.size;
        slot.bold = font.bold;
        slot.italic = font.italic;
        slot.used = true;
        slot.resolved = out;
        return out;
    }

    Resolved ResolveUncached(const FontDesc& font) {
        Resolved out;
        if (!ft_ready_) return out;
        std::optional<FaceFile> file = resolver_.Resolve(font.name, font.bold, font.italic);
        if (!file) {
            // A face set straight into a FontDesc (a document's FONT FACE, say)
            // may name nothing installed; like the platform's font mapper, draw
            // it in the default sans rather than not at all.
            file = resolver_.Resolve("Arial", font.bold, font.italic);
        }
        if (!file) return out;
        const float px = ClampedPixelSize(font);
        out.preeti = IsPreetiFaceName(font.name);
        if (out.preeti) {
            // The whole of a Preeti face's text fits in its em box.
            const auto box = std::max<int32_t>(1, static_cast<int32_t>(std::lround(px)));
            out.face = Sized(file->path, file->index, box * 64, box);
        } else {
            out.face = Sized(file->path, file->index, std::lround(px * 64.0f), 0);
        }
        out.synth_bold = file->synth_bold;
        out.synth_italic = file->synth_italic;
        return out;
    }

    // A font file at an em size, or (fit_box > 0) scaled to fit the reach of
    // Preeti text in fit_box rows.
    SizedFace* Sized(const std::string& path, int index, FT_F26Dot6 size26, int32_t fit_box) {
        const std::string key = path + '\n' + std::to_string(index) + '\n' +
                                std::to_string(size26) + (fit_box > 0 ? "\nfit" : "");
        if (auto it = faces_.find(key); it != faces_.end()) return it->second.get();
        if (faces_.size() >= kMaxFaces) {
            // The shaped runs and remembered fonts point at faces; they go
            // with them.
            runs_.clear();
            run_bytes_ = 0;
            for (Remembered& m : remembered_) m.used = false;
            faces_.clear();
            glyph_bytes_ = 0;
        }
        auto sized = std::make_unique<SizedFace>();
        if (FT_New_Face(ft_, path.c_str(), index, &sized->face) != 0) {
            sized->face = nullptr;
            faces_.emplace(key, nullptr);
            return nullptr;
        }
        if (!FT_IS_SCALABLE(sized->face) || FT_Set_Char_Size(sized->face, 0, size26, 72, 72) != 0) {
            faces_.emplace(key, nullptr);
            return nullptr;
        }
        sized->hb = hb_ft_font_create_referenced(sized->face);
        hb_ft_font_set_load_flags(sized->hb, kLoadFlags);
        if (fit_box > 0) {
            const PreetiFit fit = FitPreetiFace(
                sized->face, sized->hb, Reach(path, index, sized->face), fit_box, kLoadFlags);
            FillMetrics(*sized, static_cast<float>(fit.size26) / 64.0f, &fit);
        } else {
            FillMetrics(*sized, static_cast<float>(size26) / 64.0f, nullptr);
        }
        SizedFace* raw = sized.get();
        faces_.emplace(key, std::move(sized));
        return raw;
    }

    // How far Preeti text reaches in a font file; measured once per file.
    const InkReach& Reach(const std::string& path, int index, FT_Face face) {
        const std::string key = path + '\n' + std::to_string(index);
        auto it = reach_.find(key);
        if (it == reach_.end()) it = reach_.emplace(key, MeasurePreetiReach(face)).first;
        return it->second;
    }

    // Line metrics: the Windows ascent and descent of the OS/2 table, each
    // rounded up to whole pixels; or, for a face fitted to Preeti text, the
    // fitted box, whose height is the requested em size.
    static void FillMetrics(SizedFace& s, float px, const PreetiFit* fit) {
        FT_Face f = s.face;
        const FT_Fixed ys = f->size->metrics.y_scale;
        const FT_Fixed xs = f->size->metrics.x_scale;
        auto scaled_y = [ys](FT_Long units) {
            return static_cast<double>(FT_MulFix(units, ys)) / 64.0;
        };
        auto scaled_x = [xs](FT_Long units) {
            return static_cast<double>(FT_MulFix(units, xs)) / 64.0;
        };
        const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2));
        double asc = scaled_y(f->ascender);
        double desc = -scaled_y(f->descender);
        if (os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
            asc = scaled_y(os2->usWinAscent);
            desc = scaled_y(os2->usWinDescent);
        }
        int32_t ascent = std::max<int32_t>(1, static_cast<int32_t>(std::ceil(asc - 1e-3)));
        int32_t descent = std::max<int32_t>(0, static_cast<int32_t>(std::ceil(desc - 1e-3)));
        if (fit != nullptr) {
            ascent = fit->ascent;
            descent = fit->descent;
        }
        const int32_t height = ascent + descent;
        FontMetrics& m = s.metrics;
        s.ascent = ascent;
        m.ascent = static_cast<float>(ascent);
        m.descent = static_cast<float>(descent);
        m.height = static_cast<float>(height);
        // A fitted face's line is its requested em: no leading inside or out.
        m.internal_leading =
            fit != nullptr ? 0.0f : std::max(0.0f, static_cast<float>(height) - px);
        const double line = scaled_y(f->height);
        m.external_leading =
            fit != nullptr ? 0.0f : static_cast<float>(std::max(0.0, std::round(line - height)));
        m.max_char_width = static_cast<float>(std::ceil(scaled_x(f->max_advance_width)));
        m.average_char_width = os2 != nullptr && os2->version != 0xFFFF && os2->xAvgCharWidth > 0
                                   ? static_cast<float>(std::round(scaled_x(os2->xAvgCharWidth)))
                                   : static_cast<float>(std::round(px / 2));

        double thick = scaled_y(f->underline_thickness);
        if (!(thick > 0)) thick = px / 14.0;
        const int32_t t = std::max<int32_t>(1, static_cast<int32_t>(std::lround(thick)));
        // underline_position is the centre of the stroke, below the baseline.
        double below = -scaled_y(f->underline_position);
        if (!(below > 0)) below = std::max(1.0, px / 10.0);
        int32_t ul = static_cast<int32_t>(std::lround(ascent + below - t / 2.0));
        ul = std::clamp(ul, ascent, std::max(ascent, height - t));
        m.underline_offset = static_cast<float>(ul);
        m.underline_thickness = static_cast<float>(t);
        double strike = px * 0.3;
        if (os2 != nullptr && os2->version != 0xFFFF && os2->yStrikeoutPosition > 0) {
            strike = scaled_y(os2->yStrikeoutPosition);
        }
        m.strikeout_offset = static_cast<float>(
            std::clamp<int32_t>(ascent - static_cast<int32_t>(std::lround(strike)), 0, height - 1));
        s.bold_strength = std::max<FT_Pos>(32, FT_MulFix(f->units_per_EM, ys) / 24);
    }

    // The shaped run of a string: from the run cache when the string is
    // short enough to keep, else shaped into `scratch`, which the caller
    // owns, so a long string is neither kept nor copied. The reference is
    // good until the next call.
    const ShapedRun& Shape(const Resolved& r, std::string_view bytes, ShapedRun& scratch) {
        if (bytes.size() > kMaxCachedRunBytes) {
            scratch = ShapeUncached(r, bytes);
            return scratch;
        }
        key_.clear();
        key_.append(reinterpret_cast<const char*>(&r.face), sizeof(r.face));
        key_.push_back(static_cast<char>((r.synth_bold ? 1 : 0) | (r.preeti ? 2 : 0)));
        key_.append(bytes);
        if (auto it = runs_.find(key_); it != runs_.end()) return it->second;
        ShapedRun run = ShapeUncached(r, bytes);
        const size_t cost = key_.size() + run.glyphs.size() * sizeof(ShapedGlyph) + 64;
        if (runs_.size() >= kMaxRuns || run_bytes_ + cost > kMaxRunCacheBytes) {
            runs_.clear();
            run_bytes_ = 0;
        }
        run_bytes_ += cost;
        return runs_.emplace(key_, std::move(run)).first->second;
    }

    // Calls f(run, end) for each syllable of Preeti text, in order, with
    // the syllable's run and the byte where it ends, until f returns false.
    template <typename F>
    void ForEachSyllable(const Resolved& r, std::string_view bytes, F&& f) {
        ShapedRun scratch;  // syllables are short: never used
        size_t i = 0;
        while (i < bytes.size()) {
            const size_t end = preeti::SyllableEnd(bytes, i);
            if (!f(Shape(r, bytes.substr(i, end - i), scratch), end)) return;
            i = end;
        }
    }

    static ShapedRun ShapeUncached(const Resolved& r, std::string_view bytes) {
        ShapedRun run;
        if (bytes.empty()) return run;
        // Control bytes have no glyph; they take the room of a space instead
        // of showing the font's missing-glyph box.
        std::string clean(bytes);
        for (char& c : clean) {
            if (static_cast<unsigned char>(c) < 0x20) c = ' ';
        }
        const std::string utf8 = r.preeti ? preeti::ToUnicode(clean, preeti::UnicodeFor::kDrawing)
                                          : preeti::Cp1252ToUtf8(clean);
        hb_buffer_t* buf = hb_buffer_create();
        hb_buffer_add_utf8(buf, utf8.data(), static_cast<int>(utf8.size()), 0,
                           static_cast<int>(utf8.size()));
        if (r.preeti) {
            hb_buffer_set_script(buf, HB_SCRIPT_DEVANAGARI);
            hb_buffer_set_language(buf, hb_language_from_string("ne", -1));
        }
        hb_buffer_guess_segment_properties(buf);
        hb_buffer_set_direction(buf, HB_DIRECTION_LTR);
        hb_shape(r.face->hb, buf, nullptr, 0);
        unsigned int count = 0;
        const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buf, &count);
        const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buf, &count);
        run.glyphs.reserve(count);
        // Clusters are offsets into the UTF-8; every byte of Windows-1252
        // text is one character, so counting characters gives the byte.
        size_t utf8_at = 0;
        uint32_t byte_at = 0;
        for (unsigned int i = 0; i < count; ++i) {
            if (!r.preeti) {
                for (; utf8_at < info[i].cluster && utf8_at < utf8.size(); ++utf8_at) {
                    if ((static_cast<uint8_t>(utf8[utf8_at]) & 0xC0) != 0x80) ++byte_at;
                }
            }
            ShapedGlyph g{info[i].codepoint, pos[i].x_advance, pos[i].x_offset, pos[i].y_offset,
                          byte_at};
            // Thickened glyphs need the extra room, or bold letters touch.
            if (r.synth_bold && g.x_advance != 0) {
                g.x_advance += static_cast<int32_t>(r.face->bold_strength);
            }
            run.width += g.x_advance;
            run.glyphs.push_back(g);
        }
        if (r.preeti) {
            // The leftmost ink of the first few glyphs; marks may come
            // before their base, so look past the first.
            int64_t pen = 0;
            int64_t left = 0;
            for (size_t i = 0; i < std::min<size_t>(run.glyphs.size(), 4); ++i) {
                hb_glyph_extents_t e{};
                if (hb_font_get_glyph_extents(r.face->hb, run.glyphs[i].gid, &e) && e.width > 0) {
                    left = std::min(left, pen + run.glyphs[i].x_offset + e.x_bearing);
                }
                pen += run.glyphs[i].x_advance;
            }
            // Whole pixels; an eighth more covers the quarter-pixel glyph
            // placement rounding to the left. Only a string's first
            // syllable takes it (see Measure and Draw).
            if (left < 0) run.lead = (-left + 8 + 63) / 64 * 64;
        }
        hb_buffer_destroy(buf);
        if (run.width < 0) run.width = 0;
        return run;
    }

    const GlyphImage* Glyph(SizedFace& s, uint32_t gid, int step, bool bold, bool italic) {
        const uint64_t key = (static_cast<uint64_t>(gid) << 8) |
                             (static_cast<uint64_t>(step) << 2) | (bold ? 1u : 0u) |
                             (italic ? 2u : 0u);
        if (auto it = s.glyphs.find(key); it != s.glyphs.end()) return &it->second;
        if (s.glyphs.size() >= kMaxGlyphsPerFace) {
            glyph_bytes_ -= std::min(glyph_bytes_, s.glyph_bytes);
            s.glyphs.clear();
            s.glyph_bytes = 0;
        }
        if (glyph_bytes_ >= kMaxGlyphBytes) {
            for (auto& entry : faces_) {
                if (entry.second) {
                    entry.second->glyphs.clear();
                    entry.second->glyph_bytes = 0;
                }
            }
            glyph_bytes_ = 0;
        }
        GlyphImage img;
        if (FT_Load_Glyph(s.face, gid, kLoadFlags) == 0 &&
            s.face->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
            FT_Outline* outline = &s.face->glyph->outline;
            if (bold) FT_Outline_EmboldenXY(outline, s.bold_strength, s.bold_strength / 2);
            if (italic) {
                // Synthetic italics slant by about 12 degrees (tan = 0.2125).
                FT_Matrix shear{0x10000, 0x0366A, 0, 0x10000};
                FT_Outline_Transform(outline, &shear);
            }
            FT_Outline_Translate(outline, step * 64 / kSubpixelSteps, 0);
            if (FT_Render_Glyph(s.face->glyph, FT_RENDER_MODE_NORMAL) == 0) {
                const FT_Bitmap& bm = s.face->glyph->bitmap;
                if (bm.pixel_mode == FT_PIXEL_MODE_GRAY && bm.width > 0 && bm.rows > 0) {
                    img.left = s.face->glyph->bitmap_left;
                    img.top = s.face->glyph->bitmap_top;
                    img.width = static_cast<int32_t>(bm.width);
                    img.rows = static_cast<int32_t>(bm.rows);
                    img.coverage.resize(static_cast<size_t>(img.width) * img.rows);
                    for (int32_t row = 0; row < img.rows; ++row) {
                        const uint8_t* src = bm.buffer + static_cast<ptrdiff_t>(row) * bm.pitch;
                        std::memcpy(img.coverage.data() + static_cast<size_t>(row) * img.width, src,
                                    static_cast<size_t>(img.width));
                    }
                }
            }
        }
        s.glyph_bytes += img.coverage.size();
        glyph_bytes_ += img.coverage.size();
        return &s.glyphs.emplace(key, std::move(img)).first->second;
    }

    static void Blit(Surface& target, const Region& clip, const GlyphImage& img, int64_t left,
                     int64_t top, Color color) {
        const Rect box = clip.bounds().intersect(target.bounds());
        const int64_t y_begin = std::max<int64_t>(top, box.top);
        const int64_t y_end = std::min<int64_t>(top + img.rows, box.bottom);
        const int64_t x_begin = std::max<int64_t>(left, box.left);
        const int64_t x_end = std::min<int64_t>(left + img.width, box.right);
        if (y_begin >= y_end || x_begin >= x_end) return;
        const uint8_t r = RedOf(color);
        const uint8_t g = GreenOf(color);
        const uint8_t b = BlueOf(color);
        for (int64_t y = y_begin; y < y_end; ++y) {
            uint32_t* row = target.row(static_cast<int32_t>(y));
            const uint8_t* cov = img.coverage.data() + (y - top) * img.width;
            for (const Region::Span& span : clip.spans(static_cast<int32_t>(y))) {
                const int64_t a = std::max<int64_t>(x_begin, span.x0);
                const int64_t e = std::min<int64_t>(x_end, span.x1);
                for (int64_t x = a; x < e; ++x) {
                    const uint32_t alpha = cov[x - left];
                    if (alpha == 0) continue;
                    const uint32_t dst = row[x];
                    const uint8_t nr = Mix(static_cast<uint8_t>(dst >> 16), r, alpha);
                    const uint8_t ng = Mix(static_cast<uint8_t>(dst >> 8), g, alpha);
                    const uint8_t nb = Mix(static_cast<uint8_t>(dst), b, alpha);
                    row[x] = 0xFF000000u | (static_cast<uint32_t>(nr) << 16) |
                             (static_cast<uint32_t>(ng) << 8) | nb;
                }
            }
        }
    }

    static void FillSolid(Surface& target, const Region& clip, int64_t x0, int64_t y0, int64_t x1,
                          int64_t y1, Color color) {
        const Rect box = clip.bounds().intersect(target.bounds());
        const uint32_t argb = ArgbFromColor(color);
        for (int64_t y = std::max<int64_t>(y0, box.top); y < std::min<int64_t>(y1, box.bottom);
             ++y) {
            uint32_t* row = target.row(static_cast<int32_t>(y));
            for (const Region::Span& span : clip.spans(static_cast<int32_t>(y))) {
                const int64_t a = std::max<int64_t>({x0, span.x0, box.left});
                const int64_t e = std::min<int64_t>({x1, span.x1, box.right});
                for (int64_t x = a; x < e; ++x) row[x] = argb;
            }
        }
    }

    std::unique_ptr<TextEngine> fixed_;
    FaceResolver resolver_;
    FT_Library ft_ = nullptr;
    bool ft_ready_ = false;
    std::map<std::string, std::unique_ptr<SizedFace>> faces_;
    std::unordered_map<std::string, ShapedRun> runs_;
    std::map<std::string, InkReach> reach_;
    std::array<Remembered, kRemembered> remembered_;
    size_t next_remembered_ = 0;
    size_t run_bytes_ = 0;
    std::string key_;  // the run cache's look-up key, reused
    size_t glyph_bytes_ = 0;
};

}  // namespace

std::unique_ptr<TextEngine> MakeFontEngine() {
    return std::make_unique<FontEngine>();
}

void InstallFontEngine() {
    static std::once_flag once;
    std::call_once(once, [] { InstallTextEngine(MakeFontEngine()); });
}

}  // namespace platform::text
