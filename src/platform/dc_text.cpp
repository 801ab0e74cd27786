// SPDX-License-Identifier: GPL-3.0-or-later
// The text members of the drawing context: TextOut, GetTextExtent,
// GetTextMetrics and DrawText.
//
// Everything goes through TextEngine::Instance(), so what is measured here
// is exactly what is drawn. DrawText lays text out in whole pixels: a line's
// width is its measured width rounded up, and lines are one rounded font
// height apart, so DT_CALCRECT and drawing always agree.
//
// Layout decisions worth knowing:
// - DT_VCENTER and DT_BOTTOM place the whole block of lines, not only single
//   lines. Buttons ask for centred, word-wrapped captions (CENTER | VCENTER |
//   WORDBREAK) and expect a wrapped caption to sit in the middle.
// - DT_WORDBREAK breaks at spaces; the spaces at a break are not drawn. A
//   word wider than the line is broken as late as fits, but only where the
//   engine allows a cut (never inside a Preeti syllable or a ligature), and
//   each line keeps at least one cluster. The breaks come from one
//   TextEngine::MeasureCuts pass over each paragraph, so the time grows
//   with the length of the text, not with its square.
// - DT_EXPANDTABS puts tab stops every 8 characters.
// - Without DT_NOPREFIX, "&x" draws x underlined and "&&" draws "&"; a lone
//   '&' at the end is dropped.
// - The return value is the height of the block of lines.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/dc.h"

namespace platform {
namespace {

// Text with the positions of characters to underline (access-key prefixes).
struct MarkedText {
    std::string text;
    std::vector<size_t> marks;  // indices into text, ascending
};

// Whole pixels covered by a measured width.
int32_t PixelWidth(double w) {
    if (!(w > 0)) return 0;
    const double c = std::ceil(w - 1e-3);
    return c > 1e9 ? 1000000000 : static_cast<int32_t>(c);
}

MarkedText Preprocess(std::string_view bytes, uint32_t format) {
    MarkedText out;
    out.text.reserve(bytes.size());
    const bool prefix = (format & DT_NOPREFIX) == 0;
    const bool tabs = (format & DT_EXPANDTABS) != 0;
    const bool single = (format & DT_SINGLELINE) != 0;
    size_t column = 0;  // characters since the last line break, for tab stops
    for (size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (prefix && c == '&') {
            if (i + 1 >= bytes.size()) break;  // a trailing '&' marks nothing
            ++i;
            c = bytes[i];
            if (c != '&') out.marks.push_back(out.text.size());
        }
        if (tabs && c == '\t') {
            const size_t spaces = 8 - column % 8;
            out.text.append(spaces, ' ');
            column += spaces;
            continue;
        }
        if (c == '\r' || c == '\n') {
            column = 0;
            // Line breaks have no glyph worth drawing; a single line leaves
            // them out (a mark on one marks nothing).
            if (single) {
                if (!out.marks.empty() && out.marks.back() == out.text.size()) out.marks.pop_back();
                continue;
            }
        } else {
            ++column;
        }
        out.text.push_back(c);
    }
    return out;
}

// A line of the layout: the bytes [begin, end) of the prepared text, or,
// with an ellipsis, the first `keep` of them followed by the dots.
struct Line {
    size_t begin = 0;
    size_t end = 0;
    int32_t width = 0;  // whole pixels
    bool shortened = false;
    size_t keep = 0;
    std::string text;  // what is drawn instead when shortened
};

// Measures with the DC's font and lays lines out. One MeasureCuts pass over
// a paragraph gives the width up to every place it may be cut, so finding
// the breaks costs the same whatever the paragraph's length, and a word
// wider than the line is cut between clusters, never inside one.
class LineLayout {
  public:
    explicit LineLayout(const FontDesc& font) : font_(font), engine_(TextEngine::Instance()) {}

    int32_t Width(std::string_view s) const {
        if (s.empty()) return 0;
        return PixelWidth(engine_.Measure(font_, s).width);
    }

    // The paragraph [begin, end) of `text` as one line.
    void Whole(std::string_view text, size_t begin, size_t end, std::vector<Line>& out) const {
        Line line;
        line.begin = begin;
        line.end = end;
        line.width = Width(text.substr(begin, end - begin));
        out.push_back(std::move(line));
    }

    // Breaks the paragraph [begin, end) of `text` into lines no wider than
    // max_width where it can: at spaces, which are not drawn at a break, or,
    // for a word wider than the line, at the last cut that fits, keeping at
    // least one cluster so the layout always advances.
    void Wrap(std::string_view text, size_t begin, size_t end, int32_t max_width,
              std::vector<Line>& out) {
        const std::string_view s = text.substr(begin, end - begin);
        const size_t n = s.size();
        if (n == 0) {
            out.push_back(MakeLine(begin, begin, 0));
            return;
        }
        const bool exact = engine_.MeasureCuts(font_, s, cuts_);
        size_t pos = 0;
        bool first = true;
        while (pos < n) {
            if (!first) {
                while (pos < n && s[pos] == ' ') ++pos;
                if (pos == n) break;
            }
            first = false;
            // Take words while they fit. Widths are checked at every cut on
            // the way, so a long word is given up as soon as it is too wide
            // rather than measured to its end.
            // A line that starts inside the paragraph is drawn as a string
            // of its own, which may start a little later (a leading ि keeps
            // its loop); its width counts from there.
            const double origin = Before(pos) - (exact && pos > 0 ? LeadAt(s, pos) : 0.0);
            size_t line_end = pos;  // the end of the words taken so far
            size_t fit = pos;       // the last cut that fits while none is taken
            auto fits_to = [&](size_t k) {
                const bool cut = cuts_[k] != TextEngine::kNoCut;
                if (!cut && k < n && s[k] != ' ') return true;
                if (PixelWidth(After(k) - origin) > max_width) return false;
                if (cut && line_end == pos) fit = k;
                return true;
            };
            bool full = false;
            size_t i = pos;
            while (!full) {
                while (!full && i < n && s[i] == ' ') full = !fits_to(++i);
                if (full) break;
                if (i == n) {  // only spaces were left
                    line_end = n;
                    break;
                }
                size_t j = i;
                while (!full && j < n && s[j] != ' ') full = !fits_to(++j);
                if (full) break;
                line_end = i = j;
                if (j == n) break;
            }
            if (line_end == pos) {
                // Nothing whole fits: cut inside the first word.
                line_end = fit > pos ? fit : NextCut(pos);
            }
            size_t trimmed = TrimSpaces(s, pos, line_end);
            Line line = MakeLine(begin + pos, begin + trimmed, PixelWidth(After(trimmed) - origin));
            if (!exact) {
                // Shaped on its own the line may come out a little wider
                // than its part of the paragraph; then it gives up its last
                // word or cluster until it fits.
                line.width = Width(s.substr(pos, trimmed - pos));
                while (line.width > max_width) {
                    const size_t shorter = PreviousBreak(s, pos, trimmed);
                    if (shorter <= pos) break;
                    line_end = shorter;
                    trimmed = TrimSpaces(s, pos, line_end);
                    line.end = begin + trimmed;
                    line.width = Width(s.substr(pos, trimmed - pos));
                }
            }
            out.push_back(std::move(line));
            pos = line_end;
        }
    }

    // Shortens a line to fit max_width with an ellipsis after what is kept,
    // cut where a cluster ends.
    void AddEllipsis(std::string_view text, Line& line, int32_t max_width, bool preeti) {
        if (line.width <= max_width) return;
        // In the Preeti encoding '.' is the danda; '=' is the full stop.
        const std::string_view dots = preeti ? "===" : "...";
        const double dots_width = engine_.Measure(font_, dots).width;
        const std::string_view s = text.substr(line.begin, line.end - line.begin);
        const bool exact = engine_.MeasureCuts(font_, s, cuts_);
        size_t keep = 0;
        for (size_t k = 1; k <= s.size(); ++k) {
            if (cuts_[k] == TextEngine::kNoCut) continue;
            if (PixelWidth(cuts_[k] + dots_width) > max_width) break;
            keep = k;
        }
        line.shortened = true;
        line.text.assign(s.substr(0, keep)).append(dots);
        line.width = Width(line.text);
        while (!exact && keep > 0 && line.width > max_width) {
            do {
                --keep;
            } while (keep > 0 && cuts_[keep] == TextEngine::kNoCut);
            line.text.assign(s.substr(0, keep)).append(dots);
            line.width = Width(line.text);
        }
        line.keep = keep;
    }

    // Prepares Edges for a drawn line.
    void MeasureLine(std::string_view line) { engine_.MeasureCuts(font_, line, cuts_); }

    // Left and right pixel edges of byte `at` of the line MeasureLine was
    // given, widened to the cluster the byte belongs to.
    std::pair<int32_t, int32_t> Edges(size_t at) const {
        return {PixelWidth(Before(at)), PixelWidth(After(at + 1))};
    }

  private:
    static Line MakeLine(size_t begin, size_t end, int32_t width) {
        Line line;
        line.begin = begin;
        line.end = end;
        line.width = width;
        return line;
    }

    // The width up to the cut at or before byte k, and at or after it; the
    // ends of a string are always cuts.
    double Before(size_t k) const {
        while (cuts_[k] == TextEngine::kNoCut) --k;
        return cuts_[k];
    }
    double After(size_t k) const {
        while (cuts_[k] == TextEngine::kNoCut) ++k;
        return cuts_[k];
    }
    // How much later than its cut the cluster at `pos` starts when it is
    // drawn at the start of a string.
    double LeadAt(std::string_view s, size_t pos) const {
        const size_t k = NextCut(pos);
        const double alone = engine_.Measure(font_, s.substr(pos, k - pos)).width;
        return std::max(0.0, alone - (cuts_[k] - cuts_[pos]));
    }

    size_t NextCut(size_t from) const {
        size_t k = from + 1;
        while (cuts_[k] == TextEngine::kNoCut) ++k;
        return k;
    }

    static size_t TrimSpaces(std::string_view s, size_t from, size_t end) {
        while (end > from && s[end - 1] == ' ') --end;
        return end;
    }

    // Where a line [from, end) ends once it gives up its last word, or,
    // when it holds one word, its last cluster; `from` when it cannot.
    size_t PreviousBreak(std::string_view s, size_t from, size_t end) const {
        size_t k = end;
        while (k > from && s[k - 1] != ' ') --k;
        k = TrimSpaces(s, from, k);
        if (k > from) return k;
        k = end - 1;
        while (k > from && cuts_[k] == TextEngine::kNoCut) --k;
        return k;
    }

    const FontDesc& font_;
    TextEngine& engine_;
    std::vector<double> cuts_;
};

int32_t RoundToInt(float v) {
    if (!std::isfinite(v)) return 0;
    return static_cast<int32_t>(std::lround(std::clamp(v, -1e9f, 1e9f)));
}

// Fills a rectangle (surface coordinates) inside a clip.
void FillInClip(Surface& target, const Region& clip, const Rect& r, Color c) {
    const Rect box = r.intersect(clip.bounds()).intersect(target.bounds());
    if (box.empty()) return;
    const uint32_t argb = ArgbFromColor(c);
    for (int32_t y = box.top; y < box.bottom; ++y) {
        uint32_t* row = target.row(y);
        for (const Region::Span& s : clip.spans(y)) {
            const int32_t a = std::max(box.left, s.x0);
            const int32_t e = std::min(box.right, s.x1);
            for (int32_t x = a; x < e; ++x) row[x] = argb;
        }
    }
}

// A rectangle (surface program pixels) in device pixels.
Rect AtScale(const Rect& r, int32_t scale) {
    if (scale == 1) return r;
    auto m = [scale](int32_t v) {
        return static_cast<int32_t>(
            std::clamp<int64_t>(int64_t{v} * scale, INT32_MIN / 2, INT32_MAX / 2));
    };
    return {m(r.left), m(r.top), m(r.right), m(r.bottom)};
}

}  // namespace

void DC::TextOut(float x, float y, std::string_view bytes) {
    const float sx = x + static_cast<float>(origin_.x);
    const float sy = y + static_cast<float>(origin_.y);
    TextEngine& engine = TextEngine::Instance();
    if (bk_mode_ == BkMode::kOpaque) {
        const TextExtent ext = engine.Measure(font_, bytes);
        const int32_t left = RoundToInt(sx);
        const int32_t top = RoundToInt(sy);
        FillInClip(*target_, DeviceClip(),
                   AtScale({left, top, left + PixelWidth(ext.width), top + RoundToInt(ext.height)},
                           scale_),
                   TranslateColor(bk_color_));
    }
    if (scale_ == 1) {
        engine.Draw(*target_, clip_, sx, sy, font_, bytes, TranslateColor(text_color_));
        return;
    }
    engine.DrawScaled(*target_, device_clip_, sx, sy, font_, bytes, TranslateColor(text_color_),
                      scale_);
}

TextExtent DC::GetTextExtent(std::string_view bytes) const {
    return TextEngine::Instance().Measure(font_, bytes);
}

FontMetrics DC::GetTextMetrics() const {
    return TextEngine::Instance().Metrics(font_);
}

int32_t DC::DrawText(std::string_view bytes, Rect& r, uint32_t format) {
    TextEngine& engine = TextEngine::Instance();
    const FontMetrics metrics = engine.Metrics(font_);
    const int32_t line_height = std::max(1, RoundToInt(metrics.height));
    LineLayout layout(font_);

    const MarkedText prepared = Preprocess(bytes, format);
    const std::string_view text(prepared.text);
    const bool wrap = (format & (DT_WORDBREAK | DT_SINGLELINE)) == DT_WORDBREAK;
    std::vector<Line> lines;
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        if (wrap) {
            layout.Wrap(text, start, i, r.width(), lines);
        } else {
            layout.Whole(text, start, i, lines);
        }
        i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
        start = i;
    }
    // A final line break ends the last line; it does not start an empty one.
    if (start < text.size() || (lines.empty() && !text.empty())) {
        if (wrap) {
            layout.Wrap(text, start, text.size(), r.width(), lines);
        } else {
            layout.Whole(text, start, text.size(), lines);
        }
    }
    const bool calc = (format & DT_CALCRECT) != 0;
    if (!calc && (format & DT_END_ELLIPSIS) != 0) {
        const bool preeti = engine.IsPreetiFace(font_.name);
        for (Line& line : lines) layout.AddEllipsis(text, line, r.width(), preeti);
    }

    const int64_t block64 = static_cast<int64_t>(lines.size()) * line_height;
    const int32_t block = static_cast<int32_t>(std::min<int64_t>(block64, 1000000000));
    if (calc) {
        int32_t widest = 0;
        for (const Line& line : lines) widest = std::max(widest, line.width);
        r.right = r.left + widest;
        r.bottom = r.top + block;
        return block;
    }

    int32_t top = r.top;
    if ((format & DT_BOTTOM) != 0) {
        top = r.bottom - block;
    } else if ((format & DT_VCENTER) != 0) {
        // Floor division, so a block taller than the box loses as much at
        // the top as at the bottom, with the odd pixel at the bottom.
        const int32_t spare = r.height() - block;
        top = r.top + (spare >= 0 ? spare / 2 : -((-spare + 1) / 2));
    }

    const Region program_clip =
        (format & DT_NOCLIP) != 0 ? clip_ : clip_.intersect(r.offset(origin_.x, origin_.y));
    if (program_clip.empty()) return block;
    const Region scaled_clip = scale_ == 1 ? Region() : program_clip.Scaled(scale_);
    const Region& clip = scale_ == 1 ? program_clip : scaled_clip;
    const Color fore = TranslateColor(text_color_);
    const Color back = TranslateColor(bk_color_);
    const int32_t ul_offset = RoundToInt(metrics.underline_offset);
    const int32_t ul_thickness = std::max(1, RoundToInt(metrics.underline_thickness));
    const Rect clip_box = program_clip.bounds().offset(-origin_.x, -origin_.y);

    for (size_t n = 0; n < lines.size(); ++n) {
        const Line& line = lines[n];
        const int64_t y64 = static_cast<int64_t>(top) + static_cast<int64_t>(n) * line_height;
        if (y64 >= clip_box.bottom) break;
        if (y64 + line_height <= clip_box.top) continue;
        const auto y = static_cast<int32_t>(y64);
        int32_t x = r.left;
        if ((format & DT_CENTER) != 0) {
            const int32_t spare = r.width() - line.width;
            x = r.left + (spare >= 0 ? spare / 2 : -((-spare + 1) / 2));
        } else if ((format & DT_RIGHT) != 0) {
            x = r.right - line.width;
        }
        const int32_t sx = x + origin_.x;
        const int32_t sy = y + origin_.y;
        if (bk_mode_ == BkMode::kOpaque) {
            FillInClip(*target_, clip, AtScale({sx, sy, sx + line.width, sy + line_height}, scale_),
                       back);
        }
        const std::string_view drawn = line.shortened
                                           ? std::string_view(line.text)
                                           : text.substr(line.begin, line.end - line.begin);
        if (scale_ == 1) {
            engine.Draw(*target_, clip, static_cast<float>(sx), static_cast<float>(sy), font_,
                        drawn, fore);
        } else {
            engine.DrawScaled(*target_, clip, static_cast<float>(sx), static_cast<float>(sy), font_,
                              drawn, fore, scale_);
        }
        const size_t marked_end = line.begin + (line.shortened ? line.keep : drawn.size());
        auto mark = std::lower_bound(prepared.marks.begin(), prepared.marks.end(), line.begin);
        if (mark != prepared.marks.end() && *mark < marked_end) layout.MeasureLine(drawn);
        for (; mark != prepared.marks.end() && *mark < marked_end; ++mark) {
            const auto [a, b] = layout.Edges(*mark - line.begin);
            const int32_t row = sy + ul_offset;
            FillInClip(*target_, clip,
                       AtScale({sx + a, row, sx + std::max(b, a + 1), row + ul_thickness}, scale_),
                       fore);
        }
    }
    return block;
}

}  // namespace platform
