// SPDX-License-Identifier: GPL-3.0-or-later
// Messages, notifications, styles and records of the report-mode list view
// control (window class "ListView20WndClass"), with the platform's values.
// The list view control and the components that talk to it share these.
#pragma once

#include <cstdint>

#include "platform/geometry.h"
#include "platform/messages.h"

namespace platform {

inline constexpr const char* kListViewClass = "ListView20WndClass";
// The list's column header, a child window at the top of the list's client
// area (LVM_GETHEADER).
inline constexpr const char* kListViewHeaderClass = "ListView20Header";

// Styles.
enum : uint32_t {
    LVS_REPORT = 0x0001,
    LVS_SINGLESEL = 0x0004,
    LVS_SHOWSELALWAYS = 0x0008,
    LVS_EDITLABELS = 0x0200,
    LVS_OWNERDATA = 0x1000,
    LVS_NOCOLUMNHEADER = 0x4000,
};

// Extended list styles.
enum : uint32_t { LVS_EX_GRIDLINES = 0x0001, LVS_EX_FULLROWSELECT = 0x0020 };

// Messages.
enum : UINT {
    LVM_FIRST = 0x1000,
    LVM_GETBKCOLOR = 0x1000,
    LVM_SETBKCOLOR = 0x1001,
    LVM_GETITEMCOUNT = 0x1004,
    LVM_GETITEMA = 0x1005,
    LVM_SETITEMA = 0x1006,
    LVM_INSERTITEMA = 0x1007,
    LVM_DELETEITEM = 0x1008,
    LVM_DELETEALLITEMS = 0x1009,
    LVM_GETNEXTITEM = 0x100C,
    LVM_GETITEMRECT = 0x100E,
    LVM_HITTEST = 0x1012,
    LVM_ENSUREVISIBLE = 0x1013,
    LVM_SCROLL = 0x1014,
    LVM_REDRAWITEMS = 0x1015,
    LVM_GETCOLUMNA = 0x1019,
    LVM_SETCOLUMNA = 0x101A,
    LVM_INSERTCOLUMNA = 0x101B,
    LVM_DELETECOLUMN = 0x101C,
    LVM_GETCOLUMNWIDTH = 0x101D,
    LVM_SETCOLUMNWIDTH = 0x101E,
    LVM_GETHEADER = 0x101F,
    LVM_SETTEXTCOLOR = 0x1024,
    LVM_GETTEXTCOLOR = 0x1023,
    LVM_SETTEXTBKCOLOR = 0x1026,
    LVM_GETTOPINDEX = 0x1027,
    LVM_GETCOUNTPERPAGE = 0x1028,
    LVM_SETITEMSTATE = 0x102B,
    LVM_GETITEMSTATE = 0x102C,
    LVM_GETITEMTEXTA = 0x102D,
    LVM_SETITEMCOUNT = 0x102F,
    LVM_GETSELECTEDCOUNT = 0x1032,
    LVM_SETEXTENDEDLISTVIEWSTYLE = 0x1036,
    LVM_GETEXTENDEDLISTVIEWSTYLE = 0x1037,
    LVM_EDITLABELA = 0x1017,
    LVM_GETEDITCONTROL = 0x1018,
    LVM_CANCELEDITLABEL = 0x10B3,
};

// LVM_SETITEMCOUNT flags.
enum : LPARAM { LVSICF_NOINVALIDATEALL = 1, LVSICF_NOSCROLL = 2 };

// LVM_GETITEMRECT kinds.
enum : int32_t { LVIR_BOUNDS = 0, LVIR_ICON = 1, LVIR_LABEL = 2 };

// LVM_GETNEXTITEM flags.
enum : LPARAM { LVNI_ALL = 0, LVNI_FOCUSED = 1, LVNI_SELECTED = 2 };

// Item mask bits and states.
enum : uint32_t {
    LVIF_TEXT = 0x0001,
    LVIF_IMAGE = 0x0002,
    LVIF_PARAM = 0x0004,
    LVIF_STATE = 0x0008,
    LVIF_INDENT = 0x0010,
};
enum : uint32_t {
    LVIS_FOCUSED = 0x0001,
    LVIS_SELECTED = 0x0002,
    LVIS_CUT = 0x0004,
    LVIS_DROPHILITED = 0x0008,
};

// Hit-test flags.
enum : uint32_t {
    LVHT_NOWHERE = 0x0001,
    LVHT_ONITEMICON = 0x0002,
    LVHT_ONITEMLABEL = 0x0004,
    LVHT_ONITEMSTATEICON = 0x0008,
    LVHT_ONITEM = 0x000E,
    LVHT_ABOVE = 0x0008,
    LVHT_BELOW = 0x0010,
    LVHT_TORIGHT = 0x0020,
    LVHT_TOLEFT = 0x0040,
};

// Notification codes (sent with WM_NOTIFY to the parent).
enum : int32_t {
    LVN_ITEMCHANGING = -100,
    LVN_ITEMCHANGED = -101,
    LVN_BEGINLABELEDITA = -105,
    LVN_ENDLABELEDITA = -106,
    LVN_COLUMNCLICK = -108,
    LVN_ODCACHEHINT = -113,
    LVN_GETDISPINFOA = -150,
    LVN_ODFINDITEMA = -152,
    NM_CLICK = -2,
    NM_DBLCLK = -3,
    NM_RCLICK = -5,
    NM_SETFOCUS = -7,
    NM_KILLFOCUS = -8,
    TTN_NEEDTEXTA = -520,
};

// Header notifications (sent with WM_NOTIFY by the list's header to the list,
// which passes them on to its own parent), with a NMHEADERA record.
enum : int32_t {
    HDN_ITEMCHANGINGA = -300,  // non-zero return keeps the item as it is
    HDN_ITEMCHANGEDA = -301,
    HDN_ITEMCLICKA = -302,
    HDN_DIVIDERDBLCLICKA = -305,
    HDN_BEGINTRACKA = -306,  // non-zero return: no drag
    HDN_ENDTRACKA = -307,
    HDN_TRACKA = -308,
};

// Header item mask bits.
enum : uint32_t { HDI_WIDTH = 0x0001 };

struct HDITEMA {
    uint32_t mask = 0;
    int32_t cxy = 0;
};

struct NMHEADERA {
    NMHDR hdr;
    int32_t iItem = -1;
    int32_t iButton = 0;  // 0 left, 1 right, 2 middle
    HDITEMA* pitem = nullptr;
};

struct LVITEMA {
    uint32_t mask = 0;
    int32_t iItem = 0;
    int32_t iSubItem = 0;
    uint32_t state = 0;
    uint32_t stateMask = 0;
    char* pszText = nullptr;
    int32_t cchTextMax = 0;
    int32_t iImage = 0;
    LPARAM lParam = 0;
    int32_t iIndent = 0;
};

struct LVCOLUMNA {
    uint32_t mask = 0;
    int32_t fmt = 0;
    int32_t cx = 0;
    char* pszText = nullptr;
    int32_t cchTextMax = 0;
    int32_t iSubItem = 0;
};
enum : uint32_t { LVCF_FMT = 1, LVCF_WIDTH = 2, LVCF_TEXT = 4, LVCF_SUBITEM = 8 };

struct LVHITTESTINFO {
    Point pt;
    uint32_t flags = 0;
    int32_t iItem = -1;
    int32_t iSubItem = 0;
};

struct NMLISTVIEW {
    NMHDR hdr;
    int32_t iItem = -1;
    int32_t iSubItem = 0;
    uint32_t uNewState = 0;
    uint32_t uOldState = 0;
    uint32_t uChanged = 0;
    Point ptAction;
    LPARAM lParam = 0;
};

struct NMLVDISPINFOA {
    NMHDR hdr;
    LVITEMA item;
};

struct NMLVCACHEHINT {
    NMHDR hdr;
    int32_t iFrom = 0;
    int32_t iTo = 0;
};

}  // namespace platform
