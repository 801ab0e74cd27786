// SPDX-License-Identifier: GPL-3.0-or-later
// Trimming as the dictionary understands it: leading and trailing spaces
// (0x20) only. Tabs and other blanks are text in Preeti-encoded data.
#pragma once

#include <string_view>

namespace app {

inline std::string_view TrimSpaces(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

}  // namespace app
