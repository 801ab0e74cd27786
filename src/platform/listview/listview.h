// SPDX-License-Identifier: GPL-3.0-or-later
// The report-mode list view control: window class "ListView20WndClass".
//
// A plain window class driven entirely by messages (commctrl.h): one header
// row of columns, rows either stored by the control or, with LVS_OWNERDATA in
// the creation style, asked of the parent cell by cell through
// LVN_GETDISPINFOA while painting. It reports selection changes, label edits
// and column clicks to its parent with WM_NOTIFY, draws its own vertical
// scroll bar, and sets a short timer of its own after every mouse press so
// that a subclassing component sees a WM_TIMER after each press.
//
// The header row is a child window of class kListViewHeaderClass
// (LVM_GETHEADER). Presses on it stay with it: a click on a column reaches
// the parent as LVN_COLUMNCLICK, and dragging a column's right divider
// resizes the column, with the header's HDN_ notifications (hwndFrom = the
// header) passed on to the parent.
//
// Fonts: WM_SETFONT takes wParam = a `platform::FontRef*` (a pointer to the
// shared pointer, which the control copies, so the font object stays shared
// with whoever sent it) and lParam = non-zero to repaint. WM_GETFONT returns
// a `const platform::FontRef*` valid while the window lives.
#pragma once

#include <cstdint>

#include "platform/font.h"
#include "platform/listview/commctrl.h"
#include "platform/window.h"

namespace platform {

// Registers the list view class and the classes of its header and label
// edit box. Safe to call any number of times.
void RegisterListViewClass();

// Gives the list a shared font object (see WM_SETFONT above) and repaints.
void SetListViewFont(HWND list, const FontRef& font);

// Class of the edit box shown over a row while its label is edited.
inline constexpr const char* kListViewEditClass = "ListView20Edit";

// Timer identifiers the list uses on its own window. A component that
// watches the list's WM_TIMER messages can tell them apart by these.
enum : uintptr_t {
    kListViewPressTimer = 1,   // one-shot, shortly after each mouse press
    kListViewEditTimer = 2,    // the slow second click that starts a label edit
    kListViewScrollTimer = 3,  // auto-repeat of scroll bar arrows and track
};

// Capacity, terminating zero included, of the text buffer the list hands out
// with LVN_GETDISPINFOA.
inline constexpr int32_t kListViewTextCapacity = 260;

}  // namespace platform
