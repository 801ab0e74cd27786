// SPDX-License-Identifier: GPL-3.0-or-later
#include "lookup/clipboard_watcher.h"

#include "lookup/search_history.h"

namespace lookup {

std::optional<std::string> ClipboardWatcher::Tick(const std::optional<std::string>& clipboard) {
    if (!clipboard) return std::nullopt;
    // Only a change of the trimmed text counts: the same word copied again,
    // with or without spaces round it, is not looked up twice.
    if (TrimSpaces(*clipboard) == TrimSpaces(last_text_)) return std::nullopt;
    last_text_ = *clipboard;
    std::string_view trimmed = TrimSpaces(last_text_);
    if (trimmed.size() >= kMaxLookupLength) return std::nullopt;
    return std::string(trimmed);
}

}  // namespace lookup
