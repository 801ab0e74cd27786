// SPDX-License-Identifier: GPL-3.0-or-later
// Inside the list view control: the per-window state, grouped by concern,
// and the routines the message handlers, the painter and the label editor
// share. Nothing here is seen outside src/platform/listview.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/font.h"
#include "platform/listview/listview.h"
#include "platform/surface.h"
#include "platform/window.h"

namespace platform::listview {

// Text the parent supplies on request (LVN_GETDISPINFOA) in ordinary mode.
inline char* const kTextCallback = reinterpret_cast<char*>(-1);

struct StoredRow {
    std::vector<std::string> texts;  // one per sub-item; missing ones are empty
    std::vector<bool> callback;      // sub-items whose text the parent supplies
    LPARAM param = 0;
};

struct Column {
    std::string caption;
    int32_t width = 0;
    int32_t fmt = 0;
};

// Which part of the scroll bar a press went to.
enum class ScrollPart { kNone, kLineUp, kLineDown, kPageUp, kPageDown, kThumb };

struct ListState {
    HWND self;
    uint32_t style = 0;
    bool owner_data = false;

    struct Items {
        int32_t count = 0;             // rows in both modes
        std::vector<StoredRow> rows;   // ordinary mode only
        std::vector<int32_t> dropped;  // drop-highlighted rows, sorted
    } items;

    struct Header {
        HWND wnd;  // the header child window
        std::vector<Column> columns;
        int32_t pressed = -1;  // column pressed with the mouse, while held
        bool press_inside = false;
        int32_t tracking = -1;   // column whose divider is being dragged
        int32_t track_grab = 0;  // pointer offset from the divider at the press
        int32_t track_width = 0;
        Rect placed;  // where the header window was last put
    } header;

    struct Selection {
        int32_t selected = -1;
        int32_t focused = -1;
        bool has_focus = false;
    } sel;

    struct Scrolling {
        int32_t top = 0;
        int32_t wheel_rest = 0;  // wheel delta not yet turned into rows
        ScrollPart pressed = ScrollPart::kNone;
        int32_t thumb_grab = 0;  // pointer offset inside the thumb while dragging
        Point last_pointer;
    } scroll;

    struct Painting {
        FontRef font = MakeFont();
        FontDesc measured_font;  // the face the cached metrics belong to
        bool metrics_valid = false;
        int32_t text_height = 0;
        int32_t row_height = 0;
        int32_t header_height = 0;
        int32_t ellipsis_width = 0;
        uint32_t ex_style = 0;
        Color back = SystemColor(COLOR_WINDOW);
        Color text = SystemColor(COLOR_WINDOWTEXT);
        Color text_back = 0xFF000000;  // CLR_NONE: the row's background shows
        // Reused for every LVN_GETDISPINFOA, so painting allocates nothing.
        std::array<char, kListViewTextCapacity> buffer{};
        std::string fitted;  // a cut-down cell text with its ellipsis, reused
        Surface picture;     // drawn off screen, then copied to the window
    } paint;

    struct LabelEdit {
        HWND box;
        int32_t row = -1;
        bool ending = false;
        bool armed = false;  // a press on the focused row may start an edit
    } edit;

    struct Timers {
        bool press_pending = false;
        bool edit_pending = false;
        bool scroll_repeating = false;
    } timers;
};

ListState* StateOf(HWND list);

// --- layout (listview_layout.cpp) ----------------------------------------------
void EnsureMetrics(ListState& s);
int32_t HeaderHeight(ListState& s);
int32_t RowHeight(ListState& s);
bool ScrollBarShown(ListState& s);
// The part of the client area that holds rows (header and scroll bar excluded).
Rect RowArea(ListState& s);
int32_t RowsPerPage(ListState& s);  // whole rows only, at least 1
int32_t MaxTop(ListState& s);
int32_t ColumnsWidth(const ListState& s);
Rect RowRect(ListState& s, int32_t row);  // the full row, may lie outside the client
Rect CellRect(ListState& s, int32_t row, int32_t column);
Rect ScrollBarRect(ListState& s);
// Thumb bounds inside the scroll bar, empty when there is no room for one.
Rect ThumbRect(ListState& s);
ScrollPart ScrollPartAt(ListState& s, Point p);
// The row and column under a client point; -1 for none.
int32_t HitRow(ListState& s, Point p, uint32_t* flags, int32_t* column);
int32_t ColumnAtX(const ListState& s, int32_t x);

// --- behaviour (listview.cpp) ------------------------------------------------------
// Sends a notification to the parent; `alive` turns false when the parent
// destroyed the list meanwhile.
LRESULT Notify(ListState& s, NMHDR& hdr, int32_t code, bool& alive);
// Asks for, or reads, a cell's text into the reusable buffer. Returns the
// text (a view into the buffer or the stored row) or false when the list
// went away meanwhile.
bool CellText(ListState& s, int32_t row, int32_t column, std::string_view& out);
void SetTop(ListState& s, int32_t top);
void InvalidateRow(ListState& s, int32_t row);

// --- painting (listview_paint.cpp) ---------------------------------------------------
void Paint(ListState& s);
// The classic raised edge (two pixels) or, pressed, a flat shadow frame.
void Edge(DC& dc, const Rect& r, bool pressed);
// Cuts `text` to fit `width` pixels with a trailing ellipsis, into the
// reused string. Returns a view of what to draw and its width in `drawn`.
std::string_view Fit(ListState& s, DC& dc, std::string_view text, int32_t width, float& drawn);

// --- header (listview_header.cpp) ----------------------------------------------------
void RegisterHeaderClass();
void CreateHeader(ListState& s);
// Lays the header over the top of the client area, left of the scroll bar.
void PlaceHeader(ListState& s);
// The column whose right edge lies within a few pixels of `x`; -1 for none.
int32_t DividerAt(const ListState& s, int32_t x);
// While a divider is dragged: the line across the list where it would go.
Rect TrackLine(ListState& s);

// --- label edit (listview_edit.cpp) ---------------------------------------------------
void RegisterEditClass();
bool BeginLabelEdit(ListState& s, int32_t row);
// Ends the edit: with the box's text when `accept`, abandoned otherwise.
void EndLabelEdit(ListState& s, bool accept);

}  // namespace platform::listview
