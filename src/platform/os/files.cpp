// SPDX-License-Identifier: GPL-3.0-or-later
// File copy, delete, read and atomic replace on POSIX.
#include "platform/os/files.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>

#include "platform/os/temporary_files.h"

namespace platform::os {
namespace {

Error ErrnoError(const std::string& what, const std::string& path, int err) {
    const ErrorCode code = err == ENOENT    ? ErrorCode::kFileNotFound
                           : err == ENOTDIR ? ErrorCode::kPathNotFound
                                            : ErrorCode::kFileIo;
    return MakeError(code, what + " " + path + ": " + std::strerror(err));
}

class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    // Closes now and reports whether the close succeeded; some file systems
    // report delayed write errors only here.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return fd < 0 || ::close(fd) == 0;
    }

  private:
    int fd_;
};

// Writes everything or fails with errno set. A short write is followed by
// another one, which reports why the first stopped (EFBIG past the file-size
// limit, ENOSPC on a full disk); one that writes nothing at all is an error.
bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// Makes the rename itself durable; failure here is not worth reporting
// because the new content is already in place.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The shared replace-by-rename step: `fill` writes the new content to the
// temporary descriptor and returns 0 or an errno value.
Status ReplaceAtomically(const std::string& path, mode_t mode, Durability durability,
                         const std::function<int(int fd)>& fill) {
    auto file = ReplacementFile::Create(path, mode);
    if (!file) return file.error();
    if (const int err = fill((*file)->fd()); err != 0) return ErrnoError("cannot write", path, err);
    return (*file)->Commit(durability);
}

}  // namespace

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

Result<std::unique_ptr<ReplacementFile>> ReplacementFile::Create(const std::string& path,
                                                                 mode_t mode) {
    if (path.empty() || path.back() == '/') {
        return MakeError(ErrorCode::kInvalidCall, "not a file path: " + path);
    }
    std::unique_ptr<ReplacementFile> file(new ReplacementFile());
    file->path_ = path;
    // A sweep may take the lock of a file it finds between its creation and
    // the lock here, and remove it; such a file is made again.
    for (int attempt = 0; attempt < 8 && file->fd_ < 0; ++attempt) {
        std::string temp = ReplacementTemporaryPattern(path);
        const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
        if (fd < 0) return ErrnoError("cannot create a temporary file for", path, errno);
        struct stat st {};
        if (::flock(fd, LOCK_EX) != 0 || ::fstat(fd, &st) != 0 || st.st_nlink == 0) {
            ::close(fd);
            continue;
        }
        file->fd_ = fd;
        file->temp_ = temp;
    }
    if (file->fd_ < 0) {
        return MakeError(ErrorCode::kFileIo, "cannot keep a temporary file for " + path);
    }
    file->removed_if_stopped_ = std::make_unique<RemovedOnTermination>(file->temp_);
    if (::fchmod(file->fd_, mode & 07777) != 0) {
        return ErrnoError("cannot set the permissions of a temporary file for", path, errno);
    }
    return file;
}

ReplacementFile::~ReplacementFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!temp_.empty()) ::unlink(temp_.c_str());
}

Status ReplacementFile::Commit(Durability durability) {
    int err = 0;
    if (durability == Durability::kDurable && ::fsync(fd_) != 0) err = errno;
    // Some file systems report delayed write errors only at the close.
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err == 0 && ::rename(temp_.c_str(), path_.c_str()) != 0) err = errno;
    if (err != 0) {
        ::unlink(temp_.c_str());
        temp_.clear();
        return ErrnoError("cannot write", path_, err);
    }
    temp_.clear();
    if (durability == Durability::kDurable) SyncFolder(FolderOf(path_));
    return Status::Ok();
}

Status WriteFileAtomic(const std::string& path, std::string_view bytes, mode_t mode) {
    return ReplaceAtomically(path, mode, Durability::kDurable, [bytes](int fd) {
        return WriteAll(fd, bytes.data(), bytes.size()) ? 0 : errno;
    });
}

Status CopyFile(const std::string& from, const std::string& to, Durability durability) {
    // Opened without blocking: opening a pipe waits for a writer, and a
    // device may never end. Only a regular file is read.
    Fd source(::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (source.get() < 0) return ErrnoError("cannot open", from, errno);
    struct stat source_stat {};
    if (::fstat(source.get(), &source_stat) != 0) return ErrnoError("cannot read", from, errno);
    if (!S_ISREG(source_stat.st_mode)) {
        return MakeError(ErrorCode::kFileIo,
                         (S_ISDIR(source_stat.st_mode) ? "cannot copy a folder: "
                                                       : "cannot copy what is not a file: ") +
                             from);
    }
    // Writing a copy of a file over itself through the temporary would be
    // harmless, but reading and rewriting it is pointless; and a hard link
    // would otherwise be split into two files.
    struct stat target_stat {};
    if (::stat(to.c_str(), &target_stat) == 0 && target_stat.st_dev == source_stat.st_dev &&
        target_stat.st_ino == source_stat.st_ino) {
        return Status::Ok();
    }
    const int source_fd = source.get();
    return ReplaceAtomically(to, source_stat.st_mode & 0777, durability, [source_fd](int fd) {
        char buffer[64 * 1024];
        for (;;) {
            const ssize_t n = ::read(source_fd, buffer, sizeof buffer);
            if (n < 0) {
                if (errno == EINTR) continue;
                return errno;
            }
            if (n == 0) return 0;
            if (!WriteAll(fd, buffer, static_cast<size_t>(n))) return errno;
        }
    });
}

void IgnoreFileSizeLimitSignal() {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGXFSZ, &ignore, nullptr);
}

Status DeleteFile(const std::string& path) {
    if (::unlink(path.c_str()) != 0) return ErrnoError("cannot delete", path, errno);
    return Status::Ok();
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

Result<std::string> ReadFile(const std::string& path, size_t max_bytes) {
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) return ErrnoError("cannot open", path, errno);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return ErrnoError("cannot read", path, errno);
    if (S_ISDIR(st.st_mode)) return MakeError(ErrorCode::kFileIo, "is a folder: " + path);
    if (S_ISREG(st.st_mode) && static_cast<unsigned long long>(st.st_size) > max_bytes) {
        return MakeError(ErrorCode::kFileIo, "file too large: " + path);
    }
    // The size may change while we read, so the cap is enforced on what is
    // actually read, not only on the size reported up front.
    std::string content;
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            return ErrnoError("cannot read", path, errno);
        }
        if (n == 0) break;
        if (content.size() + static_cast<size_t>(n) > max_bytes) {
            return MakeError(ErrorCode::kFileIo, "file too large: " + path);
        }
        content.append(buffer, static_cast<size_t>(n));
    }
    return content;
}

MappedFile::MappedFile(const std::string& path) {
    // Opened without blocking and mapped only when regular, as CopyFile does.
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    struct stat st {};
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0)
        return;
    void* p = ::mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd.get(), 0);
    if (p == MAP_FAILED) return;
    data_ = static_cast<const char*>(p);
    size_ = static_cast<size_t>(st.st_size);
}

MappedFile::~MappedFile() {
    if (data_ != nullptr) ::munmap(const_cast<char*>(data_), size_);
}

}  // namespace platform::os
