// SPDX-License-Identifier: GPL-3.0-or-later
// Small helpers shared by the HTML label tests.
#pragma once

#include <string>
#include <vector>

#include "controls/html_label/html_label.h"

namespace html_label::testing {

inline std::vector<std::string> Texts(const HTMLLabel& label) {
    std::vector<std::string> out;
    for (const HTMLElement& e : label.Elements()) out.emplace_back(label.View(e.Text));
    return out;
}

inline std::vector<int32_t> Tags(const HTMLLabel& label) {
    std::vector<int32_t> out;
    for (const HTMLElement& e : label.Elements()) out.push_back(e.TagID);
    return out;
}

// The first element whose text is `text`; the tests only ask for ones that exist.
inline const HTMLElement& Find(const HTMLLabel& label, const std::string& text) {
    for (const HTMLElement& e : label.Elements()) {
        if (label.View(e.Text) == text) return e;
    }
    static const HTMLElement none;
    return none;
}

// The words of the first text run `text`, as strings.
inline std::vector<std::string> WordsOf(const HTMLLabel& label, const std::string& text) {
    std::vector<std::string> out;
    for (std::string_view w : label.Words(Find(label, text))) out.emplace_back(w);
    return out;
}

inline std::vector<int32_t> ChildrenOf(const HTMLLabel& label, const HTMLElement& e) {
    const auto children = label.Children(e);
    return {children.begin(), children.end()};
}

inline HTMLLabel Loaded(const std::string& html) {
    HTMLLabel label;
    (void)label.LoadDocument(html);
    return label;
}

}  // namespace html_label::testing
