// SPDX-License-Identifier: GPL-3.0-or-later
// The editable drop-down combo box: a one-line edit field (caret,
// selection, typing, word moves, clipboard) with a list of items that drops
// down below it.
//
// The text is the program's bytes, kept with its caret and selection by an
// EditText; typed characters become bytes through a PreetiComposer
// (edit_text.h), which turns Devanagari into Preeti bytes syllable by
// syllable when the box's font is a Preeti face.
//
// on_change is raised for every change of the text: typing, deleting,
// pasting, choosing an item, and the program setting the text (even to
// the same text, because the program relies on the change handling running
// when it sets the text). on_click is raised when an item is chosen.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/control.h"
#include "platform/controls/edit_text.h"
#include "platform/controls/scroll_bar.h"
#include "platform/error.h"

namespace platform::controls {

class ComboBox : public Control {
  public:
    ComboBox(HWND parent, const std::string& name, const Rect& r, const std::string& text = {});
    ~ComboBox() override;

    // --- text and selection (byte offsets) ------------------------------
    const std::string& text() const { return edit_.text(); }
    // Replaces the text, puts the caret at its end and raises on_change.
    void set_text(std::string bytes);
    int32_t sel_start() const { return edit_.sel_start(); }
    int32_t sel_length() const { return edit_.sel_length(); }
    std::string sel_text() const { return edit_.sel_text(); }
    // Collapses the selection at `start` (clamped to the text).
    void set_sel_start(int32_t start);
    // Selects `length` bytes from the selection start (clamped).
    void set_sel_length(int32_t length);
    // Replaces the selection, as typing or pasting would.
    void set_sel_text(const std::string& bytes);
    int32_t caret() const { return edit_.caret(); }

    // --- the list ------------------------------------------------------------
    // Index -1 appends; another index outside 0..count fails.
    Status AddItem(std::string item, int32_t index = -1);
    Status RemoveItem(int32_t index);
    void Clear();
    int32_t list_count() const { return static_cast<int32_t>(items_.size()); }
    // The item's text, or empty outside the list.
    std::string list(int32_t index) const;
    // The chosen item, -1 when the text is not one of the items.
    int32_t list_index() const { return list_index_; }
    // Sets the text to the item and raises on_change and on_click; -1 only
    // forgets the chosen item.
    Status set_list_index(int32_t index);

    bool dropped() const { return dropped_; }
    void ShowDropDown(bool show);
    // The item under the pointer or the arrow keys while the list is down.
    int32_t hot_index() const { return hot_; }
    // The drop-down list window (null while closed), for tests and shots.
    HWND list_window() const { return list_hwnd_; }

    // Most text an edit field holds; longer pastes are cut.
    static constexpr int32_t kMaxLength = 32767;
    // Rows the list shows before it needs a scroll bar.
    static constexpr int32_t kVisibleItems = 8;

    void ReportState(Json& out) const override;

    // --- events ------------------------------------------------------------
    std::function<void()> on_change;
    // The list has just dropped down.
    std::function<void()> on_drop_down;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool ClickOnRelease() const override { return false; }

  private:
    // --- editing -------------------------------------------------------------
    bool preeti_face() const;
    // After an edit of the model: when the text changed, the chosen item,
    // the scroll and the picture follow and on_change is raised.
    void Changed(bool text_changed);
    void ReplaceSelection(const std::string& bytes) { Changed(edit_.ReplaceSelection(bytes)); }
    void MoveCaret(int32_t pos, bool extend);
    void Copy() const;
    void Cut();
    void Paste();
    void SelectWordAt(int32_t pos);
    void HandleEditKey(int16_t code, int16_t shift);
    void TextChanged();

    // --- geometry and drawing ------------------------------------------------
    Rect FieldRect() const;   // the text area inside the border
    Rect ButtonRect() const;  // the drop button
    float PrefixWidth(int32_t bytes) const;
    int32_t OffsetAt(int32_t x) const;  // client x to byte offset
    void ScrollCaretIntoView();
    void Paint(DC& dc);

    // --- the list -------------------------------------------------------------
    void OpenList();
    void CloseList(bool keep_capture = false);
    void LayoutList();
    int32_t ItemHeight() const;
    int32_t VisibleRows() const;
    int32_t ListItemAt(Point screen) const;  // -1 outside the items
    void SetHot(int32_t index, bool scroll_into_view);
    void SetTopIndex(int32_t top);
    void Choose(int32_t index);
    void PaintList(DC& dc);
    bool ListMouse(UINT msg, WPARAM wp, LPARAM lp);
    bool ListKey(int16_t code);
    static LRESULT ListProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);

    EditText edit_{kMaxLength};
    PreetiComposer composer_;
    // The width of the text up to a place where it may be cut, well before
    // anything edited since, so that typing at the end measures only what
    // it adds (see PrefixWidth).
    struct MeasuredPrefix {
        FontDesc font;
        int32_t bytes = 0;
        double width = 0;
    };
    mutable MeasuredPrefix measured_;
    int32_t scroll_x_ = 0;  // pixels of text hidden at the left
    bool selecting_ = false;
    bool button_down_ = false;

    std::vector<std::string> items_;
    int32_t list_index_ = -1;
    bool dropped_ = false;
    HWND list_hwnd_;
    std::unique_ptr<ScrollBar> list_bar_;
    int32_t top_ = 0;
    int32_t hot_ = -1;
    bool press_in_list_ = false;   // the current press began on an item
    bool opening_press_ = false;   // the current press opened the list
    bool forwarding_bar_ = false;  // the list's scroll bar is being pressed
    bool eat_release_ = false;     // a press outside closed the list
};

}  // namespace platform::controls
