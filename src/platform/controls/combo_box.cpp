// SPDX-License-Identifier: GPL-3.0-or-later
// The editable drop-down combo box: editing, the Preeti typing burst, the
// clipboard, the drop-down list window and the drawing of both.
//
// While the list is down the combo box holds the mouse capture, as such
// lists do, so a click anywhere else closes the list without reaching the
// window under it, and the list window never becomes active (the field
// keeps the focus and the keyboard). Presses on the list's scroll bar are
// forwarded to it.
#include "platform/controls/combo_box.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/controls/classic_look.h"
#include "platform/os/clipboard_text.h"
#include "platform/preeti/preeti.h"
#include "platform/text.h"

namespace platform::controls {

namespace {

constexpr const char* kClassName = "KvComboBox";
constexpr const char* kListClassName = "KvComboList";
constexpr const char* kListProp = "kv.combo";
constexpr int32_t kTextPad = 2;  // pixels between the border and the text
// Text on each side of a cut that decides whether it is one (a syllable is
// far shorter).
constexpr int32_t kCutContext = 64;
// How far before the measured end the width is kept: far enough that the
// bytes a typing burst rewrites (see PreetiComposer) leave it standing.
constexpr int32_t kKeptBack = 4 * kCutContext;
constexpr int32_t kWheelRows = 3;

}  // namespace

ComboBox::ComboBox(HWND parent, const std::string& name, const Rect& r, const std::string& text) {
    back_color_ = SystemColor(COLOR_WINDOW);
    fore_color_ = SystemColor(COLOR_WINDOWTEXT);
    edit_.SetText(text);
    edit_.MoveCaret(0, false);
    Create(parent, kClassName, name, r, WS_VISIBLE | WS_TABSTOP);
    SetWindowCursor(hwnd_, Cursor{CursorShape::kIBeam, {}, {}});
}

ComboBox::~ComboBox() {
    CloseList();
}

// --- text and selection ----------------------------------------------------------

bool ComboBox::preeti_face() const {
    return TextEngine::Instance().IsPreetiFace(font_->name());
}

void ComboBox::set_text(std::string bytes) {
    // The program's text is kept as given (only cut to the field's size):
    // what it sets is what it reads back.
    edit_.SetText(bytes);
    scroll_x_ = 0;
    TextChanged();
    if (on_change) on_change();
}

void ComboBox::set_sel_start(int32_t start) {
    MoveCaret(start, false);
}

void ComboBox::set_sel_length(int32_t length) {
    edit_.SetSelLength(length);
    InvalidateRect(hwnd_);
}

void ComboBox::set_sel_text(const std::string& bytes) {
    ReplaceSelection(WithoutControls(bytes));
}

void ComboBox::Changed(bool text_changed) {
    if (!text_changed) return;
    TextChanged();
    if (on_change) on_change();
}

void ComboBox::TextChanged() {
    if (edit_.unchanged_prefix() < measured_.bytes + kCutContext) measured_.bytes = 0;
    edit_.ForgetChanges();
    auto it = std::find(items_.begin(), items_.end(), edit_.text());
    list_index_ = it == items_.end() ? -1 : static_cast<int32_t>(it - items_.begin());
    ScrollCaretIntoView();
    InvalidateRect(hwnd_);
}

void ComboBox::MoveCaret(int32_t pos, bool extend) {
    edit_.MoveCaret(pos, extend);
    ScrollCaretIntoView();
    InvalidateRect(hwnd_);
}

void ComboBox::Copy() const {
    if (sel_length() == 0) return;
    SetClipboardTextUtf8(os::ProgramTextToClipboard(sel_text(), preeti_face()));
}

void ComboBox::Cut() {
    if (sel_length() == 0) return;
    Copy();
    ReplaceSelection({});
}

void ComboBox::Paste() {
    auto utf8 = GetClipboardTextUtf8();
    if (!utf8) return;
    // Only the first line goes into a one-line field.
    std::string_view line(*utf8);
    line = line.substr(0, std::min(line.find('\r'), line.find('\n')));
    std::string bytes = preeti_face() ? os::ClipboardToProgramText(line)
                                      : preeti::Utf8ToCp1252(line).value_or(std::string());
    bytes = WithoutControls(bytes);
    if (bytes.empty()) return;
    ReplaceSelection(bytes);
}

void ComboBox::SelectWordAt(int32_t pos) {
    edit_.SelectWordAt(pos);
    ScrollCaretIntoView();
    InvalidateRect(hwnd_);
}

void ComboBox::HandleEditKey(int16_t code, int16_t shift) {
    const bool sh = shift & kShiftMask;
    const bool ctrl = shift & kCtrlMask;
    const int32_t len = edit_.size();
    const int32_t caret = edit_.caret();
    switch (code) {
        case VK_LEFT:
            if (ctrl) {
                MoveCaret(edit_.WordLeft(caret), sh);
            } else if (!sh && sel_length() > 0) {
                MoveCaret(sel_start(), false);
            } else {
                MoveCaret(caret - 1, sh);
            }
            break;
        case VK_RIGHT:
            if (ctrl) {
                MoveCaret(edit_.WordRight(caret), sh);
            } else if (!sh && sel_length() > 0) {
                MoveCaret(sel_start() + sel_length(), false);
            } else {
                MoveCaret(caret + 1, sh);
            }
            break;
        case VK_HOME:
            MoveCaret(0, sh);
            break;
        case VK_END:
            MoveCaret(len, sh);
            break;
        case VK_DELETE:
            if (sh) {
                Cut();
            } else {
                Changed(edit_.Delete());
            }
            break;
        case VK_INSERT:
            if (ctrl) {
                Copy();
            } else if (sh) {
                Paste();
            }
            break;
        case VK_F4:
            ShowDropDown(!dropped_);
            break;
        case 'A':
            if (ctrl) {
                edit_.SelectAll();
                ScrollCaretIntoView();
                InvalidateRect(hwnd_);
            }
            break;
        case 'C':
            if (ctrl) Copy();
            break;
        case 'X':
            if (ctrl) Cut();
            break;
        case 'V':
            if (ctrl) Paste();
            break;
        default:
            break;
    }
}

// --- the list ---------------------------------------------------------------------

Status ComboBox::AddItem(std::string item, int32_t index) {
    const int32_t n = list_count();
    if (index < -1 || index > n) return MakeError(ErrorCode::kInvalidCall, "invalid item index");
    if (index == -1) index = n;
    items_.insert(items_.begin() + index, std::move(item));
    if (list_index_ >= index) ++list_index_;
    if (dropped_) LayoutList();
    return Status::Ok();
}

Status ComboBox::RemoveItem(int32_t index) {
    if (index < 0 || index >= list_count())
        return MakeError(ErrorCode::kInvalidCall, "invalid item index");
    items_.erase(items_.begin() + index);
    if (list_index_ == index) {
        list_index_ = -1;
    } else if (list_index_ > index) {
        --list_index_;
    }
    if (hot_ >= list_count()) hot_ = list_count() - 1;
    if (dropped_) LayoutList();
    return Status::Ok();
}

void ComboBox::Clear() {
    items_.clear();
    list_index_ = -1;
    hot_ = -1;
    top_ = 0;
    if (dropped_) LayoutList();
}

std::string ComboBox::list(int32_t index) const {
    if (index < 0 || index >= list_count()) return {};
    return items_[static_cast<size_t>(index)];
}

Status ComboBox::set_list_index(int32_t index) {
    if (index < -1 || index >= list_count())
        return MakeError(ErrorCode::kInvalidPropertyValue, "invalid list index");
    if (index == -1) {
        list_index_ = -1;
        return Status::Ok();
    }
    Choose(index);
    return Status::Ok();
}

void ComboBox::ShowDropDown(bool show) {
    if (show) {
        OpenList();
    } else {
        CloseList();
    }
}

int32_t ComboBox::ItemHeight() const {
    const FontMetrics m = TextEngine::Instance().Metrics(font_->desc());
    return std::max(1, static_cast<int32_t>(std::ceil(m.height)));
}

int32_t ComboBox::VisibleRows() const {
    return std::clamp(list_count(), 1, kVisibleItems);
}

void ComboBox::OpenList() {
    if (dropped_ || !IsWindowEnabled(hwnd_) || !IsWindowVisible(hwnd_)) return;
    if (!IsClassRegistered(kListClassName))
        RegisterClass({kListClassName, &ComboBox::ListProc, 0, kNoBackground, {}});
    list_hwnd_ = CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kListClassName,
                                "", WS_POPUP, 0, 0, 1, 1, GetAncestorTopLevel(hwnd_));
    if (!list_hwnd_) return;
    SetProp(list_hwnd_, kListProp, reinterpret_cast<intptr_t>(this));
    SetWindowName(list_hwnd_, name_ + "List");
    dropped_ = true;
    hot_ = list_index_;
    top_ = 0;
    LayoutList();
    if (hot_ >= 0) SetHot(hot_, true);
    ShowWindow(list_hwnd_, SW_SHOWNA);
    SetCapture(hwnd_);
    InvalidateRect(hwnd_);
    if (on_drop_down) on_drop_down();
}

void ComboBox::CloseList(bool keep_capture) {
    if (!dropped_) return;
    dropped_ = false;
    forwarding_bar_ = false;
    press_in_list_ = false;
    opening_press_ = false;
    button_down_ = false;
    list_bar_.reset();
    HWND list = list_hwnd_;
    list_hwnd_ = {};
    if (IsWindow(list)) DestroyWindow(list);
    if (!keep_capture && GetCapture() == hwnd_) ReleaseCapture();
    if (IsWindow(hwnd_)) InvalidateRect(hwnd_);
}

void ComboBox::LayoutList() {
    if (!dropped_ || !IsWindow(list_hwnd_)) return;
    const int32_t rows = VisibleRows();
    const int32_t width = GetClientRect(hwnd_).width();
    const int32_t height = rows * ItemHeight() + 2;
    const Rect combo = GetWindowRect(hwnd_);
    int32_t y = combo.bottom;
    // A list that would leave the screen opens upwards instead.
    if (y + height > GetSystemMetrics(SM_CYSCREEN) && combo.top - height >= 0)
        y = combo.top - height;
    MoveWindow(list_hwnd_, combo.left, y, width, height, true);

    if (list_count() > kVisibleItems) {
        const int32_t bar_width = GetSystemMetrics(SM_CXVSCROLL);
        const Rect bar = Rect{width - 1 - bar_width, 1, width - 1, height - 1};
        if (!list_bar_) {
            list_bar_ = std::make_unique<ScrollBar>(list_hwnd_, name_ + "ListBar", bar);
            list_bar_->on_change = [this] { SetTopIndex(list_bar_->value()); };
            list_bar_->on_scroll = list_bar_->on_change;
        } else {
            list_bar_->Move(bar);
        }
        (void)list_bar_->set_max(list_count() - rows);
        (void)list_bar_->set_large_change(rows);
    } else {
        list_bar_.reset();
    }
    SetTopIndex(top_);
    InvalidateRect(list_hwnd_);
}

int32_t ComboBox::ListItemAt(Point screen) const {
    if (!IsWindow(list_hwnd_)) return -1;
    const Point p = ScreenToClient(list_hwnd_, screen);
    Rect items = GetClientRect(list_hwnd_).inflate(-1, -1);
    if (list_bar_) items.right = list_bar_->bounds().left;
    if (!items.contains(p)) return -1;
    const int32_t index = top_ + (p.y - items.top) / ItemHeight();
    return index < list_count() ? index : -1;
}

void ComboBox::SetTopIndex(int32_t top) {
    top = std::clamp(top, 0, std::max(0, list_count() - VisibleRows()));
    const bool moved = top != top_;
    top_ = top;
    if (list_bar_) (void)list_bar_->set_value(top_);
    if (moved && IsWindow(list_hwnd_)) InvalidateRect(list_hwnd_);
}

void ComboBox::SetHot(int32_t index, bool scroll_into_view) {
    index = std::clamp(index, -1, list_count() - 1);
    if (index != hot_) {
        hot_ = index;
        if (IsWindow(list_hwnd_)) InvalidateRect(list_hwnd_);
    }
    if (scroll_into_view && hot_ >= 0) {
        if (hot_ < top_) {
            SetTopIndex(hot_);
        } else if (hot_ >= top_ + VisibleRows()) {
            SetTopIndex(hot_ - VisibleRows() + 1);
        }
    }
}

void ComboBox::Choose(int32_t index) {
    CloseList();
    if (index < 0 || index >= list_count()) return;
    // The chosen text comes selected, ready to be typed over.
    edit_.SetText(items_[static_cast<size_t>(index)], true);
    scroll_x_ = 0;
    TextChanged();
    list_index_ = index;
    HWND self = hwnd_;
    if (on_change) on_change();
    if (IsWindow(self) && on_click) on_click();
}

bool ComboBox::ListMouse(UINT msg, WPARAM wp, LPARAM lp) {
    const Point client{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    const Point screen = ClientToScreen(hwnd_, client);
    auto forward = [&](UINT m) {
        HWND bar = list_bar_->hwnd();
        const Point p = ScreenToClient(bar, screen);
        SendMessage(bar, m, wp, MAKELPARAM(p.x, p.y));
    };
    switch (msg) {
        case WM_MOUSEMOVE:
            if (forwarding_bar_ && list_bar_) {
                forward(WM_MOUSEMOVE);
            } else if (int32_t i = ListItemAt(screen); i >= 0) {
                SetHot(i, false);
            }
            return true;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (list_bar_ && GetWindowRect(list_bar_->hwnd()).contains(screen)) {
                forwarding_bar_ = true;
                forward(WM_LBUTTONDOWN);
                return true;
            }
            if (GetWindowRect(list_hwnd_).contains(screen)) {
                press_in_list_ = true;
                if (int32_t i = ListItemAt(screen); i >= 0) SetHot(i, false);
                return true;
            }
            if (ButtonRect().contains(client)) {
                CloseList();
                return true;
            }
            // A press in the field closes the list and then edits as usual.
            // Anywhere else it only closes the list, and the capture stays
            // until the button comes up so the release is not taken for a
            // click by the window under the pointer.
            if (FieldRect().contains(client)) {
                CloseList();
                return false;
            }
            CloseList(true);
            eat_release_ = true;
            return true;
        case WM_LBUTTONUP: {
            if (forwarding_bar_) {
                forwarding_bar_ = false;
                if (list_bar_) forward(WM_LBUTTONUP);
                return true;
            }
            const bool may_choose = press_in_list_ || opening_press_;
            press_in_list_ = false;
            opening_press_ = false;
            if (button_down_) {
                button_down_ = false;
                InvalidateRect(hwnd_);
            }
            // Releasing over an item chooses it, also at the end of the
            // press that opened the list and was dragged into it.
            const int32_t i = ListItemAt(screen);
            if (may_choose && i >= 0) Choose(i);
            return true;
        }
        case WM_MOUSEWHEEL: {
            const int32_t notches = static_cast<int16_t>(HIWORD(wp)) / 120;
            SetTopIndex(top_ - notches * kWheelRows);
            return true;
        }
        default:
            return false;
    }
}

bool ComboBox::ListKey(int16_t code) {
    switch (code) {
        case VK_UP:
            SetHot(hot_ < 0 ? 0 : std::max(0, hot_ - 1), true);
            return true;
        case VK_DOWN:
            SetHot(std::min(list_count() - 1, hot_ + 1), true);
            return true;
        case VK_PRIOR:
            SetHot(std::max(0, hot_ - VisibleRows()), true);
            return true;
        case VK_NEXT:
            SetHot(std::min(list_count() - 1, std::max(0, hot_ + VisibleRows())), true);
            return true;
        case VK_RETURN:
            if (hot_ >= 0) {
                Choose(hot_);
            } else {
                CloseList();
            }
            return true;
        case VK_ESCAPE:
        case VK_F4:
            CloseList();
            return true;
        case VK_TAB:
            CloseList();
            return false;
        default:
            return false;
    }
}

LRESULT ComboBox::ListProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<ComboBox*>(GetProp(h, kListProp));
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            auto dc = BeginPaint(h, &ps);
            if (dc && self) self->PaintList(*dc);
            EndPaint(h, &ps);
            return 0;
        }
        case WM_REPORTSTATE:
            if (self) {
                auto* out = reinterpret_cast<Json*>(lp);
                out->Set("top_index", self->top_);
                out->Set("hot_index", self->hot_);
            }
            return 0;
        case WM_NCDESTROY:
            RemoveProp(h, kListProp);
            break;
        default:
            break;
    }
    return DefWindowProc(h, msg, wp, lp);
}

// --- geometry and drawing ------------------------------------------------------

Rect ComboBox::ButtonRect() const {
    const Rect inner = GetClientRect(hwnd_).inflate(-2, -2);
    const int32_t w = std::min(GetSystemMetrics(SM_CXVSCROLL), std::max(0, inner.width()));
    return {inner.right - w, inner.top, inner.right, inner.bottom};
}

Rect ComboBox::FieldRect() const {
    Rect inner = GetClientRect(hwnd_).inflate(-2, -2);
    inner.right = ButtonRect().left;
    return inner.empty() ? Rect{} : inner;
}

float ComboBox::PrefixWidth(int32_t bytes) const {
    bytes = std::clamp(bytes, 0, edit_.size());
    if (bytes == 0) return 0;
    TextEngine& engine = TextEngine::Instance();
    const FontDesc& font = font_->desc();
    const std::string_view text(edit_.text());
    // A cut with this much unchanged text after it is a cut still, so the
    // width up to it holds; from there only the rest is measured.
    const int32_t usable = std::min(edit_.unchanged_prefix(), bytes) - kCutContext;
    if (measured_.font != font || measured_.bytes > usable) measured_ = {font, 0, 0};
    if (bytes < 2 * kKeptBack) return engine.Measure(font, text.substr(0, bytes)).width;
    const int32_t from = measured_.bytes;
    std::vector<double> widths;
    if (!engine.MeasureCuts(font, text.substr(from, bytes - from), widths)) {
        // Widths that do not add up across cuts: the whole prefix.
        measured_.bytes = 0;
        return engine.Measure(font, text.substr(0, bytes)).width;
    }
    const double width = measured_.width + widths.back();
    for (int32_t k = bytes - from - kKeptBack; k > 0; --k) {
        if (widths[k] != TextEngine::kNoCut) {
            measured_.bytes = from + k;
            measured_.width += widths[k];
            break;
        }
    }
    return static_cast<float>(width);
}

int32_t ComboBox::OffsetAt(int32_t x) const {
    const float local = static_cast<float>(x - FieldRect().left - kTextPad + scroll_x_);
    // Widths grow with the prefix, so a binary search finds the first
    // prefix reaching the point; the nearer of it and the one before wins.
    int32_t lo = 0, hi = edit_.size();
    while (lo < hi) {
        const int32_t mid = (lo + hi) / 2;
        if (PrefixWidth(mid) < local) {
            lo = mid + 1;
        } else {
            hi = mid;
        }
    }
    if (lo > 0 && local - PrefixWidth(lo - 1) < PrefixWidth(lo) - local) return lo - 1;
    return lo;
}

void ComboBox::ScrollCaretIntoView() {
    const int32_t avail = FieldRect().width() - 2 * kTextPad;
    if (avail <= 0) return;
    const int32_t x = static_cast<int32_t>(std::lround(PrefixWidth(edit_.caret())));
    // Jump by a quarter of the field so typing at the edge does not scroll
    // on every key.
    if (x - scroll_x_ > avail) scroll_x_ = x - avail + avail / 4;
    if (x < scroll_x_) scroll_x_ = std::max(0, x - avail / 4);
    const int32_t total = static_cast<int32_t>(std::lround(PrefixWidth(edit_.size())));
    if (scroll_x_ > 0 && total - scroll_x_ < avail) scroll_x_ = std::max(0, total - avail);
}

void ComboBox::Paint(DC& dc) {
    const Rect client = GetClientRect(hwnd_);
    const bool enabled = IsWindowEnabled(hwnd_);
    const bool focused = GetFocus() == hwnd_;
    classic::SunkenEdge(dc, client);
    const Rect field = FieldRect();
    dc.FillRect(field, enabled ? EffectiveBackColor() : SystemColor(COLOR_BTNFACE));

    const Rect button = ButtonRect();
    const bool pressed = button_down_ && dropped_;
    if (pressed) {
        classic::FlatPressed(dc, button);
    } else {
        classic::RaisedEdge(dc, button);
    }
    classic::Arrow(dc, pressed ? button.offset(1, 1) : button, classic::ArrowDirection::kDown,
                   enabled ? SystemColor(COLOR_BTNTEXT) : SystemColor(COLOR_GRAYTEXT));

    if (field.empty()) return;
    const FontDesc& font = font_->desc();
    const float line = TextEngine::Instance().Metrics(font).height;
    const float x0 = static_cast<float>(field.left + kTextPad - scroll_x_);
    const float y0 = std::floor(static_cast<float>(field.top) + (field.height() - line) / 2.0f);
    dc.SetFont(font);
    dc.SetBkMode(BkMode::kTransparent);
    dc.SetClip(Region::FromRect(field));
    dc.SetTextColor(enabled ? EffectiveForeColor() : SystemColor(COLOR_GRAYTEXT));
    dc.TextOut(x0, y0, edit_.text());

    if (focused && sel_length() > 0) {
        const int32_t left = static_cast<int32_t>(std::lround(x0 + PrefixWidth(sel_start())));
        const int32_t right =
            static_cast<int32_t>(std::lround(x0 + PrefixWidth(sel_start() + sel_length())));
        const Rect band = Rect{std::min(left, right), static_cast<int32_t>(y0),
                               std::max(left, right), static_cast<int32_t>(std::ceil(y0 + line))}
                              .intersect(field);
        if (!band.empty()) {
            // The whole text is drawn again in the highlight colours, clipped
            // to the band, so shaped Devanagari stays whole at its edges.
            dc.FillRect(band, SystemColor(COLOR_HIGHLIGHT));
            dc.SetClip(Region::FromRect(band));
            dc.SetTextColor(SystemColor(COLOR_HIGHLIGHTTEXT));
            dc.TextOut(x0, y0, edit_.text());
            dc.SetClip(Region::FromRect(field));
        }
    }
    if (focused) {
        const int32_t cx = static_cast<int32_t>(std::lround(x0 + PrefixWidth(edit_.caret())));
        dc.FillRect(
            {cx, static_cast<int32_t>(y0), cx + 1, static_cast<int32_t>(std::ceil(y0 + line))},
            SystemColor(COLOR_WINDOWTEXT));
    }
}

void ComboBox::PaintList(DC& dc) {
    const Rect client = GetClientRect(list_hwnd_);
    dc.FillRect(client, SystemColor(COLOR_WINDOW));
    dc.FrameRect(client, SystemColor(COLOR_WINDOWFRAME));
    Rect items = client.inflate(-1, -1);
    if (list_bar_) items.right = list_bar_->bounds().left;
    const int32_t ih = ItemHeight();
    dc.SetFont(font_->desc());
    dc.SetBkMode(BkMode::kTransparent);
    dc.SetClip(Region::FromRect(items));
    for (int32_t row = 0; row < VisibleRows(); ++row) {
        const int32_t index = top_ + row;
        if (index >= list_count()) break;
        const Rect r{items.left, items.top + row * ih, items.right, items.top + (row + 1) * ih};
        const bool hot = index == hot_;
        if (hot) dc.FillRect(r, SystemColor(COLOR_HIGHLIGHT));
        dc.SetTextColor(hot ? SystemColor(COLOR_HIGHLIGHTTEXT) : EffectiveForeColor());
        dc.TextOut(static_cast<float>(r.left + kTextPad), static_cast<float>(r.top),
                   items_[static_cast<size_t>(index)]);
    }
}

// --- messages --------------------------------------------------------------------

LRESULT ComboBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    const Point pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    HWND self = hwnd_;
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            if (dropped_ && ListMouse(msg, wp, lp)) return 0;
            if (GetFocus() != self) ::platform::SetFocus(self);
            if (!IsWindow(self)) return 0;
            if (ButtonRect().contains(pt)) {
                button_down_ = true;
                opening_press_ = true;
                OpenList();
                return 0;
            }
            if (!FieldRect().contains(pt)) return 0;
            if (msg == WM_LBUTTONDBLCLK) {
                SelectWordAt(OffsetAt(pt.x));
                return 0;
            }
            MoveCaret(OffsetAt(pt.x), (wp & MK_SHIFT) != 0);
            selecting_ = true;
            SetCapture(self);
            return 0;
        }
        case WM_MOUSEMOVE:
            if (eat_release_) return 0;
            if (dropped_) {
                ListMouse(msg, wp, lp);
            } else if (selecting_) {
                MoveCaret(OffsetAt(pt.x), true);
            }
            return 0;
        case WM_LBUTTONUP:
            if (eat_release_) {
                eat_release_ = false;
                if (GetCapture() == self) ReleaseCapture();
                return 0;
            }
            if (dropped_) {
                ListMouse(msg, wp, lp);
            } else if (selecting_) {
                selecting_ = false;
                if (GetCapture() == self) ReleaseCapture();
            }
            return 0;
        case WM_CAPTURECHANGED:
            if (HwndFromParam(lp) != self) {
                selecting_ = false;
                eat_release_ = false;
                CloseList();
            }
            return 0;
        case WM_MOUSEWHEEL:
            if (dropped_) {
                ListMouse(msg, wp, lp);
                return 0;
            }
            break;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_KEYDOWN: {
            int16_t code = static_cast<int16_t>(wp);
            // While the list is down its keys belong to the list.
            if (dropped_ && ListKey(code)) return 0;
            const int16_t shift = ShiftState();
            if (on_key_down) on_key_down(code, shift);
            if (!IsWindow(self) || code == 0) return 0;
            HandleEditKey(code, shift);
            return 0;
        }
        case WM_SYSKEYDOWN:
            if (wp == VK_DOWN || wp == VK_UP) {
                ShowDropDown(!dropped_);
                return 0;
            }
            break;
        case WM_CHAR: {
            uint32_t cp = static_cast<uint32_t>(wp);
            if (on_key_press && cp <= 0x7FFF) {
                int16_t key = static_cast<int16_t>(cp);
                on_key_press(key);
                if (!IsWindow(self) || key == 0) return 0;
                cp = static_cast<uint16_t>(key);
            }
            if (cp == 0x08) {
                Changed(edit_.Backspace());
            } else if (cp >= 0x20 && cp != 0x7F) {
                Changed(composer_.Type(edit_, cp, preeti_face()));
            }
            return 0;
        }
        case WM_SETFOCUS:
            InvalidateRect(self);
            break;  // the base raises on_got_focus
        case WM_KILLFOCUS:
            CloseList();
            selecting_ = false;
            InvalidateRect(self);
            break;
        case WM_ENABLE:
            if (!wp) CloseList();
            InvalidateRect(self);
            return 0;
        case WM_SIZE:
            LayoutList();
            ScrollCaretIntoView();
            InvalidateRect(self);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            auto dc = BeginPaint(self, &ps);
            if (dc) Paint(*dc);
            EndPaint(self, &ps);
            return 0;
        }
        case WM_DESTROY:
            CloseList();
            break;
        default:
            break;
    }
    return Control::HandleMessage(msg, wp, lp);
}

void ComboBox::ReportState(Json& out) const {
    out.Set("text", edit_.text());
    out.Set("sel_start", sel_start());
    out.Set("sel_length", sel_length());
    Json items = Json::MakeArray();
    for (const auto& item : items_) items.Push(item);
    out.Set("items", std::move(items));
    out.Set("list_index", list_index_);
    out.Set("dropped", dropped_);
}

}  // namespace platform::controls
