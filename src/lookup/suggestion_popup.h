// The suggestion list under the search box: up to eight headwords near a
// text that matches none, in a pop-up like the search box's own drop-down
// (a top-level WS_EX_NOACTIVATE window that never takes the keyboard, so
// typing goes on in the search box while it is up).
//
// The owner drives it: Show with the words and the search box's screen
// rectangle, MoveHot for the arrow keys, Close. A click on a row, or the
// owner on Enter, picks a word through on_pick.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/font.h"
#include "platform/json.h"
#include "platform/window.h"

namespace lookup {

class SuggestionPopup {
  public:
    static constexpr int32_t kMaxRows = 8;

    // `owner` is the main window; `font` draws the rows (a Preeti face).
    SuggestionPopup(platform::HWND owner, platform::FontRef font);
    ~SuggestionPopup();
    SuggestionPopup(const SuggestionPopup&) = delete;
    SuggestionPopup& operator=(const SuggestionPopup&) = delete;

    // Shows `words` (program bytes, at most kMaxRows are kept) in rows just
    // below `anchor`, a rectangle on the screen, no row hot. `romanised`
    // only goes into the state report.
    void Show(const platform::Rect& anchor, std::vector<std::string> words, bool romanised);
    void Close();
    bool open() const { return hwnd_.id != 0; }

    const std::vector<std::string>& words() const { return words_; }
    // The row the arrow keys or the pointer are on, -1 for none.
    int32_t hot() const { return hot_; }
    // Moves the hot row by `delta`, staying within the rows.
    void MoveHot(int32_t delta);

    // A row was picked (its index); the list has closed first.
    std::function<void(int32_t index)> on_pick;

    // "suggestions": the words, "hot", "romanised", "open".
    void ReportState(platform::Json& out) const;

  private:
    static platform::LRESULT Proc(platform::HWND h, platform::UINT msg, platform::WPARAM wp,
                                  platform::LPARAM lp);
    int32_t RowHeight() const;
    int32_t RowAt(platform::Point client) const;
    void SetHot(int32_t row);
    void Pick(int32_t row);
    void Paint(platform::DC& dc);

    platform::HWND owner_;
    platform::FontRef font_;
    platform::HWND hwnd_{};
    std::vector<std::string> words_;
    bool romanised_ = false;
    int32_t hot_ = -1;
    int32_t pressed_ = -1;  // the row a press began on
};

}  // namespace lookup
