// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the executable's folder and a private temporary folder (Linux).
#include "platform/os/paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <vector>

namespace platform::os {
namespace {

std::string WithTrailingSlash(std::string path) {
    if (path.empty() || path.back() != '/') path += '/';
    return path;
}

// Environment values are only trusted when they name an absolute path; a
// relative one would depend on whatever folder we happen to be in.
std::optional<std::string> AbsoluteRoot(const std::string& value) {
    if (value.empty() || value.front() != '/') return std::nullopt;
    std::string root = value;
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    return root;
}

std::string JoinRoot(const std::string& root, const std::string& name) {
    return root == "/" ? "/" + name : root + "/" + name;
}

// Creates `dir` if missing and checks that it is safe to use: a directory
// reached without following a symbolic link, owned by `uid`, with mode 0700.
// The checks run on an open descriptor, so the folder cannot be swapped
// between the check and the mode fix.
bool EnsurePrivateDir(const std::string& dir, uid_t uid) {
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return false;
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == uid;
    if (ok && (st.st_mode & 07777) != 0700) {
        ok = ::fchmod(fd, 0700) == 0 && ::fstat(fd, &st) == 0 && (st.st_mode & 07777) == 0700;
    }
    ::close(fd);
    return ok;
}

std::string EnvOrEmpty(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

}  // namespace

Result<std::string> AppFolderPath() {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) {
            return MakeError(ErrorCode::kPlatform,
                             std::string("cannot find the executable: ") + std::strerror(errno));
        }
        if (static_cast<size_t>(n) < buffer.size()) {
            std::string exe(buffer.data(), static_cast<size_t>(n));
            const size_t slash = exe.rfind('/');
            if (slash == std::string::npos) {
                return MakeError(ErrorCode::kPlatform, "executable path is not absolute");
            }
            return exe.substr(0, slash + 1);
        }
        if (buffer.size() >= 65536) return MakeError(ErrorCode::kPlatform, "path too long");
        buffer.resize(buffer.size() * 2);
    }
}

Result<std::string> DataFolderPath() {
    auto app = AppFolderPath();
    if (!app) return app.error();
    return *app + "system/";
}

TempFolderCandidates TempFolderCandidatesFromEnvironment() {
    TempFolderCandidates candidates;
    candidates.xdg_runtime_dir = EnvOrEmpty("XDG_RUNTIME_DIR");
    candidates.tmpdir = EnvOrEmpty("TMPDIR");
    candidates.uid = ::getuid();
    return candidates;
}

Result<std::string> PrivateTempFolder(const TempFolderCandidates& candidates) {
    const std::string user_suffix = "kovelin-" + std::to_string(candidates.uid);
    const auto runtime_root = AbsoluteRoot(candidates.xdg_runtime_dir);
    const auto tmpdir_root = AbsoluteRoot(candidates.tmpdir);
    const auto fallback_root = AbsoluteRoot(candidates.fallback_root);

    std::vector<std::string> named;
    if (runtime_root) named.push_back(JoinRoot(*runtime_root, "kovelin"));
    if (tmpdir_root) named.push_back(JoinRoot(*tmpdir_root, user_suffix));
    if (fallback_root) named.push_back(JoinRoot(*fallback_root, user_suffix));
    for (const std::string& dir : named) {
        if (EnsurePrivateDir(dir, candidates.uid)) return WithTrailingSlash(dir);
    }

    // Every well-known name is taken by something we must not trust. mkdtemp
    // makes a new folder with mode 0700 and fails rather than reuse an
    // existing name, so its result is ours by construction.
    std::vector<std::string> roots;
    if (tmpdir_root) roots.push_back(*tmpdir_root);
    if (fallback_root) roots.push_back(*fallback_root);
    for (const std::string& root : roots) {
        std::string pattern = JoinRoot(root, user_suffix + "-XXXXXX");
        if (::mkdtemp(pattern.data()) != nullptr) return WithTrailingSlash(pattern);
    }
    return MakeError(ErrorCode::kPathNotFound, "no private temporary folder could be made");
}

Result<std::string> TempFolderPath() {
    static std::mutex mutex;
    static std::optional<std::string> cached;
    std::lock_guard<std::mutex> lock(mutex);
    if (cached) return *cached;
    auto folder = PrivateTempFolder(TempFolderCandidatesFromEnvironment());
    if (folder) cached = *folder;
    return folder;
}

}  // namespace platform::os
