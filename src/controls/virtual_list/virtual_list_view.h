// SPDX-License-Identifier: GPL-3.0-or-later
// UVirtualListView: a child-window component that shows a one-column report
// list of any number of rows without storing them.
//
// The component window hosts one inner list window, lvVirtual, of class
// "ListView20WndClass". The inner list is created in owner-data mode (when
// the process-wide switch VirtualListHookEnabled was on at initialisation),
// so it keeps only a row count and asks for each painted cell through a
// notification that the component turns into ItemInfoCallback. The
// message-level half (creation hook, subclassing, notification decoding)
// lives in mvirtual_list_view.h; this header is the component's public face:
// members, events, saved properties, start-up, resizing and shutdown.
//
// The component's own list messages (row count, scrolling, hit testing,
// extended styles) go straight to the inner list's saved previous window
// procedure, so they are sent only once SubClass has run.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/color.h"
#include "platform/controls/control.h"
#include "platform/error.h"
#include "platform/font.h"
#include "platform/geometry.h"
#include "platform/property_bag.h"
#include "platform/window.h"

namespace virtual_list {

class UVirtualListView;
struct ComponentRef;

// System colours the component starts with and saves as defaults.
constexpr platform::Color kDefaultBackColor = 0x80000005u;  // window background
constexpr platform::Color kDefaultForeColor = 0x80000008u;  // window text

// The window class of the component window itself.
inline constexpr const char* kComponentClass = "UVirtualListView";

// The last mouse press on either window, kept until the inner list's next
// timer message turns it into ItemClick. `button` holds the press message
// until then and the button code (1, 2, 4) afterwards.
struct PendingClickRecord {
    int32_t x = 0;
    int32_t y = 0;
    uint32_t button = 0;
    bool click_pending = false;
    bool subclassed = false;  // set by SubClassOnce
};

struct ColumnHeader {
    std::string caption;
    int32_t width = 0;
};

// The inner list's column headers. Owners add columns through it; every
// change is sent to the inner list as it happens.
class ColumnHeaders {
  public:
    explicit ColumnHeaders(UVirtualListView& owner) : owner_(owner) {}

    platform::Status Add(const std::string& caption, int32_t width);
    int32_t Count() const { return static_cast<int32_t>(columns_.size()); }
    // Zero-based; an index out of range fails with error 9.
    platform::Result<ColumnHeader> Item(int32_t index) const;
    platform::Status SetItemCaption(int32_t index, const std::string& caption);
    platform::Status SetItemWidth(int32_t index, int32_t width);

  private:
    UVirtualListView& owner_;
    std::vector<ColumnHeader> columns_;
};

// An opaque drag-and-drop data object. The platform has no drag and drop, so
// none is ever created; the events that carry one are declared for owners
// written against the full interface and are never raised.
struct DataObject;

class UVirtualListView : public platform::controls::Control {
  public:
    // Creates the component window and, inside it, the inner list. When
    // VirtualListHookEnabled is on, the creation hook is installed first so
    // that the inner list comes up owner-data. The host is asked for its
    // ambient properties and told of changed saved properties; it must
    // outlive the component.
    UVirtualListView(platform::HWND parent, platform::ComponentHost& host, const std::string& name,
                     const platform::Rect& bounds);
    ~UVirtualListView() override;

    // --- start-up and saving --------------------------------------------------
    // A new instance without saved properties: ambient font, default colours.
    void InitProperties();
    // Applies "Font", "BackColor" and "ForeColor" in that order, a missing
    // key giving its default. Both calls then decide design mode and either
    // draw the placeholder or subclass the two windows (once).
    void ReadProperties(const platform::PropertyBag& bag);
    void WriteProperties(platform::PropertyBag& bag) const;
    // The host's ambient property `name` changed.
    void AmbientChanged(std::string_view name);

    // --- methods ----------------------------------------------------------------
    platform::Status Refresh();
    // Installs the window-procedure replacement on both windows; a second
    // call first undoes the first.
    void SubClass();
    void UnSubClass();
    void SubClassOnce();
    platform::Status SetItemCount(int32_t nItems);
    platform::Status Clear();
    // Leaves iItem and fFlags alone when no row is under the point.
    platform::Status HitTest(int32_t X, int32_t Y, int32_t& iItem, int32_t& fFlags);
    // Drag and drop does not exist on this platform: these do nothing.
    platform::Status OLEDrag();
    platform::Status ShowWhatsThis();

    // --- properties ---------------------------------------------------------------
    platform::Color BackColor() const { return back_color_value_; }
    platform::Status SetBackColor(platform::Color nNewVal);
    platform::Color ForeColor() const { return fore_color_value_; }
    platform::Status SetForeColor(platform::Color nNewVal);

    // The font object is shared with the inner list: changing an attribute
    // through the Font* members changes it for both.
    const platform::FontRef& Font() const { return list_font_; }
    platform::Status SetFont(platform::FontRef oNewVal);
    platform::Result<bool> FontBold() const;
    platform::Status SetFontBold(bool bNewVal);
    platform::Result<bool> FontItalic() const;
    platform::Status SetFontItalic(bool bNewVal);
    platform::Result<bool> FontStrikethru() const;
    platform::Status SetFontStrikethru(bool bNewVal);
    platform::Result<bool> FontUnderline() const;
    platform::Status SetFontUnderline(bool bNewVal);
    platform::Result<std::string> FontName() const;
    platform::Status SetFontName(const std::string& sNewVal);
    platform::Result<float> FontSize() const;
    platform::Status SetFontSize(float sngNewVal);

    int32_t HelpContextID() const { return help_context_id_; }
    void SetHelpContextID(int32_t nNewVal) { help_context_id_ = nNewVal; }
    int32_t WhatsThisHelpID() const { return whats_this_help_id_; }
    void SetWhatsThisHelpID(int32_t nNewVal) { whats_this_help_id_ = nNewVal; }
    // The component's own window.
    platform::HWND UChWnd() const { return Control::hwnd(); }
    // The inner list's window; owners send list messages to it directly.
    // (Control::hwnd(), reached through a Control reference, is still the
    // component window.)
    platform::HWND hwnd() const { return list_; }
    // Fails with 394 at design time and with 6 when the count does not fit
    // 16 bits.
    platform::Result<int16_t> ListCount() const;
    platform::PictureRef MouseIcon() const { return mouse_icon_value_; }
    void SetMouseIcon(platform::PictureRef oNewVal);
    int16_t MousePointer() const { return mouse_pointer_value_; }
    void SetMousePointer(int16_t nNewVal);
    int16_t OLEDragMode() const { return ole_drag_mode_; }
    void SetOLEDragMode(int16_t nNewVal) { ole_drag_mode_ = nNewVal; }
    int16_t OLEDropMode() const { return ole_drop_mode_; }
    void SetOLEDropMode(int16_t nNewVal) { ole_drop_mode_ = nNewVal; }
    // An owner-data list is never sorted.
    bool Sorted() const { return false; }
    const std::string& TOOLTIPTEXT() const { return tooltip_text_; }
    void SetTOOLTIPTEXT(const std::string& sNewVal) { tooltip_text_ = sNewVal; }
    ColumnHeaders& GetColumnHeaders() { return column_headers_; }
    const ColumnHeaders& GetColumnHeaders() const { return column_headers_; }
    bool FullRowSelect() const;
    platform::Status SetFullRowSelect(bool vNewValue);
    bool ShowGridLines() const;
    platform::Status SetShowGridLines(bool vNewValue);
    int32_t TopIndex() const;
    platform::Status SetTopIndex(int32_t nNewIndex);

    // State the rest of the program and the tests look at.
    bool DesignMode() const { return design_mode_; }
    int32_t ItemCount() const { return item_count_; }
    const PendingClickRecord& PendingClick() const { return pending_click_; }
    // The events raised lately, oldest first ("ItemClick 1 151"), whether
    // or not the owner handles them; MouseMove is left out.
    static constexpr size_t kRecentEventCount = 32;
    const std::deque<std::string>& RecentEvents() const { return recent_events_; }

    // --- events ---------------------------------------------------------------------
    std::function<void()> Click;
    std::function<void()> DblClick;
    std::function<void(int32_t nButton, int32_t nItem)> ItemClick;
    std::function<void(int32_t nColumn)> ColumnClick;
    std::function<void(bool& Cancel, int32_t nItem)> BeforeLabelEdit;
    std::function<void(bool& Cancel, std::string sItemText, int32_t nItem)> AfterLabelEdit;
    std::function<void(platform::controls::Control*& Source, float& X, float& Y)> LVDragDrop;
    std::function<void(platform::controls::Control*& Source, float& X, float& Y, int16_t& State)>
        LVDragOver;
    std::function<void()> LVGotFocus;
    std::function<void(int32_t& lItem)> ravoItemChanged;
    std::function<void(int16_t& KeyCode, int16_t& Shift)> KeyDown;
    std::function<void(int16_t& KeyAscii)> KeyPress;
    std::function<void(int16_t& KeyCode, int16_t& Shift)> KeyUp;
    std::function<void()> LVLostFocus;
    std::function<void(int16_t& Button, int16_t& Shift, float& X, float& Y)> MouseDown;
    std::function<void(int16_t& Button, int16_t& Shift, float& X, float& Y)> MouseMove;
    std::function<void(int16_t& Button, int16_t& Shift, float& X, float& Y)> MouseUp;
    std::function<void(int32_t& Effect)> OLECompleteDrag;
    std::function<void(DataObject*& Data, int32_t& Effect, int16_t& Button, int16_t& Shift,
                       float& X, float& Y)>
        OLEDragDrop;
    std::function<void(DataObject*& Data, int32_t& Effect, int16_t& Button, int16_t& Shift,
                       float& X, float& Y, int16_t& State)>
        OLEDragOver;
    std::function<void(int32_t& Effect, bool& DefaultCursors)> OLEGiveFeedback;
    std::function<void(DataObject*& Data, int16_t& DataFormat)> OLESetData;
    std::function<void(DataObject*& Data, int32_t& AllowedEffects)> OLEStartDrag;
    std::function<void(int32_t lItem, int32_t iSubitem, int32_t fMask, std::string& sText,
                       int32_t& hImage)>
        ItemInfoCallback;

    void ReportState(platform::Json& out) const override;

  protected:
    // The component window's own behaviour, under the subclass: resizing
    // the inner list, passing on the focus, the design-time placeholder.
    platform::LRESULT HandleMessage(platform::UINT msg, platform::WPARAM wp,
                                    platform::LPARAM lp) override;

  private:
    friend class ColumnHeaders;
    friend platform::LRESULT HandleMessage(UVirtualListView& component, platform::HWND hwnd,
                                           platform::UINT msg, platform::WPARAM wp,
                                           platform::LPARAM lp);
    friend platform::LRESULT VirtualListWndProc(platform::HWND hwnd, platform::UINT msg,
                                                platform::WPARAM wp, platform::LPARAM lp);
    friend struct ComponentRef;
    friend ComponentRef ComponentFromWindow(platform::HWND hwnd);
    friend void SubClass(UVirtualListView& component);
    friend void UnSubClass(UVirtualListView& component);
    friend platform::LRESULT DecodeListNotification(UVirtualListView& component,
                                                    const std::shared_ptr<bool>& alive,
                                                    int32_t code, platform::LPARAM lp);

    // Sends a list message straight to the inner list's saved procedure;
    // 0 while the list is not subclassed.
    platform::LRESULT SendToList(platform::UINT msg, platform::WPARAM wp,
                                 platform::LPARAM lp) const;
    void AfterPropertiesRead();
    void ApplyFontToList();
    void ApplyColorsToList();
    void ShowDesignName();
    void Resize();
    platform::Status RequireRunTime() const;
    void NotifyChanged(std::string_view key);
    void NoteEvent(std::string line);

    platform::ComponentHost& host_;
    platform::HWND list_;
    platform::WNDPROC prev_component_proc_ = nullptr;
    platform::WNDPROC prev_list_proc_ = nullptr;
    bool design_mode_ = false;
    int32_t item_count_ = 0;
    PendingClickRecord pending_click_;
    std::deque<std::string> recent_events_;

    platform::FontRef list_font_ = platform::MakeFont();
    platform::Color back_color_value_ = kDefaultBackColor;
    platform::Color fore_color_value_ = kDefaultForeColor;
    int32_t help_context_id_ = 0;
    int32_t whats_this_help_id_ = 0;
    platform::PictureRef mouse_icon_value_;
    int16_t mouse_pointer_value_ = 0;
    int16_t ole_drag_mode_ = 0;
    int16_t ole_drop_mode_ = 0;
    std::string tooltip_text_;
    ColumnHeaders column_headers_{*this};

    // The row text handed to ItemInfoCallback. It is reused for every cell
    // so that painting allocates nothing once the longest text has been
    // seen; a nested request (an owner that pumps messages in the handler)
    // uses its own string instead.
    std::string info_text_;
    int32_t info_depth_ = 0;
    // A left press on the inner list that its release turns into Click.
    bool left_pressed_ = false;
    bool resizing_ = false;
    // Cleared by the destructor; the window procedure holds a copy for the
    // duration of each message so that an owner destroying the component
    // inside an event handler is noticed before anything else is touched.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace virtual_list
