// SPDX-License-Identifier: GPL-3.0-or-later
// Painting the list view: the visible rows (asking the parent for owner-data
// cells), selection and drop-highlight, grid lines, the focus rectangle, and
// the scroll bar. The header child paints the column captions itself.
//
// Only rows inside the update rectangle are painted, and the cell texts go
// through one reused buffer, so repainting a page allocates nothing once
// the first page has been drawn.

#include <algorithm>

#include "platform/listview/listview_internal.h"
#include "platform/text.h"

namespace platform::listview {

namespace {

constexpr int32_t kCellMargin = 5;
constexpr Color kNoColor = 0xFF000000;       // CLR_NONE
constexpr Color kDefaultColor = 0xFF000001;  // CLR_DEFAULT

// Returns false when the parent destroyed the list while asked for text.
bool PaintRow(ListState& s, DC& dc, int32_t row, const Rect& area) {
    Rect r = RowRect(s, row);
    r.left = area.left;
    r.right = area.right;
    const Color back = TranslateColor(s.paint.back);
    dc.FillRect(r, back);

    const bool focus = s.sel.has_focus;
    const bool selected = s.sel.selected == row && (focus || (s.style & LVS_SHOWSELALWAYS));
    const bool dropped = std::binary_search(s.items.dropped.begin(), s.items.dropped.end(), row);
    const bool lit = selected || dropped;
    // Without the focus a kept selection shows in the face colour, so the
    // list the user is typing into stays recognisable.
    const bool strong = dropped || focus;
    const Color lit_back = strong ? GetSysColor(COLOR_HIGHLIGHT) : GetSysColor(COLOR_BTNFACE);
    const Color lit_text =
        strong ? GetSysColor(COLOR_HIGHLIGHTTEXT) : GetSysColor(COLOR_WINDOWTEXT);
    const bool full_row = (s.paint.ex_style & LVS_EX_FULLROWSELECT) != 0;
    const int32_t columns_right = std::min(area.right, ColumnsWidth(s));
    if (lit && full_row) dc.FillRect({area.left, r.top, columns_right, r.bottom}, lit_back);

    const int32_t text_top = r.top + (r.height() - s.paint.text_height) / 2;
    const Color normal_text = TranslateColor(s.paint.text);
    Rect label;
    const int32_t n = static_cast<int32_t>(s.header.columns.size());
    for (int32_t c = 0; c < n; ++c) {
        const Rect cell = CellRect(s, row, c);
        if (cell.left >= area.right) break;
        if (cell.empty()) continue;
        std::string_view text;
        if (!CellText(s, row, c, text)) return false;
        float drawn = 0;
        const std::string_view shown = Fit(s, dc, text, cell.width() - 2 * kCellMargin, drawn);
        const int32_t x = cell.left + kCellMargin;
        const bool cell_lit = lit && (full_row || c == 0);
        if (c == 0) {
            const int32_t w = static_cast<int32_t>(drawn + 0.5f);
            label = {cell.left + kCellMargin - 2, r.top, std::min(cell.right, x + w + 3), r.bottom};
            if (lit && !full_row) dc.FillRect(label, lit_back);
        }
        if (!cell_lit && s.paint.text_back != kNoColor && s.paint.text_back != kDefaultColor)
            dc.FillRect(cell.intersect(r), TranslateColor(s.paint.text_back));
        dc.SetTextColor(cell_lit ? lit_text : normal_text);
        dc.TextOut(static_cast<float>(x), static_cast<float>(text_top), shown);
    }
    if (focus && s.sel.focused == row && s.edit.row != row) {
        Rect fr = full_row ? Rect{area.left, r.top, columns_right, r.bottom} : label;
        // Keep the dotted line off the grid line under the row.
        if (s.paint.ex_style & LVS_EX_GRIDLINES) fr.bottom -= 1;
        if (!fr.empty()) dc.DrawFocusRect(fr);
    }
    return true;
}

void PaintGrid(ListState& s, DC& dc, const Rect& area) {
    const Color grid = Rgb(0xD8, 0xD8, 0xD8);
    const int32_t rh = RowHeight(s);
    for (int32_t y = area.top + rh - 1; y < area.bottom; y += rh)
        dc.FillRect({area.left, y, area.right, y + 1}, grid);
    int32_t x = 0;
    for (const Column& c : s.header.columns) {
        x += c.width;
        if (x - 1 >= area.right) break;
        dc.FillRect({x - 1, area.top, x, area.bottom}, grid);
    }
}

void Arrow(DC& dc, const Rect& box, bool up, bool pressed, bool enabled) {
    const int32_t shift = pressed ? 1 : 0;
    const int32_t cx = box.left + box.width() / 2 + shift - (box.width() % 2 == 0 ? 1 : 0);
    const int32_t h = std::max(1, std::min(4, box.height() / 4));
    const int32_t y0 = box.top + (box.height() - h) / 2 + shift;
    const Color c = enabled ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_GRAYTEXT);
    for (int32_t i = 0; i < h; ++i) {
        const int32_t half = up ? i : h - 1 - i;
        dc.FillRect({cx - half, y0 + i, cx + half + 1, y0 + i + 1}, c);
    }
}

void PaintScrollBar(ListState& s, DC& dc, const Rect& bar) {
    const int32_t arrow = std::min(bar.width(), bar.height() / 2);
    const Rect up{bar.left, bar.top, bar.right, bar.top + arrow};
    const Rect down{bar.left, bar.bottom - arrow, bar.right, bar.bottom};
    const ScrollPart pressed = s.scroll.pressed;
    const bool over = ScrollPartAt(s, s.scroll.last_pointer) == pressed;
    const bool can_up = s.scroll.top > 0;
    const bool can_down = s.scroll.top < MaxTop(s);

    const Rect track{bar.left, up.bottom, bar.right, down.top};
    const Color track_color = Rgb(0xE8, 0xE8, 0xE8);
    dc.FillRect(track, track_color);
    const Rect thumb = ThumbRect(s);
    if (!thumb.empty()) {
        const Color dark = GetSysColor(COLOR_BTNSHADOW);
        if (pressed == ScrollPart::kPageUp && over)
            dc.FillRect({track.left, track.top, track.right, thumb.top}, dark);
        if (pressed == ScrollPart::kPageDown && over)
            dc.FillRect({track.left, thumb.bottom, track.right, track.bottom}, dark);
        dc.FillRect(thumb, GetSysColor(COLOR_BTNFACE));
        Edge(dc, thumb, false);
    }
    for (int i = 0; i < 2; ++i) {
        const Rect& box = i == 0 ? up : down;
        const bool down_now =
            over && pressed == (i == 0 ? ScrollPart::kLineUp : ScrollPart::kLineDown);
        dc.FillRect(box, GetSysColor(COLOR_BTNFACE));
        Edge(dc, box, down_now);
        Arrow(dc, box, i == 0, down_now, i == 0 ? can_up : can_down);
    }
}

}  // namespace

void Edge(DC& dc, const Rect& r, bool pressed) {
    if (r.width() < 2 || r.height() < 2) return;
    if (pressed) {
        dc.FrameRect(r, GetSysColor(COLOR_BTNSHADOW));
        return;
    }
    dc.FillRect({r.left, r.top, r.right - 1, r.top + 1}, GetSysColor(COLOR_BTNHIGHLIGHT));
    dc.FillRect({r.left, r.top, r.left + 1, r.bottom - 1}, GetSysColor(COLOR_BTNHIGHLIGHT));
    dc.FillRect({r.left, r.bottom - 1, r.right, r.bottom}, GetSysColor(COLOR_3DDKSHADOW));
    dc.FillRect({r.right - 1, r.top, r.right, r.bottom}, GetSysColor(COLOR_3DDKSHADOW));
    const Rect in = r.inflate(-1, -1);
    if (in.width() < 2 || in.height() < 2) return;
    dc.FillRect({in.left, in.bottom - 1, in.right, in.bottom}, GetSysColor(COLOR_BTNSHADOW));
    dc.FillRect({in.right - 1, in.top, in.right, in.bottom}, GetSysColor(COLOR_BTNSHADOW));
}

std::string_view Fit(ListState& s, DC& dc, std::string_view text, int32_t width, float& drawn) {
    drawn = 0;
    if (width <= 0) return {};
    drawn = dc.GetTextExtent(text).width;
    if (drawn <= static_cast<float>(width)) return text;
    const int32_t room = width - s.paint.ellipsis_width;
    // The longest prefix that leaves room for the ellipsis.
    size_t lo = 0, hi = text.size();
    while (lo < hi) {
        const size_t mid = (lo + hi + 1) / 2;
        if (dc.GetTextExtent(text.substr(0, mid)).width <= static_cast<float>(room))
            lo = mid;
        else
            hi = mid - 1;
    }
    s.paint.fitted.assign(text.substr(0, lo));
    s.paint.fitted.append("...");
    drawn = dc.GetTextExtent(s.paint.fitted).width;
    return s.paint.fitted;
}

void Paint(ListState& s) {
    const HWND self = s.self;
    // The scroll bar comes and goes with the row count; the header follows.
    PlaceHeader(s);
    PAINTSTRUCT ps;
    std::unique_ptr<DC> target = BeginPaint(self, &ps);
    const Rect client = GetClientRect(self);
    const Rect dirty = ps.rcPaint.intersect(client);
    if (!target || dirty.empty()) {
        EndPaint(self, &ps);
        return;
    }
    // Everything is drawn into the list's own off-screen picture and copied
    // to the window once: a drawing context on a plain picture needs no
    // clipping work per call, and the screen never shows a half-drawn row.
    Surface& picture = s.paint.picture;
    const Rect had = picture.program_bounds();
    if (had.width() != client.width() || had.height() != client.height() ||
        picture.scale() != target->scale())
        picture = target->CreateCompatibleSurface(client.width(), client.height());
    DC dc(picture, {0, 0}, Region::FromRect(dirty));

    EnsureMetrics(s);
    dc.SetFont(s.paint.measured_font);
    dc.SetBkMode(BkMode::kTransparent);
    const Rect area = RowArea(s);
    const Rect bar = ScrollBarRect(s);

    const int32_t rh = s.paint.row_height;
    const Rect rows_dirty = dirty.intersect(area);
    if (!rows_dirty.empty() && s.items.count > 0) {
        const int64_t first = s.scroll.top + static_cast<int64_t>(rows_dirty.top - area.top) / rh;
        const int64_t last = std::min<int64_t>(
            s.items.count - 1,
            s.scroll.top + static_cast<int64_t>(rows_dirty.bottom - 1 - area.top) / rh);
        for (int64_t row = first; row <= last; ++row) {
            if (!PaintRow(s, dc, static_cast<int32_t>(row), area)) return;
        }
    }
    const int64_t end_of_rows = area.top + static_cast<int64_t>(s.items.count - s.scroll.top) * rh;
    const int32_t empty_top =
        static_cast<int32_t>(std::clamp<int64_t>(end_of_rows, area.top, area.bottom));
    if (empty_top < area.bottom)
        dc.FillRect({area.left, empty_top, area.right, area.bottom}, TranslateColor(s.paint.back));

    if (s.paint.ex_style & LVS_EX_GRIDLINES) PaintGrid(s, dc, area);
    if (!bar.empty()) PaintScrollBar(s, dc, bar);
    if (s.header.tracking >= 0) dc.FillRect(TrackLine(s), GetSysColor(COLOR_WINDOWTEXT));
    target->BitBlt(dirty.left, dirty.top, dirty.width(), dirty.height(), dc, dirty.left, dirty.top);
    EndPaint(self, &ps);
}

}  // namespace platform::listview
