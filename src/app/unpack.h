// SPDX-License-Identifier: GPL-3.0-or-later
// Unpacking the dictionary archive into the temporary folder at start-up.
//
// The extraction tool and the archive are copied from the data folder into
// the temporary folder and the tool is run there, from an argument vector so
// that paths with spaces reach it whole; the copies are deleted when it is
// done. When the temporary folder does not allow running programs (a noexec
// mount), the same extraction code runs inside the program instead, so the
// dictionary still loads.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/os/process.h"

namespace app {

inline constexpr int kToolTimeoutMs = 20000;

struct UnpackOptions {
    std::string data_folder;  // the "system/" folder, ending in "/"
    std::string temp_folder;  // the temporary folder, ending in "/"
    // The archive to unpack; data_folder + "load.dll" when empty.
    std::string archive_path;
    // Lets the message loop run once (the wait window repaints).
    std::function<void()> yield;
    // Runs a program; the platform's runner unless a test replaces it.
    std::function<platform::Result<platform::os::ProcessOutcome>(
        const std::vector<std::string>& argv, const std::string& working_folder, int timeout_ms)>
        run;
    // Whether programs may run from a folder; the mount flags unless a test
    // replaces it.
    std::function<bool(const std::string& folder)> folder_allows_programs;
};

struct UnpackReport {
    enum class Method { kTool, kInProcess };
    Method method = Method::kTool;
    bool tool_copied = false;
    bool archive_copied = false;
    platform::os::ProcessOutcome tool;  // when the tool was run
    std::string message;                // what went wrong, if anything ("; " between)
};

// A file under one of our temporary names that has not been written for this
// long was left behind by a run that was stopped.
inline constexpr int64_t kLeftoverFileSeconds = 60;

// Removes what stopped runs left behind, by our own names only: staging and
// replace temporaries in the temporary folder (only those older than
// kLeftoverFileSeconds, since a copy using other settings may share that
// folder and be writing right now), and replace temporaries in the settings
// folder (all of them: the caller holds the single-instance lock kept
// there). Returns how many files went.
int RemoveLeftoverFiles(const std::string& temp_folder, const std::string& settings_folder);

// The tool's command line for the given temporary folder.
std::vector<std::string> ToolArguments(const std::string& temp_folder);

// Whether the folder's file system lets programs run from it.
bool FolderAllowsPrograms(const std::string& folder);

// When unpacking left no dictionary to load (either data file missing from
// `temp_folder`), why, for the reader: the folder and what went wrong there
// (a full folder shows as "No space left on device"). Empty when both files
// are there.
std::string UnpackFailureMessage(const UnpackReport& report, const std::string& temp_folder);

// Copies, runs and waits, in the start-up order with a yield between the
// steps, then deletes both copies: what stays in the temporary folder is
// the unpacked dictionary. Failures are reported, never fatal: a missing
// archive still runs the tool on whatever copy exists, and loading then
// finds what it finds.
UnpackReport UnpackArchive(const UnpackOptions& options);

}  // namespace app
