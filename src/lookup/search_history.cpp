// SPDX-License-Identifier: GPL-3.0-or-later
#include "lookup/search_history.h"

namespace lookup {

LoadedHistory ParseHistory(std::string_view stored) {
    LoadedHistory out;
    if (TrimSpaces(stored).empty()) return out;
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (true) {
        size_t comma = stored.find(',', start);
        parts.push_back(stored.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    for (size_t k = 1; k < parts.size(); ++k)
        if (!TrimSpaces(parts[k]).empty()) out.items.emplace_back(parts[k]);
    out.edit_text = std::string(parts[0]);
    return out;
}

std::string ComposeHistory(std::string_view last_search, const std::vector<std::string>& items) {
    std::string s;
    if (!TrimSpaces(last_search).empty()) {
        s.append(last_search);
        s += ',';
    }
    for (const auto& item : items) {
        s += item;
        s += ',';
    }
    if (!s.empty()) s.pop_back();
    return s;
}

}  // namespace lookup
