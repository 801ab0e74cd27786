// SPDX-License-Identifier: GPL-3.0-or-later
// UVirtualListView: members, saved properties, start-up, resizing and
// shutdown of the virtual list view component.
#include "controls/virtual_list/virtual_list_view.h"

#include <limits>

#include "controls/virtual_list/mvirtual_list_view.h"
#include "platform/json.h"
#include "platform/listview/commctrl.h"

namespace virtual_list {

using platform::ErrorCode;
using platform::LPARAM;
using platform::LRESULT;
using platform::MakeError;
using platform::Status;
using platform::UINT;
using platform::WPARAM;

// --- column headers ----------------------------------------------------------------

Status ColumnHeaders::Add(const std::string& caption, int32_t width) {
    platform::HWND list = owner_.list_;
    if (!platform::IsWindow(list)) return MakeError(ErrorCode::kInvalidCall, "no inner list");
    std::string text = caption;  // the record's text pointer is not const
    platform::LVCOLUMNA col;
    col.mask = platform::LVCF_TEXT | platform::LVCF_WIDTH | platform::LVCF_SUBITEM;
    col.cx = width;
    col.pszText = text.data();
    col.iSubItem = Count();
    LRESULT r = platform::SendMessage(list, platform::LVM_INSERTCOLUMNA,
                                      static_cast<WPARAM>(Count()), reinterpret_cast<LPARAM>(&col));
    if (r < 0) return MakeError(ErrorCode::kPlatform, "the list refused the column");
    columns_.push_back({caption, width});
    return {};
}

platform::Result<ColumnHeader> ColumnHeaders::Item(int32_t index) const {
    if (index < 0 || index >= Count()) return MakeError(ErrorCode::kSubscript);
    return columns_[static_cast<size_t>(index)];
}

Status ColumnHeaders::SetItemCaption(int32_t index, const std::string& caption) {
    if (index < 0 || index >= Count()) return MakeError(ErrorCode::kSubscript);
    std::string text = caption;
    platform::LVCOLUMNA col;
    col.mask = platform::LVCF_TEXT;
    col.pszText = text.data();
    platform::SendMessage(owner_.list_, platform::LVM_SETCOLUMNA, static_cast<WPARAM>(index),
                          reinterpret_cast<LPARAM>(&col));
    columns_[static_cast<size_t>(index)].caption = caption;
    return {};
}

Status ColumnHeaders::SetItemWidth(int32_t index, int32_t width) {
    if (index < 0 || index >= Count()) return MakeError(ErrorCode::kSubscript);
    platform::SendMessage(owner_.list_, platform::LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(index),
                          width);
    columns_[static_cast<size_t>(index)].width = width;
    return {};
}

// --- creation and lifetime -----------------------------------------------------------

UVirtualListView::UVirtualListView(platform::HWND parent, platform::ComponentHost& host,
                                   const std::string& name, const platform::Rect& bounds)
    : host_(host) {
    // The hook must be waiting before the inner list exists, so that the
    // list's own WM_CREATE already carries the owner-data style.
    if (VirtualListHookEnabled) InstallCreationHook();
    if (!Create(parent, kComponentClass, name, bounds, platform::WS_VISIBLE | platform::WS_TABSTOP))
        return;
    platform::Rect client = platform::GetClientRect(UChWnd());
    list_ =
        platform::CreateWindowEx(0, platform::kListViewClass, "",
                                 platform::WS_CHILD | platform::WS_VISIBLE | platform::LVS_REPORT |
                                     platform::LVS_SHOWSELALWAYS | platform::LVS_SINGLESEL,
                                 0, 0, client.width(), client.height(), UChWnd(), 1);
    if (list_) platform::SetWindowName(list_, "lvVirtual");
}

UVirtualListView::~UVirtualListView() {
    *alive_ = false;
    // Inner list first, then the component window; Control's destructor then
    // destroys the windows.
    virtual_list::UnSubClass(*this);
}

void UVirtualListView::InitProperties() {
    list_font_ = platform::MakeFont(host_.AmbientFont());
    back_color_value_ = kDefaultBackColor;
    fore_color_value_ = kDefaultForeColor;
    ApplyFontToList();
    ApplyColorsToList();
    AfterPropertiesRead();
}

void UVirtualListView::ReadProperties(const platform::PropertyBag& bag) {
    list_font_ = platform::MakeFont(bag.Read<platform::FontDesc>("Font", host_.AmbientFont()));
    ApplyFontToList();
    back_color_value_ = static_cast<platform::Color>(
        bag.Read<int32_t>("BackColor", static_cast<int32_t>(kDefaultBackColor)));
    fore_color_value_ = static_cast<platform::Color>(
        bag.Read<int32_t>("ForeColor", static_cast<int32_t>(kDefaultForeColor)));
    ApplyColorsToList();
    AfterPropertiesRead();
}

void UVirtualListView::WriteProperties(platform::PropertyBag& bag) const {
    bag.Write<platform::FontDesc>("Font", list_font_->desc(), host_.AmbientFont());
    bag.Write<int32_t>("BackColor", static_cast<int32_t>(back_color_value_),
                       static_cast<int32_t>(kDefaultBackColor));
    bag.Write<int32_t>("ForeColor", static_cast<int32_t>(fore_color_value_),
                       static_cast<int32_t>(kDefaultForeColor));
}

void UVirtualListView::AfterPropertiesRead() {
    set_font(list_font_);
    // A host that cannot say whether it is running is taken to be a designer.
    platform::Result<bool> user_mode = host_.AmbientUserMode();
    design_mode_ = !user_mode.ok() || !user_mode.value();
    if (design_mode_) {
        ShowDesignName();
    } else {
        SubClassOnce();
    }
}

void UVirtualListView::AmbientChanged(std::string_view name) {
    platform::CaseInsensitiveLess less;
    bool is_display_name = !less(name, "DisplayName") && !less("DisplayName", name);
    if (design_mode_ && is_display_name) ShowDesignName();
}

void UVirtualListView::ShowDesignName() {
    platform::HWND self = UChWnd();
    platform::ShowWindow(list_, platform::SW_HIDE);
    platform::SetPersistentDrawing(self, true);
    auto style = static_cast<uint32_t>(platform::GetWindowLongPtr(self, platform::GWL_STYLE));
    platform::SetWindowLongPtr(self, platform::GWL_STYLE, style | platform::WS_BORDER);
    if (auto dc = platform::PersistentDC(self)) {
        dc->SetFont(list_font_->desc());
        dc->SetTextColor(
            platform::TranslateColor(platform::SystemColor(platform::COLOR_WINDOWTEXT)));
        dc->SetBkMode(platform::BkMode::kTransparent);
        platform::Point at = dc->current_position();
        dc->TextOut(static_cast<float>(at.x), static_cast<float>(at.y), host_.AmbientDisplayName());
    }
    platform::InvalidateRect(self);
}

// --- subclassing ----------------------------------------------------------------------

void UVirtualListView::SubClass() {
    virtual_list::SubClass(*this);
}

void UVirtualListView::UnSubClass() {
    virtual_list::UnSubClass(*this);
}

void UVirtualListView::SubClassOnce() {
    if (pending_click_.subclassed) return;
    pending_click_.subclassed = true;
    SubClass();
}

LRESULT UVirtualListView::SendToList(UINT msg, WPARAM wp, LPARAM lp) const {
    if (!prev_list_proc_) return 0;
    return platform::CallWindowProc(prev_list_proc_, list_, msg, wp, lp);
}

// --- methods ----------------------------------------------------------------------------

Status UVirtualListView::Refresh() {
    platform::InvalidateRect(UChWnd());
    platform::UpdateWindow(UChWnd());
    platform::InvalidateRect(list_);
    platform::UpdateWindow(list_);
    return {};
}

Status UVirtualListView::SetItemCount(int32_t nItems) {
    SendToList(platform::LVM_SETITEMCOUNT, static_cast<WPARAM>(nItems),
               platform::LVSICF_NOINVALIDATEALL);
    item_count_ = nItems;
    return {};
}

Status UVirtualListView::Clear() {
    SendToList(platform::LVM_SETITEMCOUNT, 0, platform::LVSICF_NOINVALIDATEALL);
    platform::InvalidateRect(list_);
    platform::UpdateWindow(list_);
    item_count_ = 0;
    return {};
}

Status UVirtualListView::HitTest(int32_t X, int32_t Y, int32_t& iItem, int32_t& fFlags) {
    platform::LVHITTESTINFO info;
    info.pt = {X, Y};
    LRESULT r = SendToList(platform::LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info));
    // Before subclassing nothing is sent and the answer is 0, which would
    // read as row 0; only a real answer from the list counts.
    if (prev_list_proc_ && r != -1) {
        fFlags = static_cast<int32_t>(info.flags);
        iItem = static_cast<int32_t>(r);
    }
    return {};
}

Status UVirtualListView::OLEDrag() {
    return {};
}

Status UVirtualListView::ShowWhatsThis() {
    return {};
}

// --- properties ---------------------------------------------------------------------------

void UVirtualListView::NotifyChanged(std::string_view key) {
    host_.PropertyChanged(key);
}

void UVirtualListView::ApplyFontToList() {
    // The list keeps the shared font object itself (wParam: FontRef*).
    platform::SendMessage(list_, platform::WM_SETFONT, reinterpret_cast<WPARAM>(&list_font_), 1);
}

void UVirtualListView::ApplyColorsToList() {
    platform::Color back = platform::TranslateColor(back_color_value_);
    platform::SendMessage(list_, platform::LVM_SETBKCOLOR, 0, static_cast<LPARAM>(back));
    platform::SendMessage(list_, platform::LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(back));
    platform::SendMessage(list_, platform::LVM_SETTEXTCOLOR, 0,
                          static_cast<LPARAM>(platform::TranslateColor(fore_color_value_)));
}

Status UVirtualListView::SetBackColor(platform::Color nNewVal) {
    back_color_value_ = nNewVal;
    ApplyColorsToList();
    NotifyChanged("BackColor");
    return {};
}

Status UVirtualListView::SetForeColor(platform::Color nNewVal) {
    fore_color_value_ = nNewVal;
    ApplyColorsToList();
    NotifyChanged("ForeColor");
    return {};
}

Status UVirtualListView::SetFont(platform::FontRef oNewVal) {
    if (!oNewVal) return MakeError(ErrorCode::kInvalidCall, "no font object");
    list_font_ = std::move(oNewVal);
    ApplyFontToList();
    NotifyChanged("Font");
    return {};
}

Status UVirtualListView::RequireRunTime() const {
    if (design_mode_) return MakeError(ErrorCode::kRunTimeOnly);
    return {};
}

platform::Result<bool> UVirtualListView::FontBold() const {
    if (Status s = RequireRunTime(); !s) return s.error();
    return list_font_->bold();
}
platform::Result<bool> UVirtualListView::FontItalic() const {
    if (Status s = RequireRunTime(); !s) return s.error();
    return list_font_->italic();
}
platform::Result<bool> UVirtualListView::FontStrikethru() const {
    if (Status s = RequireRunTime(); !s) return s.error();
    return list_font_->strikethrough();
}
platform::Result<bool> UVirtualListView::FontUnderline() const {
    if (Status s = RequireRunTime(); !s) return s.error();
    return list_font_->underline();
}
platform::Result<std::string> UVirtualListView::FontName() const {
    if (Status s = RequireRunTime(); !s) return s.error();
    return list_font_->name();
}
platform::Result<float> UVirtualListView::FontSize() const {
    if (Status s = RequireRunTime(); !s) return s.error();
    return list_font_->size();
}

// The attribute setters change the shared font object in place; the list is
// handed the object again so that it measures its rows anew.
Status UVirtualListView::SetFontBold(bool bNewVal) {
    if (Status s = RequireRunTime(); !s) return s;
    list_font_->set_bold(bNewVal);
    ApplyFontToList();
    return {};
}
Status UVirtualListView::SetFontItalic(bool bNewVal) {
    if (Status s = RequireRunTime(); !s) return s;
    list_font_->set_italic(bNewVal);
    ApplyFontToList();
    return {};
}
Status UVirtualListView::SetFontStrikethru(bool bNewVal) {
    if (Status s = RequireRunTime(); !s) return s;
    list_font_->set_strikethrough(bNewVal);
    ApplyFontToList();
    return {};
}
Status UVirtualListView::SetFontUnderline(bool bNewVal) {
    if (Status s = RequireRunTime(); !s) return s;
    list_font_->set_underline(bNewVal);
    ApplyFontToList();
    return {};
}
Status UVirtualListView::SetFontName(const std::string& sNewVal) {
    if (Status s = RequireRunTime(); !s) return s;
    if (Status s = list_font_->set_name(sNewVal); !s) return s;
    ApplyFontToList();
    return {};
}
Status UVirtualListView::SetFontSize(float sngNewVal) {
    if (Status s = RequireRunTime(); !s) return s;
    if (Status s = list_font_->set_size(sngNewVal); !s) return s;
    ApplyFontToList();
    return {};
}

platform::Result<int16_t> UVirtualListView::ListCount() const {
    if (Status s = RequireRunTime(); !s) return s.error();
    if (item_count_ > std::numeric_limits<int16_t>::max() ||
        item_count_ < std::numeric_limits<int16_t>::min()) {
        return MakeError(ErrorCode::kOverflow);
    }
    return static_cast<int16_t>(item_count_);
}

void UVirtualListView::SetMouseIcon(platform::PictureRef oNewVal) {
    mouse_icon_value_ = std::move(oNewVal);
    SetMousePointer(mouse_pointer_value_);
}

void UVirtualListView::SetMousePointer(int16_t nNewVal) {
    mouse_pointer_value_ = nNewVal;
    using platform::controls::MousePointer;
    std::optional<platform::Cursor> cursor;
    switch (nNewVal) {
        case platform::controls::kPointerArrow:
            cursor = platform::Cursor{};
            break;
        case platform::controls::kPointerIBeam:
            cursor = platform::Cursor{platform::CursorShape::kIBeam, {}, {}};
            break;
        case platform::controls::kPointerHourglass:
            cursor = platform::Cursor{platform::CursorShape::kWait, {}, {}};
            break;
        case platform::controls::kPointerCustom:
            if (mouse_icon_value_) {
                cursor = platform::Cursor{platform::CursorShape::kCustom, mouse_icon_value_, {}};
            }
            break;
        default:
            break;
    }
    platform::SetWindowCursor(list_, cursor);
}

bool UVirtualListView::FullRowSelect() const {
    if (design_mode_) return false;
    return (SendToList(platform::LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) &
            platform::LVS_EX_FULLROWSELECT) != 0;
}

Status UVirtualListView::SetFullRowSelect(bool vNewValue) {
    auto style = static_cast<uint32_t>(SendToList(platform::LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    bool has = (style & platform::LVS_EX_FULLROWSELECT) != 0;
    if (has == vNewValue) return {};
    style ^= platform::LVS_EX_FULLROWSELECT;
    SendToList(platform::LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style));
    return {};
}

bool UVirtualListView::ShowGridLines() const {
    if (design_mode_) return false;
    return (SendToList(platform::LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) &
            platform::LVS_EX_GRIDLINES) != 0;
}

Status UVirtualListView::SetShowGridLines(bool vNewValue) {
    // Switching grid lines off clears the bit too, so that the property
    // reads back what was set.
    auto style = static_cast<uint32_t>(SendToList(platform::LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    bool has = (style & platform::LVS_EX_GRIDLINES) != 0;
    if (has == vNewValue) return {};
    style ^= platform::LVS_EX_GRIDLINES;
    SendToList(platform::LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style));
    return {};
}

int32_t UVirtualListView::TopIndex() const {
    return static_cast<int32_t>(SendToList(platform::LVM_GETTOPINDEX, 0, 0));
}

Status UVirtualListView::SetTopIndex(int32_t nNewIndex) {
    platform::Rect row;
    row.left = platform::LVIR_BOUNDS;
    SendToList(platform::LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    int32_t height = 0;
    if (__builtin_sub_overflow(row.bottom, row.top, &height)) {
        return MakeError(ErrorCode::kOverflow);
    }
    int32_t current = TopIndex();
    int32_t rows = 0;
    int32_t dy = 0;
    if (nNewIndex > current) {
        if (__builtin_sub_overflow(nNewIndex, current, &rows) ||
            __builtin_mul_overflow(rows, height, &dy)) {
            return MakeError(ErrorCode::kOverflow);
        }
    } else if (nNewIndex < current) {
        if (__builtin_sub_overflow(current, nNewIndex, &rows) ||
            __builtin_mul_overflow(rows, height, &dy) ||
            dy == std::numeric_limits<int32_t>::min()) {
            return MakeError(ErrorCode::kOverflow);
        }
        dy = -dy;
    }
    SendToList(platform::LVM_SCROLL, 0, static_cast<LPARAM>(dy));
    return {};
}

// --- the component window -------------------------------------------------------------------

void UVirtualListView::Resize() {
    if (resizing_ || !platform::IsWindow(list_)) return;
    resizing_ = true;
    platform::HWND self = UChWnd();
    platform::Rect client = platform::GetClientRect(self);
    platform::MoveWindow(list_, 0, 0, client.width(), client.height(), true);
    int32_t list_height = platform::GetWindowRect(list_).height();
    if (list_height != client.height()) {
        // The list kept another height (whole rows, say): the component
        // follows it so that no strip of the component shows under the list.
        platform::Rect outer = platform::GetWindowRect(self);
        platform::HWND parent = platform::GetParent(self);
        platform::Point top_left =
            platform::MapWindowPoint(platform::HWND{}, parent, outer.top_left());
        int32_t frame = outer.height() - client.height();
        platform::MoveWindow(self, top_left.x, top_left.y, outer.width(), list_height + frame,
                             true);
    }
    resizing_ = false;
}

LRESULT UVirtualListView::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case platform::WM_SIZE:
            Resize();
            return 0;
        case platform::WM_SETFOCUS:
            // The component itself never keeps the focus.
            if (!design_mode_ && platform::IsWindow(list_)) platform::SetFocus(list_);
            return 0;
        case platform::WM_ERASEBKGND:
            return 1;
        default:
            return Control::HandleMessage(msg, wp, lp);
    }
}

void UVirtualListView::ReportState(platform::Json& out) const {
    out.Set("item_count", platform::Json(item_count_));
    out.Set("design_mode", platform::Json(design_mode_));
    out.Set("subclassed", platform::Json(prev_list_proc_ != nullptr));
    out.Set("top_index", platform::Json(TopIndex()));
    platform::Json events = platform::Json::MakeArray();
    for (const std::string& e : recent_events_) events.Push(e);
    out.Set("events", std::move(events));
}

void UVirtualListView::NoteEvent(std::string line) {
    if (recent_events_.size() >= kRecentEventCount) recent_events_.pop_front();
    recent_events_.push_back(std::move(line));
}

}  // namespace virtual_list
