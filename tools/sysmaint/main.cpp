// SPDX-License-Identifier: GPL-3.0-or-later
// sysmaint: the extraction tool the program runs at start-up.
//
//   sysmaint -o -s<password> <archive>
//
// Writes the two dictionary files of the archive into the current folder,
// replacing older ones ("-o"). Exits 0 on success; otherwise prints why on
// standard error and exits with a code naming the kind of failure.
#include <cstdio>
#include <string>
#include <string_view>

#include "app/archive.h"
#include "platform/os/files.h"
#include "platform/os/temporary_files.h"

namespace {

enum ExitCode {
    kOk = 0,
    kUsage = 2,
    kMissingArchive = 3,
    kDamagedArchive = 4,
    kWrongPassword = 5,
    kWriteFailed = 6,
};

int Usage(const char* why) {
    std::fprintf(stderr, "sysmaint: %s\nusage: sysmaint -o -s<password> <archive>\n", why);
    return kUsage;
}

int ExitCodeFor(app::archive::Failure failure) {
    using app::archive::Failure;
    switch (failure) {
        case Failure::kNone:
            return kOk;
        case Failure::kMissingArchive:
            return kMissingArchive;
        case Failure::kWrongPassword:
            return kWrongPassword;
        case Failure::kWriteFailed:
            return kWriteFailed;
        case Failure::kDamagedArchive:
        case Failure::kMissingEntry:
        case Failure::kTooLarge:
            return kDamagedArchive;
    }
    return kDamagedArchive;
}

}  // namespace

int main(int argc, char** argv) {
    platform::os::IgnoreFileSizeLimitSignal();
    // Stopped at the program's time-out, the tool removes the decrypted
    // files it was writing.
    platform::os::RemoveRegisteredFilesOnTermination();
    std::string password;
    std::string archive;
    bool have_password = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-o") continue;  // replacing older files is what we always do
        if (arg.substr(0, 2) == "-s") {
            password = arg.substr(2);
            have_password = true;
            continue;
        }
        if (arg.size() > 1 && arg.front() == '-') return Usage("unknown option");
        if (!archive.empty()) return Usage("more than one archive given");
        archive = arg;
    }
    if (archive.empty()) return Usage("no archive given");
    if (!have_password) return Usage("no password given (-s<password>)");

    const app::archive::ExtractResult result =
        app::archive::ExtractDictionary(archive, password, ".");
    if (!result.ok()) {
        std::fprintf(stderr, "sysmaint: %s\n", result.message.c_str());
        return ExitCodeFor(result.failure);
    }
    return kOk;
}
