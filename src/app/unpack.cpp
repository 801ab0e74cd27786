// SPDX-License-Identifier: GPL-3.0-or-later
// Archive unpacking at start-up.
#include "app/unpack.h"

#include <sys/statvfs.h>

#include <cerrno>
#include <cstring>

#include "app/app_paths.h"
#include "app/archive.h"
#include "platform/os/files.h"
#include "platform/os/temporary_files.h"

namespace app {

int RemoveLeftoverFiles(const std::string& temp_folder, const std::string& settings_folder) {
    using platform::os::IsReplacementTemporaryName;
    int removed = 0;
    if (!temp_folder.empty()) {
        removed += platform::os::RemoveStaleFiles(
                       temp_folder,
                       [](std::string_view name) {
                           return archive::IsStagingName(name) || IsReplacementTemporaryName(name);
                       },
                       kLeftoverFileSeconds)
                       .value_or(0);
    }
    if (!settings_folder.empty()) {
        removed += platform::os::RemoveStaleFiles(settings_folder, IsReplacementTemporaryName, 0)
                       .value_or(0);
    }
    return removed;
}

std::vector<std::string> ToolArguments(const std::string& temp_folder) {
    return {temp_folder + std::string(kToolCopyName), "-o", "-s" + std::string(archive::kPassword),
            temp_folder + std::string(kArchiveCopyName)};
}

bool FolderAllowsPrograms(const std::string& folder) {
    struct statvfs vfs {};
    if (::statvfs(folder.c_str(), &vfs) != 0) return true;  // let the start tell
    return (vfs.f_flag & ST_NOEXEC) == 0;
}

std::string UnpackFailureMessage(const UnpackReport& report, const std::string& temp_folder) {
    if (platform::os::FileExists(temp_folder + std::string(kHeadwordFileName)) &&
        platform::os::FileExists(temp_folder + std::string(kDefinitionFileName))) {
        return {};
    }
    std::string why = report.message;
    using Kind = platform::os::ProcessOutcome::Kind;
    if (why.empty() && report.method == UnpackReport::Method::kTool) {
        switch (report.tool.kind) {
            case Kind::kExited:
                why =
                    "the extraction tool ended with code " + std::to_string(report.tool.exit_code);
                break;
            case Kind::kSignaled:
                why = "the extraction tool was stopped by signal " +
                      std::to_string(report.tool.signal);
                break;
            case Kind::kTimedOut:
                why = "the extraction tool timed out";
                break;
            case Kind::kFailedToStart:
                why = std::string("the extraction tool could not start: ") +
                      std::strerror(report.tool.start_error);
                break;
        }
    }
    if (why.empty()) why = "no dictionary files came out";
    return "Kovelin could not unpack its dictionary into the folder " + temp_folder + " (" + why +
           "), so it has no words to show.";
}

UnpackReport UnpackArchive(const UnpackOptions& options) {
    auto yield = [&] {
        if (options.yield) options.yield();
    };
    UnpackReport report;
    const std::string& s = options.data_folder;
    const std::string& t = options.temp_folder;

    std::vector<std::string> problems;
    auto copy = [&](const std::string& from, std::string_view to) {
        const platform::Status copied =
            // The copies serve this start only and are deleted after it.
            platform::os::CopyFile(from, t + std::string(to), platform::os::Durability::kScratch);
        if (!copied) problems.push_back(copied.error().message);
        return copied.ok();
    };
    yield();
    report.tool_copied = copy(s + std::string(kToolName), kToolCopyName);
    yield();
    report.archive_copied =
        copy(options.archive_path.empty() ? s + std::string(kArchiveName) : options.archive_path,
             kArchiveCopyName);
    yield();

    yield();
    const bool can_run = options.folder_allows_programs ? options.folder_allows_programs(t)
                                                        : FolderAllowsPrograms(t);
    bool in_process = !can_run;
    if (can_run) {
        const auto run =
            options.run ? options.run : decltype(options.run)(platform::os::RunAndWait);
        auto outcome = run(ToolArguments(t), t, kToolTimeoutMs);
        if (outcome) {
            report.tool = *outcome;
            using Kind = platform::os::ProcessOutcome::Kind;
            // The mount flags do not tell everything (a security module, a
            // container's policy): a start refused for permission is the
            // same situation.
            in_process = outcome->kind == Kind::kFailedToStart &&
                         (outcome->start_error == EACCES || outcome->start_error == EPERM);
            if (outcome->kind == Kind::kTimedOut)
                problems.push_back("the extraction tool timed out");
        } else {
            problems.push_back(outcome.error().message);
        }
    }
    if (in_process) {
        report.method = UnpackReport::Method::kInProcess;
        const archive::ExtractResult extracted =
            archive::ExtractDictionary(t + std::string(kArchiveCopyName), archive::kPassword, t);
        if (!extracted.ok()) problems.push_back(extracted.message);
    }
    // The copies served this start only. The temporary folder is often in
    // memory, and the archive copy is as large as the dictionary, so they go
    // now rather than at logout; a tool still running after the time-out
    // keeps reading what it has open.
    for (std::string_view copy_name : {kToolCopyName, kArchiveCopyName})
        (void)platform::os::DeleteFile(t + std::string(copy_name));
    for (const std::string& problem : problems) {
        if (!report.message.empty()) report.message += "; ";
        report.message += problem;
    }
    yield();
    return report;
}

}  // namespace app
