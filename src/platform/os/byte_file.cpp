// SPDX-License-Identifier: GPL-3.0-or-later
// Reading at offsets, buffered reading and unnamed scratch files on POSIX.
#include "platform/os/byte_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/os/files.h"
#include "platform/os/temporary_files.h"

namespace platform::os {
namespace {

constexpr size_t kScratchBufferBytes = 256 * 1024;

}  // namespace

ByteFile::~ByteFile() {
    if (fd_ >= 0) ::close(fd_);
}

ByteFile::ByteFile(ByteFile&& other) noexcept
    : fd_(other.fd_), memory_(other.memory_), size_(other.size_), name_(std::move(other.name_)) {
    other.fd_ = -1;
    other.size_ = 0;
}

ByteFile& ByteFile::operator=(ByteFile&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.fd_;
        memory_ = other.memory_;
        size_ = other.size_;
        name_ = std::move(other.name_);
        other.fd_ = -1;
        other.size_ = 0;
    }
    return *this;
}

ByteFile ByteFile::FromMemory(std::string_view bytes) {
    ByteFile f;
    f.memory_ = bytes;
    f.size_ = bytes.size();
    f.name_ = "the bytes in memory";
    return f;
}

Result<ByteFile> ByteFile::Open(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        return MakeError(errno == ENOENT ? ErrorCode::kFileNotFound : ErrorCode::kFileIo,
                         "cannot open " + path + ": " + std::strerror(errno));
    }
    ByteFile f;
    f.fd_ = fd;
    f.name_ = path;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        return MakeError(ErrorCode::kFileIo, "cannot read " + path + ": " + std::strerror(errno));
    }
    if (!S_ISREG(st.st_mode)) return MakeError(ErrorCode::kFileIo, path + " is not a file");
    f.size_ = static_cast<uint64_t>(st.st_size);
    return f;
}

Status ByteFile::ReadAt(uint64_t offset, size_t count, char* out) const {
    if (offset > size_ || count > size_ - offset) {
        return MakeError(ErrorCode::kFileIo,
                         name_ + " ends before byte " + std::to_string(offset + count));
    }
    if (fd_ < 0) {
        if (count > 0) std::memcpy(out, memory_.data() + offset, count);
        return Status::Ok();
    }
    while (count > 0) {
        const ssize_t n = ::pread(fd_, out, count, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            return MakeError(ErrorCode::kFileIo,
                             "cannot read " + name_ + ": " + std::strerror(errno));
        }
        if (n == 0) {
            return MakeError(ErrorCode::kFileIo, name_ + " became shorter while it was read");
        }
        out += n;
        offset += static_cast<uint64_t>(n);
        count -= static_cast<size_t>(n);
    }
    return Status::Ok();
}

ByteReader::ByteReader(const ByteFile& file, uint64_t begin, size_t buffer_bytes)
    : file_(file), file_pos_(std::min(begin, file.size())), capacity_(buffer_bytes) {
}

bool ByteReader::Fill() {
    if (!failure_.empty() || file_pos_ >= file_.size()) return false;
    const size_t count =
        static_cast<size_t>(std::min<uint64_t>(capacity_, file_.size() - file_pos_));
    buffer_.resize(count);
    at_ = 0;
    const Status read = file_.ReadAt(file_pos_, count, buffer_.data());
    if (!read) {
        failure_ = read.error().message;
        buffer_.clear();
        return false;
    }
    file_pos_ += count;
    return true;
}

bool ByteReader::Read(size_t count, std::string& out) {
    while (count > 0) {
        if (at_ == buffer_.size() && !Fill()) return false;
        const size_t take = std::min(count, buffer_.size() - at_);
        out.append(buffer_, at_, take);
        at_ += take;
        count -= take;
    }
    return true;
}

bool ByteReader::ReadUntil(char delimiter, size_t max_bytes, std::string& out) {
    size_t taken = 0;
    for (;;) {
        if (at_ == buffer_.size() && !Fill()) return false;
        const size_t end = buffer_.find(delimiter, at_);
        const size_t stop = end == std::string::npos ? buffer_.size() : end;
        taken += stop - at_;
        if (taken > max_bytes) return false;
        out.append(buffer_, at_, stop - at_);
        if (end != std::string::npos) {
            at_ = end + 1;
            return true;
        }
        at_ = buffer_.size();
    }
}

Result<ScratchFile> ScratchFile::Create(const std::string& beside_path) {
    const std::string folder = FolderOf(beside_path);
    int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0) {
        // Without unnamed files the name goes at once; a process stopped
        // between the two calls leaves a replacement temporary, which the
        // sweeps of those remove.
        std::string pattern = ReplacementTemporaryPattern(beside_path);
        fd = ::mkostemp(pattern.data(), O_CLOEXEC);
        if (fd >= 0) ::unlink(pattern.c_str());
    }
    if (fd < 0) {
        return MakeError(ErrorCode::kFileIo,
                         "cannot make a scratch file in " + folder + ": " + std::strerror(errno));
    }
    ScratchFile f;
    f.file_.fd_ = fd;
    f.file_.name_ = "a scratch file in " + folder;
    return f;
}

Status ScratchFile::Append(std::string_view bytes) {
    if (buffer_.size() + bytes.size() <= kScratchBufferBytes) {
        buffer_.append(bytes);
        return Status::Ok();
    }
    if (Status flushed = Flush(); !flushed) return flushed;
    if (bytes.size() < kScratchBufferBytes) {
        buffer_.append(bytes);
        return Status::Ok();
    }
    return WriteOut(bytes);
}

Status ScratchFile::Flush() {
    const Status written = WriteOut(buffer_);
    buffer_.clear();
    return written;
}

Status ScratchFile::WriteOut(std::string_view bytes) {
    const char* data = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::pwrite(file_.fd_, data, left, static_cast<off_t>(file_.size_));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int err = n < 0 ? errno : EIO;
            return MakeError(ErrorCode::kFileIo,
                             "cannot write " + file_.name_ + ": " + std::strerror(err));
        }
        data += n;
        left -= static_cast<size_t>(n);
        file_.size_ += static_cast<uint64_t>(n);
    }
    return Status::Ok();
}

}  // namespace platform::os
