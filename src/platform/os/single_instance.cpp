// SPDX-License-Identifier: GPL-3.0-or-later
// The single-instance lock: flock on a 0600 regular file beside the settings,
// opened close-on-exec so programs we start do not inherit the lock.
//
// Starting copies take turns through a short flock on the folder itself, so
// that only one at a time looks at the lock file and, when something else
// stands at its name (a folder, a symbolic link, a file we cannot open),
// puts a fresh locked file there. A name that cannot be made usable that way
// counts as "another copy may be running": running without the lock could
// let two copies write one settings file.
#include "platform/os/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/os/settings.h"

namespace platform::os {
namespace {

constexpr char kAlreadyRunningMessage[] = "another instance is already running";
constexpr char kMayBeRunningMessage[] = "another instance may be running";

// Lock names come from code, but keep them to plain file-name characters so
// no name can climb out of the folder.
std::string LockFileName(std::string_view name) {
    std::string file;
    for (const char c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_';
        file += plain ? c : '_';
    }
    if (file.empty()) file.push_back('_');
    return file + ".lock";
}

class Fd {
  public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }
    void reset(int fd) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }

  private:
    int fd_;
};

int FlockNow(int fd) {
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    return rc == 0 ? 0 : errno;
}

// Whether `fd` is the file the folder's entry `file` names right now.
bool NamedBy(int folder_fd, const std::string& file, int fd) {
    struct stat by_name {};
    struct stat held {};
    return ::fstatat(folder_fd, file.c_str(), &by_name, AT_SYMLINK_NOFOLLOW) == 0 &&
           ::fstat(fd, &held) == 0 && by_name.st_dev == held.st_dev &&
           by_name.st_ino == held.st_ino;
}

enum class Attempt { kLocked, kHeldElsewhere, kUnusable };

// Opens and locks the regular file at `file` in the folder, never following
// a symbolic link and never blocking on a pipe.
Attempt LockExisting(int folder_fd, const std::string& file, Fd& out) {
    Fd fd(::openat(folder_fd, file.c_str(),
                   O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600));
    struct stat st {};
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return Attempt::kUnusable;
    }
    const int err = FlockNow(fd.get());
    if (err == EWOULDBLOCK) return Attempt::kHeldElsewhere;
    if (err != 0 || !NamedBy(folder_fd, file, fd.get())) return Attempt::kUnusable;
    out.reset(fd.release());
    return Attempt::kLocked;
}

}  // namespace

bool IsAlreadyRunning(const Error& error) {
    return error.code == ErrorCode::kPlatform &&
           (error.message == kAlreadyRunningMessage ||
            error.message.rfind(kMayBeRunningMessage, 0) == 0);
}

Result<SingleInstanceLock> SingleInstanceLock::Acquire(std::string_view name) {
    const SettingsStore settings = SettingsStore::ForCurrentUser();
    if (Status made = settings.MakeFolder(); !made) return made.error();
    return AcquireIn(settings.folder(), name);
}

Result<SingleInstanceLock> SingleInstanceLock::AcquireIn(const std::string& folder,
                                                         std::string_view name) {
    const std::string file = LockFileName(name);
    const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    const std::string path = prefix + file;
    Fd folder_fd(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder_fd.get() < 0) {
        return MakeError(ErrorCode::kFileIo,
                         "cannot open the lock's folder " + folder + ": " + std::strerror(errno));
    }
    // One starting copy at a time; held only until this call returns. A
    // file system without locks on folders just goes without the turn.
    if (FlockNow(folder_fd.get()) == EWOULDBLOCK) {
        return MakeError(ErrorCode::kPlatform, kAlreadyRunningMessage);
    }

    Fd held;
    const Attempt attempt = LockExisting(folder_fd.get(), file, held);
    if (attempt == Attempt::kHeldElsewhere) {
        return MakeError(ErrorCode::kPlatform, kAlreadyRunningMessage);
    }
    if (attempt == Attempt::kLocked) return SingleInstanceLock(held.release());

    // Something unusable has the name: a fresh file of our own, locked
    // before it gets the name, takes its place. A folder cannot be replaced.
    std::string fresh = prefix + "." + file + ".tmp-XXXXXX";
    Fd fresh_fd(::mkostemp(fresh.data(), O_CLOEXEC));
    if (fresh_fd.get() < 0) {
        // Nothing can be written here, settings included.
        return MakeError(ErrorCode::kFileIo,
                         "cannot create a lock file in " + folder + ": " + std::strerror(errno));
    }
    const int lock_error = FlockNow(fresh_fd.get());
    if (lock_error != 0) {
        // The file system keeps no locks at all: no copy can hold one here.
        ::unlink(fresh.c_str());
        return MakeError(ErrorCode::kFileIo,
                         "cannot lock a file in " + folder + ": " + std::strerror(lock_error));
    }
    const bool placed = ::fchmod(fresh_fd.get(), 0600) == 0 &&
                        ::rename(fresh.c_str(), path.c_str()) == 0 &&
                        NamedBy(folder_fd.get(), file, fresh_fd.get());
    if (!placed) {
        ::unlink(fresh.c_str());
        return MakeError(ErrorCode::kPlatform, std::string(kMayBeRunningMessage) + ": " + path +
                                                   " cannot be a lock file");
    }
    return SingleInstanceLock(fresh_fd.release());
}

SingleInstanceLock::SingleInstanceLock(SingleInstanceLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)) {
}

SingleInstanceLock& SingleInstanceLock::operator=(SingleInstanceLock&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

SingleInstanceLock::~SingleInstanceLock() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace platform::os
