// SPDX-License-Identifier: GPL-3.0-or-later
// Archive reading and writing on libzip.
#include "app/archive.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <optional>

#include "app/app_paths.h"
#include "platform/os/files.h"
#include "platform/os/temporary_files.h"

namespace app::archive {
namespace {

using platform::ErrorCode;
using platform::MakeError;

struct ZipCloser {
    void operator()(zip_t* za) const { zip_discard(za); }
};
using ZipPtr = std::unique_ptr<zip_t, ZipCloser>;

struct ZipFileCloser {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};
using ZipFilePtr = std::unique_ptr<zip_file_t, ZipFileCloser>;

ExtractResult Fail(Failure failure, std::string message) {
    return {failure, std::move(message)};
}

std::string ZipErrorText(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

bool IsPasswordError(int code) {
    return code == ZIP_ER_WRONGPASSWD || code == ZIP_ER_NOPASSWD;
}

// A file being written under a temporary name beside its final name
// ("M_A_X_T1.XXXXXX"). It is removed unless committed, also when the
// process is asked to stop and its program installed the handler for that.
class StagedFile {
  public:
    explicit StagedFile(const std::string& final_path) : final_path_(final_path) {
        std::string pattern = final_path + ".XXXXXX";
        fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
        if (fd_ >= 0) {
            temp_path_ = pattern;
            removed_if_stopped_.emplace(temp_path_);
            ::fchmod(fd_, 0600);
        }
    }
    ~StagedFile() {
        if (fd_ >= 0) ::close(fd_);
        if (!temp_path_.empty()) ::unlink(temp_path_.c_str());
    }
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    bool is_open() const { return fd_ >= 0; }

    bool Write(const char* data, size_t size) {
        while (size > 0) {
            const ssize_t put = ::write(fd_, data, size);
            if (put < 0 && errno == EINTR) continue;
            if (put <= 0) return false;
            data += put;
            size -= static_cast<size_t>(put);
        }
        return true;
    }

    // Closes the file. The unpacked files are read once and deleted, so
    // they are not forced to disk; a write error shows in write or close.
    bool Finish() {
        const bool closed = ::close(fd_) == 0;
        fd_ = -1;
        return closed;
    }

    // Renames the finished file over its final name.
    bool Commit() {
        if (::rename(temp_path_.c_str(), final_path_.c_str()) != 0) return false;
        temp_path_.clear();
        return true;
    }

  private:
    std::string final_path_;
    std::string temp_path_;
    int fd_ = -1;
    std::optional<platform::os::RemovedOnTermination> removed_if_stopped_;
};

// Streams one entry into a staged file (or, without one, only reads it),
// checking its size as it goes rather than trusting the sizes the archive
// claims.
ExtractResult StageEntry(zip_t* za, std::string_view name, std::string_view password,
                         uint64_t max_bytes, StagedFile* out) {
    const std::string entry(name);
    const zip_int64_t index = zip_name_locate(za, entry.c_str(), 0);
    if (index < 0) return Fail(Failure::kMissingEntry, "archive holds no " + entry);

    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(za, static_cast<zip_uint64_t>(index), 0, &st) != 0) {
        return Fail(Failure::kDamagedArchive, "cannot read the directory entry of " + entry);
    }
    const bool encrypted =
        (st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE;
    if ((st.valid & ZIP_STAT_SIZE) && st.size > max_bytes) {
        return Fail(Failure::kTooLarge, entry + " would expand to " + std::to_string(st.size) +
                                            " bytes, more than any dictionary needs");
    }
    if ((st.valid & ZIP_STAT_SIZE) && (st.valid & ZIP_STAT_COMP_SIZE) && st.size > 1024 * 1024 &&
        st.size / std::max<zip_uint64_t>(st.comp_size, 1) > kMaxCompressionRatio) {
        return Fail(Failure::kTooLarge, entry + " is compressed beyond any normal ratio");
    }

    const std::string pw(password);
    ZipFilePtr file(zip_fopen_index_encrypted(za, static_cast<zip_uint64_t>(index), 0, pw.c_str()));
    if (!file) {
        const int code = zip_error_code_zip(zip_get_error(za));
        if (IsPasswordError(code)) return Fail(Failure::kWrongPassword, "wrong password");
        return Fail(Failure::kDamagedArchive, "cannot open " + entry + ": " + ZipErrorText(code));
    }

    if (out && !out->is_open())
        return Fail(Failure::kWriteFailed, "cannot create a file for " + entry);
    std::array<char, 64 * 1024> buffer;
    uint64_t total = 0;
    for (;;) {
        const zip_int64_t got = zip_fread(file.get(), buffer.data(), buffer.size());
        if (got < 0) {
            const int code = zip_error_code_zip(zip_file_get_error(file.get()));
            // Traditional encryption checks the password with one byte only,
            // so a wrong password can surface as a checksum error here.
            if (IsPasswordError(code) || (encrypted && code == ZIP_ER_CRC)) {
                return Fail(Failure::kWrongPassword, "wrong password");
            }
            return Fail(Failure::kDamagedArchive,
                        "cannot read " + entry + ": " + ZipErrorText(code));
        }
        if (got == 0) break;
        total += static_cast<uint64_t>(got);
        if (total > max_bytes) {
            return Fail(Failure::kTooLarge,
                        entry + " expands beyond " + std::to_string(max_bytes) + " bytes");
        }
        if (out && !out->Write(buffer.data(), static_cast<size_t>(got))) {
            return Fail(Failure::kWriteFailed, "cannot write " + entry);
        }
    }
    if ((st.valid & ZIP_STAT_SIZE) && total != st.size) {
        return Fail(Failure::kDamagedArchive, entry + " is shorter or longer than recorded");
    }
    if (out && !out->Finish()) return Fail(Failure::kWriteFailed, "cannot write " + entry);
    return {};
}

}  // namespace

bool IsStagingName(std::string_view name) {
    for (const std::string_view final_name : {kHeadwordFileName, kDefinitionFileName}) {
        if (name.size() == final_name.size() + 7 &&
            name.substr(0, final_name.size()) == final_name && name[final_name.size()] == '.' &&
            platform::os::IsTemporarySuffix(name.substr(final_name.size() + 1))) {
            return true;
        }
    }
    return false;
}

std::string ContentKey(const std::string& archive_path) {
    struct stat st {};
    if (::stat(archive_path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
    int error_code = 0;
    ZipPtr za(zip_open(archive_path.c_str(), ZIP_RDONLY, &error_code));
    if (!za) return {};
    std::string key;
    for (std::string_view name : {kHeadwordFileName, kDefinitionFileName}) {
        zip_stat_t entry;
        zip_stat_init(&entry);
        if (zip_stat(za.get(), std::string(name).c_str(), 0, &entry) != 0 ||
            (entry.valid & (ZIP_STAT_SIZE | ZIP_STAT_CRC)) != (ZIP_STAT_SIZE | ZIP_STAT_CRC)) {
            return {};
        }
        char part[40];
        std::snprintf(part, sizeof part, "%08x%016llx", static_cast<unsigned>(entry.crc),
                      static_cast<unsigned long long>(entry.size));
        key += part;
    }
    return key;
}

namespace {

// The archive opened for reading, or why it cannot be.
ExtractResult OpenArchive(const std::string& archive_path, ZipPtr& za) {
    struct stat st {};
    if (::stat(archive_path.c_str(), &st) != 0) {
        return Fail(Failure::kMissingArchive,
                    "cannot find the archive " + archive_path + ": " + std::strerror(errno));
    }
    if (!S_ISREG(st.st_mode)) {
        return Fail(Failure::kMissingArchive, archive_path + " is not a file");
    }

    int error_code = 0;
    za.reset(zip_open(archive_path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error_code));
    if (!za) {
        if (error_code == ZIP_ER_NOENT) {
            return Fail(Failure::kMissingArchive, "cannot find the archive " + archive_path);
        }
        return Fail(Failure::kDamagedArchive,
                    "damaged archive " + archive_path + ": " + ZipErrorText(error_code));
    }
    return {};
}

}  // namespace

ExtractResult CheckDictionary(const std::string& archive_path, std::string_view password,
                              uint64_t max_entry_bytes) {
    ZipPtr za;
    ExtractResult result = OpenArchive(archive_path, za);
    if (!result.ok()) return result;
    for (const std::string_view name : {kHeadwordFileName, kDefinitionFileName}) {
        result = StageEntry(za.get(), name, password, max_entry_bytes, nullptr);
        if (!result.ok()) return result;
    }
    return result;
}

ExtractResult ExtractDictionary(const std::string& archive_path, std::string_view password,
                                const std::string& out_folder, uint64_t max_entry_bytes) {
    ZipPtr za;
    const ExtractResult opened = OpenArchive(archive_path, za);
    if (!opened.ok()) return opened;

    const std::string folder = FolderWithSeparator(out_folder.empty() ? "./" : out_folder);
    const std::string headword_path = folder + std::string(kHeadwordFileName);
    const std::string definition_path = folder + std::string(kDefinitionFileName);

    // Both files are staged before either replaces its old copy, so a
    // failure halfway leaves the previous pair intact.
    StagedFile headwords(headword_path);
    StagedFile definitions(definition_path);
    ExtractResult result =
        StageEntry(za.get(), kHeadwordFileName, password, max_entry_bytes, &headwords);
    if (!result.ok()) return result;
    result = StageEntry(za.get(), kDefinitionFileName, password, max_entry_bytes, &definitions);
    if (!result.ok()) return result;
    if (!headwords.Commit() || !definitions.Commit()) {
        return Fail(Failure::kWriteFailed, "cannot put the files in place in " + folder);
    }
    return {};
}

namespace {

// Answers libzip's question about a source: `size` bytes, last changed at
// `mtime`.
zip_int64_t StatReply(void* data, zip_uint64_t len, zip_error_t* error, uint64_t size,
                      time_t mtime) {
    auto* st = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, len, error);
    if (!st) return -1;
    zip_stat_init(st);
    st->size = size;
    st->mtime = mtime;
    st->valid |= ZIP_STAT_SIZE | ZIP_STAT_MTIME;
    return sizeof(zip_stat_t);
}

// The content of one archive entry, read from a ByteFile as libzip asks.
struct EntryContent {
    platform::os::ByteFile memory;
    const platform::os::ByteFile* file = nullptr;
    uint64_t at = 0;
    // One time for the entry: the traditional encryption checks the
    // password against the time in the entry's header.
    time_t mtime = ::time(nullptr);
    zip_error_t error;
};

zip_int64_t ReadEntry(void* state, void* data, zip_uint64_t len, zip_source_cmd_t cmd) {
    auto* s = static_cast<EntryContent*>(state);
    switch (cmd) {
        case ZIP_SOURCE_OPEN:
            s->at = 0;
            return 0;
        case ZIP_SOURCE_READ: {
            const uint64_t n = std::min<uint64_t>(len, s->file->size() - s->at);
            const platform::Status read =
                s->file->ReadAt(s->at, static_cast<size_t>(n), static_cast<char*>(data));
            if (!read) {
                zip_error_set(&s->error, ZIP_ER_READ, EIO);
                return -1;
            }
            s->at += n;
            return static_cast<zip_int64_t>(n);
        }
        case ZIP_SOURCE_CLOSE:
            return 0;
        case ZIP_SOURCE_STAT:
            return StatReply(data, len, &s->error, s->file->size(), s->mtime);
        case ZIP_SOURCE_ERROR:
            return zip_error_to_data(&s->error, data, len);
        case ZIP_SOURCE_FREE:
            zip_error_fini(&s->error);
            delete s;
            return 0;
        case ZIP_SOURCE_SUPPORTS:
            return ZIP_SOURCE_SUPPORTS_READABLE;
        default:
            zip_error_set(&s->error, ZIP_ER_OPNOTSUPP, 0);
            return -1;
    }
}

// The archive being written: a new one (reading it gives nothing), written
// into a ReplacementFile that is renamed over the path when libzip commits.
struct OutputArchive {
    std::string path;
    mode_t mode = 0644;
    std::unique_ptr<platform::os::ReplacementFile> temp;
    std::string failure;  // why writing failed, for the message
    zip_error_t error;
};

zip_int64_t WriteOutput(void* state, void* data, zip_uint64_t len, zip_source_cmd_t cmd) {
    auto* s = static_cast<OutputArchive*>(state);
    auto fail = [&](int zip_code, int sys_code, const std::string& why) -> zip_int64_t {
        zip_error_set(&s->error, zip_code, sys_code);
        if (s->failure.empty()) s->failure = why;
        return -1;
    };
    const int fd = s->temp ? s->temp->fd() : -1;
    switch (cmd) {
        case ZIP_SOURCE_OPEN:
        case ZIP_SOURCE_CLOSE:
        case ZIP_SOURCE_READ:
        case ZIP_SOURCE_SEEK:
        case ZIP_SOURCE_TELL:
        case ZIP_SOURCE_REMOVE:
            return 0;
        case ZIP_SOURCE_STAT:
            return StatReply(data, len, &s->error, 0, ::time(nullptr));
        case ZIP_SOURCE_ACCEPT_EMPTY:
            return 0;
        case ZIP_SOURCE_ERROR:
            return zip_error_to_data(&s->error, data, len);
        case ZIP_SOURCE_FREE:
            return 0;  // the state belongs to WriteArchive
        case ZIP_SOURCE_BEGIN_WRITE: {
            auto temp = platform::os::ReplacementFile::Create(s->path, s->mode);
            if (!temp) return fail(ZIP_ER_TMPOPEN, EIO, temp.error().message);
            s->temp = std::move(*temp);
            return 0;
        }
        case ZIP_SOURCE_WRITE: {
            const char* bytes = static_cast<const char*>(data);
            zip_uint64_t left = len;
            while (left > 0) {
                const ssize_t n = ::write(fd, bytes, left);
                if (n < 0 && errno == EINTR) continue;
                if (n <= 0) {
                    const int err = n < 0 ? errno : EIO;
                    return fail(ZIP_ER_WRITE, err, std::strerror(err));
                }
                bytes += n;
                left -= static_cast<zip_uint64_t>(n);
            }
            return static_cast<zip_int64_t>(len);
        }
        case ZIP_SOURCE_SEEK_WRITE: {
            auto* args = ZIP_SOURCE_GET_ARGS(zip_source_args_seek_t, data, len, &s->error);
            if (!args) return -1;
            if (::lseek(fd, args->offset, args->whence) < 0)
                return fail(ZIP_ER_SEEK, errno, std::strerror(errno));
            return 0;
        }
        case ZIP_SOURCE_TELL_WRITE: {
            const off_t at = ::lseek(fd, 0, SEEK_CUR);
            if (at < 0) return fail(ZIP_ER_TELL, errno, std::strerror(errno));
            return at;
        }
        case ZIP_SOURCE_COMMIT_WRITE: {
            const platform::Status committed = s->temp->Commit(platform::os::Durability::kDurable);
            s->temp.reset();
            if (!committed) return fail(ZIP_ER_RENAME, EIO, committed.error().message);
            return 0;
        }
        case ZIP_SOURCE_ROLLBACK_WRITE:
            s->temp.reset();
            return 0;
        case ZIP_SOURCE_SUPPORTS:
            return ZIP_SOURCE_SUPPORTS_WRITABLE |
                   zip_source_make_command_bitmap(ZIP_SOURCE_ACCEPT_EMPTY, -1);
        default:
            return fail(ZIP_ER_OPNOTSUPP, 0, "unsupported");
    }
}

// A new archive keeps the mode of the file it replaces, or else gets what
// the user's umask leaves of 0666.
mode_t NewArchiveMode(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return st.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

platform::Status WriteArchive(const std::string& path, const std::vector<ArchiveFile>& files,
                              std::string_view password, Encryption encryption) {
    OutputArchive output;
    output.path = path;
    output.mode = NewArchiveMode(path);
    zip_error_init(&output.error);
    struct ErrorFini {
        zip_error_t& e;
        ~ErrorFini() { zip_error_fini(&e); }
    } fini{output.error};

    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* out = zip_source_function_create(WriteOutput, &output, &error);
    ZipPtr za(out ? zip_open_from_source(out, ZIP_CREATE | ZIP_TRUNCATE, &error) : nullptr);
    if (!za) {
        const std::string why = zip_error_strerror(&error);
        zip_error_fini(&error);
        if (out) zip_source_free(out);
        return MakeError(ErrorCode::kFileIo, "cannot create " + path + ": " + why);
    }
    zip_error_fini(&error);
    const std::string pw(password);
    for (const ArchiveFile& f : files) {
        auto* state = new EntryContent();
        zip_error_init(&state->error);
        if (f.file) {
            state->file = f.file;
        } else {
            state->memory = platform::os::ByteFile::FromMemory(f.bytes);
            state->file = &state->memory;
        }
        zip_source_t* source = zip_source_function(za.get(), ReadEntry, state);
        if (!source) {
            zip_error_fini(&state->error);
            delete state;
            return MakeError(ErrorCode::kOutOfMemory, "cannot add " + f.name);
        }
        const zip_int64_t index =
            zip_file_add(za.get(), f.name.c_str(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            return MakeError(ErrorCode::kFileIo,
                             "cannot add " + f.name + ": " + zip_strerror(za.get()));
        }
        const auto at = static_cast<zip_uint64_t>(index);
        zip_set_file_compression(za.get(), at, ZIP_CM_DEFLATE, 9);
        if (encryption != Encryption::kNone) {
            const zip_uint16_t method =
                encryption == Encryption::kAes256 ? ZIP_EM_AES_256 : ZIP_EM_TRAD_PKWARE;
            if (zip_file_set_encryption(za.get(), at, method, pw.c_str()) != 0) {
                return MakeError(ErrorCode::kUnsupported,
                                 "cannot encrypt " + f.name + ": " + zip_strerror(za.get()));
            }
        }
    }
    if (zip_close(za.get()) != 0) {
        const std::string why = output.failure.empty() ? zip_strerror(za.get()) : output.failure;
        return MakeError(ErrorCode::kFileIo, "cannot write " + path + ": " + why);
    }
    za.release();
    return {};
}

}  // namespace app::archive
