// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up paths over the platform's path services.
#include "app/app_paths.h"

#include "platform/os/paths.h"

namespace app {

std::string FolderWithSeparator(std::string_view folder) {
    std::string result(folder);
    if (!result.empty() && result.back() != '/') result += '/';
    return result;
}

platform::Result<std::string> AppFolderPath() {
    auto folder = platform::os::AppFolderPath();
    if (!folder) return folder.error();
    return FolderWithSeparator(*folder);
}

platform::Result<std::string> TempFolderPath() {
    auto folder = platform::os::TempFolderPath();
    if (!folder) return folder.error();
    return FolderWithSeparator(*folder);
}

namespace {

std::string& DataFolderOverride() {
    static auto* folder = new std::string();
    return *folder;
}

}  // namespace

void SetDataFolder(std::string folder) {
    DataFolderOverride() = FolderWithSeparator(folder);
}

std::string DataFilePath(std::string_view name) {
    if (!DataFolderOverride().empty()) return DataFolderOverride() + std::string(name);
    auto folder = AppFolderPath();
    if (!folder) return {};
    return *folder + std::string(kDataFolderName) + std::string(name);
}

StartupPaths StartupPathsFor(std::string_view temp_folder) {
    StartupPaths paths;
    paths.temp_folder = FolderWithSeparator(temp_folder);
    paths.headword_file = paths.temp_folder + std::string(kHeadwordFileName);
    paths.definition_file = paths.temp_folder + std::string(kDefinitionFileName);
    return paths;
}

}  // namespace app
