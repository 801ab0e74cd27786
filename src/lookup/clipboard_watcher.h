// SPDX-License-Identifier: GPL-3.0-or-later
// The clipboard watcher's decision, apart from the timer and the window:
// given what the clipboard holds now, whether to look it up, and what to
// remember so the same text is not looked up twice.
#pragma once

#include <optional>
#include <string>

namespace lookup {

class ClipboardWatcher {
  public:
    // A text of this many characters or more is remembered but not looked up.
    static constexpr size_t kMaxLookupLength = 25;

    // One tick: `clipboard` is the clipboard text in program bytes, or none
    // when it holds no text. Returns the trimmed text to look up, if any.
    std::optional<std::string> Tick(const std::optional<std::string>& clipboard);

    const std::string& last_text() const { return last_text_; }

  private:
    std::string last_text_;  // untrimmed, as taken over
};

}  // namespace lookup
