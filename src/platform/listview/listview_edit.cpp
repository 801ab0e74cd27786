// SPDX-License-Identifier: GPL-3.0-or-later
// Label editing: the edit box laid over a row's first cell, and the
// LVN_BEGINLABELEDITA / LVN_ENDLABELEDITA exchange with the parent. Enter
// ends the edit with the box's text; Escape or the box losing the focus
// abandons it, which the parent sees as a null text pointer.

#include <algorithm>
#include <string>

#include "platform/listview/listview_internal.h"

namespace platform::listview {

namespace {

constexpr int32_t kEditMargin = 3;

ListState* ListOfBox(HWND box) {
    ListState* s = StateOf(GetParent(box));
    return s && s->edit.box == box ? s : nullptr;
}

void PaintBox(HWND box) {
    PAINTSTRUCT ps;
    std::unique_ptr<DC> dc = BeginPaint(box, &ps);
    if (!dc) {
        EndPaint(box, &ps);
        return;
    }
    const Rect r = GetClientRect(box);
    dc->FillRect(r, GetSysColor(COLOR_WINDOW));
    dc->FrameRect(r, GetSysColor(COLOR_WINDOWFRAME));
    ListState* s = ListOfBox(box);
    if (s) {
        EnsureMetrics(*s);
        dc->SetFont(s->paint.measured_font);
        dc->SetBkMode(BkMode::kTransparent);
        dc->SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
        const std::string text = GetWindowText(box);
        const int32_t top = (r.height() - s->paint.text_height) / 2;
        dc->TextOut(static_cast<float>(kEditMargin), static_cast<float>(top), text);
        // The caret stays at the end: the box only appends and deletes.
        const int32_t x = kEditMargin + static_cast<int32_t>(dc->GetTextExtent(text).width + 0.5f);
        if (x < r.right - 1)
            dc->FillRect({x, top, x + 1, top + s->paint.text_height},
                         GetSysColor(COLOR_WINDOWTEXT));
    }
    EndPaint(box, &ps);
}

LRESULT OnBoxChar(HWND box, WPARAM wp) {
    std::string text = GetWindowText(box);
    if (wp == 0x08) {
        if (!text.empty()) text.pop_back();
    } else if (wp >= 0x20 && wp <= 0xFF && wp != 0x7F &&
               text.size() + 1 < static_cast<size_t>(kListViewTextCapacity)) {
        // Labels are single-byte text; characters beyond one byte cannot be
        // part of one and are ignored.
        text.push_back(static_cast<char>(wp));
    } else {
        return 0;
    }
    SetWindowText(box, text);
    InvalidateRect(box);
    return 0;
}

LRESULT OnBoxKeyDown(HWND box, WPARAM wp) {
    ListState* s = ListOfBox(box);
    if (!s) return 0;
    if (wp == VK_RETURN) EndLabelEdit(*s, true);
    if (wp == VK_ESCAPE) EndLabelEdit(*s, false);
    return 0;
}

LRESULT OnBoxKillFocus(HWND box) {
    if (ListState* s = ListOfBox(box)) EndLabelEdit(*s, false);
    return 0;
}

// clang-format off
LRESULT EditBoxProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    switch (m) {
        case WM_PAINT: PaintBox(h); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_GETDLGCODE: return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
        case WM_CHAR: return OnBoxChar(h, wp);
        case WM_KEYDOWN: return OnBoxKeyDown(h, wp);
        case WM_KILLFOCUS: return OnBoxKillFocus(h);
        case WM_LBUTTONDOWN: return 0;
        default: return DefWindowProc(h, m, wp, lp);
    }
}
// clang-format on

}  // namespace

void RegisterEditClass() {
    if (!IsClassRegistered(kListViewEditClass))
        RegisterClass({kListViewEditClass, EditBoxProc, 0, kNoBackground,
                       Cursor{CursorShape::kIBeam, {}, {}}});
}

bool BeginLabelEdit(ListState& s, int32_t row) {
    const HWND self = s.self;
    if (!(s.style & LVS_EDITLABELS) || row < 0 || row >= s.items.count) return false;
    if (s.edit.ending) return false;
    if (s.edit.box) {
        EndLabelEdit(s, false);
        if (!IsWindow(self)) return false;
    }
    s.timers.edit_pending = false;
    std::string_view current;
    if (!CellText(s, row, 0, current)) return false;
    std::string text(current);

    NMLVDISPINFOA info;
    info.item.mask = LVIF_TEXT;
    info.item.iItem = row;
    info.item.pszText = text.data();
    info.item.cchTextMax = static_cast<int32_t>(text.size() + 1);
    bool alive = true;
    const LRESULT forbidden = Notify(s, info.hdr, LVN_BEGINLABELEDITA, alive);
    if (!alive || forbidden) return false;
    if (row >= s.items.count) return false;  // the parent shrank the list meanwhile

    // The row must be on screen for the box to lie over it.
    const int32_t page = RowsPerPage(s);
    if (row < s.scroll.top)
        SetTop(s, row);
    else if (row >= s.scroll.top + page)
        SetTop(s, row - page + 1);
    Rect cell = CellRect(s, row, 0);
    if (cell.empty()) cell = RowRect(s, row);
    cell = cell.intersect(RowArea(s));
    if (cell.empty()) return false;
    const HWND box = CreateWindowEx(0, kListViewEditClass, text, WS_CHILD | WS_VISIBLE, cell.left,
                                    cell.top, cell.width(), cell.height(), self);
    if (!box) return false;
    s.edit.box = box;
    s.edit.row = row;
    InvalidateRow(s, row);
    SetFocus(box);
    return true;
}

void EndLabelEdit(ListState& s, bool accept) {
    if (!s.edit.box || s.edit.ending) return;
    const HWND self = s.self;
    const HWND box = s.edit.box;
    const int32_t row = s.edit.row;
    std::string text = GetWindowText(box);
    s.edit.ending = true;
    const bool had_focus = GetFocus() == box;
    s.edit.box = {};
    s.edit.row = -1;
    DestroyWindow(box);
    if (!IsWindow(self)) return;
    if (had_focus) SetFocus(self);
    if (!IsWindow(self)) return;
    InvalidateRow(s, row);

    NMLVDISPINFOA info;
    info.item.mask = LVIF_TEXT;
    info.item.iItem = row;
    info.item.pszText = accept ? text.data() : nullptr;
    info.item.cchTextMax = accept ? static_cast<int32_t>(text.size() + 1) : 0;
    bool alive = true;
    const LRESULT accepted = Notify(s, info.hdr, LVN_ENDLABELEDITA, alive);
    if (!alive) return;
    s.edit.ending = false;
    // A stored row takes the new label when the parent accepts it; an
    // owner-data parent keeps its own text.
    if (accept && accepted && !s.owner_data && row >= 0 && row < s.items.count) {
        StoredRow& r = s.items.rows[row];
        if (!r.callback[0]) r.texts[0] = text;
        InvalidateRow(s, row);
    }
}

}  // namespace platform::listview
