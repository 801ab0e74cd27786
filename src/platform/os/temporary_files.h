// SPDX-License-Identifier: GPL-3.0-or-later
// Temporary files that outlive their writer only when it is stopped from
// outside, and their removal.
//
// Files are written under temporary names and renamed into place (see
// files.h and the archive's staging files). A writer that is asked to stop
// removes the files it is writing, when its program installed the handler
// below; one that is killed outright cannot, so the program sweeps stale
// files of its own naming from its own folders when it starts.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/error.h"

namespace platform::os {

// Whether `six` is what mkstemp puts in place of "XXXXXX": six ASCII letters
// or digits.
bool IsTemporarySuffix(std::string_view six);

// The name of the temporary file a replace of `path` writes first:
// "<folder>/.<name>.tmp-XXXXXX", as a pattern for mkstemp.
std::string ReplacementTemporaryPattern(const std::string& path);
// Whether a file name (no folder) is one ReplacementTemporaryPattern makes.
bool IsReplacementTemporaryName(std::string_view name);

// Removes the regular files directly in `folder` whose names `is_ours`
// accepts and which have not been written for `min_age_seconds`. Symbolic
// links are never followed, neither for the folder itself nor for its
// entries, and nothing but regular files is removed. Returns how many were
// removed.
Result<int> RemoveStaleFiles(const std::string& folder,
                             const std::function<bool(std::string_view name)>& is_ours,
                             int64_t min_age_seconds);

// Removes the replacement temporaries of `path` (ReplacementTemporaryPattern)
// that no writer holds any more: a ReplacementFile keeps the lock on its
// file while its writer lives, and a writer that was killed has lost it.
// Only regular files of this user directly in the path's folder are
// considered, links are never followed, and a file being written stays.
// Returns how many were removed.
Result<int> RemoveAbandonedReplacements(const std::string& path);

// Installs handlers for SIGTERM, SIGINT and SIGHUP that remove every file
// registered below, then end the process by the same signal as before. The
// handler only calls unlink, so it is safe at any point of the program.
void RemoveRegisteredFilesOnTermination();

// Registers a file for removal by that handler for as long as it lives. A
// few files can be registered at once; beyond that, or for a path longer
// than PATH_MAX, the file is left to the start-up sweep.
class RemovedOnTermination {
  public:
    explicit RemovedOnTermination(const std::string& path);
    ~RemovedOnTermination();
    RemovedOnTermination(const RemovedOnTermination&) = delete;
    RemovedOnTermination& operator=(const RemovedOnTermination&) = delete;

  private:
    int slot_ = -1;
};

}  // namespace platform::os
