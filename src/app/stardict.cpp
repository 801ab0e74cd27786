// SPDX-License-Identifier: GPL-3.0-or-later
// StarDict reading: description, index, data, gzip.
#include "app/stardict.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "platform/os/files.h"

namespace app {
namespace {

// Far beyond any real dictionary; larger input is damage or a mistake.
constexpr size_t kMaxFileBytes = 512u * 1024 * 1024;
constexpr size_t kMaxInfoBytes = 1u * 1024 * 1024;

std::optional<int64_t> ParseCount(std::string_view s) {
    if (s.empty() || s.size() > 15) return std::nullopt;
    int64_t value = 0;
    for (const char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

uint64_t BigEndian(std::string_view bytes) {
    uint64_t value = 0;
    for (const char c : bytes) value = (value << 8) | static_cast<unsigned char>(c);
    return value;
}

bool IsTextType(char type) {
    return type >= 'a' && type <= 'z';
}

// Text types whose content is markup rather than plain text.
bool IsMarkupType(char type) {
    return type == 'h' || type == 'g' || type == 'x' || type == 'k';
}

// Resource lists name files rather than hold text.
bool IsResourceList(char type) {
    return type == 'r' || type == 'n';
}

void AddField(char type, std::string_view content, std::string& definition) {
    if (!IsTextType(type) || IsResourceList(type)) return;
    const std::string text = IsMarkupType(type) ? HtmlToText(content) : OneLine(content);
    if (text.empty()) return;
    if (!definition.empty()) definition += ' ';
    definition += text;
}

// The fields of one entry's data. False when a field runs past the data.
bool ParseFields(std::string_view data, std::string_view types, std::string& definition) {
    size_t at = 0;
    auto take = [&](char type, bool last) {
        if (last) {
            // The last field of a fixed sequence fills the rest of the data.
            AddField(type, data.substr(at), definition);
            at = data.size();
            return true;
        }
        if (IsTextType(type)) {
            const size_t nul = data.find('\0', at);
            const size_t end = nul == std::string_view::npos ? data.size() : nul;
            AddField(type, data.substr(at, end - at), definition);
            at = nul == std::string_view::npos ? data.size() : nul + 1;
            return true;
        }
        if (data.size() - at < 4) return false;
        const uint64_t size = BigEndian(data.substr(at, 4));
        at += 4;
        if (size > data.size() - at) return false;
        at += static_cast<size_t>(size);
        return true;
    };
    if (!types.empty()) {
        for (size_t i = 0; i < types.size(); ++i) {
            if (at > data.size() || !take(types[i], i + 1 == types.size())) return false;
        }
        return true;
    }
    while (at < data.size()) {
        const char type = data[at++];
        if (!take(type, false)) return false;
    }
    return true;
}

std::string BaseName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

}  // namespace

std::optional<StarDictInfo> ParseStarDictInfo(std::string_view ifo, std::string& error) {
    if (ifo.substr(0, 3) == "\xEF\xBB\xBF") ifo.remove_prefix(3);
    StarDictInfo info;
    bool first = true;
    bool have_index_bytes = false;
    size_t begin = 0;
    while (begin < ifo.size()) {
        size_t end = ifo.find('\n', begin);
        if (end == std::string_view::npos) end = ifo.size();
        std::string_view line = ifo.substr(begin, end - begin);
        begin = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (first) {
            if (line != "StarDict's dict ifo file") {
                error =
                    "not a StarDict description (its first line is not \"StarDict's dict "
                    "ifo file\")";
                return std::nullopt;
            }
            first = false;
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        const std::string_view key = line.substr(0, eq);
        const std::string_view value = line.substr(eq + 1);
        if (key == "bookname") {
            info.book_name = value;
        } else if (key == "wordcount" || key == "idxfilesize") {
            const auto count = ParseCount(value);
            if (!count) {
                error = std::string(key) + " is not a number";
                return std::nullopt;
            }
            (key == "wordcount" ? info.word_count : info.index_bytes) = *count;
            if (key == "idxfilesize") have_index_bytes = true;
        } else if (key == "idxoffsetbits") {
            if (value != "32" && value != "64") {
                error = "idxoffsetbits must be 32 or 64";
                return std::nullopt;
            }
            info.offset_bits = value == "64" ? 64 : 32;
        } else if (key == "sametypesequence") {
            info.type_sequence = value;
        }
    }
    if (first) {
        error = "the description is empty";
        return std::nullopt;
    }
    if (info.word_count < 0) {
        error = "the description gives no wordcount";
        return std::nullopt;
    }
    if (!have_index_bytes) {
        error = "the description gives no idxfilesize";
        return std::nullopt;
    }
    return info;
}

StarDictReader::StarDictReader(const StarDictInfo& info, const platform::os::ByteFile& index,
                               const platform::os::ByteFile& data, std::string_view name,
                               uint64_t max_text_read, ImportNotes& notes)
    : EntrySource(notes),
      info_(info),
      data_(data),
      index_(index),
      idx_name_(std::string(name) + ".idx"),
      dict_name_(std::string(name) + ".dict"),
      max_text_read_(max_text_read) {
    if (static_cast<uint64_t>(info.index_bytes) != index.size()) {
        Fail(idx_name_ + " holds " + std::to_string(index.size()) +
             " bytes; the description says idxfilesize=" + std::to_string(info.index_bytes));
    }
}

bool StarDictReader::Next(SourceEntry& entry) {
    const size_t number_bytes = info_.offset_bits == 64 ? 8 : 4;
    std::string numbers;
    while (ok()) {
        if (index_.at_end()) {
            if (!checked_ && count_ != info_.word_count) {
                Fail(
                    idx_name_ + " holds " + std::to_string(count_) +
                    " entries; the description says wordcount=" + std::to_string(info_.word_count));
            }
            checked_ = true;
            return false;
        }
        ++count_;
        const std::string where = "entry " + std::to_string(count_);
        entry.word.clear();
        numbers.clear();
        if (!index_.ReadUntil('\0', kMaxSourceEntryBytes, entry.word) ||
            !index_.Read(number_bytes + 4, numbers)) {
            if (index_.failed()) return Fail(index_.failure());
            if (!index_.at_end()) {
                return Fail(idx_name_ + ": the headword of " + where + " runs on for more than " +
                            std::to_string(kMaxSourceEntryBytes) + " bytes");
            }
            return Fail(idx_name_ + " ends inside " + where + " (the file is cut short)");
        }
        const uint64_t offset = BigEndian(std::string_view(numbers).substr(0, number_bytes));
        const uint64_t size = BigEndian(std::string_view(numbers).substr(number_bytes, 4));
        if (offset > data_.size() || size > data_.size() - offset) {
            return Fail(idx_name_ + ": " + where + " places its text at bytes " +
                        std::to_string(offset) + " to " + std::to_string(offset + size) +
                        ", past the end of " + dict_name_ + " (" + std::to_string(data_.size()) +
                        " bytes)");
        }
        if (size > kMaxSourceEntryBytes) {
            PassOver(where, "its text takes " + std::to_string(size) + " bytes in " + dict_name_ +
                                ", more than " + std::to_string(kMaxSourceEntryBytes) +
                                " (a definition takes at most " +
                                std::to_string(kMaxDefinitionBytes) + " bytes)");
            continue;
        }
        // Entries may share text, but reading the same text over and over
        // is how a crafted index makes the work explode.
        text_read_ += size;
        if (text_read_ > max_text_read_) {
            return Fail(idx_name_ + ": its entries read more than " +
                        std::to_string(max_text_read_) + " bytes of " + dict_name_ + ", " +
                        std::to_string(kMaxOutputMultiple) +
                        " times the size of the dictionary's files (the same text over and over)");
        }
        data_bytes_.resize(static_cast<size_t>(size));
        if (const platform::Status read =
                data_.ReadAt(offset, data_bytes_.size(), data_bytes_.data());
            !read) {
            return Fail(read.error().message);
        }
        entry.definition.clear();
        if (!ParseFields(data_bytes_, info_.type_sequence, entry.definition)) {
            return Fail(dict_name_ + ": the text of " + where +
                        " is damaged (a field runs past its end)");
        }
        if (entry.definition.empty()) {
            PassOver(where, "no text in its definition");
            continue;
        }
        entry.where = where;
        return true;
    }
    return false;
}

StarDictFiles OpenStarDict(const std::string& ifo_path, const std::string& scratch_beside) {
    StarDictFiles files;
    auto fail = [&](std::string message) {
        files.error = std::move(message);
        return std::move(files);
    };
    std::string base = ifo_path;
    if (base.ends_with(".ifo")) base.resize(base.size() - 4);
    files.name = BaseName(base);

    auto ifo = platform::os::ReadFile(ifo_path, kMaxInfoBytes);
    if (!ifo) return fail(BaseName(ifo_path) + ": " + ifo.error().message);
    files.input_bytes += ifo->size();
    std::string error;
    std::optional<StarDictInfo> info = ParseStarDictInfo(*ifo, error);
    if (!info) return fail(BaseName(ifo_path) + ": " + error);
    files.info = std::move(*info);

    // A file and, when it is missing, its gzip-compressed form,
    // uncompressed into a scratch file.
    auto open = [&](const std::string& plain, const std::string& compressed,
                    platform::os::ByteFile& out) -> bool {
        std::error_code ec;
        const bool use_plain =
            std::filesystem::exists(plain, ec) || !std::filesystem::exists(compressed, ec);
        const std::string& path = use_plain ? plain : compressed;
        auto opened = platform::os::ByteFile::Open(path);
        if (!opened) {
            error = BaseName(path) + ": " + opened.error().message;
            return false;
        }
        if (opened->size() > kMaxFileBytes) {
            error = BaseName(path) + ": more than " + std::to_string(kMaxFileBytes) +
                    " bytes, more than any dictionary holds";
            return false;
        }
        files.input_bytes += opened->size();
        if (use_plain) {
            out = std::move(*opened);
            return true;
        }
        auto scratch = platform::os::ScratchFile::Create(scratch_beside);
        if (!scratch) {
            error = scratch.error().message;
            return false;
        }
        const uint64_t limit =
            std::min<uint64_t>(kMaxFileBytes, kMaxOutputMultiple * opened->size());
        platform::Status written = platform::Status::Ok();
        const bool unpacked = Gunzip(
            *opened, limit,
            [&](std::string_view piece) {
                written = scratch->Append(piece);
                return written.ok();
            },
            error);
        if (unpacked && written) written = scratch->Flush();
        if (!written) {
            error = written.error().message;
            return false;
        }
        if (!unpacked) {
            if (limit < kMaxFileBytes && error.find("more than") != std::string::npos)
                error += ", " + std::to_string(kMaxOutputMultiple) + " times its size";
            error = BaseName(path) + ": " + error;
            return false;
        }
        out = std::move(*scratch).Release();
        return true;
    };
    if (!open(base + ".idx", base + ".idx.gz", files.index)) return fail(error);
    if (!open(base + ".dict", base + ".dict.dz", files.data)) return fail(error);
    return files;
}

bool Gunzip(const platform::os::ByteFile& compressed, uint64_t max_bytes,
            const std::function<bool(std::string_view piece)>& out, std::string& error) {
    z_stream z{};
    // 16 + MAX_WBITS: gzip framing only.
    if (inflateInit2(&z, 16 + MAX_WBITS) != Z_OK) {
        error = "cannot start decompressing";
        return false;
    }
    struct Ender {
        z_stream& z;
        ~Ender() { inflateEnd(&z); }
    } ender{z};
    std::string input(64 * 1024, '\0');
    char buffer[64 * 1024];
    uint64_t fed = 0;
    uint64_t produced_total = 0;
    bool ended = false;
    while (true) {
        if (z.avail_in == 0 && fed < compressed.size()) {
            const size_t more =
                static_cast<size_t>(std::min<uint64_t>(input.size(), compressed.size() - fed));
            if (const platform::Status read = compressed.ReadAt(fed, more, input.data()); !read) {
                error = read.error().message;
                return false;
            }
            z.next_in = reinterpret_cast<Bytef*>(input.data());
            z.avail_in = static_cast<uInt>(more);
            fed += more;
        }
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof buffer;
        const int status = inflate(&z, Z_NO_FLUSH);
        const size_t produced = sizeof buffer - z.avail_out;
        produced_total += produced;
        if (produced_total > max_bytes) {
            error = "uncompresses to more than " + std::to_string(max_bytes) + " bytes";
            return false;
        }
        if (produced > 0 && !out(std::string_view(buffer, produced))) {
            error = "cannot keep what it uncompresses to";
            return false;
        }
        if (status == Z_STREAM_END) {
            ended = true;
            // Another member may follow.
            if (z.avail_in == 0 && fed == compressed.size()) break;
            if (inflateReset(&z) != Z_OK) break;
            ended = false;
            continue;
        }
        // Input used up mid-stream.
        if (status == Z_BUF_ERROR && z.avail_in == 0 && fed == compressed.size()) break;
        if ((status != Z_OK && status != Z_BUF_ERROR) ||
            (status == Z_BUF_ERROR && z.avail_in > 0)) {
            error = "the compressed data is damaged";
            return false;
        }
    }
    if (!ended) {
        error = "the compressed data is cut short";
        return false;
    }
    return true;
}

std::optional<std::string> Gunzip(std::string_view compressed, size_t max_bytes,
                                  std::string& error) {
    std::string out;
    const bool unpacked = Gunzip(
        platform::os::ByteFile::FromMemory(compressed), max_bytes,
        [&](std::string_view piece) {
            out += piece;
            return true;
        },
        error);
    if (!unpacked) return std::nullopt;
    return out;
}

}  // namespace app
