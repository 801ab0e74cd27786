// The single-instance lock: flock on a 0600 file that is never a symbolic
// link, opened close-on-exec so programs we start do not inherit the lock.
#include "platform/os/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/os/paths.h"

namespace platform::os {
namespace {

constexpr char kAlreadyRunningMessage[] = "another instance is already running";

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

}  // namespace

bool IsAlreadyRunning(const Error& error) {
    return error.code == ErrorCode::kPlatform && error.message == kAlreadyRunningMessage;
}

Result<SingleInstanceLock> SingleInstanceLock::Acquire(std::string_view name) {
    auto folder = TempFolderPath();
    if (!folder) return folder.error();
    return AcquireIn(*folder, name);
}

Result<SingleInstanceLock> SingleInstanceLock::AcquireIn(const std::string& folder,
                                                         std::string_view name) {
    std::string path = folder;
    if (!path.empty() && path.back() != '/') path += '/';
    path += LockFileName(name);

    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return MakeError(ErrorCode::kFileIo,
                         "cannot open lock file " + path + ": " + std::strerror(errno));
    }
    SingleInstanceLock lock(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        return MakeError(ErrorCode::kFileIo, "lock file is not a plain file: " + path);
    }
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        if (errno == EWOULDBLOCK) return MakeError(ErrorCode::kPlatform, kAlreadyRunningMessage);
        return MakeError(ErrorCode::kFileIo, "cannot lock " + path + ": " + std::strerror(errno));
    }
    return lock;
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
