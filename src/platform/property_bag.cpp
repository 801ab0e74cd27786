// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/property_bag.h"

#include <algorithm>
#include <cctype>

namespace platform {

bool CaseInsensitiveLess::operator()(std::string_view a, std::string_view b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) <
               std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace platform
