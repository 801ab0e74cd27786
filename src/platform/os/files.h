// SPDX-License-Identifier: GPL-3.0-or-later
// Small file operations with the failure behaviour the program relies on.
//
// Replacing a file always goes through a temporary file in the same folder
// that is flushed to disk and then renamed over the target, so a crash, a
// full disk or a killed process leaves either the old file or the new one,
// never a mixture, and no half-written temporary file lingers.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/error.h"

namespace platform::os {

// Copies `from` to `to`, replacing `to` atomically. The copy gets the
// source's permission bits. Only a regular file is copied: a pipe, device or
// folder in its place fails at once. On failure the old `to` is left as it
// was.
// Copying a file onto itself (also through another name) changes nothing.
// A durable copy is on the disk when this returns; a scratch copy (a file
// used once and deleted, such as the archive copied for unpacking) is left
// to the system's own writing-back.
enum class Durability { kDurable, kScratch };
Status CopyFile(const std::string& from, const std::string& to,
                Durability durability = Durability::kDurable);

// Removes a file (not a folder). A missing file is reported as kFileNotFound.
Status DeleteFile(const std::string& path);

// Whether `path` names something that is not a folder.
bool FileExists(const std::string& path);

// The whole content of a file, refused (kFileIo) when it is longer than
// `max_bytes`, so a huge or endless file cannot exhaust memory.
Result<std::string> ReadFile(const std::string& path, size_t max_bytes);

// Replaces `path` with `bytes` atomically; the new file gets `mode`.
Status WriteFileAtomic(const std::string& path, std::string_view bytes, mode_t mode = 0600);

class RemovedOnTermination;

// The new content of `path` while it is written: a file under the path's
// replacement temporary name (temporary_files.h) that Commit renames over
// the path. Its writer holds a lock on it for as long as it lives, so a
// sweep (RemoveAbandonedReplacements) removes only those whose writer is
// gone; it is removed when dropped uncommitted and, where the program
// installed the handler, when the process is asked to stop.
class ReplacementFile {
  public:
    static Result<std::unique_ptr<ReplacementFile>> Create(const std::string& path, mode_t mode);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    int fd() const { return fd_; }
    const std::string& temporary_path() const { return temp_; }
    // Puts the content in place of the path (on the disk first when
    // `durability` asks for it). On failure the temporary file is removed
    // and the path keeps what it held.
    Status Commit(Durability durability);

  private:
    ReplacementFile() = default;

    std::string path_;
    std::string temp_;
    int fd_ = -1;
    std::unique_ptr<RemovedOnTermination> removed_if_stopped_;
};

// The folder part of a path: "." for a bare name, "/" for one in the root.
std::string FolderOf(const std::string& path);

// Makes a write past the file-size limit (RLIMIT_FSIZE) fail with EFBIG
// instead of ending the process with SIGXFSZ, so a replace that outgrows the
// limit fails, removes its temporary file and leaves the old file as it was.
// Every program of ours calls it first thing in main().
void IgnoreFileSizeLimitSignal();

// A regular file mapped read-only into memory, for reading large files in
// place: only the pages touched are read. Empty on any failure (and for an
// empty file).
class MappedFile {
  public:
    MappedFile() = default;
    explicit MappedFile(const std::string& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    std::string_view bytes() const { return {data_, size_}; }

  private:
    const char* data_ = nullptr;
    size_t size_ = 0;
};

}  // namespace platform::os
