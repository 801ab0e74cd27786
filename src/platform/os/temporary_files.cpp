// SPDX-License-Identifier: GPL-3.0-or-later
// Temporary file names, the start-up sweep and the termination handler.
#include "platform/os/temporary_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>

namespace platform::os {
namespace {

constexpr std::string_view kReplacementMark = ".tmp-";

// The registered paths. A slot is free (0), being filled (1) or holds a
// path the handler removes (2); the handler reads only slots marked 2.
struct Slot {
    std::atomic<int> state{0};
    char path[PATH_MAX];
};
static_assert(std::atomic<int>::is_always_lock_free);
std::array<Slot, 8> g_slots;

void RemoveRegisteredAndStop(int sig) {
    const int saved_errno = errno;
    for (Slot& slot : g_slots) {
        if (slot.state.load() == 2) ::unlink(slot.path);
    }
    errno = saved_errno;
    // SA_RESETHAND restored the default action; the signal stays blocked
    // until the handler returns and then ends the process as it would have.
    ::raise(sig);
}

}  // namespace

bool IsTemporarySuffix(std::string_view six) {
    if (six.size() != 6) return false;
    for (const char c : six) {
        const bool plain =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!plain) return false;
    }
    return true;
}

std::string ReplacementTemporaryPattern(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return folder + "/." + name + std::string(kReplacementMark) + "XXXXXX";
}

bool IsReplacementTemporaryName(std::string_view name) {
    const size_t tail = kReplacementMark.size() + 6;
    return name.size() > 1 + tail && name.front() == '.' &&
           name.substr(name.size() - tail, kReplacementMark.size()) == kReplacementMark &&
           IsTemporarySuffix(name.substr(name.size() - 6));
}

namespace {

// Calls `visit` with the folder's descriptor and the name of each of its
// entries, never following a link to the folder; returns how many calls
// returned true.
Result<int> CountEntries(const std::string& folder,
                         const std::function<bool(int dir_fd, const char* name)>& visit) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return MakeError(ErrorCode::kPathNotFound,
                         "cannot open " + folder + ": " + std::strerror(errno));
    }
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        const int err = errno;
        ::close(fd);
        return MakeError(ErrorCode::kFileIo, "cannot list " + folder + ": " + std::strerror(err));
    }
    int count = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (visit(fd, entry->d_name)) ++count;
    }
    ::closedir(dir);
    return count;
}

}  // namespace

Result<int> RemoveStaleFiles(const std::string& folder,
                             const std::function<bool(std::string_view name)>& is_ours,
                             int64_t min_age_seconds) {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return CountEntries(folder, [&](int fd, const char* name) {
        if (!is_ours(name)) return false;
        struct stat st {};
        if (::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) {
            return false;
        }
        // A file written moments ago may belong to a writer still at work.
        if (now.tv_sec - st.st_mtim.tv_sec < min_age_seconds) return false;
        return ::unlinkat(fd, name, 0) == 0;
    });
}

Result<int> RemoveAbandonedReplacements(const std::string& path) {
    // "<folder>/.<name>.tmp-" and six letters or digits.
    const std::string pattern = ReplacementTemporaryPattern(path);
    const size_t slash = pattern.rfind('/');
    const std::string folder = slash == 0 ? "/" : pattern.substr(0, slash);
    const std::string prefix = pattern.substr(slash + 1, pattern.size() - slash - 1 - 6);
    return CountEntries(folder, [&](int dir_fd, const char* name) {
        const std::string_view entry_name = name;
        if (entry_name.size() != prefix.size() + 6 || !entry_name.starts_with(prefix) ||
            !IsTemporarySuffix(entry_name.substr(prefix.size()))) {
            return false;
        }
        const int fd =
            ::openat(dir_fd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) return false;
        struct stat opened {};
        struct stat named {};
        // The lock is free only when its writer is gone; the name must still
        // be the file that was locked.
        const bool removed = ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
                             opened.st_uid == ::geteuid() && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
                             ::fstatat(dir_fd, name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
                             named.st_dev == opened.st_dev && named.st_ino == opened.st_ino &&
                             ::unlinkat(dir_fd, name, 0) == 0;
        ::close(fd);
        return removed;
    });
}

void RemoveRegisteredFilesOnTermination() {
    struct sigaction action {};
    action.sa_handler = RemoveRegisteredAndStop;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (const int sig : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction old {};
        // A signal ignored by whoever started us stays ignored.
        if (::sigaction(sig, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
        ::sigaction(sig, &action, nullptr);
    }
}

RemovedOnTermination::RemovedOnTermination(const std::string& path) {
    if (path.size() >= PATH_MAX) return;
    for (size_t i = 0; i < g_slots.size(); ++i) {
        int expected = 0;
        if (!g_slots[i].state.compare_exchange_strong(expected, 1)) continue;
        std::memcpy(g_slots[i].path, path.c_str(), path.size() + 1);
        g_slots[i].state.store(2);
        slot_ = static_cast<int>(i);
        return;
    }
}

RemovedOnTermination::~RemovedOnTermination() {
    if (slot_ >= 0) g_slots[static_cast<size_t>(slot_)].state.store(0);
}

}  // namespace platform::os
