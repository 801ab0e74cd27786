// SPDX-License-Identifier: GPL-3.0-or-later
// The dictionary loader: streams both files through fixed buffers, so a
// huge or damaged file costs memory only for the entries it really yields.
#include "app/loader.h"
#include "app/trim.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <string_view>
#include <vector>

namespace app {
namespace {

// A read-only file read through one buffer. Read errors end the file, which
// the loader treats like a short file.
class BufferedFile {
  public:
    explicit BufferedFile(const std::string& path)
        : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)), buffer_(kBufferBytes) {
        // Only regular files: a device or a pipe in their place could feed
        // an endless line.
        struct stat st {};
        if (fd_ >= 0 && (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode))) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~BufferedFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    BufferedFile(const BufferedFile&) = delete;
    BufferedFile& operator=(const BufferedFile&) = delete;

    bool is_open() const { return fd_ >= 0; }

    // The size of a regular file; 0 for anything else or on failure.
    uint64_t size() const {
        struct stat st {};
        if (fd_ < 0 || ::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) return 0;
        return static_cast<uint64_t>(st.st_size);
    }

    // Whether the file holds CR LF anywhere. Reads the file from the start
    // without moving the read position, so call it before reading; it stops
    // at the first CR LF, which in a file the packer wrote ends line one.
    bool HasCrLf() const {
        if (fd_ < 0) return false;
        std::vector<char> chunk(kBufferBytes);
        off_t offset = 0;
        bool after_cr = false;
        for (;;) {
            const ssize_t got = ::pread(fd_, chunk.data(), chunk.size(), offset);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) return false;
            const std::string_view bytes(chunk.data(), static_cast<size_t>(got));
            if ((after_cr && bytes.front() == '\n') || bytes.find("\r\n") != bytes.npos) {
                return true;
            }
            after_cr = bytes.back() == '\r';
            offset += got;
        }
    }

    // The bytes not consumed yet, refilling when none are left; empty at the
    // end of the file.
    std::string_view Available() {
        if (pos_ == end_ && !Refill()) return {};
        return std::string_view(buffer_.data() + pos_, end_ - pos_);
    }
    void Consume(size_t n) { pos_ += n; }

  private:
    static constexpr size_t kBufferBytes = 256 * 1024;

    bool Refill() {
        if (fd_ < 0 || eof_) return false;
        pos_ = end_ = 0;
        for (;;) {
            const ssize_t got = ::read(fd_, buffer_.data(), buffer_.size());
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) {
                eof_ = true;
                return false;
            }
            end_ = static_cast<size_t>(got);
            return true;
        }
    }

    int fd_;
    std::vector<char> buffer_;
    size_t pos_ = 0;
    size_t end_ = 0;
    bool eof_ = false;
};

// Reads up to 34 bytes (one record, or the partial last one) into `record`.
size_t ReadRecord(BufferedFile& file, char (&record)[kRecordBytes]) {
    size_t got = 0;
    while (got < kRecordBytes) {
        const std::string_view avail = file.Available();
        if (avail.empty()) break;
        const size_t take = std::min(avail.size(), static_cast<size_t>(kRecordBytes) - got);
        std::memcpy(record + got, avail.data(), take);
        file.Consume(take);
        got += take;
    }
    return got;
}

// How the definition file ends its lines. It is decided once for the whole
// file, so a stray byte inside one definition cannot shift every later
// definition onto the wrong headword: a file holding any CR LF ends its lines
// with CR LF (what the packer writes), any other file with LF. A CR or LF
// that is not the file's terminator stays in the definition, where the pane
// draws it as a line break.
enum class LineEnd { kCrLf, kLf };

// Appends the next line of `file` to the store's current definition; the
// terminator is not part of it. Returns false when the file had no line
// left.
bool ReadLineInto(BufferedFile& file, DictionaryStore& store, LineEnd line_end) {
    std::string_view avail = file.Available();
    if (avail.empty()) return false;
    for (;;) {
        const size_t lf = avail.find('\n');
        if (lf == std::string_view::npos) {
            // A CR at the end of the buffer may be the first half of CR LF.
            const bool trailing_cr = line_end == LineEnd::kCrLf && avail.back() == '\r';
            store.AppendToDefinition(avail.substr(0, avail.size() - (trailing_cr ? 1 : 0)));
            file.Consume(avail.size());
            avail = file.Available();
            if (trailing_cr) {
                if (!avail.empty() && avail.front() == '\n') {
                    file.Consume(1);
                    return true;
                }
                store.AppendToDefinition("\r");
            }
            if (avail.empty()) return true;  // the last line had no terminator
            continue;
        }
        if (line_end == LineEnd::kLf || (lf > 0 && avail[lf - 1] == '\r')) {
            const size_t terminator = line_end == LineEnd::kLf ? 1 : 2;
            store.AppendToDefinition(avail.substr(0, lf + 1 - terminator));
            file.Consume(lf + 1);
            return true;
        }
        // A lone LF inside a CR LF line.
        store.AppendToDefinition(avail.substr(0, lf + 1));
        file.Consume(lf + 1);
        avail = file.Available();
        if (avail.empty()) return true;
    }
}

}  // namespace

int64_t RecordCountForFileSize(uint64_t bytes) {
    uint64_t count = bytes / kRecordBytes;
    const uint64_t rest = bytes % kRecordBytes;
    if (rest * 2 > kRecordBytes || (rest * 2 == kRecordBytes && count % 2 == 1)) ++count;
    return static_cast<int64_t>(
        std::min<uint64_t>(count, static_cast<uint64_t>(std::numeric_limits<int32_t>::max())));
}

std::string PercentCaptionAfterEntry(int64_t i, int64_t n) {
    if (i < 0 || i >= n || i % kProgressStep != 1) return {};
    int64_t percent = 2 * ((i - 1) / kProgressStep);
    // The classic scale passes 100 beyond about 30,000 entries ("998 %" at
    // 300,000); a larger dictionary shows how much has really been read.
    if (n > kClassicScaleEntries) percent = std::min<int64_t>(100, (i + 1) * 100 / n);
    return std::to_string(percent) + " %";
}

LoadReport LoadDictionary(const std::string& headword_path, const std::string& definition_path,
                          DictionaryStore& store, const LoadCallbacks& callbacks) {
    LoadReport report;
    store.Clear();

    BufferedFile records(headword_path);
    BufferedFile lines(definition_path);
    report.headword_file_opened = records.is_open();
    report.definition_file_opened = lines.is_open();

    const uint64_t record_bytes = records.size();
    const int64_t n = records.is_open() ? RecordCountForFileSize(record_bytes) : 0;
    report.records = n;

    // Words take at most 30 bytes of each record; definitions at most the
    // definition file. Both bounds are within the files' own size.
    const uint64_t word_bound = std::min<uint64_t>(static_cast<uint64_t>(n) * 30, record_bytes);
    store.Reserve(static_cast<size_t>(n), static_cast<size_t>(word_bound + lines.size()));

    std::string last_caption;
    bool lines_left = lines.is_open();
    const LineEnd line_end = lines.HasCrLf() ? LineEnd::kCrLf : LineEnd::kLf;
    char record[kRecordBytes];
    for (int64_t i = 0; i < n; ++i) {
        const size_t got = ReadRecord(records, record);
        const std::string_view field(record, std::min<size_t>(got, 30));
        if (!store.BeginEntry(TrimSpaces(field))) break;
        if (lines_left) {
            lines_left = ReadLineInto(lines, store, line_end);
            if (lines_left) ++report.definitions;
        }
        const std::string caption = PercentCaptionAfterEntry(i, n);
        if (!caption.empty()) {
            ++report.percentage_updates;
            if (callbacks.set_percentage) callbacks.set_percentage(caption);
            if (callbacks.yield) callbacks.yield();
            last_caption = caption;
        }
    }
    report.entries = store.size();
    // Beyond the classic scale the steps stop short of the end: a finished
    // load says so.
    if (n > kClassicScaleEntries && last_caption != "100 %") {
        ++report.percentage_updates;
        if (callbacks.set_percentage) callbacks.set_percentage("100 %");
        if (callbacks.yield) callbacks.yield();
    }

    // A definition file far larger than the lines actually used (garbage, or
    // a short record file) must not keep its whole reservation.
    store.TrimSlack();

    if (callbacks.on_list_first_touched) callbacks.on_list_first_touched();
    HeadwordListSetup setup;
    setup.item_count = store.size();
    if (callbacks.configure_list) callbacks.configure_list(setup);
    return report;
}

}  // namespace app
