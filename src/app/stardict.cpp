// SPDX-License-Identifier: GPL-3.0-or-later
// StarDict reading: description, index, data, gzip.
#include "app/stardict.h"

#include <zlib.h>

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

StarDict ParseStarDict(const StarDictInfo& info, std::string_view index, std::string_view data,
                       std::string_view name) {
    StarDict result;
    result.book_name = info.book_name;
    const std::string idx_name = std::string(name) + ".idx";
    const std::string dict_name = std::string(name) + ".dict";
    auto fail = [&](std::string message) {
        result.entries.clear();
        result.skipped.clear();
        result.error = std::move(message);
        return result;
    };
    if (static_cast<uint64_t>(info.index_bytes) != index.size()) {
        return fail(idx_name + " holds " + std::to_string(index.size()) +
                    " bytes; the description says idxfilesize=" + std::to_string(info.index_bytes));
    }
    const size_t number_bytes = info.offset_bits == 64 ? 8 : 4;
    // Entries may share text, but reading the same text over and over is
    // how a crafted index would make the work grow with the square of the
    // input; beyond this much the files do not describe a dictionary.
    const uint64_t max_text_read = 16 * static_cast<uint64_t>(data.size()) + (16u << 20);
    uint64_t text_read = 0;
    size_t at = 0;
    int64_t count = 0;
    while (at < index.size()) {
        ++count;
        const std::string where = "entry " + std::to_string(count);
        const size_t nul = index.find('\0', at);
        if (nul == std::string_view::npos || index.size() - nul - 1 < number_bytes + 4) {
            return fail(idx_name + " ends inside " + where + " (the file is cut short)");
        }
        const std::string_view word = index.substr(at, nul - at);
        const uint64_t offset = BigEndian(index.substr(nul + 1, number_bytes));
        const uint64_t size = BigEndian(index.substr(nul + 1 + number_bytes, 4));
        at = nul + 1 + number_bytes + 4;
        if (offset > data.size() || size > data.size() - offset) {
            return fail(idx_name + ": " + where + " places its text at bytes " +
                        std::to_string(offset) + " to " + std::to_string(offset + size) +
                        ", past the end of " + dict_name + " (" + std::to_string(data.size()) +
                        " bytes)");
        }
        text_read += size;
        if (text_read > max_text_read) {
            return fail(idx_name + ": its entries point at the same text of " + dict_name +
                        " over and over, far more than a dictionary does");
        }
        std::string definition;
        if (!ParseFields(data.substr(static_cast<size_t>(offset), static_cast<size_t>(size)),
                         info.type_sequence, definition)) {
            return fail(dict_name + ": the text of " + where +
                        " is damaged (a field runs past "
                        "its end)");
        }
        if (definition.empty()) {
            result.skipped.push_back({where, "no text in its definition"});
            continue;
        }
        result.entries.push_back({std::string(word), std::move(definition), where});
    }
    if (count != info.word_count) {
        return fail(idx_name + " holds " + std::to_string(count) +
                    " entries; the description says wordcount=" + std::to_string(info.word_count));
    }
    return result;
}

StarDict ReadStarDict(const std::string& ifo_path) {
    StarDict result;
    auto fail = [&](std::string message) {
        result.error = std::move(message);
        return result;
    };
    std::string base = ifo_path;
    if (base.ends_with(".ifo")) base.resize(base.size() - 4);
    const std::string name = BaseName(base);

    auto ifo = platform::os::ReadFile(ifo_path, kMaxInfoBytes);
    if (!ifo) return fail(BaseName(ifo_path) + ": " + ifo.error().message);
    std::string error;
    const std::optional<StarDictInfo> info = ParseStarDictInfo(*ifo, error);
    if (!info) return fail(BaseName(ifo_path) + ": " + error);

    // A file and, when it is missing, its gzip-compressed form.
    auto read = [&](const std::string& plain, const std::string& compressed,
                    std::string& out) -> bool {
        std::error_code ec;
        const bool have_plain = std::filesystem::exists(plain, ec);
        const std::string& path =
            have_plain || !std::filesystem::exists(compressed, ec) ? plain : compressed;
        auto bytes = platform::os::ReadFile(path, kMaxFileBytes);
        if (!bytes) {
            error = BaseName(path) + ": " + bytes.error().message;
            return false;
        }
        if (&path == &plain) {
            out = std::move(*bytes);
            return true;
        }
        auto unpacked = Gunzip(*bytes, kMaxFileBytes, error);
        if (!unpacked) {
            error = BaseName(path) + ": " + error;
            return false;
        }
        out = std::move(*unpacked);
        return true;
    };
    std::string index;
    std::string data;
    if (!read(base + ".idx", base + ".idx.gz", index)) return fail(error);
    if (!read(base + ".dict", base + ".dict.dz", data)) return fail(error);
    return ParseStarDict(*info, index, data, name);
}

std::optional<std::string> Gunzip(std::string_view compressed, size_t max_bytes,
                                  std::string& error) {
    z_stream z{};
    // 16 + MAX_WBITS: gzip framing only.
    if (inflateInit2(&z, 16 + MAX_WBITS) != Z_OK) {
        error = "cannot start decompressing";
        return std::nullopt;
    }
    std::string out;
    char buffer[64 * 1024];
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    z.avail_in = static_cast<uInt>(std::min<size_t>(compressed.size(), UINT32_MAX));
    size_t fed = z.avail_in;
    bool ended = false;
    while (true) {
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof buffer;
        const int status = inflate(&z, Z_NO_FLUSH);
        const size_t produced = sizeof buffer - z.avail_out;
        if (out.size() + produced > max_bytes) {
            inflateEnd(&z);
            error = "uncompresses to more than " + std::to_string(max_bytes) + " bytes";
            return std::nullopt;
        }
        out.append(buffer, produced);
        if (z.avail_in == 0 && fed < compressed.size()) {
            const size_t more = std::min<size_t>(compressed.size() - fed, UINT32_MAX);
            z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data() + fed));
            z.avail_in = static_cast<uInt>(more);
            fed += more;
        }
        if (status == Z_STREAM_END) {
            ended = true;
            // Another member may follow.
            if (z.avail_in == 0) break;
            if (inflateReset(&z) != Z_OK) break;
            ended = false;
            continue;
        }
        if (status == Z_BUF_ERROR && z.avail_in == 0) break;  // input used up mid-stream
        if (status != Z_OK) {
            inflateEnd(&z);
            error = "the compressed data is damaged";
            return std::nullopt;
        }
    }
    inflateEnd(&z);
    if (!ended) {
        error = "the compressed data is cut short";
        return std::nullopt;
    }
    return out;
}

}  // namespace app
