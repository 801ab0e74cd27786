// SPDX-License-Identifier: GPL-3.0-or-later
// The search history's stored form: one settings value holding the last
// confirmed search, then the search box's drop-down items, joined by ",".
// Items never hold a comma (the format has no escaping), so splitting is
// exact.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/trim.h"

namespace lookup {

inline constexpr const char* kHistoryApp = "Tarvik";
inline constexpr const char* kHistorySection = "Data";
inline constexpr const char* kHistoryKey = "History";
inline constexpr const char* kDefaultSearch = "g]kfn";

struct LoadedHistory {
    // The edit text to set (item 0, unchanged); none when the stored value
    // is blank, so the search box keeps its design text.
    std::optional<std::string> edit_text;
    // Items 1.., unchanged, blank ones left out.
    std::vector<std::string> items;
};

using app::TrimSpaces;

LoadedHistory ParseHistory(std::string_view stored);

// `last_search` first when it is not blank, then every item, joined by ",".
std::string ComposeHistory(std::string_view last_search, const std::vector<std::string>& items);

}  // namespace lookup
