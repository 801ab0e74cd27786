// SPDX-License-Identifier: GPL-3.0-or-later
// The list's column header: a child window over the top of the list's client
// area, left of the scroll bar. It paints the captions of the list's columns
// in the classic raised style, reports a click on a column, and lets the
// pointer drag a column's right divider to change the column's width.
//
// It keeps no columns of its own: it reads the list's. Everything it reports
// goes to the list as WM_NOTIFY with a NMHEADERA record; the list passes the
// notifications on to its parent and applies a changed width. A press on the
// header stays here, so the list never sees it as a press on its rows.

#include <algorithm>

#include "platform/listview/listview_internal.h"

namespace platform::listview {

namespace {

constexpr int32_t kCellMargin = 5;
// How far from a column's right edge a press still takes the divider.
constexpr int32_t kDividerReach = 4;

ListState* ListOfHeader(HWND header) {
    ListState* s = StateOf(GetParent(header));
    return s && s->header.wnd == header ? s : nullptr;
}

int32_t ColumnCount(const ListState& s) {
    return static_cast<int32_t>(s.header.columns.size());
}

int32_t ColumnLeft(const ListState& s, int32_t column) {
    int64_t x = 0;
    for (int32_t i = 0; i < column && i < ColumnCount(s); ++i)
        x += std::max(0, s.header.columns[i].width);
    return static_cast<int32_t>(std::min<int64_t>(x, INT32_MAX / 2));
}

Point PointOf(LPARAM lp) {
    return {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
}

// Sends a header notification to the list. `alive` turns false when the
// header went away meanwhile.
LRESULT NotifyList(HWND header, int32_t code, int32_t item, HDITEMA* pitem, bool& alive) {
    NMHEADERA nm;
    nm.hdr.hwndFrom = header;
    nm.hdr.idFrom = static_cast<uintptr_t>(GetWindowLongPtr(header, GWLP_ID));
    nm.hdr.code = code;
    nm.iItem = item;
    nm.pitem = pitem;
    const LRESULT r =
        SendMessage(GetParent(header), WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
    alive = IsWindow(header);
    return r;
}

void InvalidateTrackLine(ListState& s) {
    if (s.header.tracking < 0) return;
    const Rect line = TrackLine(s);
    InvalidateRect(s.self, &line, false);
}

// Offers the new width with HDN_ITEMCHANGINGA (refused by a non-zero
// answer) and reports it with HDN_ITEMCHANGEDA, which the list applies.
void ChangeWidth(HWND header, int32_t column, int32_t width) {
    ListState* s = ListOfHeader(header);
    if (!s || column >= ColumnCount(*s) || s->header.columns[column].width == width) return;
    HDITEMA item;
    item.mask = HDI_WIDTH;
    item.cxy = width;
    bool alive = true;
    if (NotifyList(header, HDN_ITEMCHANGINGA, column, &item, alive) || !alive) return;
    item.mask = HDI_WIDTH;
    NotifyList(header, HDN_ITEMCHANGEDA, column, &item, alive);
}

void EndTracking(HWND header, ListState& s, bool apply) {
    const int32_t column = s.header.tracking;
    InvalidateTrackLine(s);
    s.header.tracking = -1;
    if (GetCapture() == header) ReleaseCapture();
    HDITEMA item;
    item.mask = HDI_WIDTH;
    item.cxy =
        apply || column >= ColumnCount(s) ? s.header.track_width : s.header.columns[column].width;
    bool alive = true;
    NotifyList(header, HDN_ENDTRACKA, column, &item, alive);
    if (alive && apply) ChangeWidth(header, column, item.cxy);
}

void PaintCaptions(ListState& s, DC& dc, const Rect& client) {
    const int32_t right = client.right;
    const int32_t hh = client.bottom;
    const int32_t text_top = (hh - s.paint.text_height) / 2;
    const Color face = GetSysColor(COLOR_BTNFACE);
    int32_t x = 0;
    for (size_t i = 0; i < s.header.columns.size() && x < right; ++i) {
        const Column& c = s.header.columns[i];
        const Rect r{x, 0, std::min(right, x + c.width), hh};
        x += c.width;
        if (r.empty()) continue;
        const bool pressed = s.header.pressed == static_cast<int32_t>(i) && s.header.press_inside;
        dc.FillRect(r, face);
        Edge(dc, {r.left, r.top, x, r.bottom}, pressed);
        dc.SetTextColor(GetSysColor(COLOR_BTNTEXT));
        const int32_t shift = pressed ? 1 : 0;
        float drawn = 0;
        const std::string_view caption =
            Fit(s, dc, c.caption, r.width() - 2 * kCellMargin - 1, drawn);
        dc.TextOut(static_cast<float>(r.left + kCellMargin + shift),
                   static_cast<float>(text_top + shift), caption);
    }
    if (x < right) {
        const Rect rest{x, 0, right, hh};
        dc.FillRect(rest, face);
        Edge(dc, {rest.left, 0, rest.right + 2, hh}, false);
    }
    if (s.header.tracking >= 0) dc.FillRect(TrackLine(s), GetSysColor(COLOR_WINDOWTEXT));
}

LRESULT OnPaint(HWND h) {
    PAINTSTRUCT ps;
    std::unique_ptr<DC> dc = BeginPaint(h, &ps);
    ListState* s = ListOfHeader(h);
    if (dc && s) {
        EnsureMetrics(*s);
        dc->SetFont(s->paint.measured_font);
        dc->SetBkMode(BkMode::kTransparent);
        PaintCaptions(*s, *dc, GetClientRect(h));
    }
    EndPaint(h, &ps);
    return 0;
}

LRESULT OnButtonDown(HWND h, UINT msg, LPARAM lp) {
    ListState* s = ListOfHeader(h);
    if (!s || s->header.tracking >= 0 || s->header.pressed >= 0) return 0;
    if (msg != WM_LBUTTONDOWN && msg != WM_LBUTTONDBLCLK) return 0;
    const Point p = PointOf(lp);
    const int32_t divider = DividerAt(*s, p.x);
    if (divider >= 0) {
        bool alive = true;
        if (msg == WM_LBUTTONDBLCLK) {
            NotifyList(h, HDN_DIVIDERDBLCLICKA, divider, nullptr, alive);
            return 0;
        }
        const int32_t width = s->header.columns[divider].width;
        HDITEMA item;
        item.mask = HDI_WIDTH;
        item.cxy = width;
        if (NotifyList(h, HDN_BEGINTRACKA, divider, &item, alive) || !alive) return 0;
        s = ListOfHeader(h);
        if (!s || divider >= ColumnCount(*s)) return 0;
        s->header.tracking = divider;
        s->header.track_width = width;
        s->header.track_grab = p.x - (ColumnLeft(*s, divider) + width);
        SetCapture(h);
        SetCursor(Cursor{CursorShape::kSizeWE, {}, {}});
        InvalidateTrackLine(*s);
        return 0;
    }
    const int32_t column = ColumnAtX(*s, p.x);
    if (column < 0) return 0;
    s->header.pressed = column;
    s->header.press_inside = true;
    SetCapture(h);
    InvalidateRect(h, nullptr, false);
    return 0;
}

bool InsidePressed(HWND h, const ListState& s, Point p) {
    return p.y >= 0 && p.y < GetClientRect(h).bottom && ColumnAtX(s, p.x) == s.header.pressed;
}

LRESULT OnMouseMove(HWND h, LPARAM lp) {
    ListState* s = ListOfHeader(h);
    if (!s) return 0;
    const Point p = PointOf(lp);
    if (s->header.tracking >= 0) {
        const int32_t left = ColumnLeft(*s, s->header.tracking);
        const int32_t width = std::max(0, p.x - s->header.track_grab - left);
        if (width == s->header.track_width) return 0;
        InvalidateTrackLine(*s);
        s->header.track_width = width;
        InvalidateTrackLine(*s);
        HDITEMA item;
        item.mask = HDI_WIDTH;
        item.cxy = width;
        bool alive = true;
        NotifyList(h, HDN_TRACKA, s->header.tracking, &item, alive);
        return 0;
    }
    if (s->header.pressed >= 0) {
        const bool inside = InsidePressed(h, *s, p);
        if (inside != s->header.press_inside) {
            s->header.press_inside = inside;
            InvalidateRect(h, nullptr, false);
        }
    }
    return 0;
}

LRESULT OnLButtonUp(HWND h, LPARAM lp) {
    ListState* s = ListOfHeader(h);
    if (!s) return 0;
    if (s->header.tracking >= 0) {
        EndTracking(h, *s, true);
        return 0;
    }
    if (s->header.pressed < 0) return 0;
    const int32_t column = s->header.pressed;
    const bool inside = InsidePressed(h, *s, PointOf(lp));
    s->header.pressed = -1;
    ReleaseCapture();
    InvalidateRect(h, nullptr, false);
    bool alive = true;
    if (inside) NotifyList(h, HDN_ITEMCLICKA, column, nullptr, alive);
    return 0;
}

LRESULT OnCaptureChanged(HWND h) {
    ListState* s = ListOfHeader(h);
    if (!s) return 0;
    // Losing the pointer in the middle of a drag keeps the old width.
    if (s->header.tracking >= 0) EndTracking(h, *s, false);
    if (!(s = ListOfHeader(h))) return 0;
    if (s->header.pressed >= 0) InvalidateRect(h, nullptr, false);
    s->header.pressed = -1;
    return 0;
}

LRESULT OnSetCursor(HWND h, WPARAM wp, LPARAM lp) {
    ListState* s = ListOfHeader(h);
    if (s && LOWORD(static_cast<uintptr_t>(lp)) == HTCLIENT) {
        const Point p = ScreenToClient(h, GetCursorPos());
        if (s->header.tracking >= 0 || DividerAt(*s, p.x) >= 0) {
            SetCursor(Cursor{CursorShape::kSizeWE, {}, {}});
            return 1;
        }
    }
    return DefWindowProc(h, WM_SETCURSOR, wp, lp);
}

// clang-format off
LRESULT HeaderProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    switch (m) {
        case WM_PAINT: return OnPaint(h);
        case WM_ERASEBKGND: return 1;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: return OnButtonDown(h, m, lp);
        case WM_MOUSEMOVE: return OnMouseMove(h, lp);
        case WM_LBUTTONUP: return OnLButtonUp(h, lp);
        case WM_CAPTURECHANGED: return OnCaptureChanged(h);
        case WM_SETCURSOR: return OnSetCursor(h, wp, lp);
        default: return DefWindowProc(h, m, wp, lp);
    }
}
// clang-format on

}  // namespace

void RegisterHeaderClass() {
    if (!IsClassRegistered(kListViewHeaderClass))
        RegisterClass({kListViewHeaderClass, HeaderProc, CS_DBLCLKS, kNoBackground, {}});
}

void CreateHeader(ListState& s) {
    s.header.wnd =
        CreateWindowEx(0, kListViewHeaderClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, s.self);
    PlaceHeader(s);
}

void PlaceHeader(ListState& s) {
    if (!s.header.wnd) return;
    const Rect client = GetClientRect(s.self);
    const Rect bar = ScrollBarRect(s);
    const Rect want{0, 0, std::max(0, bar.empty() ? client.right : bar.left), HeaderHeight(s)};
    if (want == s.header.placed) return;
    s.header.placed = want;
    MoveWindow(s.header.wnd, want.left, want.top, want.width(), want.height(), true);
}

Rect TrackLine(ListState& s) {
    const int32_t x = ColumnLeft(s, s.header.tracking) + s.header.track_width;
    const Rect client = GetClientRect(s.self);
    return {x - 1, 0, x, client.bottom};
}

int32_t DividerAt(const ListState& s, int32_t x) {
    // The last of the edges in reach, so a column dragged down to nothing
    // can be widened again.
    int64_t edge = 0;
    int32_t found = -1;
    for (int32_t i = 0; i < ColumnCount(s); ++i) {
        edge += std::max(0, s.header.columns[i].width);
        if (x >= edge - kDividerReach && x < edge + kDividerReach) found = i;
        if (edge - kDividerReach > x) break;
    }
    return found;
}

}  // namespace platform::listview
