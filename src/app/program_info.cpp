// SPDX-License-Identifier: GPL-3.0-or-later
// Version and licence texts.
#include "app/program_info.h"

#ifndef KOVELIN_VERSION
#define KOVELIN_VERSION "unknown"
#endif

namespace app {

std::string_view ProgramVersion() {
    return KOVELIN_VERSION;
}

std::string VersionText(std::string_view program) {
    return std::string(program) + " " + std::string(ProgramVersion()) +
           "\n"
           "Licence: " +
           std::string(kLicence) +
           " (GNU General Public License, version 3 or any later version;\n"
           "the full text is in the LICENSE file of the source, and in\n"
           "/usr/share/common-licenses/GPL-3 on Debian systems).\n"
           "This is free software: you may change and share it. There is NO WARRANTY,\n"
           "to the extent permitted by law.\n";
}

}  // namespace app
