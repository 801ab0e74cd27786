// SPDX-License-Identifier: GPL-3.0-or-later
// Large data read and written a piece at a time, so that a program's memory
// stays bounded whatever the size of its files.
//
// A ByteFile reads bytes at any offset of a regular file, or of bytes
// already in memory (for tests and fuzzing); a ByteReader reads one front to
// back through a buffer; a ScratchFile is a file with no name for data that
// does not fit in memory, which goes when it is closed and when the process
// ends, however it ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/error.h"

namespace platform::os {

class ByteFile {
  public:
    ByteFile() = default;
    ~ByteFile();
    ByteFile(ByteFile&& other) noexcept;
    ByteFile& operator=(ByteFile&& other) noexcept;
    ByteFile(const ByteFile&) = delete;
    ByteFile& operator=(const ByteFile&) = delete;

    // Bytes in memory, which must outlive the ByteFile.
    static ByteFile FromMemory(std::string_view bytes);
    // A regular file, read where it lies. Anything else (a pipe or a device
    // may never end) is refused.
    static Result<ByteFile> Open(const std::string& path);

    uint64_t size() const { return size_; }
    // Copies `count` bytes from `offset` to `out`; an error unless all of
    // them are there.
    Status ReadAt(uint64_t offset, size_t count, char* out) const;

  private:
    friend class ScratchFile;
    int fd_ = -1;
    std::string_view memory_;
    uint64_t size_ = 0;
    std::string name_;  // for messages
};

// Reads a ByteFile from `begin` to its end through a buffer.
class ByteReader {
  public:
    explicit ByteReader(const ByteFile& file, uint64_t begin = 0, size_t buffer_bytes = 64 * 1024);

    // The next byte; false at the end or when reading fails (see failed()).
    bool Next(char& c) {
        if (at_ == buffer_.size() && !Fill()) return false;
        c = buffer_[at_++];
        return true;
    }
    // The next byte, left to be read.
    bool Peek(char& c) {
        if (at_ == buffer_.size() && !Fill()) return false;
        c = buffer_[at_];
        return true;
    }
    // Appends exactly `count` bytes to `out`; false when the file ends first
    // or reading fails.
    bool Read(size_t count, std::string& out);
    // Appends the bytes up to the next `delimiter` (which is read and left
    // out) to `out`. False when the file ends first, reading fails, or more
    // than `max_bytes` come before it.
    bool ReadUntil(char delimiter, size_t max_bytes, std::string& out);

    uint64_t position() const { return file_pos_ - (buffer_.size() - at_); }
    bool at_end() const { return at_ == buffer_.size() && file_pos_ >= file_.size(); }
    // Why reading stopped early, when it failed rather than ended.
    const std::string& failure() const { return failure_; }
    bool failed() const { return !failure_.empty(); }

  private:
    bool Fill();

    const ByteFile& file_;
    uint64_t file_pos_;
    size_t capacity_;
    std::string buffer_;
    size_t at_ = 0;
    std::string failure_;
};

// A file with no name, made in the folder of `beside_path` (where the file
// system has unnamed files; elsewhere under that path's replacement
// temporary name, removed at once). Written through a buffer, then read
// back through file().
class ScratchFile {
  public:
    static Result<ScratchFile> Create(const std::string& beside_path);
    ScratchFile() = default;
    ScratchFile(ScratchFile&&) noexcept = default;
    ScratchFile& operator=(ScratchFile&&) noexcept = default;

    Status Append(std::string_view bytes);
    // Writes out what is buffered, so that file() reads all of it.
    Status Flush();
    // Bytes appended so far.
    uint64_t size() const { return file_.size_ + buffer_.size(); }
    const ByteFile& file() const { return file_; }
    int fd() const { return file_.fd_; }
    // The written file to read on its own (what was not flushed is lost).
    ByteFile Release() && { return std::move(file_); }

  private:
    Status WriteOut(std::string_view bytes);

    ByteFile file_;
    std::string buffer_;
};

}  // namespace platform::os
