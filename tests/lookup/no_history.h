// SPDX-License-Identifier: GPL-3.0-or-later
// A history store for tests that neither keeps nor reads searches.
#pragma once

#include <string>

#include "lookup/main_window.h"

namespace lookup::testing {

class NoHistory : public HistoryStore {
  public:
    std::string Read(const std::string& fallback) override { return fallback; }
    platform::Status Write(const std::string&) override { return {}; }
};

}  // namespace lookup::testing
