// SPDX-License-Identifier: GPL-3.0-or-later
// Tag attributes and colours: cutting a tag token into names and values,
// storing the known attributes in the tag's record or the document state,
// and reading colour values.
//
// Nothing here reports an error to the user. A numeric attribute that is not
// a number, or a colour too short to read, is ignored and loading goes on.
#include <algorithm>
#include <limits>
#include <optional>
#include <string>

#include "controls/html_label/html_label.h"
#include "controls/html_label/html_strings.h"

namespace html_label {

using detail::InStr;
using detail::TrimBlanks;
using detail::UpperAscii;

int32_t HTMLLabel::mintExtractTagAttributes(std::string_view tag) {
    attr_names_.clear();
    attr_values_.clear();
    attr_value_at_.clear();
    const size_t len = tag.size();
    int32_t count = 0;
    size_t p = InStr(1, tag, " ");
    if (p == 0) return 0;
    while (InStr(p, tag, "=") != 0) {
        const size_t e = InStr(p + 1, tag, "=");
        // An "=" standing right at the search start with no other after it
        // would give a name of negative length; there is no attribute there.
        if (e == 0) break;
        attr_names_.push_back(UpperAscii(TrimBlanks(tag.substr(p - 1, e - p))));
        size_t k = e + 1;
        while (k <= len && tag[k - 1] == ' ') ++k;
        if (k > len) {
            // Only blanks after the last "=" (a comment left open): an empty
            // value keeps the two lists parallel.
            attr_values_.emplace_back();
            attr_value_at_.push_back(static_cast<uint32_t>(len));
            ++count;
            break;
        }
        const char delimiter = (tag[k - 1] == '\'' || tag[k - 1] == '"') ? tag[k - 1] : ' ';
        size_t d = InStr(k + 1, tag, std::string_view(&delimiter, 1));
        if (d == 0) d = len;  // the closing ">", so a missing quote runs to the tag's end
        std::string_view value = TrimBlanks(tag.substr(k - 1, d - k));
        if (!value.empty() && value.front() == delimiter) value.remove_prefix(1);
        attr_values_.emplace_back(value);
        attr_value_at_.push_back(static_cast<uint32_t>(value.data() - tag.data()));
        p = d + 1;
        ++count;
    }
    return count;
}

namespace {

// WIDTH and HEIGHT of tables and cells: "50%" is a fraction of the available
// space, anything else pixels.
std::optional<float> ParseExtent(std::string_view value, bool strip_px) {
    if (value.find('%') != std::string_view::npos) {
        std::optional<float> n = detail::ToFloat(detail::ReplaceAll(value, "%", ""));
        if (!n) return std::nullopt;
        return *n / 100.0f;
    }
    if (strip_px) return detail::ToFloat(detail::ReplaceAll(value, "px", ""));
    return detail::ToFloat(value);
}

}  // namespace

void HTMLLabel::InterpretAttributes(HTMLElement& record) {
    const int32_t n = mintExtractTagAttributes(View(record.Text));
    for (int32_t k = 0; k < n; ++k) {
        // A view, so each comparison below looks at the length first.
        const std::string_view name = attr_names_[static_cast<size_t>(k)];
        const std::string& value = attr_values_[static_cast<size_t>(k)];
        // Where the value stands in the document: string fields refer to it.
        const TextRef text{record.Text.begin + attr_value_at_[static_cast<size_t>(k)],
                           static_cast<uint32_t>(value.size())};
        if (name == "ALIGN") {
            const std::string v = UpperAscii(value);
            if (v == "CENTER") record.AlignCenter = true;
            if (v == "RIGHT") record.AlignRight = true;
        } else if (name == "ALT") {
            record.Alt = text;
        } else if (name == "BACKGROUND") {
            background_image_ = value;
        } else if (name == "BGCOLOR") {
            auto c = ParseColor(value);
            if (!c) continue;
            if (record.TagID == tagBody) {
                doc_back_color_ = *c;
            } else {
                record.BgColor = *c;
                record.HasBgColor = true;
            }
        } else if (name == "BORDER") {
            if (auto v = detail::ToInt16(value)) record.Border = *v;
        } else if (name == "CELLPADDING") {
            if (auto v = detail::ToInt16(value)) record.CellPadding = *v;
        } else if (name == "CELLSPACING") {
            if (auto v = detail::ToInt16(value)) record.CellSpacing = *v;
        } else if (name == "COLOR") {
            if (auto c = ParseColor(value)) record.Color = *c;
        } else if (name == "COLSPAN") {
            if (auto v = detail::ToInt16(value)) record.ColSpan = *v;
        } else if (name == "FACE") {
            // A list of faces: the first one. A comma in first place is not a
            // separator, so the value is then kept whole.
            const size_t comma = InStr(1, value, ",");
            record.FontFace = text;
            if (comma > 1) record.FontFace.size = static_cast<uint32_t>(comma - 1);
        } else if (name == "HEIGHT") {
            if (record.TagID == tagImg) {
                if (auto v = detail::ToInt32(value)) record.ImgHeight = *v;
            } else if (auto v = ParseExtent(value, false)) {
                record.HeightSpec = *v;
            }
        } else if (name == "HREF") {
            record.Href = text;
        } else if (name == "HSPACE") {
            if (auto v = detail::ToInt16(value)) record.HSpace = *v;
        } else if (name == "ID" || name == "NAME") {
            record.Name = text;
        } else if (name == "LINK") {
            if (auto c = ParseColor(value)) link_color_ = *c;
        } else if (name == "SIZE") {
            // Sizes are relative to the component's default size, not to the
            // enclosing font: 3 is the default, "+1" and "-2" are steps.
            auto v = detail::ParseNumber(value);
            if (!v) continue;
            const char first = value.empty() ? '\0' : value.front();
            const double steps = (first == '+' || first == '-') ? *v : *v - 3;
            const double size = steps * 1.2 + default_font_size_;
            if (size > static_cast<double>(std::numeric_limits<float>::max()) ||
                size < -static_cast<double>(std::numeric_limits<float>::max())) {
                continue;
            }
            record.FontSize = static_cast<float>(size);
        } else if (name == "SRC") {
            record.Src = text;
        } else if (name == "TEXT") {
            if (auto c = ParseColor(value)) text_color_ = *c;
        } else if (name == "TITLE") {
            record.Title = text;
        } else if (name == "VALIGN") {
            const std::string v = UpperAscii(value);
            if (v == "CENTER") record.VAlign = 4;
            if (v == "BOTTOM") record.VAlign = 5;
        } else if (name == "VSPACE") {
            if (auto v = detail::ToInt16(value)) record.VSpace = *v;
        } else if (name == "WIDTH") {
            if (record.TagID == tagImg) {
                if (auto v = detail::ToInt32(value)) record.ImgWidth = *v;
            } else if (auto v = ParseExtent(value, true)) {
                record.WidthSpec = *v;
            }
        }
    }
}

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsHexNumber(std::string_view s) {
    if (s.empty() || s.size() > 8) return false;
    for (char c : s) {
        if (HexDigit(c) < 0) return false;
    }
    return true;
}

// A piece of the colour text read as a hexadecimal number; an empty piece is
// not a number.
std::optional<uint32_t> HexPart(std::string_view s) {
    if (s.empty()) return std::nullopt;
    uint32_t v = 0;
    for (char c : s) {
        const int d = HexDigit(c);
        if (d < 0) return std::nullopt;
        v = v * 16 + static_cast<uint32_t>(d);
    }
    return v;
}

}  // namespace

platform::Result<platform::Color> HTMLLabel::ParseColor(std::string_view value) {
    std::string s = detail::ReplaceAll(value, "#", "");
    if (!IsHexNumber(s)) s = ColorFromName(s);
    // Red is the first pair, green the second and blue the last, so a
    // three-digit value shares its middle digit between green and blue.
    auto red = HexPart(std::string_view(s).substr(0, 2));
    auto green = HexPart(std::string_view(s).substr(std::min<size_t>(2, s.size()), 2));
    auto blue = HexPart(std::string_view(s).substr(s.size() - std::min<size_t>(2, s.size())));
    if (!red || !green || !blue) {
        return platform::MakeError(platform::ErrorCode::kInvalidCall,
                                   "colour value too short: " + std::string(value));
    }
    return *red + 256u * *green + 65536u * *blue;
}

std::string HTMLLabel::ColorFromName(std::string_view name) {
    struct Named {
        std::string_view name;
        std::string_view hex;
    };
    static constexpr Named kColors[] = {
        {"black", "000000"},  {"silver", "C0C0C0"}, {"gray", "808080"},   {"white", "FFFFFF"},
        {"maroon", "800000"}, {"red", "FF0000"},    {"purple", "800080"}, {"fuchsia", "FF00FF"},
        {"green", "008000"},  {"lime", "00FF00"},   {"olive", "808000"},  {"yellow", "FFFF00"},
        {"navy", "000080"},   {"blue", "0000FF"},   {"teal", "008080"},   {"aqua", "00FFFF"},
    };
    const std::string lower = detail::LowerAscii(name);
    for (const Named& c : kColors) {
        if (c.name == lower) return std::string(c.hex);
    }
    return "000000";
}

}  // namespace html_label
