// SPDX-License-Identifier: GPL-3.0-or-later
// The folders the start-up sequence works with, and the fixed names of the
// files in them.
//
// The data folder "system/" sits beside the executable; the temporary folder
// is the user's private one from the platform layer. The unpacked dictionary
// files live there only between unpacking and loading.
#pragma once

#include <string>
#include <string_view>

#include "platform/error.h"

namespace app {

inline constexpr std::string_view kDataFolderName = "system/";
inline constexpr std::string_view kArchiveName = "load.dll";
inline constexpr std::string_view kToolName = "sysmaint.dll";
inline constexpr std::string_view kToolCopyName = "sysmaint.exe";
inline constexpr std::string_view kArchiveCopyName = "x2ymzk1.tmp";
inline constexpr std::string_view kHeadwordFileName = "M_A_X_T1";
inline constexpr std::string_view kDefinitionFileName = "M_A_X_T2";
inline constexpr std::string_view kStartSoundName = "start.wav";
// The pictures drawn at twice the resolution, for device scales from 2 up,
// lie in this folder of the data folder under the same names.
inline constexpr std::string_view kSharpArtworkFolder = "2x/";

// `folder` with exactly one separator at its end: a root ("/") is returned
// unchanged, anything else gets a "/" unless it already ends in one, so
// joining a file name never doubles the separator. An empty folder (the
// current one) stays empty.
std::string FolderWithSeparator(std::string_view folder);

// The executable's folder, ending in "/".
platform::Result<std::string> AppFolderPath();
// The user's private temporary folder, ending in "/".
platform::Result<std::string> TempFolderPath();

// AppFolderPath() + "system/" + name; empty when the executable's folder
// cannot be found.
std::string DataFilePath(std::string_view name);

// Makes DataFilePath() use `folder` in place of the "system/" folder beside
// the executable (empty: back to that one): the harness's --data, and tests
// with a data folder of their own.
void SetDataFolder(std::string folder);

// The process-wide paths fixed once at start-up.
struct StartupPaths {
    std::string temp_folder;      // also the extraction tool's working folder
    std::string headword_file;    // temp_folder + "M_A_X_T1"
    std::string definition_file;  // temp_folder + "M_A_X_T2"
};

// The paths for a given temporary folder.
StartupPaths StartupPathsFor(std::string_view temp_folder);

}  // namespace app
