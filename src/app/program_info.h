// SPDX-License-Identifier: GPL-3.0-or-later
// What the programs say about themselves: version, licence, and the
// dictionary in use, for --version and --help.
#pragma once

#include <string>
#include <string_view>

namespace app {

inline constexpr std::string_view kLicence = "GPL-3.0-or-later";

// The program's version, as the build gives it ("0.1.0").
std::string_view ProgramVersion();

// The --version text of `program`: its name and version, the licence and
// where its full text is.
std::string VersionText(std::string_view program);

}  // namespace app
