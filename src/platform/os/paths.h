// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program finds its own files and keeps its temporary ones.
//
// The data folder sits beside the executable. Temporary files (the unpacked
// dictionary, the extraction tool) go to a folder private to the current
// user, because another local user must not be able to read them or, worse,
// plant a symbolic link that makes us write somewhere else.
#pragma once

#include <sys/types.h>

#include <string>

#include "platform/error.h"

namespace platform::os {

// The folder of the running executable, symbolic links resolved, always
// ending in '/' ("/" stays "/").
Result<std::string> AppFolderPath();

// AppFolderPath() + "system/": the folder holding the program's data files.
Result<std::string> DataFolderPath();

// The places a private temporary folder may live, in order of preference.
// Empty or relative values are ignored.
struct TempFolderCandidates {
    std::string xdg_runtime_dir;         // "$XDG_RUNTIME_DIR/kovelin/"
    std::string tmpdir;                  // "$TMPDIR/kovelin-<uid>/"
    std::string fallback_root = "/tmp";  // "/tmp/kovelin-<uid>/", then a fresh folder there
    uid_t uid = 0;                       // the owner a folder must have to be trusted
};

// The candidates taken from the environment and the real user id.
TempFolderCandidates TempFolderCandidatesFromEnvironment();

// Finds or creates a private folder following the candidates: the first one
// that is a real directory (not a symbolic link), owned by `uid` and closed to
// group and others is used. A folder we own with a too-open mode is tightened
// to 0700 first. When every candidate is refused, a fresh folder is made with
// mkdtemp under the first usable root. The result ends in '/'.
Result<std::string> PrivateTempFolder(const TempFolderCandidates& candidates);

// PrivateTempFolder() for this process, worked out once and then remembered,
// so every caller sees the same folder even when it had to be made fresh.
Result<std::string> TempFolderPath();

}  // namespace platform::os
