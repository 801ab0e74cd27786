// SPDX-License-Identifier: GPL-3.0-or-later
// The dictionary archive: a ZIP file holding the two data files, protected
// with a password.
//
// Extraction is shared by the stand-alone tool and the program itself (which
// falls back to it when the temporary folder cannot run programs). It reads
// only the two data files, by their exact names, writes them only into the
// given folder, each through a temporary file that is renamed into place,
// and refuses entries that would expand beyond a sane size.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/error.h"
#include "platform/os/byte_file.h"

namespace app::archive {

inline constexpr std::string_view kPassword = "quarbelink";
// No real dictionary file comes near this; a larger entry is a zip bomb or
// damage.
inline constexpr uint64_t kMaxEntryBytes = 256ull * 1024 * 1024;
// Deflate cannot shrink data by much more than 1,000 to 1; an entry claiming
// more (beyond a small size) was not made by a normal packer.
inline constexpr uint64_t kMaxCompressionRatio = 1100;

enum class Failure {
    kNone,
    kMissingArchive,
    kDamagedArchive,
    kWrongPassword,
    kMissingEntry,
    kTooLarge,
    kWriteFailed,
};

struct ExtractResult {
    Failure failure = Failure::kNone;
    std::string message;  // for the person reading standard error

    bool ok() const { return failure == Failure::kNone; }
};

// Whether a file name (no folder) is one of the staging files extraction
// writes before renaming them into place: a data file's name, ".", and six
// letters or digits.
bool IsStagingName(std::string_view name);

// Extracts the two data files of `archive_path` into `out_folder`, replacing
// files of the same names. On failure neither file is replaced. An entry
// expanding beyond `max_entry_bytes` is refused.
ExtractResult ExtractDictionary(const std::string& archive_path, std::string_view password,
                                const std::string& out_folder,
                                uint64_t max_entry_bytes = kMaxEntryBytes);

// Reads both data files of the archive through, as extraction would, and
// writes nothing: whether the archive can be used.
ExtractResult CheckDictionary(const std::string& archive_path, std::string_view password,
                              uint64_t max_entry_bytes = kMaxEntryBytes);

// A key that changes whenever the two data files inside the archive change:
// their sizes and CRC-32 checksums as the archive records them, in hex.
// Reads only the archive's directory. Empty when the archive or either
// entry cannot be read.
std::string ContentKey(const std::string& archive_path);

enum class Encryption { kNone, kTraditional, kAes256 };

struct ArchiveFile {
    std::string name;
    std::string bytes;
    // When set, the content is this file's, read a piece at a time, in
    // place of `bytes`.
    const platform::os::ByteFile* file = nullptr;
};

// Writes a new archive at `path` holding `files` (deflated), each encrypted
// with `password` by `encryption`. The archive is written under the path's
// replacement temporary name (a ReplacementFile, locked while it is written)
// and renamed into place: on failure nothing is left at `path` beyond what
// was there before, and the temporary file is gone too, unless the process
// was killed outright, when RemoveAbandonedReplacements(path) finds it.
platform::Status WriteArchive(const std::string& path, const std::vector<ArchiveFile>& files,
                              std::string_view password, Encryption encryption);

}  // namespace app::archive
