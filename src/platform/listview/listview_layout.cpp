// SPDX-License-Identifier: GPL-3.0-or-later
// Geometry of the list view: row and header heights from the font, the row
// area, the scroll bar's arrows, track and thumb, and hit-testing. Every
// other part of the control asks here, so painting, hit-testing and the
// rectangles reported to the parent always agree.

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/listview/listview_internal.h"
#include "platform/text.h"

namespace platform::listview {

namespace {

// Space above and below the text of a row, and of the header captions.
constexpr int32_t kRowPadding = 4;
constexpr int32_t kHeaderPadding = 6;
constexpr int32_t kMinThumb = 8;

int32_t Clamp32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min() / 2,
                                                    std::numeric_limits<int32_t>::max() / 2));
}

int32_t ArrowSize(const Rect& bar) {
    return std::min(bar.width(), bar.height() / 2);
}

}  // namespace

void EnsureMetrics(ListState& s) {
    static const FontDesc kDefaultFont;
    // (Both branches are references: a conditional with a temporary would
    // copy the face name on every call.)
    const FontDesc& desc = s.paint.font ? s.paint.font->desc() : kDefaultFont;
    // The font object is shared with the component, which may change its
    // face or size in place; the cached heights follow it.
    if (s.paint.metrics_valid && desc == s.paint.measured_font) return;
    TextEngine& engine = TextEngine::Instance();
    const FontMetrics m = engine.Metrics(desc);
    s.paint.measured_font = desc;
    s.paint.text_height = std::max(1, static_cast<int32_t>(std::ceil(m.height)));
    s.paint.row_height = s.paint.text_height + kRowPadding;
    s.paint.header_height =
        (s.style & LVS_NOCOLUMNHEADER) ? 0 : s.paint.text_height + kHeaderPadding;
    s.paint.ellipsis_width = static_cast<int32_t>(std::ceil(engine.Measure(desc, "...").width));
    s.paint.metrics_valid = true;
}

int32_t HeaderHeight(ListState& s) {
    EnsureMetrics(s);
    return s.paint.header_height;
}

int32_t RowHeight(ListState& s) {
    EnsureMetrics(s);
    return s.paint.row_height;
}

int32_t RowsPerPage(ListState& s) {
    const Rect client = GetClientRect(s.self);
    const int32_t h = client.height() - HeaderHeight(s);
    return std::max(1, h / RowHeight(s));
}

bool ScrollBarShown(ListState& s) {
    return s.items.count > RowsPerPage(s) || s.scroll.top > 0;
}

int32_t MaxTop(ListState& s) {
    return std::max(0, s.items.count - RowsPerPage(s));
}

Rect ScrollBarRect(ListState& s) {
    const Rect client = GetClientRect(s.self);
    if (!ScrollBarShown(s)) return {};
    const int32_t w = std::min(GetSystemMetrics(SM_CXVSCROLL), client.width());
    return {client.right - w, 0, client.right, client.bottom};
}

Rect RowArea(ListState& s) {
    Rect client = GetClientRect(s.self);
    client.top = std::min(client.bottom, HeaderHeight(s));
    if (ScrollBarShown(s))
        client.right = std::max(client.left, client.right - ScrollBarRect(s).width());
    return client;
}

int32_t ColumnsWidth(const ListState& s) {
    int64_t w = 0;
    for (const Column& c : s.header.columns) w += std::max(0, c.width);
    return Clamp32(w);
}

Rect RowRect(ListState& s, int32_t row) {
    const Rect area = RowArea(s);
    const int64_t top =
        area.top + static_cast<int64_t>(row - static_cast<int64_t>(s.scroll.top)) * RowHeight(s);
    return {0, Clamp32(top), ColumnsWidth(s), Clamp32(top + RowHeight(s))};
}

Rect CellRect(ListState& s, int32_t row, int32_t column) {
    Rect r = RowRect(s, row);
    int32_t x = 0;
    for (int32_t i = 0; i < static_cast<int32_t>(s.header.columns.size()); ++i) {
        const int32_t w = std::max(0, s.header.columns[i].width);
        if (i == column) {
            r.left = x;
            r.right = x + w;
            return r;
        }
        x += w;
    }
    return {};
}

Rect ThumbRect(ListState& s) {
    const Rect bar = ScrollBarRect(s);
    if (bar.empty()) return {};
    const int32_t arrow = ArrowSize(bar);
    const int32_t track_top = bar.top + arrow;
    const int32_t track = bar.height() - 2 * arrow;
    if (track < kMinThumb) return {};
    const int32_t count = std::max(1, s.items.count);
    const int64_t page = RowsPerPage(s);
    const int32_t len =
        static_cast<int32_t>(std::clamp<int64_t>(track * page / count, kMinThumb, track));
    const int32_t max_top = MaxTop(s);
    const int64_t span = track - len;
    const int32_t pos =
        max_top > 0 ? static_cast<int32_t>(span * std::min(s.scroll.top, max_top) / max_top) : 0;
    return {bar.left, track_top + pos, bar.right, track_top + pos + len};
}

ScrollPart ScrollPartAt(ListState& s, Point p) {
    const Rect bar = ScrollBarRect(s);
    if (!bar.contains(p)) return ScrollPart::kNone;
    const int32_t arrow = ArrowSize(bar);
    if (p.y < bar.top + arrow) return ScrollPart::kLineUp;
    if (p.y >= bar.bottom - arrow) return ScrollPart::kLineDown;
    const Rect thumb = ThumbRect(s);
    if (thumb.empty()) return ScrollPart::kNone;
    if (p.y < thumb.top) return ScrollPart::kPageUp;
    if (p.y >= thumb.bottom) return ScrollPart::kPageDown;
    return ScrollPart::kThumb;
}

int32_t ColumnAtX(const ListState& s, int32_t x) {
    if (x < 0) return -1;
    int64_t right = 0;
    for (int32_t i = 0; i < static_cast<int32_t>(s.header.columns.size()); ++i) {
        right += std::max(0, s.header.columns[i].width);
        if (x < right) return i;
    }
    return -1;
}

int32_t HitRow(ListState& s, Point p, uint32_t* flags, int32_t* column) {
    const Rect client = GetClientRect(s.self);
    const Rect area = RowArea(s);
    uint32_t f = 0;
    if (p.x < client.left) f |= LVHT_TOLEFT;
    if (p.x >= client.right) f |= LVHT_TORIGHT;
    if (p.y < client.top) f |= LVHT_ABOVE;
    if (p.y >= client.bottom) f |= LVHT_BELOW;
    int32_t row = -1;
    int32_t col = -1;
    if (f == 0) {
        f = LVHT_NOWHERE;
        if (area.contains(p)) {
            const int64_t r = s.scroll.top + static_cast<int64_t>(p.y - area.top) / RowHeight(s);
            col = ColumnAtX(s, p.x);
            // Beyond the last column a full-row list still counts the row.
            if (col < 0 && (s.paint.ex_style & LVS_EX_FULLROWSELECT) && !s.header.columns.empty())
                col = 0;
            if (r < s.items.count && col >= 0) {
                row = static_cast<int32_t>(r);
                f = LVHT_ONITEMLABEL;
            } else {
                col = -1;
            }
        }
    }
    if (flags) *flags = f;
    if (column) *column = std::max(col, 0);
    return row;
}

}  // namespace platform::listview
