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
//   word wider than the line is broken between characters, as late as fits.
// - DT_EXPANDTABS puts tab stops every 8 characters.
// - Without DT_NOPREFIX, "&x" draws x underlined and "&&" draws "&"; a lone
//   '&' at the end is dropped.
// - The return value is the height of the block of lines.
#include <algorithm>
#include <cmath>
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
int32_t PixelWidth(float w) {
    if (!(w > 0)) return 0;
    const double c = std::ceil(static_cast<double>(w) - 1e-3);
    return c > 1e9 ? 1000000000 : static_cast<int32_t>(c);
}

MarkedText Preprocess(std::string_view bytes, uint32_t format) {
    MarkedText out;
    out.text.reserve(bytes.size());
    const bool prefix = (format & DT_NOPREFIX) == 0;
    const bool tabs = (format & DT_EXPANDTABS) != 0;
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
        out.text.push_back(c);
        column = (c == '\r' || c == '\n') ? 0 : column + 1;
    }
    return out;
}

// The part [begin, end) of a marked text, marks re-based.
MarkedText Slice(const MarkedText& t, size_t begin, size_t end) {
    MarkedText out;
    out.text = t.text.substr(begin, end - begin);
    for (size_t m : t.marks) {
        if (m >= begin && m < end) out.marks.push_back(m - begin);
    }
    return out;
}

std::vector<MarkedText> SplitLines(const MarkedText& t, bool single_line) {
    std::vector<MarkedText> lines;
    if (single_line) {
        // Line breaks have no glyph worth drawing; a single line leaves them out.
        MarkedText one;
        for (size_t i = 0; i < t.text.size(); ++i) {
            const char c = t.text[i];
            if (c == '\r' || c == '\n') continue;
            if (std::binary_search(t.marks.begin(), t.marks.end(), i)) {
                one.marks.push_back(one.text.size());
            }
            one.text.push_back(c);
        }
        lines.push_back(std::move(one));
        return lines;
    }
    size_t start = 0;
    size_t i = 0;
    while (i < t.text.size()) {
        const char c = t.text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(Slice(t, start, i));
            i += (c == '\r' && i + 1 < t.text.size() && t.text[i + 1] == '\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    // A final line break ends the last line; it does not start an empty one.
    if (start < t.text.size() || lines.empty()) lines.push_back(Slice(t, start, t.text.size()));
    return lines;
}

class Measurer {
  public:
    explicit Measurer(const FontDesc& font) : font_(font) {}
    int32_t Width(std::string_view s) const {
        if (s.empty()) return 0;
        return PixelWidth(TextEngine::Instance().Measure(font_, s).width);
    }

  private:
    const FontDesc& font_;
};

// Breaks one paragraph into lines no wider than max_width where it can.
void WrapParagraph(const MarkedText& para, int32_t max_width, const Measurer& m,
                   std::vector<MarkedText>& out) {
    const std::string& s = para.text;
    const size_t n = s.size();
    if (n == 0) {
        out.push_back(para);
        return;
    }
    const std::string_view view(s);
    size_t pos = 0;
    bool first = true;
    while (pos < n) {
        if (!first) {
            while (pos < n && s[pos] == ' ') ++pos;
            if (pos == n) break;
        }
        first = false;
        size_t line_end = pos;  // end of the words accepted so far
        size_t next = n;
        size_t k = pos;
        while (true) {
            size_t j = k;
            while (j < n && s[j] == ' ') ++j;
            while (j < n && s[j] != ' ') ++j;
            if (j == k) {  // only spaces were left
                line_end = n;
                next = n;
                break;
            }
            const bool fits = m.Width(view.substr(pos, j - pos)) <= max_width;
            if (fits) {
                line_end = j;
                k = j;
                if (j == n) {
                    next = n;
                    break;
                }
                continue;
            }
            if (line_end > pos) {  // the words so far make the line
                next = line_end;
                break;
            }
            // The first word alone is too wide: break it as late as it fits,
            // keeping at least one character so the layout always advances.
            size_t lo = pos + 1;
            size_t hi = j;
            while (lo < hi) {
                const size_t mid = lo + (hi - lo + 1) / 2;
                if (m.Width(view.substr(pos, mid - pos)) <= max_width) {
                    lo = mid;
                } else {
                    hi = mid - 1;
                }
            }
            line_end = lo;
            next = lo;
            break;
        }
        size_t trimmed = line_end;
        while (trimmed > pos && s[trimmed - 1] == ' ') --trimmed;
        out.push_back(Slice(para, pos, trimmed));
        pos = next;
    }
}

// Shortens a line to fit max_width with an ellipsis after what is kept.
void AddEllipsis(MarkedText& line, int32_t max_width, const Measurer& m, bool preeti) {
    if (m.Width(line.text) <= max_width) return;
    // In the Preeti encoding '.' is the danda; '=' is the full stop.
    const std::string dots = preeti ? "===" : "...";
    const std::string_view view(line.text);
    size_t keep = 0;
    size_t lo = 0;
    size_t hi = line.text.size();
    while (lo <= hi) {
        const size_t mid = lo + (hi - lo) / 2;
        if (m.Width(std::string(view.substr(0, mid)) + dots) <= max_width) {
            keep = mid;
            lo = mid + 1;
        } else {
            if (mid == 0) break;
            hi = mid - 1;
        }
    }
    line.text = line.text.substr(0, keep) + dots;
    std::erase_if(line.marks, [keep](size_t i) { return i >= keep; });
}

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

}  // namespace

void DC::TextOut(float x, float y, std::string_view bytes) {
    const float sx = x + static_cast<float>(origin_.x);
    const float sy = y + static_cast<float>(origin_.y);
    TextEngine& engine = TextEngine::Instance();
    if (bk_mode_ == BkMode::kOpaque) {
        const TextExtent ext = engine.Measure(font_, bytes);
        const int32_t left = RoundToInt(sx);
        const int32_t top = RoundToInt(sy);
        FillInClip(*target_, clip_,
                   {left, top, left + PixelWidth(ext.width), top + RoundToInt(ext.height)},
                   TranslateColor(bk_color_));
    }
    engine.Draw(*target_, clip_, sx, sy, font_, bytes, TranslateColor(text_color_));
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
    const Measurer m(font_);

    const MarkedText prepared = Preprocess(bytes, format);
    const bool single = (format & DT_SINGLELINE) != 0;
    std::vector<MarkedText> lines;
    if (!prepared.text.empty()) {
        std::vector<MarkedText> paragraphs = SplitLines(prepared, single);
        if ((format & DT_WORDBREAK) != 0 && !single) {
            for (const MarkedText& p : paragraphs) WrapParagraph(p, r.width(), m, lines);
        } else {
            lines = std::move(paragraphs);
        }
    }
    const bool calc = (format & DT_CALCRECT) != 0;
    if (!calc && (format & DT_END_ELLIPSIS) != 0) {
        const bool preeti = engine.IsPreetiFace(font_.name);
        for (MarkedText& line : lines) AddEllipsis(line, r.width(), m, preeti);
    }

    const int64_t block64 = static_cast<int64_t>(lines.size()) * line_height;
    const int32_t block = static_cast<int32_t>(std::min<int64_t>(block64, 1000000000));
    if (calc) {
        int32_t widest = 0;
        for (const MarkedText& line : lines) widest = std::max(widest, m.Width(line.text));
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

    const Region clip =
        (format & DT_NOCLIP) != 0 ? clip_ : clip_.intersect(r.offset(origin_.x, origin_.y));
    if (clip.empty()) return block;
    const Color fore = TranslateColor(text_color_);
    const Color back = TranslateColor(bk_color_);
    const int32_t ul_offset = RoundToInt(metrics.underline_offset);
    const int32_t ul_thickness = std::max(1, RoundToInt(metrics.underline_thickness));

    for (size_t i = 0; i < lines.size(); ++i) {
        const MarkedText& line = lines[i];
        const int32_t y = top + static_cast<int32_t>(i) * line_height;
        const Rect clip_box = clip.bounds().offset(-origin_.x, -origin_.y);
        if (y >= clip_box.bottom) break;
        if (y + line_height <= clip_box.top) continue;
        const int32_t width = m.Width(line.text);
        int32_t x = r.left;
        if ((format & DT_CENTER) != 0) {
            const int32_t spare = r.width() - width;
            x = r.left + (spare >= 0 ? spare / 2 : -((-spare + 1) / 2));
        } else if ((format & DT_RIGHT) != 0) {
            x = r.right - width;
        }
        const int32_t sx = x + origin_.x;
        const int32_t sy = y + origin_.y;
        if (bk_mode_ == BkMode::kOpaque) {
            FillInClip(*target_, clip, {sx, sy, sx + width, sy + line_height}, back);
        }
        engine.Draw(*target_, clip, static_cast<float>(sx), static_cast<float>(sy), font_,
                    line.text, fore);
        for (size_t mark : line.marks) {
            const std::string_view view(line.text);
            const int32_t a = m.Width(view.substr(0, mark));
            const int32_t b = m.Width(view.substr(0, mark + 1));
            const int32_t row = sy + ul_offset;
            FillInClip(*target_, clip, {sx + a, row, sx + std::max(b, a + 1), row + ul_thickness},
                       fore);
        }
    }
    return block;
}

}  // namespace platform
