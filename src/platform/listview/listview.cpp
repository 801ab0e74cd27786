// SPDX-License-Identifier: GPL-3.0-or-later
// The list view's window procedure: one dispatch function, one named handler
// per message, and the behaviour behind them: rows and columns, selection
// and focus with their notifications, scrolling by whole rows, the mouse
// (rows, scroll bar, wheel), the header's notifications, the keyboard and the
// list's timers.
//
// Every notification goes to the parent, which may do anything in its
// handler, destroying the list included; after each one the handlers check
// that the list still exists before touching its state again.

#include <algorithm>
#include <cstring>
#include <limits>
#include <unordered_map>

#include "platform/json.h"
#include "platform/listview/listview_internal.h"
#include "platform/text.h"

namespace platform {

namespace listview {

namespace {

// Each list's state by window handle. Kept here rather than in the window's
// user data or properties, which belong to whoever subclasses the list.
std::unordered_map<uint32_t, ListState*> g_states;

constexpr uint32_t kPressTimerMs = 10;
// A second press on the focused row starts an edit only when it was not the
// start of a double click, so the edit waits out the double-click time.
constexpr uint32_t kEditDelayMs = 500;
constexpr uint32_t kScrollFirstRepeatMs = 350;
constexpr uint32_t kScrollRepeatMs = 50;
constexpr int32_t kWheelRows = 3;
constexpr uint32_t kStateBits = LVIS_FOCUSED | LVIS_SELECTED | LVIS_DROPHILITED;
// Texts handed to the list by pointer are read no further than this.
constexpr size_t kMaxInputText = 4096;

int32_t ToRow(WPARAM wp) {
    return static_cast<int32_t>(static_cast<intptr_t>(wp));
}

std::string_view BoundedText(const char* p) {
    if (!p || p == kTextCallback) return {};
    return {p, strnlen(p, kMaxInputText)};
}

// Copies text into a caller's buffer of `cap` bytes, always terminated;
// returns the number of characters copied.
int32_t CopyOut(std::string_view text, char* dst, int32_t cap) {
    if (!dst || cap <= 0) return 0;
    const size_t n = std::min(text.size(), static_cast<size_t>(cap - 1));
    std::memcpy(dst, text.data(), n);
    dst[n] = '\0';
    return static_cast<int32_t>(n);
}

bool IsDropped(const ListState& s, int32_t row) {
    return std::binary_search(s.items.dropped.begin(), s.items.dropped.end(), row);
}

uint32_t StateOfRow(const ListState& s, int32_t row) {
    uint32_t st = 0;
    if (s.sel.selected == row) st |= LVIS_SELECTED;
    if (s.sel.focused == row) st |= LVIS_FOCUSED;
    if (IsDropped(s, row)) st |= LVIS_DROPHILITED;
    return st;
}

void ApplyState(ListState& s, int32_t row, uint32_t st) {
    if (st & LVIS_SELECTED)
        s.sel.selected = row;
    else if (s.sel.selected == row)
        s.sel.selected = -1;
    if (st & LVIS_FOCUSED)
        s.sel.focused = row;
    else if (s.sel.focused == row)
        s.sel.focused = -1;
    auto& d = s.items.dropped;
    auto it = std::lower_bound(d.begin(), d.end(), row);
    const bool present = it != d.end() && *it == row;
    if ((st & LVIS_DROPHILITED) && !present) d.insert(it, row);
    if (!(st & LVIS_DROPHILITED) && present) d.erase(it);
}

// One row's state change with LVN_ITEMCHANGING (the parent may refuse it)
// and LVN_ITEMCHANGED. Returns false when the list went away.
bool ChangeState(ListState& s, int32_t row, uint32_t state, uint32_t mask) {
    const uint32_t old_state = StateOfRow(s, row);
    const uint32_t new_state = (old_state & ~mask) | (state & mask & kStateBits);
    if (new_state == old_state) return true;
    NMLISTVIEW nm;
    nm.iItem = row;
    nm.uNewState = new_state;
    nm.uOldState = old_state;
    nm.uChanged = LVIF_STATE;
    if (!s.owner_data && row >= 0 && row < static_cast<int32_t>(s.items.rows.size()))
        nm.lParam = s.items.rows[row].param;
    bool alive = true;
    const LRESULT refused = Notify(s, nm.hdr, LVN_ITEMCHANGING, alive);
    if (!alive) return false;
    if (refused) return true;
    ApplyState(s, row, new_state);
    InvalidateRow(s, row);
    nm.hdr = NMHDR{};
    Notify(s, nm.hdr, LVN_ITEMCHANGED, alive);
    return alive;
}

// Sets state bits on a row the way a single-selection list keeps them: a
// newly selected row takes the selection from the old one, a newly focused
// row takes the focus.
bool SetStateBits(ListState& s, int32_t row, uint32_t state, uint32_t mask) {
    mask &= kStateBits;
    const int32_t old_sel = s.sel.selected;
    const int32_t old_focus = s.sel.focused;
    const bool take_sel = (mask & state & LVIS_SELECTED) && old_sel >= 0 && old_sel != row;
    const bool take_focus = (mask & state & LVIS_FOCUSED) && old_focus >= 0 && old_focus != row;
    if (take_sel) {
        const uint32_t lose =
            LVIS_SELECTED | (take_focus && old_focus == old_sel ? uint32_t{LVIS_FOCUSED} : 0u);
        if (!ChangeState(s, old_sel, 0, lose)) return false;
    }
    if (take_focus && s.sel.focused == old_focus && old_focus >= 0) {
        if (!ChangeState(s, old_focus, 0, LVIS_FOCUSED)) return false;
    }
    return ChangeState(s, row, state, mask);
}

bool EnsureVisible(ListState& s, int32_t row) {
    if (row < 0 || row >= s.items.count) return false;
    const int32_t page = RowsPerPage(s);
    if (row < s.scroll.top)
        SetTop(s, row);
    else if (row >= s.scroll.top + page)
        SetTop(s, row - page + 1);
    return true;
}

// Selects and focuses a row (the mouse and keyboard way) and scrolls to it.
bool MoveSelection(ListState& s, int32_t row) {
    if (row < 0 || row >= s.items.count) return true;
    if (!SetStateBits(s, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED))
        return false;
    EnsureVisible(s, row);
    return true;
}

bool NotifyListView(ListState& s, int32_t code, int32_t row, int32_t column, Point at) {
    NMLISTVIEW nm;
    nm.iItem = row;
    nm.iSubItem = column;
    nm.ptAction = at;
    bool alive = true;
    Notify(s, nm.hdr, code, alive);
    return alive;
}

void CancelEditLater(ListState& s) {
    if (s.edit.box) PostMessage(s.self, LVM_CANCELEDITLABEL);
}

void InvalidateFrom(ListState& s, int32_t row) {
    Rect r = RowArea(s);
    const Rect from = RowRect(s, std::max(row, s.scroll.top));
    r.top = std::max(r.top, from.top);
    if (!r.empty()) InvalidateRect(s.self, &r, false);
    const Rect bar = ScrollBarRect(s);
    if (!bar.empty()) InvalidateRect(s.self, &bar, false);
}

void ShiftRows(std::vector<int32_t>& rows, int32_t from, int32_t by) {
    for (int32_t& r : rows)
        if (r >= from) r += by;
}

// Rows were inserted (by > 0) or removed (by < 0) at `at`.
void ShiftStates(ListState& s, int32_t at, int32_t by) {
    auto shift = [&](int32_t& r) {
        if (r < 0) return;
        if (by < 0 && r >= at && r < at - by)
            r = -1;
        else if (r >= at)
            r += by;
    };
    shift(s.sel.selected);
    shift(s.sel.focused);
    auto& d = s.items.dropped;
    if (by < 0)
        d.erase(
            std::remove_if(d.begin(), d.end(), [&](int32_t r) { return r >= at && r < at - by; }),
            d.end());
    ShiftRows(d, at, by);
}

// Forgets states of rows that no longer exist after the count shrank.
void TrimStates(ListState& s) {
    if (s.sel.selected >= s.items.count) s.sel.selected = -1;
    if (s.sel.focused >= s.items.count) s.sel.focused = -1;
    auto& d = s.items.dropped;
    d.erase(std::lower_bound(d.begin(), d.end(), s.items.count), d.end());
    if (s.edit.row >= s.items.count) CancelEditLater(s);
}

void ScrollStep(ListState& s, ScrollPart part) {
    const int32_t page = RowsPerPage(s);
    switch (part) {
        case ScrollPart::kLineUp:
            SetTop(s, s.scroll.top - 1);
            break;
        case ScrollPart::kLineDown:
            SetTop(s, s.scroll.top + 1);
            break;
        case ScrollPart::kPageUp:
            SetTop(s, s.scroll.top - page);
            break;
        case ScrollPart::kPageDown:
            SetTop(s, s.scroll.top + page);
            break;
        default:
            break;
    }
}

Point PointOf(LPARAM lp) {
    return {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
}

// --- creation and destruction ---------------------------------------------------

LRESULT OnCreate(HWND h, LPARAM lp) {
    auto* s = new ListState;
    s->self = h;
    // The style comes from the creation record, which a creation hook may
    // have changed on the way in (that is how owner-data lists are made).
    const auto* cs = reinterpret_cast<const CREATESTRUCT*>(lp);
    s->style = cs ? cs->style : static_cast<uint32_t>(GetWindowLongPtr(h, GWL_STYLE));
    s->owner_data = (s->style & LVS_OWNERDATA) != 0;
    g_states[h.id] = s;
    CreateHeader(*s);
    return 0;
}

LRESULT OnDestroy(ListState& s) {
    KillTimer(s.self, kListViewPressTimer);
    KillTimer(s.self, kListViewEditTimer);
    KillTimer(s.self, kListViewScrollTimer);
    return 0;
}

LRESULT OnNcDestroy(ListState& s, WPARAM wp, LPARAM lp) {
    const HWND h = s.self;
    g_states.erase(h.id);
    delete &s;
    return DefWindowProc(h, WM_NCDESTROY, wp, lp);
}

// --- painting, size, font, colours -------------------------------------------------

LRESULT OnPaint(ListState& s) {
    Paint(s);
    return 0;
}

LRESULT OnSize(ListState& s) {
    SetTop(s, s.scroll.top);
    PlaceHeader(s);
    InvalidateRect(s.self, nullptr, false);
    return 0;
}

LRESULT OnSetFont(ListState& s, WPARAM wp, LPARAM lp) {
    const auto* ref = reinterpret_cast<const FontRef*>(wp);
    s.paint.font = (ref && *ref) ? *ref : MakeFont();
    s.paint.metrics_valid = false;
    SetTop(s, s.scroll.top);
    PlaceHeader(s);
    CancelEditLater(s);
    if (lp) InvalidateRect(s.self, nullptr, false);
    return 0;
}

LRESULT OnGetFont(ListState& s) {
    return reinterpret_cast<LRESULT>(&s.paint.font);
}

LRESULT SetColor(ListState& s, Color& slot, LPARAM lp) {
    slot = static_cast<Color>(lp);
    InvalidateRect(s.self, nullptr, false);
    return 1;
}

LRESULT OnGetExtendedStyle(ListState& s) {
    return static_cast<LRESULT>(s.paint.ex_style);
}

LRESULT OnSetExtendedStyle(ListState& s, WPARAM wp, LPARAM lp) {
    const uint32_t old = s.paint.ex_style;
    const uint32_t mask = wp ? static_cast<uint32_t>(wp) : 0xFFFFFFFFu;
    s.paint.ex_style = (old & ~mask) | (static_cast<uint32_t>(lp) & mask);
    if (s.paint.ex_style != old) InvalidateRect(s.self, nullptr, false);
    return static_cast<LRESULT>(old);
}

LRESULT OnRedrawItems(ListState& s, WPARAM wp, LPARAM lp) {
    const int32_t first = std::max(ToRow(wp), s.scroll.top);
    const int32_t last = std::min<int64_t>(static_cast<int32_t>(lp), s.scroll.top + RowsPerPage(s));
    for (int32_t r = first; r <= last; ++r) InvalidateRow(s, r);
    return 1;
}

// --- rows ---------------------------------------------------------------------

LRESULT OnSetItemCount(ListState& s, WPARAM wp, LPARAM lp) {
    // Ordinary lists take the count as a hint for storage only.
    if (!s.owner_data) return 1;
    const int32_t old = s.items.count;
    const int64_t wanted = static_cast<intptr_t>(wp);
    s.items.count =
        static_cast<int32_t>(std::clamp<int64_t>(wanted, 0, std::numeric_limits<int32_t>::max()));
    TrimStates(s);
    const int32_t old_top = s.scroll.top;
    if (!(lp & LVSICF_NOSCROLL)) SetTop(s, s.scroll.top);
    if ((lp & LVSICF_NOINVALIDATEALL) && old_top == s.scroll.top)
        InvalidateFrom(s, std::min(old, s.items.count));
    else
        InvalidateRect(s.self, nullptr, false);
    return 1;
}

LRESULT OnGetItemCount(ListState& s) {
    return s.items.count;
}

LRESULT OnInsertItem(ListState& s, LPARAM lp) {
    const auto* item = reinterpret_cast<const LVITEMA*>(lp);
    if (s.owner_data || !item || s.items.count == std::numeric_limits<int32_t>::max()) return -1;
    const int32_t at = std::clamp(item->iItem, 0, s.items.count);
    StoredRow row;
    row.texts.resize(1);
    row.callback.resize(1, false);
    if (item->mask & LVIF_TEXT) {
        row.callback[0] = item->pszText == kTextCallback;
        row.texts[0] = std::string(BoundedText(item->pszText));
    }
    if (item->mask & LVIF_PARAM) row.param = item->lParam;
    s.items.rows.insert(s.items.rows.begin() + at, std::move(row));
    ++s.items.count;
    ShiftStates(s, at, 1);
    InvalidateFrom(s, at);
    if ((item->mask & LVIF_STATE) && !SetStateBits(s, at, item->state, item->stateMask)) return -1;
    return at;
}

LRESULT OnSetItem(ListState& s, LPARAM lp) {
    const auto* item = reinterpret_cast<const LVITEMA*>(lp);
    if (!item || item->iItem < 0 || item->iItem >= s.items.count || item->iSubItem < 0) return 0;
    if (!s.owner_data) {
        StoredRow& row = s.items.rows[item->iItem];
        if (item->mask & LVIF_TEXT) {
            const size_t col = static_cast<size_t>(item->iSubItem);
            if (row.texts.size() <= col) {
                row.texts.resize(col + 1);
                row.callback.resize(col + 1, false);
            }
            row.callback[col] = item->pszText == kTextCallback;
            row.texts[col] = std::string(BoundedText(item->pszText));
        }
        if ((item->mask & LVIF_PARAM) && item->iSubItem == 0) row.param = item->lParam;
        InvalidateRow(s, item->iItem);
    }
    if ((item->mask & LVIF_STATE) && !SetStateBits(s, item->iItem, item->state, item->stateMask))
        return 0;
    return 1;
}

LRESULT OnGetItem(ListState& s, LPARAM lp) {
    auto* item = reinterpret_cast<LVITEMA*>(lp);
    if (!item || item->iItem < 0 || item->iItem >= s.items.count) return 0;
    const int32_t row = item->iItem;
    if (item->mask & LVIF_STATE) item->state = StateOfRow(s, row) & item->stateMask;
    if ((item->mask & LVIF_PARAM) && !s.owner_data) item->lParam = s.items.rows[row].param;
    if (item->mask & LVIF_TEXT) {
        std::string_view text;
        if (!CellText(s, row, item->iSubItem, text)) return 0;
        CopyOut(text, item->pszText, item->cchTextMax);
    }
    return 1;
}

LRESULT OnGetItemText(ListState& s, WPARAM wp, LPARAM lp) {
    auto* item = reinterpret_cast<LVITEMA*>(lp);
    const int32_t row = ToRow(wp);
    if (!item || row < 0 || row >= s.items.count) return 0;
    std::string_view text;
    if (!CellText(s, row, item->iSubItem, text)) return 0;
    return CopyOut(text, item->pszText, item->cchTextMax);
}

LRESULT OnDeleteItem(ListState& s, WPARAM wp) {
    const int32_t row = ToRow(wp);
    if (s.owner_data || row < 0 || row >= s.items.count) return 0;
    const HWND self = s.self;
    if (s.edit.row == row) EndLabelEdit(s, false);
    if (!IsWindow(self)) return 0;
    s.items.rows.erase(s.items.rows.begin() + row);
    --s.items.count;
    ShiftStates(s, row, -1);
    if (s.edit.row > row) --s.edit.row;
    SetTop(s, s.scroll.top);
    InvalidateFrom(s, row);
    return 1;
}

LRESULT OnDeleteAllItems(ListState& s) {
    const HWND self = s.self;
    if (s.edit.box) EndLabelEdit(s, false);
    if (!IsWindow(self)) return 0;
    s.items.rows.clear();
    s.items.count = 0;
    s.items.dropped.clear();
    s.sel.selected = s.sel.focused = -1;
    s.scroll.top = 0;
    InvalidateRect(s.self, nullptr, false);
    return 1;
}

// --- states -----------------------------------------------------------------------

LRESULT OnSetItemState(ListState& s, WPARAM wp, LPARAM lp) {
    const auto* item = reinterpret_cast<const LVITEMA*>(lp);
    if (!item) return 0;
    const int32_t row = ToRow(wp);
    if (row >= 0) {
        if (row >= s.items.count) return 0;
        return SetStateBits(s, row, item->state, item->stateMask) ? 1 : 0;
    }
    if (row != -1) return 0;
    // Every row: clearing visits only the rows holding a bit; setting the
    // drop highlight visits them all. A single-selection list cannot select
    // or focus every row, so those bits are only ever cleared here.
    const uint32_t mask = item->stateMask & kStateBits;
    const uint32_t clear = mask & ~item->state;
    if ((clear & LVIS_SELECTED) && s.sel.selected >= 0 &&
        !ChangeState(s, s.sel.selected, 0, LVIS_SELECTED))
        return 0;
    if ((clear & LVIS_FOCUSED) && s.sel.focused >= 0 &&
        !ChangeState(s, s.sel.focused, 0, LVIS_FOCUSED))
        return 0;
    if (clear & LVIS_DROPHILITED) {
        const std::vector<int32_t> rows = s.items.dropped;
        for (int32_t r : rows)
            if (!ChangeState(s, r, 0, LVIS_DROPHILITED)) return 0;
    }
    if (mask & item->state & LVIS_DROPHILITED) {
        for (int32_t r = 0; r < s.items.count; ++r)
            if (!ChangeState(s, r, LVIS_DROPHILITED, LVIS_DROPHILITED)) return 0;
    }
    return 1;
}

LRESULT OnGetItemState(ListState& s, WPARAM wp, LPARAM lp) {
    const int32_t row = ToRow(wp);
    if (row < 0 || row >= s.items.count) return 0;
    return static_cast<LRESULT>(StateOfRow(s, row) & static_cast<uint32_t>(lp));
}

LRESULT OnGetNextItem(ListState& s, WPARAM wp, LPARAM lp) {
    const int32_t start = ToRow(wp);
    int32_t found = -1;
    if (lp & LVNI_SELECTED) found = s.sel.selected;
    if (lp & LVNI_FOCUSED)
        found = (lp & LVNI_SELECTED) && found != s.sel.focused ? -1 : s.sel.focused;
    if (lp == LVNI_ALL) found = start + 1 < s.items.count ? start + 1 : -1;
    return found > start ? found : -1;
}

LRESULT OnGetSelectedCount(ListState& s) {
    return s.sel.selected >= 0 ? 1 : 0;
}

// --- geometry messages ----------------------------------------------------------------

LRESULT OnHitTest(ListState& s, LPARAM lp) {
    auto* info = reinterpret_cast<LVHITTESTINFO*>(lp);
    if (!info) return -1;
    int32_t column = 0;
    info->iItem = HitRow(s, info->pt, &info->flags, &column);
    info->iSubItem = column;
    return info->iItem;
}

LRESULT OnGetTopIndex(ListState& s) {
    return s.scroll.top;
}

LRESULT OnGetCountPerPage(ListState& s) {
    return RowsPerPage(s);
}

LRESULT OnGetItemRect(ListState& s, WPARAM wp, LPARAM lp) {
    auto* r = reinterpret_cast<Rect*>(lp);
    const int32_t row = ToRow(wp);
    // Row 0 answers even in an empty list: its height is the row height.
    if (!r || row < 0 || (row >= s.items.count && row != 0)) return 0;
    const int32_t kind = r->left;
    if (kind == LVIR_BOUNDS) {
        *r = RowRect(s, row);
        return 1;
    }
    Rect cell = CellRect(s, row, 0);
    if (cell.empty() && s.header.columns.empty()) cell = RowRect(s, row);
    if (kind == LVIR_ICON) cell.right = cell.left;
    *r = cell;
    return 1;
}

LRESULT OnScroll(ListState& s, LPARAM lp) {
    // Whole rows only, toward zero: a part of a row does not move the list.
    const int64_t rows = static_cast<int64_t>(static_cast<int32_t>(lp)) / RowHeight(s);
    SetTop(s, static_cast<int32_t>(std::clamp<int64_t>(s.scroll.top + rows, 0,
                                                       std::numeric_limits<int32_t>::max())));
    return 1;
}

LRESULT OnEnsureVisible(ListState& s, WPARAM wp) {
    return EnsureVisible(s, ToRow(wp)) ? 1 : 0;
}

// --- columns ----------------------------------------------------------------------

void ApplyColumn(Column& c, const LVCOLUMNA& in) {
    if (in.mask & LVCF_TEXT) c.caption = std::string(BoundedText(in.pszText));
    if (in.mask & LVCF_WIDTH) c.width = std::max(0, in.cx);
    if (in.mask & LVCF_FMT) c.fmt = in.fmt;
}

LRESULT OnInsertColumn(ListState& s, WPARAM wp, LPARAM lp) {
    const auto* in = reinterpret_cast<const LVCOLUMNA*>(lp);
    if (!in) return -1;
    const int32_t n = static_cast<int32_t>(s.header.columns.size());
    const int32_t at = std::clamp(ToRow(wp), 0, n);
    Column c;
    ApplyColumn(c, *in);
    s.header.columns.insert(s.header.columns.begin() + at, std::move(c));
    InvalidateRect(s.self, nullptr, false);
    return at;
}

LRESULT OnSetColumn(ListState& s, WPARAM wp, LPARAM lp) {
    const auto* in = reinterpret_cast<const LVCOLUMNA*>(lp);
    const int32_t i = ToRow(wp);
    if (!in || i < 0 || i >= static_cast<int32_t>(s.header.columns.size())) return 0;
    ApplyColumn(s.header.columns[i], *in);
    InvalidateRect(s.self, nullptr, false);
    return 1;
}

LRESULT OnGetColumn(ListState& s, WPARAM wp, LPARAM lp) {
    auto* out = reinterpret_cast<LVCOLUMNA*>(lp);
    const int32_t i = ToRow(wp);
    if (!out || i < 0 || i >= static_cast<int32_t>(s.header.columns.size())) return 0;
    const Column& c = s.header.columns[i];
    if (out->mask & LVCF_WIDTH) out->cx = c.width;
    if (out->mask & LVCF_FMT) out->fmt = c.fmt;
    if (out->mask & LVCF_SUBITEM) out->iSubItem = i;
    if (out->mask & LVCF_TEXT) CopyOut(c.caption, out->pszText, out->cchTextMax);
    return 1;
}

LRESULT OnGetColumnWidth(ListState& s, WPARAM wp) {
    const int32_t i = ToRow(wp);
    if (i < 0 || i >= static_cast<int32_t>(s.header.columns.size())) return 0;
    return s.header.columns[i].width;
}

LRESULT OnSetColumnWidth(ListState& s, WPARAM wp, LPARAM lp) {
    const int32_t i = ToRow(wp);
    const int32_t n = static_cast<int32_t>(s.header.columns.size());
    if (i < 0 || i >= n) return 0;
    int32_t w = static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(lp)));
    if (w == -2 && i == n - 1) {
        // The last column sized to its header fills the rest of the row.
        w = std::max(0, RowArea(s).width() - (ColumnsWidth(s) - s.header.columns[i].width));
    } else if (w < 0) {
        // -1 fits the visible cells; -2 fits the caption as well.
        const bool with_caption = w == -2;
        w = 0;
        EnsureMetrics(s);
        TextEngine& engine = TextEngine::Instance();
        const FontDesc font = s.paint.measured_font;
        if (with_caption)
            w = static_cast<int32_t>(engine.Measure(font, s.header.columns[i].caption).width) + 12;
        const HWND self = s.self;
        const int32_t last = static_cast<int32_t>(
            std::min<int64_t>(s.items.count, static_cast<int64_t>(s.scroll.top) + RowsPerPage(s)));
        for (int32_t r = s.scroll.top; r < last; ++r) {
            std::string_view text;
            if (!CellText(s, r, i, text) || !IsWindow(self)) return 0;
            w = std::max(w, static_cast<int32_t>(engine.Measure(font, text).width) + 12);
            // The parent may have removed the column while answering.
            if (i >= static_cast<int32_t>(s.header.columns.size())) return 0;
        }
    }
    s.header.columns[i].width = w;
    InvalidateRect(s.self, nullptr, false);
    return 1;
}

LRESULT OnDeleteColumn(ListState& s, WPARAM wp) {
    const int32_t i = ToRow(wp);
    if (i < 0 || i >= static_cast<int32_t>(s.header.columns.size())) return 0;
    s.header.columns.erase(s.header.columns.begin() + i);
    InvalidateRect(s.self, nullptr, false);
    return 1;
}

// --- header notifications ------------------------------------------------------------

// The header reports to the list. Its tracking and width notifications go
// on to the list's parent unchanged (a non-zero answer there refuses a
// drag or a width); a changed width is the list's to apply, a column click
// becomes LVN_COLUMNCLICK and a double click on a divider fits the column
// to the visible cells.
LRESULT OnHeaderNotify(ListState& s, WPARAM wp, const NMHEADERA& nm) {
    const HWND self = s.self;
    const int32_t column = nm.iItem;
    const int32_t code = nm.hdr.code;
    if (code == HDN_ITEMCLICKA) {
        const Point at = ScreenToClient(self, GetCursorPos());
        NotifyListView(s, LVN_COLUMNCLICK, -1, column, at);
        return 0;
    }
    if (code == HDN_ITEMCHANGEDA && nm.pitem && (nm.pitem->mask & HDI_WIDTH) && column >= 0 &&
        column < static_cast<int32_t>(s.header.columns.size())) {
        s.header.columns[column].width = std::max(0, nm.pitem->cxy);
        SetTop(s, s.scroll.top);
        InvalidateRect(self, nullptr, false);
    }
    const LRESULT answer =
        SendMessage(GetParent(self), WM_NOTIFY, wp, reinterpret_cast<LPARAM>(&nm));
    if (code == HDN_DIVIDERDBLCLICKA && IsWindow(self))
        OnSetColumnWidth(s, static_cast<WPARAM>(column), static_cast<LPARAM>(0xFFFF));
    return answer;
}

LRESULT OnNotify(ListState& s, WPARAM wp, LPARAM lp) {
    const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
    if (!hdr || !s.header.wnd || hdr->hwndFrom != s.header.wnd) return 0;
    return OnHeaderNotify(s, wp, *reinterpret_cast<const NMHEADERA*>(lp));
}

// --- label edit messages ------------------------------------------------------------

LRESULT OnEditLabel(ListState& s, WPARAM wp) {
    const HWND self = s.self;
    if (!BeginLabelEdit(s, ToRow(wp))) return 0;
    return IsWindow(self) ? ToLParam(s.edit.box) : 0;
}

LRESULT OnGetEditControl(ListState& s) {
    return ToLParam(s.edit.box);
}

LRESULT OnCancelEditLabel(ListState& s) {
    if (s.edit.box) EndLabelEdit(s, false);
    return 0;
}

// --- focus ----------------------------------------------------------------------------

LRESULT OnFocus(ListState& s, bool gained) {
    s.sel.has_focus = gained;
    InvalidateRow(s, s.sel.selected);
    InvalidateRow(s, s.sel.focused);
    if (!gained) {
        KillTimer(s.self, kListViewEditTimer);
        s.timers.edit_pending = false;
        s.edit.armed = false;
    }
    NMHDR hdr;
    bool alive = true;
    Notify(s, hdr, gained ? NM_SETFOCUS : NM_KILLFOCUS, alive);
    return 0;
}

// --- keyboard -----------------------------------------------------------------------

LRESULT OnGetDlgCode() {
    return DLGC_WANTARROWS | DLGC_WANTCHARS;
}

int32_t KeyTarget(ListState& s, uint32_t vk) {
    const int32_t n = s.items.count;
    const int32_t cur = s.sel.focused >= 0 ? s.sel.focused : s.sel.selected;
    const int32_t page = RowsPerPage(s);
    switch (vk) {
        case VK_UP:
            return cur < 0 ? 0 : std::max(0, cur - 1);
        case VK_DOWN:
            return cur < 0 ? 0 : std::min(n - 1, cur + 1);
        case VK_HOME:
            return 0;
        case VK_END:
            return n - 1;
        case VK_NEXT: {
            // First to the last whole row on the page, then a page further.
            const int32_t bottom = static_cast<int32_t>(
                std::min<int64_t>(n - 1, s.scroll.top + static_cast<int64_t>(page) - 1));
            if (cur < 0) return bottom;
            return cur < bottom ? bottom
                                : static_cast<int32_t>(std::min<int64_t>(
                                      n - 1, static_cast<int64_t>(cur) + page - 1));
        }
        case VK_PRIOR: {
            const int32_t first = std::min(s.scroll.top, n - 1);
            if (cur < 0) return first;
            return cur > first ? first : std::max(0, cur - page + 1);
        }
        default:
            return -1;
    }
}

LRESULT OnKeyDown(ListState& s, WPARAM wp) {
    const uint32_t vk = static_cast<uint32_t>(wp);
    if (vk == VK_F2) {
        if (s.sel.focused >= 0) BeginLabelEdit(s, s.sel.focused);
        return 0;
    }
    if (s.items.count <= 0) return 0;
    const int32_t target = KeyTarget(s, vk);
    if (target >= 0) MoveSelection(s, target);
    return 0;
}

LRESULT OnChar() {
    // Typing does not search or move in this list.
    return 0;
}

// --- mouse ---------------------------------------------------------------------------

LRESULT OnButtonDown(ListState& s, UINT msg, LPARAM lp) {
    // The press timer: whoever subclasses the list sees a WM_TIMER after
    // every press, which is when it reports the click.
    SetTimer(s.self, kListViewPressTimer, kPressTimerMs);
    s.timers.press_pending = true;
    KillTimer(s.self, kListViewEditTimer);
    s.timers.edit_pending = false;
    const bool had_focus = s.sel.has_focus;
    const HWND self = s.self;
    if (GetFocus() != self) SetFocus(self);
    if (!IsWindow(self)) return 0;
    const Point p = PointOf(lp);
    const bool left = msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK;

    const ScrollPart part = ScrollPartAt(s, p);
    if (part != ScrollPart::kNone || ScrollBarRect(s).contains(p)) {
        if (!left || part == ScrollPart::kNone) return 0;
        s.scroll.pressed = part;
        s.scroll.last_pointer = p;
        SetCapture(self);
        if (part == ScrollPart::kThumb) {
            s.scroll.thumb_grab = p.y - ThumbRect(s).top;
        } else {
            ScrollStep(s, part);
            SetTimer(self, kListViewScrollTimer, kScrollFirstRepeatMs);
            s.timers.scroll_repeating = true;
        }
        return 0;
    }
    int32_t column = 0;
    const int32_t row = HitRow(s, p, nullptr, &column);
    if (row < 0) return 0;
    if (msg == WM_MBUTTONDOWN) return 0;
    const bool on_focused = row == s.sel.focused && row == s.sel.selected;
    s.edit.armed = msg == WM_LBUTTONDOWN && had_focus && on_focused && (s.style & LVS_EDITLABELS);
    if (!MoveSelection(s, row)) return 0;
    if (msg == WM_RBUTTONDOWN) NotifyListView(s, NM_RCLICK, row, column, p);
    return 0;
}

LRESULT OnLButtonDblClk(ListState& s, LPARAM lp) {
    const HWND self = s.self;
    OnButtonDown(s, WM_LBUTTONDBLCLK, lp);
    if (!IsWindow(self)) return 0;
    s.edit.armed = false;
    const Point p = PointOf(lp);
    int32_t column = 0;
    const int32_t row = HitRow(s, p, nullptr, &column);
    if (s.scroll.pressed == ScrollPart::kNone) NotifyListView(s, NM_DBLCLK, row, column, p);
    return 0;
}

LRESULT OnLButtonUp(ListState& s, LPARAM lp) {
    const Point p = PointOf(lp);
    if (s.scroll.pressed != ScrollPart::kNone) {
        s.scroll.pressed = ScrollPart::kNone;
        KillTimer(s.self, kListViewScrollTimer);
        s.timers.scroll_repeating = false;
        ReleaseCapture();
        InvalidateRect(s.self, nullptr, false);
        return 0;
    }
    int32_t column = 0;
    const int32_t row = HitRow(s, p, nullptr, &column);
    if (s.edit.armed && row >= 0 && row == s.sel.focused) {
        SetTimer(s.self, kListViewEditTimer, kEditDelayMs);
        s.timers.edit_pending = true;
    }
    s.edit.armed = false;
    NotifyListView(s, NM_CLICK, row, column, p);
    return 0;
}

LRESULT OnMouseMove(ListState& s, LPARAM lp) {
    const Point p = PointOf(lp);
    if (s.scroll.pressed == ScrollPart::kThumb) {
        const Rect bar = ScrollBarRect(s);
        const Rect thumb = ThumbRect(s);
        const int32_t arrow = std::min(bar.width(), bar.height() / 2);
        const int64_t span = bar.height() - 2 * arrow - thumb.height();
        if (span <= 0) return 0;
        const int64_t pos =
            std::clamp<int64_t>(p.y - s.scroll.thumb_grab - (bar.top + arrow), 0, span);
        SetTop(s, static_cast<int32_t>((pos * MaxTop(s) + span / 2) / span));
        return 0;
    }
    s.scroll.last_pointer = p;
    return 0;
}

LRESULT OnCaptureChanged(ListState& s) {
    if (s.scroll.pressed != ScrollPart::kNone) InvalidateRect(s.self, nullptr, false);
    s.scroll.pressed = ScrollPart::kNone;
    KillTimer(s.self, kListViewScrollTimer);
    s.timers.scroll_repeating = false;
    return 0;
}

LRESULT OnMouseWheel(ListState& s, WPARAM wp) {
    s.scroll.wheel_rest += static_cast<int16_t>(HIWORD(wp));
    const int32_t notches = s.scroll.wheel_rest / 120;
    s.scroll.wheel_rest -= notches * 120;
    if (notches != 0) SetTop(s, s.scroll.top - notches * kWheelRows);
    return 0;
}

// --- timers ----------------------------------------------------------------------------

LRESULT OnTimer(ListState& s, WPARAM wp) {
    switch (wp) {
        case kListViewPressTimer:
            KillTimer(s.self, kListViewPressTimer);
            s.timers.press_pending = false;
            break;
        case kListViewEditTimer:
            KillTimer(s.self, kListViewEditTimer);
            if (s.timers.edit_pending && s.sel.has_focus && s.sel.focused >= 0 &&
                s.sel.focused == s.sel.selected) {
                s.timers.edit_pending = false;
                BeginLabelEdit(s, s.sel.focused);
            }
            s.timers.edit_pending = false;
            break;
        case kListViewScrollTimer:
            SetTimer(s.self, kListViewScrollTimer, kScrollRepeatMs);
            if (ScrollPartAt(s, s.scroll.last_pointer) == s.scroll.pressed)
                ScrollStep(s, s.scroll.pressed);
            break;
        default:
            break;
    }
    return 0;
}

// --- harness report --------------------------------------------------------------------

LRESULT OnReportState(ListState& s, LPARAM lp) {
    auto* out = reinterpret_cast<Json*>(lp);
    if (!out) return 0;
    out->Set("owner_data", s.owner_data);
    out->Set("count", s.items.count);
    out->Set("top", s.scroll.top);
    out->Set("selected", s.sel.selected);
    out->Set("focused", s.sel.focused);
    Json dropped = Json::MakeArray();
    for (size_t i = 0; i < s.items.dropped.size() && i < 100; ++i) dropped.Push(s.items.dropped[i]);
    out->Set("drop_highlighted", std::move(dropped));
    const int32_t last = static_cast<int32_t>(std::min<int64_t>(
                             s.items.count, static_cast<int64_t>(s.scroll.top) + RowsPerPage(s))) -
                         1;
    out->Set("visible", Json(Json::Array{Json(s.items.count > 0 ? s.scroll.top : -1), Json(last)}));
    out->Set("rows_per_page", RowsPerPage(s));
    out->Set("row_height", RowHeight(s));
    out->Set("editing", s.edit.row);
    Json widths = Json::MakeArray();
    for (const Column& c : s.header.columns) widths.Push(c.width);
    out->Set("column_widths", std::move(widths));
    Json columns = Json::MakeArray();
    for (const Column& c : s.header.columns) {
        Json col = Json::MakeObject();
        col.Set("caption", c.caption);
        col.Set("width", c.width);
        columns.Push(std::move(col));
    }
    out->Set("columns", std::move(columns));
    Json font = Json::MakeObject();
    font.Set("face", s.paint.font->name());
    font.Set("size", static_cast<double>(s.paint.font->size()));
    out->Set("font", std::move(font));
    // The rows on the page: the first column's text and the row's place in
    // the list's client area (left, top, right, bottom).
    Json rows = Json::MakeArray();
    for (int32_t row = s.items.count > 0 ? s.scroll.top : 0; row <= last; ++row) {
        std::string_view text;
        if (!CellText(s, row, 0, text)) text = {};
        const Rect r = RowRect(s, row);
        Json entry = Json::MakeObject();
        entry.Set("index", row);
        entry.Set("text", std::string(text));
        entry.Set("rect",
                  Json(Json::Array{Json(r.left), Json(r.top), Json(r.right), Json(r.bottom)}));
        rows.Push(std::move(entry));
    }
    out->Set("rows", std::move(rows));
    return 0;
}

// clang-format off
LRESULT Dispatch(ListState& s, UINT m, WPARAM wp, LPARAM lp) {
    switch (m) {
        case WM_DESTROY: return OnDestroy(s);
        case WM_NCDESTROY: return OnNcDestroy(s, wp, lp);
        case WM_PAINT: return OnPaint(s);
        case WM_ERASEBKGND: return 1;
        case WM_SIZE: return OnSize(s);
        case WM_SETFONT: return OnSetFont(s, wp, lp);
        case WM_GETFONT: return OnGetFont(s);
        case WM_SETFOCUS: return OnFocus(s, true);
        case WM_KILLFOCUS: return OnFocus(s, false);
        case WM_GETDLGCODE: return OnGetDlgCode();
        case WM_KEYDOWN: return OnKeyDown(s, wp);
        case WM_CHAR: return OnChar();
        case WM_LBUTTONDOWN: return OnButtonDown(s, m, lp);
        case WM_RBUTTONDOWN: return OnButtonDown(s, m, lp);
        case WM_MBUTTONDOWN: return OnButtonDown(s, m, lp);
        case WM_LBUTTONDBLCLK: return OnLButtonDblClk(s, lp);
        case WM_LBUTTONUP: return OnLButtonUp(s, lp);
        case WM_MOUSEMOVE: return OnMouseMove(s, lp);
        case WM_CAPTURECHANGED: return OnCaptureChanged(s);
        case WM_MOUSEWHEEL: return OnMouseWheel(s, wp);
        case WM_TIMER: return OnTimer(s, wp);
        case WM_REPORTSTATE: return OnReportState(s, lp);
        case WM_NOTIFY: return OnNotify(s, wp, lp);
        case LVM_SETITEMCOUNT: return OnSetItemCount(s, wp, lp);
        case LVM_GETITEMCOUNT: return OnGetItemCount(s);
        case LVM_INSERTITEMA: return OnInsertItem(s, lp);
        case LVM_SETITEMA: return OnSetItem(s, lp);
        case LVM_GETITEMA: return OnGetItem(s, lp);
        case LVM_GETITEMTEXTA: return OnGetItemText(s, wp, lp);
        case LVM_DELETEITEM: return OnDeleteItem(s, wp);
        case LVM_DELETEALLITEMS: return OnDeleteAllItems(s);
        case LVM_SETITEMSTATE: return OnSetItemState(s, wp, lp);
        case LVM_GETITEMSTATE: return OnGetItemState(s, wp, lp);
        case LVM_GETNEXTITEM: return OnGetNextItem(s, wp, lp);
        case LVM_GETSELECTEDCOUNT: return OnGetSelectedCount(s);
        case LVM_HITTEST: return OnHitTest(s, lp);
        case LVM_GETTOPINDEX: return OnGetTopIndex(s);
        case LVM_GETCOUNTPERPAGE: return OnGetCountPerPage(s);
        case LVM_GETITEMRECT: return OnGetItemRect(s, wp, lp);
        case LVM_SCROLL: return OnScroll(s, lp);
        case LVM_ENSUREVISIBLE: return OnEnsureVisible(s, wp);
        case LVM_REDRAWITEMS: return OnRedrawItems(s, wp, lp);
        case LVM_GETEXTENDEDLISTVIEWSTYLE: return OnGetExtendedStyle(s);
        case LVM_SETEXTENDEDLISTVIEWSTYLE: return OnSetExtendedStyle(s, wp, lp);
        case LVM_INSERTCOLUMNA: return OnInsertColumn(s, wp, lp);
        case LVM_SETCOLUMNA: return OnSetColumn(s, wp, lp);
        case LVM_GETCOLUMNA: return OnGetColumn(s, wp, lp);
        case LVM_GETCOLUMNWIDTH: return OnGetColumnWidth(s, wp);
        case LVM_SETCOLUMNWIDTH: return OnSetColumnWidth(s, wp, lp);
        case LVM_DELETECOLUMN: return OnDeleteColumn(s, wp);
        case LVM_GETHEADER: return ToLParam(s.header.wnd);
        case LVM_GETBKCOLOR: return static_cast<LRESULT>(s.paint.back);
        case LVM_SETBKCOLOR: return SetColor(s, s.paint.back, lp);
        case LVM_GETTEXTCOLOR: return static_cast<LRESULT>(s.paint.text);
        case LVM_SETTEXTCOLOR: return SetColor(s, s.paint.text, lp);
        case LVM_SETTEXTBKCOLOR: return SetColor(s, s.paint.text_back, lp);
        case LVM_EDITLABELA: return OnEditLabel(s, wp);
        case LVM_GETEDITCONTROL: return OnGetEditControl(s);
        case LVM_CANCELEDITLABEL: return OnCancelEditLabel(s);
        default: return DefWindowProc(s.self, m, wp, lp);
    }
}
// clang-format on

LRESULT ListViewProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_CREATE) return OnCreate(h, lp);
    ListState* s = StateOf(h);
    if (!s) return DefWindowProc(h, m, wp, lp);
    return Dispatch(*s, m, wp, lp);
}

}  // namespace

// --- shared with the painter and the label editor ---------------------------------------

ListState* StateOf(HWND list) {
    auto it = g_states.find(list.id);
    return it == g_states.end() ? nullptr : it->second;
}

LRESULT Notify(ListState& s, NMHDR& hdr, int32_t code, bool& alive) {
    const HWND self = s.self;
    hdr.hwndFrom = self;
    hdr.idFrom = static_cast<uintptr_t>(GetWindowLongPtr(self, GWLP_ID));
    hdr.code = code;
    const LRESULT r =
        SendMessage(GetParent(self), WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr));
    alive = IsWindow(self);
    return r;
}

bool CellText(ListState& s, int32_t row, int32_t column, std::string_view& out) {
    out = {};
    if (row < 0 || row >= s.items.count || column < 0) return true;
    if (!s.owner_data) {
        const StoredRow& r = s.items.rows[row];
        const size_t c = static_cast<size_t>(column);
        if (c >= r.texts.size()) return true;
        if (!r.callback[c]) {
            out = r.texts[c];
            return true;
        }
    }
    NMLVDISPINFOA info;
    info.item.mask = LVIF_TEXT;
    info.item.iItem = row;
    info.item.iSubItem = column;
    s.paint.buffer[0] = '\0';
    info.item.pszText = s.paint.buffer.data();
    info.item.cchTextMax = kListViewTextCapacity;
    bool alive = true;
    Notify(s, info.hdr, LVN_GETDISPINFOA, alive);
    if (!alive) return false;
    // The parent may point at text of its own instead of filling the
    // buffer; either way no more than the buffer's capacity is read.
    const char* text = info.item.pszText ? info.item.pszText : s.paint.buffer.data();
    if (text == kTextCallback) text = "";
    out = {text, strnlen(text, kListViewTextCapacity - 1)};
    return true;
}

void SetTop(ListState& s, int32_t top) {
    const int32_t t = std::clamp(top, 0, MaxTop(s));
    if (t == s.scroll.top) return;
    // Scrolling ends an edit, but through the message queue: SetTop is
    // called from many places that go on using the list afterwards, and
    // the end-of-edit notification could destroy it.
    CancelEditLater(s);
    s.scroll.top = t;
    InvalidateRect(s.self, nullptr, false);
}

void InvalidateRow(ListState& s, int32_t row) {
    if (row < 0 || row < s.scroll.top || row > s.scroll.top + RowsPerPage(s)) return;
    Rect r = RowRect(s, row);
    r.left = 0;
    r.right = GetClientRect(s.self).right;
    r = r.intersect(RowArea(s));
    if (!r.empty()) InvalidateRect(s.self, &r, false);
}

}  // namespace listview

void RegisterListViewClass() {
    if (!IsClassRegistered(kListViewClass))
        RegisterClass({kListViewClass, listview::ListViewProc, CS_DBLCLKS, kNoBackground, {}});
    listview::RegisterEditClass();
    listview::RegisterHeaderClass();
}

void SetListViewFont(HWND list, const FontRef& font) {
    FontRef copy = font;
    SendMessage(list, WM_SETFONT, reinterpret_cast<WPARAM>(&copy), 1);
}

}  // namespace platform
